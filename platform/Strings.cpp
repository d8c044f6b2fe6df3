#include "platform/Strings.h"

#include <algorithm>
#include <numeric>
#include <optional>

#include "platform/Filer.h"
#include "platform/Streams.h"

#ifdef _WIN32
#include "platform/Win.h"
#endif

IMPLEMENT_CLASS(TStrings, TPersistent)
IMPLEMENT_CLASS(TStringList, TStrings)
DEFINE_ENUM_INFO(TDuplicates, L"dupIgnore", L"dupAccept", L"dupError")

namespace {

const wchar_t* const SListIndexError = L"List index out of bounds (%d)";
const wchar_t* const SListCapacityError = L"List capacity out of bounds (%d)";
const wchar_t* const SDuplicateString = L"String list does not allow duplicates";
const wchar_t* const SSortedListError = L"Operation not allowed on sorted list";

bool IsBlank(wchar_t c)
{
  return c <= L' ';
}

// The delimited form of a list of strings; see TStrings::DelimitedText.
String JoinDelimited(const TStrings& list, wchar_t delimiter, wchar_t quote, bool strict)
{
  int count = list.Count();
  if (count == 1 && list.Get(0).empty())
    return String(2, quote);  // otherwise one empty item would read back as none
  String result;
  for (int i = 0; i < count; ++i) {
    String s = list.Get(i);
    bool needsQuotes = std::any_of(s.begin(), s.end(), [&](wchar_t c) {
      return (!strict && IsBlank(c)) || c == L'\0' || c == quote || c == delimiter;
    });
    if (i > 0)
      result += delimiter;
    if (!needsQuotes) {
      result += s;
      continue;
    }
    result += quote;
    for (wchar_t c : s) {
      if (c == quote)
        result += quote;
      result += c;
    }
    result += quote;
  }
  return result;
}

std::vector<String> SplitDelimited(const String& text, wchar_t delimiter, wchar_t quote, bool strict)
{
  std::vector<String> items;
  size_t n = text.size(), p = 0;
  auto skipBlanks = [&] {
    if (!strict)
      while (p < n && IsBlank(text[p]) && text[p] != delimiter)
        ++p;
  };
  skipBlanks();
  while (p < n) {
    String s;
    if (text[p] == quote) {
      // A quoted item: a doubled quote stands for one; a missing closing quote ends it at the end.
      ++p;
      while (p < n) {
        if (text[p] == quote) {
          if (p + 1 < n && text[p + 1] == quote) {
            s += quote;
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        s += text[p++];
      }
    } else {
      size_t start = p;
      while (p < n && text[p] != delimiter && (strict || !IsBlank(text[p])))
        ++p;
      s = text.substr(start, p - start);
    }
    items.push_back(std::move(s));
    skipBlanks();
    if (p < n && text[p] == delimiter) {
      ++p;
      if (p == n)
        items.emplace_back();  // a trailing delimiter ends with an empty item
      skipBlanks();
    }
  }
  return items;
}

// ---------------------------------------------------------------------------
// Text encodings

using Bytes = std::vector<uint8_t>;

bool StartsWith(const Bytes& data, std::initializer_list<uint8_t> mark)
{
  return data.size() >= mark.size() && std::equal(mark.begin(), mark.end(), data.begin());
}

// Strictly well-formed UTF-8 (no overlong forms, no surrogates) with at least one non-ASCII sequence.
bool LooksLikeUtf8(const Bytes& data, size_t from)
{
  bool wide = false;
  for (size_t i = from; i < data.size();) {
    uint8_t c = data[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    // Lead bytes 110xxxxx, 1110xxxx and 11110xxx start sequences of two, three and four bytes.
    int extra = c >= 0xF8 ? -1 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
    if (extra < 0)
      return false;
    uint32_t cp = c & (0x3F >> extra);
    if (i + size_t(extra) >= data.size())
      return false;
    for (int k = 1; k <= extra; ++k) {
      if ((data[i + k] & 0xC0) != 0x80)
        return false;
      cp = (cp << 6) | (data[i + k] & 0x3F);
    }
    static const uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
    if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    wide = true;
    i += size_t(extra) + 1;
  }
  return wide;
}

String DecodeUtf16(const Bytes& data, size_t from, bool bigEndian)
{
  String result;
  result.reserve((data.size() - from) / 2);
  size_t i = from;
  for (; i + 1 < data.size(); i += 2)
    result += bigEndian ? wchar_t((data[i] << 8) | data[i + 1]) : wchar_t(data[i] | (data[i + 1] << 8));
  if (i < data.size())
    result += wchar_t(0xFFFD);  // an odd last byte is shown, not dropped silently
  return result;
}

String DecodeAnsi(const Bytes& data, size_t from)
{
  if (from >= data.size())
    return String();
#ifdef _WIN32
  const char* src = reinterpret_cast<const char*>(data.data() + from);
  int length = int(data.size() - from);
  int needed = MultiByteToWideChar(CP_ACP, 0, src, length, nullptr, 0);
  String result(size_t(std::max(needed, 0)), L'\0');
  if (needed > 0)
    MultiByteToWideChar(CP_ACP, 0, src, length, result.data(), needed);
  return result;
#else
  return String(data.begin() + from, data.end());  // Latin-1 where no code page exists
#endif
}

// The ANSI form of Text, or nothing when some character has no ANSI form.
std::optional<std::string> EncodeAnsi(const String& text)
{
  if (text.empty())
    return std::string();
#ifdef _WIN32
  BOOL lossy = FALSE;
  int needed =
      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), int(text.size()), nullptr, 0, nullptr, &lossy);
  if (needed <= 0 || lossy)
    return std::nullopt;
  std::string result(size_t(needed), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), int(text.size()), result.data(), needed, nullptr,
                      &lossy);
  if (lossy)
    return std::nullopt;
  return result;
#else
  std::string result;
  for (wchar_t c : text) {
    if (c > 0xFF)
      return std::nullopt;
    result += char(c);
  }
  return result;
#endif
}

}  // namespace

