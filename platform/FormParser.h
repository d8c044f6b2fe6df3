// The form-data text parser: turns the whole text into a tree of object blocks,
// property assignments and values before anything is built from it, so a syntax error
// is found first. Needs only the standard library and System.h, so that it also
// builds for the host (fuzzing).
#pragma once

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "platform/System.h"

// The deepest nesting of objects, lists and collections the parser accepts.
constexpr int kFormMaxNesting = 256;

enum class TFormValueKind {
  Integer,     // 12, -3, $1F
  Float,       // 1.5, -2E-3
  String,      // 'quoted runs' and #nn codes, joined by "+"
  Ident,       // clRed, True, nil, Other.Button1, and the float words NAN, INF, -INF
  Set,         // [a, b]
  List,        // ( values )
  Collection,  // < item ... end >
  Binary,      // { hex }
};

struct TFormProperty;
struct TFormItem;

struct TFormValue {
  TFormValueKind Kind = TFormValueKind::Integer;
  int Line = 0;
  int EndLine = 0;  // line of the closing bracket of lists and collections
  int64_t Int = 0;
  double Float = 0;
  String Text;                        // String and Ident
  std::vector<String> Names;          // Set
  std::vector<uint8_t> Bytes;         // Binary
  std::vector<TFormValue> Items;      // List
  std::vector<TFormItem> Collection;  // Collection
};

struct TFormProperty {
  String Name;  // may be dotted: Font.Name
  int Line = 0;
  TFormValue Value;
};

struct TFormItem {
  int Line = 0;
  int EndLine = 0;
  std::optional<int64_t> Order;  // item [3]
  std::vector<TFormProperty> Properties;
};

enum class TFormObjectKind { Object, Inherited, Inline };

struct TFormObject {
  TFormObjectKind Kind = TFormObjectKind::Object;
  String Name;  // may be empty: "object TClass"
  String ClassName;
  std::optional<int64_t> Position;  // object Name: TClass [2]
  int Line = 0;
  int EndLine = 0;
  std::vector<TFormProperty> Properties;
  std::vector<TFormObject> Children;
};

// A syntax error with the line it was found on. Message holds no line prefix.
class EFormSyntaxError : public std::exception {
public:
  EFormSyntaxError(int line, String message);
  int Line() const { return FLine; }
  const String& Message() const { return FMessage; }
  const char* what() const noexcept override { return FWhat.c_str(); }

private:
  int FLine;
  String FMessage;
  std::string FWhat;
};

// Parses text holding exactly one top-level object block. Raises EFormSyntaxError.
TFormObject ParseFormText(const String& text);

// True for a case-insensitive ASCII match; the format's keywords and value words.
bool FormSameWord(const String& a, const wchar_t* b);
