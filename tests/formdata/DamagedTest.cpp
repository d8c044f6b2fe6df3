// Damaged form data: every case must raise EReadError naming the line and the problem,
// free every component the reader made, leave a root passed in alive and not loading,
// and never crash.
#include <gtest/gtest.h>

#include <cctype>

#include "TestClasses.h"
#include "platform/FormParser.h"

namespace {

struct TDamaged {
  const char* Label;
  const wchar_t* Text;
  int Line;
  const wchar_t* Problem;  // a part of the message after the line
};

// Two good components first, so that every failure has something made to free.
#define HEAD                                                                     \
  L"object Form1: TTestForm\n  object Good1: TTestWidget\n    Left = 1\n  end\n" \
  L"  object Good2: TTestWidget\n    object Good3: TTestWidget\n    end\n  end\n"
// The line numbers below count from here: HEAD holds lines 1 to 8.
#define OPEN_B L"  object B: TTestWidget\n"
#define CLOSE L"  end\nend\n"

const TDamaged kCorpus[] = {
    {"empty text", L"", 1, L"'object' expected"},
    {"no object keyword", L"Form1: TTestForm\nend\n", 1, L"'object' expected"},
    {"truncated after a property", HEAD OPEN_B L"    Left = 1\n", 11, L"Unexpected end of text"},
    {"truncated inside a value", HEAD OPEN_B L"    Left =", 10, L"value expected"},
    {"truncated list", HEAD OPEN_B L"    Points = (1 2\n", 11, L"')' missing"},
    {"unknown property", HEAD OPEN_B L"    Foo = 1\n" CLOSE, 10, L"Property Foo does not exist"},
    {"unknown nested property", HEAD OPEN_B L"    Font.Bogus = 1\n" CLOSE, 10, L"Property Font.Bogus does not exist"},
    {"unknown object on the path", HEAD OPEN_B L"    Bogus.Name = 1\n" CLOSE, 10, L"Property Bogus does not exist"},
    {"read-only property", HEAD OPEN_B L"    Hidden = 3\n" CLOSE, 10, L"Property Hidden is read-only"},
    {"string for an integer", HEAD OPEN_B L"    Left = 'x'\n" CLOSE, 10, L"Invalid value for property Left"},
    {"integer for a string", HEAD OPEN_B L"    Caption = 3\n" CLOSE, 10, L"a string expected"},
    {"identifier for a float", HEAD OPEN_B L"    Ratio = half\n" CLOSE, 10, L"a number expected"},
    {"unknown enumeration value", HEAD OPEN_B L"    Shape = shHexagon\n" CLOSE, 10, L"unknown identifier shHexagon"},
    {"integer for an enumeration", HEAD OPEN_B L"    Shape = 1\n" CLOSE, 10, L"an identifier expected"},
    {"not a Boolean", HEAD OPEN_B L"    Visible = Maybe\n" CLOSE, 10, L"unknown identifier Maybe"},
    {"unknown set element", HEAD OPEN_B L"    Shapes = [shSquare, shBlob]\n" CLOSE, 10, L"unknown set element shBlob"},
    {"number in a set", HEAD OPEN_B L"    Shapes = [1]\n" CLOSE, 10, L"Set element expected"},
    {"unclosed set", HEAD OPEN_B L"    Shapes = [shSquare\n" CLOSE, 11, L"',' or ']' expected"},
    {"unknown colour identifier", HEAD OPEN_B L"    Color = clPuce\n" CLOSE, 10, L"unknown identifier clPuce"},
    {"int16 out of range", HEAD OPEN_B L"    Small = 40000\n" CLOSE, 10, L"out of range"},
    {"uint8 below zero", HEAD OPEN_B L"    Byte = -1\n" CLOSE, 10, L"out of range"},
    {"int32 out of range", HEAD OPEN_B L"    Left = 99999999999\n" CLOSE, 10, L"out of range"},
    {"beyond 64 bits", HEAD OPEN_B L"    Count64 = 99999999999999999999\n" CLOSE, 10, L"Integer out of range"},
    {"hex beyond 64 bits", HEAD OPEN_B L"    Count64 = $1FFFFFFFFFFFFFFFF\n" CLOSE, 10, L"Integer out of range"},
    {"float out of range", HEAD OPEN_B L"    Ratio = 1E999\n" CLOSE, 10, L"Float out of range"},
    {"list item out of range", HEAD OPEN_B L"    Points = (1\n      4000000000)\n" CLOSE, 11, L"out of range"},
    {"unknown class", HEAD L"  object X: TNoSuchClass\n  end\nend\n", 9, L"Class TNoSuchClass not found"},
    {"class that is no component", HEAD L"  object X: TStringList\n  end\nend\n", 9, L"Class TStringList not found"},
    {"constructor fails", HEAD L"  object X: TBrokenThing\n  end\nend\n", 9, L"cannot be made"},
    {"inherited component missing", HEAD L"  inherited Nope: TTestWidget\n  end\nend\n", 9,
     L"Inherited component Nope not found"},
    {"duplicate name", HEAD L"  object Good1: TTestWidget\n  end\nend\n", 9, L"Good1 already exists"},
    {"invalid component name", HEAD L"  object Bad_$: TTestWidget\n  end\nend\n", 9, L"Invalid"},
    {"one end too many", HEAD L"end\nend\n", 10, L"End of text expected"},
    {"end missing", HEAD OPEN_B L"end\n", 11, L"'end' of Form1 missing"},
    {"property after a child", HEAD L"  Tag = 1\nend\n", 9, L"'end' or a child object expected"},
    {"no equals sign", HEAD OPEN_B L"    Left 1\n" CLOSE, 10, L"'=' expected"},
    {"invalid character", HEAD OPEN_B L"    Left = @\n" CLOSE, 10, L"Invalid character '@'"},
    {"control character", HEAD OPEN_B L"    Left = \x01\n" CLOSE, 10, L"Invalid character #1"},
    {"unterminated string", HEAD OPEN_B L"    Caption = 'abc\n" CLOSE, 10, L"Unterminated string"},
    {"hash without a code", HEAD OPEN_B L"    Caption = 'a'#\n" CLOSE, 10, L"Invalid character code"},
    {"hash with a letter", HEAD OPEN_B L"    Caption = #x\n" CLOSE, 10, L"Invalid character code"},
    {"character code too big", HEAD OPEN_B L"    Caption = #70000\n" CLOSE, 10, L"Character code out of range"},
    {"hex character code too big", HEAD OPEN_B L"    Caption = #$1FFFF\n" CLOSE, 10, L"Character code out of range"},
    {"plus without a string", HEAD OPEN_B L"    Caption = 'a' +\n      3\n" CLOSE, 11, L"String expected after '+'"},
    {"odd binary digits", HEAD OPEN_B L"    Data = {0A0}\n" CLOSE, 10, L"odd number of hex digits"},
    {"not a hex digit", HEAD OPEN_B L"    Data = {\n      0G}\n" CLOSE, 11, L"no hex digit"},
    {"unterminated binary", HEAD OPEN_B L"    Data = {0A0B\n", 11, L"Unterminated binary value"},
    {"binary for a list", HEAD OPEN_B L"    Points = {00}\n" CLOSE, 10, L"List expected"},
    {"string in an integer list", HEAD OPEN_B L"    Points = (1 'x')\n" CLOSE, 10,
     L"Integer expected but a string found"},
    {"list for binary", HEAD OPEN_B L"    Data = (1)\n" CLOSE, 10, L"Binary data expected"},
    {"strings list holds a number", HEAD OPEN_B L"    Lines.Strings = (\n      'a'\n      3)\n" CLOSE, 12,
     L"String expected"},
    {"strings without a list", HEAD OPEN_B L"    Lines.Strings = 'a'\n" CLOSE, 10, L"List expected"},
    {"value for an owned object", HEAD OPEN_B L"    Font = 3\n" CLOSE, 10, L"Font cannot be assigned a value"},
    {"number for a collection", HEAD OPEN_B L"    Items = 3\n" CLOSE, 10, L"a collection expected"},
    {"collection without item", HEAD OPEN_B L"    Items = <\n      thing\n      end>\n" CLOSE, 11,
     L"'item' or '>' expected"},
    {"bad value inside an item", HEAD OPEN_B L"    Items = <\n      item\n        Width = 'a'\n      end>\n" CLOSE, 12,
     L"Invalid value for property Width"},
    {"unknown property inside an item",
     HEAD OPEN_B L"    Items = <\n      item\n      end\n      item\n        Nope = 1\n      end>\n" CLOSE, 14,
     L"Property Nope does not exist"},
    {"unknown handler", HEAD OPEN_B L"    OnClick = NoSuchHandler\n" CLOSE, 10, L"Method NoSuchHandler not found"},
    {"handler of another shape", HEAD OPEN_B L"    OnClick = ValueChanged\n" CLOSE, 10,
     L"Method ValueChanged does not match"},
    {"string for an event", HEAD OPEN_B L"    OnClick = 'ButtonClick'\n" CLOSE, 10, L"a method name expected"},
    {"string for a reference", HEAD OPEN_B L"    Buddy = 'Good1'\n" CLOSE, 10, L"a component name expected"},
    {"reference of the wrong class", HEAD L"  object T: TTestThing\n  end\n" OPEN_B L"    Peer = T\n" CLOSE, 12,
     L"Component T is not a TTestWidget"},
    {"negative child position", HEAD L"  object B: TTestWidget [-1]\n" CLOSE, 9, L"Invalid child position"},
    {"text after the root", HEAD L"end\nobject Form2: TTestForm\nend\n", 10, L"End of text expected"},
    {"name with a trailing dot", HEAD OPEN_B L"    Left. = 1\n" CLOSE, 10, L"Invalid name Left."},
    {"dotted class name", HEAD L"  object B: Some.Class\n" CLOSE, 9, L"Invalid object name"},
    {"number glued to a name", HEAD OPEN_B L"    Left = 12ab\n" CLOSE, 10, L"Invalid number"},
};

class Damaged : public testing::TestWithParam<TDamaged> {
protected:
  void SetUp() override { RegisterTestClasses(); }
};

String ReadError(const String& text, TComponent* root, TComponent** made = nullptr)
{
  try {
    TComponent* c = TextToComponent(text, root);
    if (made)
      *made = c;
  } catch (const EReadError& e) {
    return e.Message();
  }
  return L"(no error)";
}

}  // namespace