// ---------------------------------------------------------------------------
// TStrings

void ReplaceStrings(TStrings& List, const std::vector<String>& Items)
{
  WithUpdate(List, [&] {
    List.Clear();
    for (const String& s : Items)
      List.Add(s);
  });
}

void TStrings::Error(const String& Message, int Data)
{
  throw EStringListError(Format(Message, {Data}));
}

void TStrings::Put(int Index, const String& S)
{
  TObject* object = GetObject(Index);
  WithUpdate(*this, [&] {
    Delete(Index);
    InsertObject(Index, S, object);
  });
}

void TStrings::InsertObject(int Index, const String& S, TObject* AObject)
{
  WithUpdate(*this, [&] {
    Insert(Index, S);
    PutObject(Index, AObject);
  });
}

int TStrings::Add(const String& S)
{
  int index = GetCount();
  Insert(index, S);
  return index;
}

int TStrings::AddObject(const String& S, TObject* AObject)
{
  int index = Add(S);
  PutObject(index, AObject);
  return index;
}

void TStrings::AddStrings(TStrings* Strings)
{
  if (!Strings)
    return;
  // A snapshot: adding a list to itself, or to a sorted list, moves what the walk reads.
  std::vector<std::pair<String, TObject*>> items;
  for (int i = 0; i < Strings->Count(); ++i)
    items.emplace_back(Strings->Get(i), Strings->GetObject(i));
  WithUpdate(*this, [&] {
    for (auto& [s, object] : items)
      AddObject(s, object);
  });
}

void TStrings::AddStrings(std::initializer_list<String> Strings)
{
  WithUpdate(*this, [&] {
    for (const String& s : Strings)
      Add(s);
  });
}

int TStrings::IndexOf(const String& S) const
{
  for (int i = 0; i < GetCount(); ++i)
    if (CompareStrings(Get(i), S) == 0)
      return i;
  return -1;
}

