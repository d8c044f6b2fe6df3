// Writing a tree of components and reading it back gives the same tree: every property
// kind, nesting, collections, string lists, binary and list values, references, events,
// children of children, and writing against an ancestor.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "TestClasses.h"

namespace {

class RoundTrip : public testing::Test {
protected:
  void SetUp() override
  {
    RegisterTestClasses();
    gLoadedLog.clear();
    liveBefore = gLive;
  }
  void TearDown() override { EXPECT_EQ(gLive, liveBefore) << "test components leaked or were freed twice"; }

  // A form with one widget holding a non-default value of every kind, a nested panel
  // with a child of its own, and a non-visual component.
  TTestForm* MakeForm()
  {
    auto* form = new TTestForm(nullptr);
    form->SetName(L"Form1");
    auto* button = new TTestWidget(form);
    button->SetName(L"Button1");
    button->SetParentComponent(form);
    button->FLeft = -17;
    button->FCount64 = 1234567890123LL;
    button->FSmall = -300;
    button->FColor = clTestRed;
    button->FShape = shTriangle;
    button->FVisible = false;
    button->FShapes = {shSquare, shStar};
    button->FRatio = 0.1;
    button->FCaption = L"It's\r\ntwo lines \x263A";
    button->FFont->FName = L"Courier New";
    button->FFont->FSize = 12;
    button->FFont->FStyle = {shCircle};
    auto* item = static_cast<TTestItem*>(button->FItems->Add());
    item->FWidth = 10;
    item->FCaption = L"first";
    button->FItems->Add();
    button->FLines->Add(L"alpha");
    button->FLines->Add(L"");
    button->FLines->Add(L"g'amma");
    button->FData = {0x0A, 0x0B, 0x00, 0xFF};
    button->FPoints = {1, -2, 300000};
    button->FOnClick = TNotifyEvent(form, &TTestForm::ButtonClick);
    button->FOnValue = TValueEvent(form, &TTestForm::ValueChanged);

    auto* panel = new TTestWidget(form);
    panel->SetName(L"Panel1");
    panel->SetParentComponent(form);
    auto* inner = new TTestWidget(form);
    inner->SetName(L"Inner1");
    inner->SetParentComponent(panel);
    inner->SetBuddy(button);
    item->FTarget = inner;
    button->SetBuddy(panel);

    auto* thing = new TTestThing(form);
    thing->SetName(L"Thing1");
    thing->SetLink(form);
    thing->FOnFire = TNotifyEvent(form, &TTestForm::OtherClick);
    thing->FNote = String(150, L'x') + L"'";
    return form;
  }

  int liveBefore = 0;
};

}  // namespace

TEST_F(RoundTrip, EveryPropertyKindComesBackEqual)
{
  std::unique_ptr<TTestForm, void (*)(TTestForm*)> form(MakeForm(), [](TTestForm* f) { f->Free(); });
  String text = ComponentToText(form.get());
  std::unique_ptr<TComponent, void (*)(TComponent*)> copy(TextToComponent(text), [](TComponent* c) { c->Free(); });
  ASSERT_EQ(copy->ClassType(), TTestForm::StaticClass());
  EXPECT_EQ(DescribeTree(copy.get()), DescribeTree(form.get()));

  TTestWidget* b = Widget(copy.get(), L"Button1");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->FLeft, -17);
  EXPECT_EQ(b->FCount64, 1234567890123LL);
  EXPECT_EQ(b->FSmall, -300);
  EXPECT_EQ(b->FColor, clTestRed);
  EXPECT_EQ(b->FShape, shTriangle);
  EXPECT_FALSE(b->FVisible);
  EXPECT_EQ(b->FShapes, (TShapes{shSquare, shStar}));
  EXPECT_EQ(b->FRatio, 0.1);
  EXPECT_EQ(b->FCaption, L"It's\r\ntwo lines \x263A");
  EXPECT_EQ(b->FFont->FName, L"Courier New");
  EXPECT_EQ(b->FFont->FSize, 12);
  EXPECT_EQ(b->FFont->FStyle, TShapes{shCircle});
  ASSERT_EQ(b->FItems->Count(), 2);
  EXPECT_EQ(static_cast<TTestItem*>(b->FItems->Items(0))->FWidth, 10);
  EXPECT_EQ(static_cast<TTestItem*>(b->FItems->Items(0))->FCaption, L"first");
  EXPECT_EQ(static_cast<TTestItem*>(b->FItems->Items(0))->FTarget, copy->FindComponent(L"Inner1"));
  ASSERT_EQ(b->FLines->Count(), 3);
  EXPECT_EQ(b->FLines->Strings(2), L"g'amma");
  EXPECT_EQ(b->FData, (std::vector<uint8_t>{0x0A, 0x0B, 0x00, 0xFF}));
  EXPECT_EQ(b->FPoints, (std::vector<int>{1, -2, 300000}));
  EXPECT_EQ(b->Buddy(), copy->FindComponent(L"Panel1"));
  EXPECT_EQ(Widget(copy.get(), L"Inner1")->Buddy(), b);
  EXPECT_EQ(Widget(copy.get(), L"Inner1")->ParentNode(), copy->FindComponent(L"Panel1"));

  // Events are bound to the new form's own handlers.
  auto* newForm = static_cast<TTestForm*>(copy.get());
  b->FOnClick(b);
  EXPECT_EQ(newForm->Clicks, 1);
  EXPECT_EQ(form->Clicks, 0);
  b->FOnValue(b, 7);
  EXPECT_EQ(newForm->LastValue, 7);

  auto* thing = dynamic_cast<TTestThing*>(copy->FindComponent(L"Thing1"));
  ASSERT_NE(thing, nullptr);
  EXPECT_EQ(thing->FLink, copy.get()) << "a reference to the root is written as Owner";
  EXPECT_EQ(thing->FNote, String(150, L'x') + L"'");
  thing->FOnFire(thing);
  EXPECT_EQ(newForm->Clicks, 101);

  // Writing the copy gives the same text again.
  EXPECT_EQ(ComponentToText(copy.get()), text);
}