TEST_P(Damaged, RaisesAReadingErrorWithTheLineAndFreesWhatWasMade)
{
  const TDamaged& c = GetParam();
  int live = gLive;
  TComponent* made = nullptr;
  String message = ReadError(c.Text, nullptr, &made);
  EXPECT_EQ(message.find(L"Line " + IntToStr(c.Line) + L": "), 0u) << ToUtf8(message);
  EXPECT_NE(message.find(c.Problem), String::npos) << ToUtf8(message);
  EXPECT_EQ(gLive, live) << "a component made before the error was not freed";
  if (made)
    made->Free();
}

TEST_P(Damaged, ARootPassedInStaysAliveAndEmpty)
{
  const TDamaged& c = GetParam();
  TTestForm root(nullptr);
  int live = gLive;
  String message = ReadError(c.Text, &root);
  EXPECT_EQ(message.find(L"Line " + IntToStr(c.Line) + L": "), 0u) << ToUtf8(message);
  EXPECT_EQ(gLive, live);
  EXPECT_EQ(root.ComponentCount(), 0);
  EXPECT_TRUE(root.Children().empty());
  EXPECT_FALSE(root.ComponentState().Contains(csLoading));
  EXPECT_FALSE(root.ComponentState().Contains(csReading));
}

INSTANTIATE_TEST_SUITE_P(Corpus, Damaged, testing::ValuesIn(kCorpus), [](const testing::TestParamInfo<TDamaged>& info) {
  std::string name;
  for (const char* p = info.param.Label; *p; ++p)
    name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return name;
});

