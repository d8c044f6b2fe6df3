// Form data: the text format that describes a tree of components and their property
// values. TReader builds and fills components from it; TWriter writes a tree back so
// that reading gives the same tree. Custom stored values go through DefineProperty.
#pragma once

#include "platform/Component.h"

class TStream;

// The kinds of value a form-data position can hold.
enum TValueType {
  vaNull,  // end of a list
  vaList,  // ( ... )
  vaInt8,
  vaInt16,
  vaInt32,
  vaExtended,
  vaString,
  vaIdent,
  vaFalse,
  vaTrue,
  vaBinary,  // { ... }
  vaSet,     // [ ... ]
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
  virtual void DefineBinaryProperty(const String& Name, const TStreamProc& ReadData, const TStreamProc& WriteData,
                                    bool HasData) = 0;

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

class TReader : public TFiler {
  DECLARE_CLASS(TReader, TFiler)
public:
  // Reads form data text. The text is parsed whole first (in ReadRootComponent), so a
  // syntax error is reported before any component is made.
  explicit TReader(const String& Text);
  ~TReader() override;

  void DefineProperty(const String& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const String& Name, const TStreamProc& ReadData, const TStreamProc& WriteData,
                            bool HasData) override;

  // Reads the one top-level object into Root (created from its class, owned by Owner(),
  // when nil) and returns it. Errors raise EReadError ("Line 12: ..."); every component
  // the reader made is freed again, a Root passed in stays alive.
  TComponent* ReadRootComponent(TComponent* Root);
  // Reads the properties and children of Instance from the current object block
  // (TComponent::ReadState calls it).
  void ReadData(TComponent* Instance);
  // Reads the property at the current position into Instance (inside a list of
  // properties: an object block or a collection item).
  void ReadProperty(TPersistent* Instance);

  // Primitive reads at the current value position (inside DefineProperty readers and
  // collection or list values). Each raises EReadError naming the line on a kind mismatch.
  // NextValue peeks; ReadValue moves past a scalar, into a list or collection, or out of
  // a list at its end (vaNull).
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
  // Reads a collection value < item ... end > into Collection, replacing its items.
  void ReadCollection(TCollection* Collection);
  // The line of the current position, for messages.
  int Line() const;

  TComponent* Owner() const { return FOwner; }
  void SetOwner(TComponent* Value) { FOwner = Value; }
  TComponent* Parent() const { return FParent; }
  void SetParent(TComponent* Value) { FParent = Value; }

  TFindMethodEvent OnFindMethod;
  // Handled = true skips the property or component in error and reading goes on.
  TReaderError OnError;
  TSetNameEvent OnSetName;
  TFindComponentClassEvent OnFindComponentClass;

  // Internal state of the walk; the reader implementation keeps it behind this pointer.
  struct TState;

private:
  friend struct TState;
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
  // Writes Root against Ancestor (a component of the same class, or nil): values equal
  // to the ancestor's are left out and the ancestor's children become "inherited" blocks.
  void WriteDescendent(TComponent* Root, TComponent* Ancestor);
  // Writes one component block (sets csWriting and calls its WriteState).
  void WriteComponent(TComponent* Component);
  // Writes the block of Instance: header, properties, children, "end"
  // (TComponent::WriteState calls it).
  void WriteData(TComponent* Instance);
  // Writes the stored properties of Instance (published, then defined ones) against Ancestor().
  void WriteProperties(TPersistent* Instance);

  // Primitive writes, for DefineProperty writers. A defined property writes exactly one
  // value: a scalar, or a list of values between WriteListBegin and WriteListEnd.
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
  friend struct TState;
  std::unique_ptr<TState> FState;
  String FText;
};

// Resolves component references left pending by earlier reads ("Form2.Button1" read
// before Form2 existed) through FindGlobalComponent. Readers call it after each root.
void GlobalFixupReferences();
// While global loading is on, readers defer Loaded until NotifyGlobalLoading, so that a
// component read from several texts (one per class of its chain) is told once, at the end.
void BeginGlobalLoading();
void NotifyGlobalLoading();
void EndGlobalLoading();

// Convenience: a tree to text and back.
String ComponentToText(TComponent* Root);
// Reads Text into Instance (or a new instance of the text's class, owned by Owner, when
// nil) and returns it.
TComponent* TextToComponent(const String& Text, TComponent* Instance = nullptr, TComponent* Owner = nullptr);
// Reads, for each class from just below RootAncestor down to Instance's own class, the
// RCDATA resource named after that class into
// Instance; Loaded comes once, after the last. False when no class had a resource.
bool InitInheritedComponent(TComponent* Instance, TClass RootAncestor);
// Reads the RCDATA resource ResName of this module into Instance (nil: a new instance).
// Raises EResNotFound when there is no such resource.
TComponent* ReadComponentRes(const String& ResName, TComponent* Instance);
// Form data files hold the text, UTF-8 (a UTF-8 or UTF-16 byte-order mark is honoured).
TComponent* ReadComponentResFile(const String& FileName, TComponent* Instance);
void WriteComponentResFile(const String& FileName, TComponent* Instance);
// Decodes form data bytes: UTF-16 with its byte-order mark, otherwise UTF-8.
String FormDataBytesToText(const uint8_t* Data, size_t Size);