int TStrings::IndexOfName(const String& Name) const
{
  for (int i = 0; i < GetCount(); ++i) {
    String s = Get(i);
    size_t at = s.find(FNameValueSeparator);
    if (at != String::npos && CompareStrings(s.substr(0, at), Name) == 0)
      return i;
  }
  return -1;
}

int TStrings::IndexOfObject(TObject* AObject) const
{
  for (int i = 0; i < GetCount(); ++i)
    if (GetObject(i) == AObject)
      return i;
  return -1;
}

void TStrings::Move(int CurIndex, int NewIndex)
{
  if (CurIndex == NewIndex)
    return;
  if (NewIndex < 0 || NewIndex >= GetCount())
    Error(SListIndexError, NewIndex);
  String s = Get(CurIndex);
  TObject* object = GetObject(CurIndex);
  WithUpdate(*this, [&] {
    PutObject(CurIndex, nullptr);  // so that an owning list does not free it on the way
    Delete(CurIndex);
    InsertObject(NewIndex, s, object);
  });
}

void TStrings::Exchange(int Index1, int Index2)
{
  String s1 = Get(Index1), s2 = Get(Index2);
  TObject* o1 = GetObject(Index1);
  TObject* o2 = GetObject(Index2);
  WithUpdate(*this, [&] {
    Put(Index1, s2);
    PutObject(Index1, o2);
    Put(Index2, s1);
    PutObject(Index2, o1);
  });
}

bool TStrings::Equals(TStrings* Strings) const
{
  if (!Strings || Strings->GetCount() != GetCount())
    return false;
  for (int i = 0; i < GetCount(); ++i)
    if (Get(i) != Strings->Get(i))
      return false;
  return true;
}

void TStrings::Assign(TPersistent* Source)
{
  auto* source = dynamic_cast<TStrings*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  if (source == this)
    return;
  WithUpdate(*this, [&] {
    Clear();
    FNameValueSeparator = source->FNameValueSeparator;
    FDelimiter = source->FDelimiter;
    FQuoteChar = source->FQuoteChar;
    FStrictDelimiter = source->FStrictDelimiter;
    AddStrings(source);
  });
}

String TStrings::Names(int Index) const
{
  String s = Get(Index);
  size_t at = s.find(FNameValueSeparator);
  return at == String::npos ? String() : s.substr(0, at);
}

String TStrings::ValueFromIndex(int Index) const
{
  String s = Get(Index);
  size_t at = s.find(FNameValueSeparator);
  return at == String::npos ? String() : s.substr(at + 1);
}

String TStrings::Values(const String& Name) const
{
  int index = IndexOfName(Name);
  return index >= 0 ? ValueFromIndex(index) : String();
}

void TStrings::SetValues(const String& Name, const String& Value)
{
  int index = IndexOfName(Name);
  if (!Value.empty()) {
    if (index < 0)
      Add(Name + FNameValueSeparator + Value);
    else
      Put(index, Name + FNameValueSeparator + Value);
  } else if (index >= 0) {
    Delete(index);
  }
}

void TStrings::SetValueFromIndex(int Index, const String& Value)
{
  if (!Value.empty()) {
    if (Index < 0)
      Index = Add(String());
    Put(Index, Names(Index) + FNameValueSeparator + Value);
  } else if (Index >= 0) {
    Delete(Index);
  }
}

String TStrings::GetTextStr() const
{
  String result;
  for (int i = 0; i < GetCount(); ++i) {
    result += Get(i);
    result += L"\r\n";
  }
  return result;
}

void TStrings::SetTextStr(const String& Value)
{
  WithUpdate(*this, [&] {
    Clear();
    size_t n = Value.size(), p = 0;
    while (p < n) {
      size_t start = p;
      while (p < n && Value[p] != L'\r' && Value[p] != L'\n')
        ++p;
      Add(Value.substr(start, p - start));
      if (p < n && Value[p] == L'\r')
        ++p;
      if (p < n && Value[p] == L'\n')
        ++p;
    }
  });
}