namespace {

String Nested(int depth)
{
  String text;
  for (int i = 0; i < depth; ++i)
    text +=
        String(size_t(i) * 2, L' ') + L"object N" + IntToStr(i) + L": " + (i ? L"TTestWidget" : L"TTestForm") + L"\n";
  for (int i = depth - 1; i >= 0; --i)
    text += String(size_t(i) * 2, L' ') + L"end\n";
  return text;
}

}  // namespace

TEST(DamagedNesting, DeeperThanTheLimitIsRefusedBeforeAnythingIsMade)
{
  RegisterTestClasses();
  int live = gLive;
  String message = ReadError(Nested(kFormMaxNesting + 1), nullptr);
  EXPECT_EQ(message, L"Line " + IntToStr(kFormMaxNesting + 1) + L": Nesting deeper than 256 levels");
  EXPECT_EQ(gLive, live);

  // Deep lists are counted too, and a huge depth does not exhaust the stack.
  String lists = L"object F: TTestProbe\n  Blob = " + String(100000, L'(') + String(100000, L')') + L"\nend\n";
  message = ReadError(lists, nullptr);
  EXPECT_NE(message.find(L"Nesting deeper than"), String::npos) << ToUtf8(message);
  EXPECT_EQ(gLive, live);
}

TEST(DamagedNesting, TheLimitItselfReads)
{
  RegisterTestClasses();
  int live = gLive;
  {
    std::unique_ptr<TComponent, void (*)(TComponent*)> root(TextToComponent(Nested(kFormMaxNesting)),
                                                            [](TComponent* c) { c->Free(); });
    EXPECT_EQ(root->ComponentCount(), kFormMaxNesting - 1);
    auto* last = dynamic_cast<TTestNode*>(root->FindComponent(L"N" + IntToStr(kFormMaxNesting - 1)));
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->ParentNode(), root->FindComponent(L"N" + IntToStr(kFormMaxNesting - 2)));
  }
  EXPECT_EQ(gLive, live);
}