TEST_F(RoundTrip, TextLayoutFollowsTheFormat)
{
  std::unique_ptr<TTestForm, void (*)(TTestForm*)> form(MakeForm(), [](TTestForm* f) { f->Free(); });
  std::string text = ToUtf8(ComponentToText(form.get()));
  // Defaults are left out; published order; two-space indentation; quoting and codes.
  EXPECT_EQ(text.find("object Form1: TTestForm\n  object Thing1: TTestThing\n"), 0u) << text;
  EXPECT_NE(text.find("    Left = -17\n    Count64 = 1234567890123\n    Small = -300\n    Color = clRed\n"
                      "    Shape = shTriangle\n    Visible = False\n    Shapes = [shSquare, shStar]\n"
                      "    Ratio = 0.1\n    Caption = 'It''s'#13#10'two lines '#9786\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("    Font.Name = 'Courier New'\n    Font.Size = 12\n    Font.Style = [shCircle]\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("    Items = <\n      item\n        Width = 10\n        Caption = 'first'\n"
                      "        Target = Inner1\n      end\n      item\n      end>\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("    Lines.Strings = (\n      'alpha'\n      ''\n      'g''amma')\n"), std::string::npos) << text;
  EXPECT_NE(text.find("    Buddy = Panel1\n    OnClick = ButtonClick\n    OnValue = ValueChanged\n"
                      "    Data = {\n      0A0B00FF}\n    Points = (\n      1\n      -2\n      300000)\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("Hidden"), std::string::npos) << "read-only properties are not written";
  EXPECT_EQ(text.find("Byte ="), std::string::npos) << "default values are not written";
  // The long note is split with "+" and still reads back whole (checked above).
  EXPECT_NE(text.find("' +\n"), std::string::npos) << text;
  EXPECT_NE(text.find("    object Inner1: TTestWidget\n"), std::string::npos) << text;
  EXPECT_EQ(text.substr(text.size() - 4), "end\n");
}

TEST_F(RoundTrip, FloatsComeBackBitForBit)
{
  const double values[] = {0.1,
                           -2.5,
                           1e10,
                           1.7976931348623157e308,
                           4.9e-324,
                           1.0 / 3.0,
                           -0.0,
                           123456789012345678.0,
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity()};
  for (double v : values) {
    TTestForm form(nullptr);
    auto* w = new TTestWidget(&form);
    w->SetName(L"W");
    w->SetParentComponent(&form);
    w->FRatio = v;
    String text = ComponentToText(&form);
    TTestForm copy(nullptr);
    TextToComponent(text, &copy);
    auto* r = Widget(&copy, L"W");
    ASSERT_NE(r, nullptr) << ToUtf8(text);
    if (v == 0)
      EXPECT_EQ(r->FRatio, 0.0);
    else
      EXPECT_EQ(r->FRatio, v) << ToUtf8(text);
  }
  TTestForm form(nullptr);
  auto* w = new TTestWidget(&form);
  w->SetName(L"W");
  w->SetParentComponent(&form);
  w->FRatio = std::numeric_limits<double>::quiet_NaN();
  TTestForm copy(nullptr);
  TextToComponent(ComponentToText(&form), &copy);
  EXPECT_TRUE(std::isnan(Widget(&copy, L"W")->FRatio));
}

TEST_F(RoundTrip, StringsWithEveryCharacterClass)
{
  String all;
  for (wchar_t ch = 0; ch < 0x180; ++ch)
    all += ch;
  all += L"\xD83D\xDE00 ''' ##";
  TTestForm form(nullptr);
  auto* w = new TTestWidget(&form);
  w->SetName(L"W");
  w->SetParentComponent(&form);
  w->FCaption = all;
  w->FLines->Add(all);
  String text = ComponentToText(&form);
  for (wchar_t ch : text)
    ASSERT_TRUE(ch == L'\n' || (ch >= L' ' && ch < 0x7F)) << "written form data is plain ASCII";
  TTestForm copy(nullptr);
  TextToComponent(text, &copy);
  EXPECT_EQ(Widget(&copy, L"W")->FCaption, all);
  EXPECT_EQ(Widget(&copy, L"W")->FLines->Strings(0), all);
}

TEST_F(RoundTrip, DeepChildrenOfChildren)
{
  TTestForm form(nullptr);
  form.SetName(L"Deep");
  TTestNode* parent = &form;
  for (int i = 0; i < 120; ++i) {
    auto* w = new TTestWidget(&form);
    w->SetName(L"W" + IntToStr(i));
    w->SetParentComponent(parent);
    w->FLeft = i;
    parent = w;
  }
  String text = ComponentToText(&form);
  std::unique_ptr<TComponent, void (*)(TComponent*)> copy(TextToComponent(text), [](TComponent* c) { c->Free(); });
  EXPECT_EQ(DescribeTree(copy.get()), DescribeTree(&form));
  EXPECT_EQ(Widget(copy.get(), L"W119")->FLeft, 119);
  EXPECT_EQ(Widget(copy.get(), L"W119")->ParentNode(), Widget(copy.get(), L"W118"));

  // Deeper than any reader would take: refused when writing.
  for (int i = 120; i < 300; ++i) {
    auto* w = new TTestWidget(&form);
    w->SetParentComponent(parent);
    parent = w;
  }
  EXPECT_THROW(ComponentToText(&form), EWriteError);
  EXPECT_FALSE(form.ComponentState().Contains(csWriting));
}

TEST_F(RoundTrip, AgainstAnAncestorOnlyDifferencesAreWritten)
{
  std::unique_ptr<TTestForm, void (*)(TTestForm*)> base(MakeForm(), [](TTestForm* f) { f->Free(); });
  std::unique_ptr<TTestForm, void (*)(TTestForm*)> derived(MakeForm(), [](TTestForm* f) { f->Free(); });
  TTestWidget* b = Widget(derived.get(), L"Button1");
  b->FLeft = 99;
  b->FFont->FSize = 14;
  b->FPoints.push_back(4);
  b->FOnClick = TNotifyEvent(derived.get(), &TTestForm::OtherClick);
  Widget(derived.get(), L"Panel1")->SetBuddy(b);
  auto* extra = new TTestWidget(derived.get());
  extra->SetName(L"Extra");
  extra->SetParentComponent(derived.get());

  TWriter writer;
  writer.WriteDescendent(derived.get(), base.get());
  std::string text = ToUtf8(writer.Text());
  EXPECT_EQ(text.find("inherited Form1: TTestForm\n"), 0u) << text;
  EXPECT_NE(text.find("  inherited Button1: TTestWidget\n    Left = 99\n    Font.Size = 14\n"
                      "    OnClick = OtherClick\n    Points = (\n"),
            std::string::npos)
      << text;
  std::string button = text.substr(0, text.find("  inherited Panel1"));
  EXPECT_EQ(button.find("Caption"), std::string::npos) << "equal values are left out: " << text;
  EXPECT_EQ(button.find("Lines.Strings"), std::string::npos) << text;
  EXPECT_EQ(button.find("Items = <"), std::string::npos) << text;
  EXPECT_EQ(button.find("Data ="), std::string::npos) << text;
  EXPECT_NE(text.find("  inherited Panel1: TTestWidget\n    Buddy = Button1\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  object Extra: TTestWidget\n"), std::string::npos) << text;

  // Reading the difference over a fresh copy of the ancestor gives the derived form.
  std::unique_ptr<TTestForm, void (*)(TTestForm*)> rebuilt(MakeForm(), [](TTestForm* f) { f->Free(); });
  TextToComponent(writer.Text(), rebuilt.get());
  EXPECT_EQ(DescribeTree(rebuilt.get()), DescribeTree(derived.get()));
  EXPECT_EQ(ComponentToText(rebuilt.get()), ComponentToText(derived.get()));
}

TEST_F(RoundTrip, ReorderedInheritedChildrenKeepTheirPositions)
{
  std::unique_ptr<TTestForm, void (*)(TTestForm*)> base(MakeForm(), [](TTestForm* f) { f->Free(); });
  std::unique_ptr<TTestForm, void (*)(TTestForm*)> derived(MakeForm(), [](TTestForm* f) { f->Free(); });
  derived->SetChildOrder(derived->FindComponent(L"Panel1"), 0);
  auto* first = new TTestWidget(derived.get());
  first->SetName(L"First");
  first->SetParentComponent(derived.get());
  derived->SetChildOrder(first, 0);
  TWriter writer;
  writer.WriteDescendent(derived.get(), base.get());
  // Positions count in the root's child list, where the non-visual Thing1 comes first.
  EXPECT_NE(writer.Text().find(L"object First: TTestWidget [1]"), String::npos) << ToUtf8(writer.Text());
  EXPECT_NE(writer.Text().find(L"inherited Button1: TTestWidget [3]"), String::npos) << ToUtf8(writer.Text());

  std::unique_ptr<TTestForm, void (*)(TTestForm*)> rebuilt(MakeForm(), [](TTestForm* f) { f->Free(); });
  TextToComponent(writer.Text(), rebuilt.get());
  EXPECT_EQ(DescribeTree(rebuilt.get()), DescribeTree(derived.get()));
}

TEST_F(RoundTrip, InlineFrameIsWrittenAgainstAFreshFrame)
{
  TTestForm form(nullptr);
  form.SetName(L"Host");
  auto* frame = new TTestFrame(&form);
  frame->SetName(L"Frame1");
  frame->SetParentComponent(&form);
  frame->SetInline(true);
  frame->Inner->FLeft = 5;
  auto* button = new TTestWidget(&form);
  button->SetName(L"Button1");
  button->SetParentComponent(&form);
  button->SetBuddy(frame->Inner);

  std::string text = ToUtf8(ComponentToText(&form));
  EXPECT_NE(text.find("  inline Frame1: TTestFrame\n    inherited Inner: TTestWidget\n      Left = 5\n"
                      "    end\n  end\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("inner default"), std::string::npos) << "the frame's own values are not repeated";
  EXPECT_NE(text.find("    Buddy = Frame1.Inner\n"), std::string::npos) << text;

  int live = gLive;
  {
    TTestForm copy(nullptr);
    TextToComponent(FromUtf8(text), &copy);
    auto* f = dynamic_cast<TTestFrame*>(copy.FindComponent(L"Frame1"));
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(f->ComponentState().Contains(csInline));
    EXPECT_EQ(f->ComponentCount(), 1) << "the frame's child was read into, not made twice";
    EXPECT_EQ(f->Inner->FLeft, 5);
    EXPECT_EQ(f->Inner->FCaption, L"inner default");
    EXPECT_EQ(Widget(&copy, L"Button1")->Buddy(), f->Inner);
  }
  EXPECT_EQ(gLive, live);
}

TEST_F(RoundTrip, ComponentsWithoutNamesAndEmptyValues)
{
  TTestForm form(nullptr);
  auto* w = new TTestWidget(&form);
  w->SetParentComponent(&form);
  w->FCaption = L"anonymous";
  String text = ComponentToText(&form);
  EXPECT_EQ(text.find(L"object TTestForm\n  object TTestWidget\n"), 0u) << ToUtf8(text);
  TTestForm copy(nullptr);
  TextToComponent(text, &copy);
  ASSERT_EQ(copy.Children().size(), 1u);
  EXPECT_EQ(static_cast<TTestWidget*>(copy.Children()[0])->FCaption, L"anonymous");
  EXPECT_EQ(copy.Children()[0]->Name(), L"");
}