String TStrings::DelimitedText() const
{
  return JoinDelimited(*this, FDelimiter, FQuoteChar, FStrictDelimiter);
}

void TStrings::SetDelimitedText(const String& Value)
{
  ReplaceStrings(*this, SplitDelimited(Value, FDelimiter, FQuoteChar, FStrictDelimiter));
}

String TStrings::CommaText() const
{
  return JoinDelimited(*this, L',', L'"', false);
}

void TStrings::SetCommaText(const String& Value)
{
  ReplaceStrings(*this, SplitDelimited(Value, L',', L'"', false));
}

void TStrings::BeginUpdate()
{
  if (FUpdateCount == 0)
    SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate()
{
  if (FUpdateCount == 0)
    return;  // unbalanced: nothing to end
  if (--FUpdateCount == 0)
    SetUpdateState(false);
}

int TStrings::CompareStrings(const String& S1, const String& S2) const
{
  return CompareText(S1, S2);
}

void TStrings::LoadFromStream(TStream* Stream, TTextEncoding Encoding)
{
  Bytes data, chunk(65536);
  for (int64_t got; (got = Stream->Read(chunk.data(), int64_t(chunk.size()))) > 0;)
    data.insert(data.end(), chunk.begin(), chunk.begin() + got);

  TTextEncoding found = Encoding;
  size_t from = 0;
  bool marked = false;
  if (StartsWith(data, {0xEF, 0xBB, 0xBF}) && (Encoding == teDefault || Encoding == teUTF8)) {
    found = teUTF8, from = 3, marked = true;
  } else if (StartsWith(data, {0xFF, 0xFE}) && (Encoding == teDefault || Encoding == teUnicode)) {
    found = teUnicode, from = 2, marked = true;
  } else if (StartsWith(data, {0xFE, 0xFF}) && (Encoding == teDefault || Encoding == teBigEndianUnicode)) {
    found = teBigEndianUnicode, from = 2, marked = true;
  } else if (Encoding == teDefault) {
    found = LooksLikeUtf8(data, 0) ? teUTF8 : teANSI;
  }

  String text;
  switch (found) {
    case teUTF8:
      text = FromUtf8(std::string(data.begin() + from, data.end()));
      break;
    case teUnicode:
    case teBigEndianUnicode:
      text = DecodeUtf16(data, from, found == teBigEndianUnicode);
      break;
    default:
      text = DecodeAnsi(data, from);
      break;
  }
  FEncoding = found;
  FReadWithoutBOM = !marked;
  SetTextStr(text);
}

void TStrings::SaveToStream(TStream* Stream, TTextEncoding Encoding) const
{
  String text = GetTextStr();
  bool bom = FWriteBOM;
  if (Encoding == teDefault) {
    Encoding = FEncoding;
    if (Encoding == teUTF8 && FReadWithoutBOM)
      bom = false;
  }
  std::string bytes;
  if (Encoding == teANSI || Encoding == teDefault) {
    if (auto ansi = EncodeAnsi(text)) {
      bytes = std::move(*ansi);
    } else {
      // Text the code page cannot hold is written as UTF-8 rather than lost.
      Encoding = teUTF8;
      bom = true;
    }
  }
  if (Encoding == teUTF8) {
    if (bom)
      bytes = "\xEF\xBB\xBF";
    bytes += ToUtf8(text);
  } else if (Encoding == teUnicode || Encoding == teBigEndianUnicode) {
    bool big = Encoding == teBigEndianUnicode;
    bytes = big ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t c : text) {
      char lo = char(c & 0xFF), hi = char((c >> 8) & 0xFF);
      bytes += big ? hi : lo;
      bytes += big ? lo : hi;
    }
  }
  if (!bytes.empty())
    Stream->WriteBuffer(bytes.data(), int64_t(bytes.size()));
}

