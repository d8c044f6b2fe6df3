// Form data: the text format that describes a tree of components and their property
// values. TReader builds and fills components from it; TWriter writes a tree back so
// that reading gives the same tree. Custom stored values go through DefineProperty.
#pragma once

#include "platform/Component.h"

class TStream;

// The kinds of value a form-data position can hold.
enum TValueType {
  vaNull,        // end of a list
  vaList,        // ( ... )
  vaInt8,
  vaInt16,
  vaInt32,
  vaExtended,
  vaString,
  vaIdent,
  vaFalse,
  vaTrue,
  vaBinary,      // { ... }
  vaSet,         // [ ... ]
  vaLString,
  vaNil,
  vaCollection,  // < ... >
  vaSingle,
  vaCurrency,
  vaDate,
  vaWString,
  vaInt64,
  vaUTF8String,
  vaDouble,
};

using TReaderProc = std::function<void(TReader* Reader)>;
using TWriterProc = std::function<void(TWriter* Writer)>;
using TStreamProc = std::function<void(TStream* Stream)>;

class TFiler : public TObject {
  DECLARE_CLASS(TFiler, TObject)
public:
  // The root component of the tree being read or written.
  TComponent* Root() const { return FRoot; }
  void SetRoot(TComponent* Value) { FRoot = Value; }
  TComponent* LookupRoot() const { return FLookupRoot; }
  // While writing: the ancestor object whose values count as defaults (or nil).
  TPersistent* Ancestor() const { return FAncestor; }
  void SetAncestor(TPersistent* Value) { FAncestor = Value; }
  bool IgnoreChildren() const { return FIgnoreChildren; }
  void SetIgnoreChildren(bool Value) { FIgnoreChildren = Value; }

  // A custom stored value. HasData says whether a writer writes it at all.
  virtual void DefineProperty(const String& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                              bool HasData) = 0;
  // A custom value stored as raw bytes ({ hex }).
  virtual void DefineBinaryProperty(const String& Name, const TStreamProc& ReadData,
                                    const TStreamProc& WriteData, bool HasData) = 0;

protected:
  TComponent* FRoot = nullptr;
  TComponent* FLookupRoot = nullptr;
  TPersistent* FAncestor = nullptr;
  bool FIgnoreChildren = false;
};

using TFindMethodEvent = TEvent<void(TReader* Reader, const String& MethodName, TMethod& Address, bool& Error)>;
using TReaderError = TEvent<void(TReader* Reader, const String& Message, bool& Handled)>;
using TSetNameEvent = TEvent<void(TReader* Reader, TComponent* Component, String& Name)>;
using TFindComponentClassEvent = TEvent<void(TReader* Reader, const String& ClassName, TClass& ComponentClass)>;

class TFormDataParser;
struct TFormNode;
struct TFormValue;

class TReader : public TFiler {
  DECLARE_CLASS(TReader, TFiler)
public:
  // Reads form data text. The text is parsed whole first, so a syntax error is
  // reported before any component is made.
  explicit TReader(const String& Text);
  ~TReader() override;

  void DefineProperty(const String& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const String& Name, const TStreamProc& ReadData, const TStreamProc& WriteData,
                            bool HasData) override;

  // Reads the one top-level object into Root (created from its class when nil) and
  // returns it; every component made is freed again when reading fails.
  TComponent* ReadRootComponent(TComponent* Root);
  // Reads the properties and children of Instance from the current object block.
  void ReadData(TComponent* Instance);
  // Reads the value of one property of Instance named by the current position.
  void ReadProperty(TPersistent* Instance);

  // Primitive reads at the current value position (inside DefineProperty readers and
  // collection or list values). Each raises EReadError naming the line on a kind mismatch.
  TValueType NextValue();
  TValueType ReadValue();
  void CheckValue(TValueType Value);
  bool EndOfList();
  void ReadListBegin();
  void ReadListEnd();
  bool ReadBoolean();
  wchar_t ReadChar();
  int32_t ReadInteger();
  int64_t ReadInt64();
  double ReadFloat();
  String ReadString();
  String ReadIdent();
  // Reads a collection value < item ... end > into Collection.
  void ReadCollection(TCollection* Collection);
  // The line of the current position, for messages.
  int Line() const;

  TComponent* Owner() const { return FOwner; }
  void SetOwner(TComponent* Value) { FOwner = Value; }
  TComponent* Parent() const { return FParent; }
  void SetParent(TComponent* Value) { FParent = Value; }

  TFindMethodEvent OnFindMethod;
  TReaderError OnError;
  TSetNameEvent OnSetName;
  TFindComponentClassEvent OnFindComponentClass;

  // Internal state of the walk; the reader implementation keeps it behind this pointer.
  struct TState;

private:
  std::unique_ptr<TState> FState;
  TComponent* FOwner = nullptr;
  TComponent* FParent = nullptr;
};

class TWriter : public TFiler {
  DECLARE_CLASS(TWriter, TFiler)
public:
  TWriter();
  ~TWriter() override;

  void DefineProperty(const String& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const String& Name, const TStreamProc& ReadData, const TStreamProc& WriteData,
                            bool HasData) override;

  // Writes Root with its properties and children as one top-level object block.
  void WriteRootComponent(TComponent* Root);
  // Writes Instance against Ancestor (a component of the same class, or nil).
  void WriteDescendent(TComponent* Root, TComponent* Ancestor);
  void WriteComponent(TComponent* Component);
  void WriteProperties(TPersistent* Instance);

  // Primitive writes, for DefineProperty writers.
  void WriteListBegin();
  void WriteListEnd();
  void WriteBoolean(bool Value);
  void WriteChar(wchar_t Value);
  void WriteInteger(int64_t Value);
  void WriteFloat(double Value);
  void WriteString(const String& Value);
  void WriteIdent(const String& Ident);
  void WriteCollection(TCollection* Value);

  // The text written so far.
  const String& Text() const { return FText; }

  struct TState;

private:
  std::unique_ptr<TState> FState;
  String FText;
};

// Convenience: a tree to text and back.
String ComponentToText(TComponent* Root);
// Reads Text into Instance (or a new instance of the text's class when nil) and returns it.
TComponent* TextToComponent(const String& Text, TComponent* Instance = nullptr, TComponent* Owner = nullptr);
// Reads the RCDATA resource named after Instance's class (or ResName) into Instance.
bool InitInheritedComponent(TComponent* Instance, TClass RootAncestor);
TComponent* ReadComponentRes(const String& ResName, TComponent* Instance);
TComponent* ReadComponentResFile(const String& FileName, TComponent* Instance);
void WriteComponentResFile(const String& FileName, TComponent* Instance);
