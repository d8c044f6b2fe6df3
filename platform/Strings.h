// String lists: TStrings (the abstract list of strings with attached objects, its text
// forms, name=value pairs, stream and form-data storage) and TStringList (the stored
// list with sorting, duplicate rules and change events).
#pragma once

#include "platform/Component.h"

enum TDuplicates { dupIgnore, dupAccept, dupError };
DECLARE_ENUM_INFO(TDuplicates)

// How text files are read and written. Reading detects a byte-order mark and falls back
// to the ANSI code page; teDefault on writing means the encoding the list was read with.
enum TTextEncoding { teDefault, teANSI, teUTF8, teUnicode, teBigEndianUnicode };

class TStrings : public TPersistent {
  DECLARE_CLASS(TStrings, TPersistent)
public:
  // The storage a descendant provides.
  virtual String Get(int Index) const = 0;
  virtual int GetCount() const = 0;
  virtual TObject* GetObject(int Index) const { return nullptr; }
  virtual void Put(int Index, const String& S);
  virtual void PutObject(int Index, TObject* AObject) {}
  virtual void Clear() = 0;
  virtual void Delete(int Index) = 0;
  virtual void Insert(int Index, const String& S) = 0;
  virtual void InsertObject(int Index, const String& S, TObject* AObject);

  virtual int Add(const String& S);
  virtual int AddObject(const String& S, TObject* AObject);
  void Append(const String& S) { Add(S); }
  virtual void AddStrings(TStrings* Strings);
  void AddStrings(std::initializer_list<String> Strings);
  virtual int IndexOf(const String& S) const;
  virtual int IndexOfName(const String& Name) const;
  virtual int IndexOfObject(TObject* AObject) const;
  virtual void Move(int CurIndex, int NewIndex);
  virtual void Exchange(int Index1, int Index2);
  // Same strings in the same order, compared exactly; objects are not compared.
  bool Equals(TStrings* Strings) const;
  void Assign(TPersistent* Source) override;

  int Count() const { return GetCount(); }
  String Strings(int Index) const { return Get(Index); }
  void SetStrings(int Index, const String& S) { Put(Index, S); }
  TObject* Objects(int Index) const { return GetObject(Index); }
  void SetObjects(int Index, TObject* AObject) { PutObject(Index, AObject); }

  // Name=value pairs. A string without the separator has an empty name and value.
  String Names(int Index) const;
  String Values(const String& Name) const;
  // An empty Value deletes the pair.
  void SetValues(const String& Name, const String& Value);
  String ValueFromIndex(int Index) const;
  void SetValueFromIndex(int Index, const String& Value);
  wchar_t NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(wchar_t Value) { FNameValueSeparator = Value; }

  // Every string followed by CR LF; reading splits at CR, LF or CR LF.
  String Text() const { return GetTextStr(); }
  void SetText(const String& Value) { SetTextStr(Value); }
  String GetText() const { return GetTextStr(); }
  virtual String GetTextStr() const;
  virtual void SetTextStr(const String& Value);

  // Delimited forms: items that need it are quoted with QuoteChar (doubling it inside).
  // Unless StrictDelimiter is set, blanks separate items too and items with blanks are quoted.
  String CommaText() const;
  void SetCommaText(const String& Value);
  String DelimitedText() const;
  void SetDelimitedText(const String& Value);
  wchar_t Delimiter() const { return FDelimiter; }
  void SetDelimiter(wchar_t Value) { FDelimiter = Value; }
  wchar_t QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(wchar_t Value) { FQuoteChar = Value; }
  bool StrictDelimiter() const { return FStrictDelimiter; }
  void SetStrictDelimiter(bool Value) { FStrictDelimiter = Value; }