void TStrings::DefineProperties(TFiler* Filer)
{
  // Written when it differs from the ancestor's list, or without an ancestor when there is anything.
  bool hasData;
  if (TPersistent* ancestor = Filer->Ancestor()) {
    auto* strings = dynamic_cast<TStrings*>(ancestor);
    hasData = !strings || !Equals(strings);
  } else {
    hasData = GetCount() > 0;
  }
  Filer->DefineProperty(
      L"Strings", [this](TReader* reader) { ReadData(reader); }, [this](TWriter* writer) { WriteData(writer); },
      hasData);
}

void TStrings::ReadData(TReader* Reader)
{
  Reader->ReadListBegin();
  WithUpdate(*this, [&] {
    Clear();
    while (!Reader->EndOfList())
      Add(Reader->ReadString());
  });
  Reader->ReadListEnd();
}

void TStrings::WriteData(TWriter* Writer) const
{
  Writer->WriteListBegin();
  for (int i = 0; i < GetCount(); ++i)
    Writer->WriteString(Get(i));
  Writer->WriteListEnd();
}

// ---------------------------------------------------------------------------
// TStringList

TStringList::~TStringList()
{
  // No change events while going away.
  OnChange = nullptr;
  OnChanging = nullptr;
  ReleaseItems();
}

void TStringList::ReleaseItems()
{
  // Taken out first: an owned object's destructor that looks at the list finds it empty.
  std::vector<TStringItem> items;
  items.swap(FList);
  if (FOwnsObjects)
    for (auto& item : items)
      if (item.FObject)
        item.FObject->Free();
}

void TStringList::CheckIndex(int Index) const
{
  if (Index < 0 || Index >= GetCount())
    Error(SListIndexError, Index);
}

void TStringList::CheckUnsorted() const
{
  if (FSorted)
    Error(SSortedListError, 0);
}

String TStringList::Get(int Index) const
{
  CheckIndex(Index);
  return FList[size_t(Index)].FString;
}

TObject* TStringList::GetObject(int Index) const
{
  CheckIndex(Index);
  return FList[size_t(Index)].FObject;
}

void TStringList::Put(int Index, const String& S)
{
  CheckUnsorted();
  CheckIndex(Index);
  Changing();
  FList[size_t(Index)].FString = S;
  Changed();
}

void TStringList::PutObject(int Index, TObject* AObject)
{
  CheckIndex(Index);
  Changing();
  FList[size_t(Index)].FObject = AObject;
  Changed();
}

void TStringList::Clear()
{
  if (FList.empty())
    return;
  Changing();
  ReleaseItems();
  Changed();
}

void TStringList::Delete(int Index)
{
  CheckIndex(Index);
  Changing();
  TObject* object = FList[size_t(Index)].FObject;
  FList.erase(FList.begin() + Index);
  if (FOwnsObjects && object)
    object->Free();
  Changed();
}

void TStringList::Insert(int Index, const String& S)
{
  InsertObject(Index, S, nullptr);
}