TEST(DamagedInput, GarbageNeverCrashes)
{
  RegisterTestClasses();
  // Every prefix of a good text is either good or a reading error, and nothing leaks.
  const String good =
      L"object Form1: TTestForm\n  object B: TTestWidget\n    Caption = 'a'#13'b' +\n"
      L"      'c'\n    Shapes = [shSquare]\n    Items = <\n      item [2]\n        Width = 3\n"
      L"      end>\n    Data = {0A0B}\n    Points = (1 2)\n    OnClick = ButtonClick\n"
      L"    Buddy = B\n  end\nend\n";
  int live = gLive;
  for (size_t n = 0; n + 1 < good.size(); ++n) {
    try {
      TextToComponent(good.substr(0, n))->Free();
      ADD_FAILURE() << "a truncated text read without error: " << n;
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message().rfind(L"Line ", 0), 0u) << ToUtf8(e.Message());
    }
    ASSERT_EQ(gLive, live) << "leak after reading " << n << " characters";
  }
  TextToComponent(good)->Free();
  EXPECT_EQ(gLive, live);
}

TEST(DamagedInput, RandomMutationsGiveATreeOrAReadingErrorAndNeverLeak)
{
  RegisterTestClasses();
  const String seed =
      L"object Form1: TTestForm\n  object B: TTestWidget\n    Caption = 'a'#13'b' +\n"
      L"      'c'\n    Shapes = [shSquare]\n    Items = <\n      item [2]\n        Width = 3\n"
      L"        Target = C\n      end>\n    Data = {0A0B}\n    Lines.Strings = (\n      'x')\n"
      L"    Points = (1 2)\n    OnClick = ButtonClick\n    Buddy = C\n    Font.Size = 9\n"
      L"    object C: TTestContainer\n      object D: TTestWidget\n      end\n    end\n  end\n"
      L"  inline F: TTestFrame\n    inherited Inner: TTestWidget\n      Left = 2\n    end\n  end\n"
      L"  object T: TTestThing\n    Link = B\n  end\nend\n";
  const wchar_t alphabet[] = L"()[]{}<>'#$+-=:., \n0123456789abcdefEobjectendinheriteditem";
  uint32_t state = 12345;
  auto next = [&state] {
    state = state * 1103515245u + 12345u;
    return state >> 8;
  };
  int live = gLive, good = 0;
  for (int iter = 0; iter < 3000; ++iter) {
    String text = seed;
    for (uint32_t m = 0, n = 1 + next() % 4; m < n; ++m) {
      size_t pos = next() % text.size();
      switch (next() % 3) {
        case 0:
          text.erase(pos, 1 + next() % 6);
          break;
        case 1:
          text.insert(pos, 1, alphabet[next() % (std::size(alphabet) - 1)]);
          break;
        default:
          text[pos] = alphabet[next() % (std::size(alphabet) - 1)];
          break;
      }
    }
    try {
      TextToComponent(text)->Free();
      ++good;
    } catch (const EReadError& e) {
      ASSERT_EQ(e.Message().rfind(L"Line ", 0), 0u) << ToUtf8(e.Message()) << "\n" << ToUtf8(text);
    }
    ASSERT_EQ(gLive, live) << ToUtf8(text);
  }
  EXPECT_GT(good, 0) << "some mutations keep the text valid";
}