  // Change bracketing: only the outermost pair reaches SetUpdateState.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  void LoadFromStream(TStream* Stream, TTextEncoding Encoding = teDefault);
  void SaveToStream(TStream* Stream, TTextEncoding Encoding = teDefault) const;
  void LoadFromFile(const String& FileName, TTextEncoding Encoding = teDefault);
  void SaveToFile(const String& FileName, TTextEncoding Encoding = teDefault) const;
  // The encoding the last load found (teANSI before any load).
  TTextEncoding Encoding() const { return FEncoding; }
  // Whether UTF-8 output starts with a byte-order mark (UTF-16 output always does).
  bool WriteBOM() const { return FWriteBOM; }
  void SetWriteBOM(bool Value) { FWriteBOM = Value; }

  // Form data: the strings as the custom value "Strings", a list of strings.
  void DefineProperties(TFiler* Filer) override;

protected:
  virtual void SetUpdateState(bool Updating) {}
  // Equality and order of strings for IndexOf, IndexOfName and sorting.
  virtual int CompareStrings(const String& S1, const String& S2) const;
  [[noreturn]] static void Error(const String& Message, int Data);
  void ReadData(TReader* Reader);
  void WriteData(TWriter* Writer) const;

private:
  int FUpdateCount = 0;
  wchar_t FNameValueSeparator = L'=';
  wchar_t FDelimiter = L',';
  wchar_t FQuoteChar = L'"';
  bool FStrictDelimiter = false;
  bool FWriteBOM = true;
  TTextEncoding FEncoding = teANSI;
  bool FReadWithoutBOM = false;  // UTF-8 that came without a mark is written back without one
};

// Replaces the strings of List with Items inside one update, so its change events fire once.
void ReplaceStrings(TStrings& List, const std::vector<String>& Items);

class TStringList;
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

class TStringList : public TStrings {
  DECLARE_CLASS(TStringList, TStrings)
public:
  TStringList() : FOwnsObjects(false) {}
  explicit TStringList(bool AOwnsObjects) : FOwnsObjects(AOwnsObjects) {}
  // No owner of any kind: keeps a pointer from turning into the Boolean above.
  template <class P>
  TStringList(P*) = delete;
  ~TStringList() override;

  String Get(int Index) const override;
  int GetCount() const override { return int(FList.size()); }
  TObject* GetObject(int Index) const override;
  void Put(int Index, const String& S) override;
  // Replacing an object never frees the old one, even in an owning list.
  void PutObject(int Index, TObject* AObject) override;
  void Clear() override;
  void Delete(int Index) override;
  void Insert(int Index, const String& S) override;
  void InsertObject(int Index, const String& S, TObject* AObject) override;
  int Add(const String& S) override;
  int AddObject(const String& S, TObject* AObject) override;
  int IndexOf(const String& S) const override;
  void Move(int CurIndex, int NewIndex) override;
  void Exchange(int Index1, int Index2) override;
  void Assign(TPersistent* Source) override;

  // Binary search of a sorted list: true when found; Index is the match (the first one
  // when duplicates are accepted) or the place S would go.
  virtual bool Find(const String& S, int& Index) const;
  virtual void Sort();
  // A stable sort by Compare; does nothing on a Sorted list.
  virtual void CustomSort(const TStringListSortCompare& Compare);

  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }
  int Capacity() const { return int(FList.capacity()); }
  void SetCapacity(int Value);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

protected:
  virtual void Changed();
  virtual void Changing();
  void SetUpdateState(bool Updating) override;
  int CompareStrings(const String& S1, const String& S2) const override;
  // Inserts without checks, between Changing and Changed.
  virtual void InsertItem(int Index, const String& S, TObject* AObject);

private:
  struct TStringItem {
    String FString;
    TObject* FObject = nullptr;
  };
  void CheckIndex(int Index) const;
  void CheckUnsorted() const;
  // Empties the list, freeing the objects it owns.
  void ReleaseItems();

  std::vector<TStringItem> FList;
  TDuplicates FDuplicates = dupIgnore;
  bool FSorted = false;
  bool FCaseSensitive = false;
  bool FOwnsObjects;
};