void TStringList::InsertObject(int Index, const String& S, TObject* AObject)
{
  CheckUnsorted();
  if (Index < 0 || Index > GetCount())
    Error(SListIndexError, Index);
  InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(int Index, const String& S, TObject* AObject)
{
  Changing();
  FList.insert(FList.begin() + Index, TStringItem{S, AObject});
  Changed();
}

int TStringList::Add(const String& S)
{
  return AddObject(S, nullptr);
}

int TStringList::AddObject(const String& S, TObject* AObject)
{
  int index = GetCount();
  // Duplicates are looked for in sorted lists only, where Find is cheap.
  if (FSorted && Find(S, index)) {
    switch (FDuplicates) {
      case dupIgnore:
        return index;
      case dupError:
        Error(SDuplicateString, 0);
      case dupAccept:
        break;
    }
  }
  InsertItem(index, S, AObject);
  return index;
}

bool TStringList::Find(const String& S, int& Index) const
{
  bool found = false;
  int low = 0, high = GetCount() - 1;
  while (low <= high) {
    int mid = low + (high - low) / 2;
    int c = CompareStrings(FList[size_t(mid)].FString, S);
    if (c < 0) {
      low = mid + 1;
    } else {
      high = mid - 1;
      if (c == 0) {
        found = true;
        if (FDuplicates != dupAccept)
          low = mid;  // unique: this is the one
      }
    }
  }
  Index = low;
  return found;
}

int TStringList::IndexOf(const String& S) const
{
  if (!FSorted)
    return TStrings::IndexOf(S);
  int index;
  return Find(S, index) ? index : -1;
}

void TStringList::Move(int CurIndex, int NewIndex)
{
  if (CurIndex == NewIndex)
    return;
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  CheckUnsorted();
  Changing();
  TStringItem item = std::move(FList[size_t(CurIndex)]);
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, std::move(item));
  Changed();
}

void TStringList::Exchange(int Index1, int Index2)
{
  CheckIndex(Index1);
  CheckIndex(Index2);
  CheckUnsorted();
  if (Index1 == Index2)
    return;
  Changing();
  std::swap(FList[size_t(Index1)], FList[size_t(Index2)]);
  Changed();
}

void TStringList::Sort()
{
  CustomSort([](TStringList* list, int a, int b) {
    return list->CompareStrings(list->FList[size_t(a)].FString, list->FList[size_t(b)].FString);
  });
}

void TStringList::CustomSort(const TStringListSortCompare& Compare)
{
  if (FSorted || GetCount() < 2 || !Compare)
    return;
  // The order is worked out first, so a comparison that raises leaves the list untouched.
  std::vector<int> order(FList.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return Compare(this, a, b) < 0; });
  std::vector<TStringItem> sorted;
  sorted.reserve(FList.size());
  for (int i : order)
    sorted.push_back(std::move(FList[size_t(i)]));
  Changing();
  FList.swap(sorted);
  Changed();
}

void TStringList::SetSorted(bool Value)
{
  if (FSorted == Value)
    return;
  if (Value)
    Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value)
{
  if (FCaseSensitive == Value)
    return;
  FCaseSensitive = Value;
  if (FSorted) {
    FSorted = false;
    SetSorted(true);
  }
}

void TStringList::SetCapacity(int Value)
{
  if (Value < GetCount())
    Error(SListCapacityError, Value);
  try {
    if (size_t(Value) > FList.capacity())
      FList.reserve(size_t(Value));
  } catch (const std::exception&) {
    Error(SListCapacityError, Value);
  }
}

void TStringList::Assign(TPersistent* Source)
{
  auto* source = dynamic_cast<TStringList*>(Source);
  if (!source || source == this) {
    TStrings::Assign(Source);
    return;
  }
  // An exact copy: the entries keep their order and the rules come along, so a sorted
  // or duplicate-free destination cannot drop or reorder anything on the way.
  WithUpdate(*this, [&] {
    Clear();
    SetNameValueSeparator(source->NameValueSeparator());
    SetDelimiter(source->Delimiter());
    SetQuoteChar(source->QuoteChar());
    SetStrictDelimiter(source->StrictDelimiter());
    FSorted = source->FSorted;
    FDuplicates = source->FDuplicates;
    FCaseSensitive = source->FCaseSensitive;
    FList = source->FList;
  });
}

void TStringList::Changed()
{
  if (UpdateCount() == 0)
    CallEvent(OnChange, this);
}

void TStringList::Changing()
{
  if (UpdateCount() == 0)
    CallEvent(OnChanging, this);
}

void TStringList::SetUpdateState(bool Updating)
{
  if (Updating)
    Changing();
  else
    Changed();
}

int TStringList::CompareStrings(const String& S1, const String& S2) const
{
  return FCaseSensitive ? CompareStr(S1, S2) : CompareText(S1, S2);
}
