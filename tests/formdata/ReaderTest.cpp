// Reading form data: the format's value forms, component states and Loaded, owners and
// parents, reference fix-up inside a tree and across roots, the reader's events, and the
// primitive reads that defined properties use.
#include <gtest/gtest.h>

#include "TestClasses.h"

namespace {

using TOwned = std::unique_ptr<TComponent, void (*)(TComponent*)>;

TOwned Read(const String& text, TComponent* root = nullptr)
{
  return TOwned(TextToComponent(text, root), [](TComponent* c) {
    if (c)
      c->Free();
  });
}

class Reading : public testing::Test {
protected:
  void SetUp() override
  {
    RegisterTestClasses();
    gLoadedLog.clear();
    live = gLive;
  }
  void TearDown() override
  {
    gGlobalRoots.clear();
    TTestProbe::ReadBlob = nullptr;
    TTestProbe::WriteBlob = nullptr;
    EXPECT_EQ(gLive, live);
  }
  int live = 0;
};

}  // namespace

TEST_F(Reading, ValueFormsOfTheFormat)
{
  TOwned form = Read(
      L"\xFEFFobject Form1: TTestForm\r\n"
      L"  object B: TTestWidget\r\n"
      L"    left = $1F\r\n"  // names are case-insensitive; hex integers
      L"    Count64 = -9223372036854775808\n"
      L"    Color = 255\n"  // a number where identifiers exist
      L"    Caption = 'It''s'#13#10'two'#$263A + \n   'more' +\n   #33\n"
      L"    Ratio = 1E10\n"
      L"    Shapes = []\n"
      L"    Visible = true\n"
      L"    Font.Style = [ shSquare , shStar ]\n"
      L"    Items = <\n      item [7]\n        Width = 1\n      end\n      item\n      end>\n"
      L"    Data = {\n      0a 0B\n      ff}\n"
      L"  end\nend");
  TTestWidget* b = Widget(form.get(), L"B");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->FLeft, 31);
  EXPECT_EQ(b->FCount64, INT64_MIN);
  EXPECT_EQ(b->FColor, clTestRed);
  EXPECT_EQ(b->FCaption, L"It's\r\ntwo\x263Amore!");
  EXPECT_EQ(b->FRatio, 1e10);
  EXPECT_TRUE(b->FShapes.Empty());
  EXPECT_TRUE(b->FVisible);
  EXPECT_EQ(b->FFont->FStyle, (TShapes{shSquare, shStar}));
  ASSERT_EQ(b->FItems->Count(), 2);
  EXPECT_EQ(static_cast<TTestItem*>(b->FItems->Items(0))->FWidth, 1);
  EXPECT_EQ(b->FData, (std::vector<uint8_t>{0x0A, 0x0B, 0xFF}));
}

TEST_F(Reading, StatesAndLoadedComeAfterTheWholeTreeInCreationOrder)
{
  TOwned form = Read(
      L"object Form1: TTestForm\n"
      L"  object A: TTestWidget\n    Left = 1\n    Buddy = C\n"
      L"    object A1: TTestWidget\n    end\n  end\n"
      L"  object C: TTestWidget\n  end\nend\n");
  EXPECT_EQ(gLoadedLog, (std::vector<String>{L"Form1*", L"A*", L"A1*", L"C*"}));
  TTestWidget* a = Widget(form.get(), L"A");
  EXPECT_TRUE(a->FSawReadingState) << "csLoading and csReading are set while properties are read";
  EXPECT_EQ(a->FBuddyAtLoaded, form->FindComponent(L"C")) << "references are fixed up before Loaded";
  for (TComponent* c : {form.get(), form->FindComponent(L"A"), form->FindComponent(L"A1")}) {
    EXPECT_FALSE(c->ComponentState().Contains(csLoading)) << ToUtf8(c->Name());
    EXPECT_FALSE(c->ComponentState().Contains(csReading)) << ToUtf8(c->Name());
  }
}

TEST_F(Reading, OwnerIsTheRootOrTheChildOwnerAndParentIsTheEnclosingBlock)
{
  TOwned form = Read(
      L"object Form1: TTestForm\n"
      L"  object Box: TTestContainer\n    object InBox: TTestWidget\n    end\n  end\n"
      L"  object Panel: TTestWidget\n    object InPanel: TTestWidget\n    end\n  end\n"
      L"  object Thing: TTestThing\n  end\nend\n");
  TComponent* box = form->FindComponent(L"Box");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(form->FindComponent(L"InBox"), nullptr);
  auto* inBox = Widget(box, L"InBox");
  ASSERT_NE(inBox, nullptr) << "GetChildOwner made the container the owner";
  EXPECT_EQ(inBox->ParentNode(), box);
  auto* inPanel = Widget(form.get(), L"InPanel");
  ASSERT_NE(inPanel, nullptr);
  EXPECT_EQ(inPanel->Owner(), form.get());
  EXPECT_EQ(inPanel->ParentNode(), form->FindComponent(L"Panel"));
  EXPECT_EQ(Widget(form.get(), L"Panel")->ParentNode(), form.get());
  EXPECT_EQ(form->FindComponent(L"Thing")->Owner(), form.get());
}

TEST_F(Reading, ReferencesInsideTheTree)
{
  TOwned form = Read(
      L"object Form1: TTestForm\n"
      L"  object A: TTestWidget\n    Buddy = Box.InBox\n    Peer = b\n  end\n"
      L"  object Box: TTestContainer\n    object InBox: TTestWidget\n      Buddy = Form1\n"
      L"    end\n  end\n"
      L"  object B: TTestWidget\n    Buddy = Owner\n    Items = <\n      item\n"
      L"        Target = A\n      end>\n  end\n"
      L"  object T: TTestThing\n    Link = Missing\n  end\nend\n");
  TComponent* box = form->FindComponent(L"Box");
  TTestWidget* a = Widget(form.get(), L"A");
  EXPECT_EQ(a->Buddy(), box->FindComponent(L"InBox")) << "a path through a sub-owner";
  EXPECT_EQ(a->FPeer, form->FindComponent(L"B"));
  EXPECT_EQ(Widget(box, L"InBox")->Buddy(), form.get()) << "the root by its name";
  EXPECT_EQ(Widget(form.get(), L"B")->Buddy(), form.get()) << "the root as Owner";
  EXPECT_EQ(static_cast<TTestItem*>(Widget(form.get(), L"B")->FItems->Items(0))->FTarget, a);
  EXPECT_EQ(static_cast<TTestThing*>(form->FindComponent(L"T"))->FLink, nullptr)
      << "an unresolved reference is no error and stays nil";
}

TEST_F(Reading, ReferencesAcrossRootsThroughTheGlobalRegistry)
{
  // Form2 exists: the reference resolves at once.
  TOwned form2 = Read(L"object Form2: TTestForm\n  object Button1: TTestWidget\n  end\nend\n");
  gGlobalRoots.push_back(form2.get());
  TOwned form1 = Read(
      L"object Form1: TTestForm\n  object A: TTestWidget\n    Buddy = Form2.Button1\n"
      L"    Peer = Form3.Button9\n  end\n  object T: TTestThing\n    Link = Form2\n  end\nend\n");
  gGlobalRoots.push_back(form1.get());
  TTestWidget* a = Widget(form1.get(), L"A");
  EXPECT_EQ(a->Buddy(), form2->FindComponent(L"Button1"));
  EXPECT_EQ(static_cast<TTestThing*>(form1->FindComponent(L"T"))->FLink, form2.get());
  EXPECT_EQ(a->FPeer, nullptr);

  // Form3 comes later: the pending reference is fixed up when it is read.
  TTestForm* form3 = new TTestForm(nullptr);
  gGlobalRoots.push_back(form3);
  TextToComponent(L"object Form3: TTestForm\n  object Button9: TTestWidget\n  end\nend\n", form3);
  EXPECT_EQ(a->FPeer, form3->FindComponent(L"Button9"));

  // Freeing the target clears the reference through free notification.
  form2->FindComponent(L"Button1")->Free();
  EXPECT_EQ(a->Buddy(), nullptr);
  gGlobalRoots.clear();
  form3->Free();
  a->FPeer = nullptr;
}

TEST_F(Reading, ASecondInstanceOfANamedRootGetsAUniqueName)
{
  TOwned first = Read(L"object Main: TTestForm\nend\n");
  gGlobalRoots.push_back(first.get());
  TOwned second = Read(L"object Main: TTestForm\nend\n");
  gGlobalRoots.push_back(second.get());
  TOwned third = Read(L"object Main: TTestForm\nend\n");
  EXPECT_EQ(first->Name(), L"Main");
  EXPECT_EQ(second->Name(), L"Main_1");
  EXPECT_EQ(third->Name(), L"Main_2");
  // Reading into the instance that already has the name keeps it.
  TextToComponent(L"object Main: TTestForm\nend\n", first.get());
  EXPECT_EQ(first->Name(), L"Main");
}

TEST_F(Reading, OnErrorMayHandleAnErrorAndReadingGoesOn)
{
  std::vector<String> errors;
  TTestForm form(nullptr);
  TReader reader(
      L"object Form1: TTestForm\n"
      L"  object A: TTestWidget\n    Foo = 1\n    Left = 5\n    OnClick = Nope\n    Caption = 'kept'\n"
      L"  end\n"
      L"  object X: TNoSuchClass\n    object InX: TTestWidget\n    end\n  end\n"
      L"  object Z: TTestWidget\n    Left = 7\n  end\nend\n");
  reader.OnError = TReaderError([&](TReader*, const String& message, bool& handled) {
    errors.push_back(message);
    handled = true;
  });
  reader.ReadRootComponent(&form);
  ASSERT_EQ(errors.size(), 3u);
  EXPECT_EQ(errors[0], L"Line 3: Property Foo does not exist");
  EXPECT_EQ(errors[1], L"Line 5: Method Nope not found");
  EXPECT_EQ(errors[2], L"Line 8: Class TNoSuchClass not found");
  TTestWidget* a = Widget(&form, L"A");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->FLeft, 5);
  EXPECT_EQ(a->FCaption, L"kept");
  EXPECT_EQ(form.FindComponent(L"InX"), nullptr) << "a component that cannot be made is skipped whole";
  EXPECT_EQ(Widget(&form, L"Z")->FLeft, 7);
}

TEST_F(Reading, HandledErrorInsideAComponentDropsItWithWhatWasReadIntoIt)
{
  // "Bad" comes after the child object: a syntax error, so nothing is read at all.
  TTestForm form(nullptr);
  TReader broken(
      L"object F: TTestForm\n  object Y: TTestWidget\n    object InY: TTestWidget\n    end\n"
      L"    Bad = 1\n  end\nend\n");
  broken.OnError = TReaderError([](TReader*, const String&, bool& handled) { handled = true; });
  EXPECT_THROW(broken.ReadRootComponent(&form), EReadError) << "syntax errors cannot be handled";
  EXPECT_EQ(form.ComponentCount(), 0);

  // An error inside a child's block that propagates: the handler sees it at the child.
  std::vector<String> errors;
  TReader reader(
      L"object F: TTestForm\n  object Y: TTestWidget\n    object InY: TTestWidget\n"
      L"    end\n    object Dup: TTestWidget\n    end\n    object Dup: TTestWidget\n    end\n  end\n"
      L"  object Z: TTestWidget\n  end\nend\n");
  reader.OnError = TReaderError([&](TReader*, const String& message, bool& handled) {
    errors.push_back(message);
    handled = true;
  });
  reader.ReadRootComponent(&form);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find(L"Line 7: "), String::npos) << ToUtf8(errors[0]);
  EXPECT_NE(form.FindComponent(L"Y"), nullptr);
  EXPECT_NE(form.FindComponent(L"Z"), nullptr);
  EXPECT_EQ(form.ComponentCount(), 4) << "Y, InY, the first Dup and Z";
}

TEST_F(Reading, OnSetNameOnFindComponentClassAndOnFindMethod)
{
  TTestForm form(nullptr);
  TReader reader(L"object F: TTestForm\n  object Old: TFancyWidget\n    OnClick = Alias\n  end\nend\n");
  reader.OnSetName = TSetNameEvent([](TReader*, TComponent* c, String& name) {
    if (name == L"Old")
      name = L"Renamed";
  });
  reader.OnFindComponentClass = TFindComponentClassEvent([](TReader*, const String& name, TClass& cls) {
    if (name == L"TFancyWidget")
      cls = TTestWidget::StaticClass();
  });
  reader.OnFindMethod = TFindMethodEvent([&](TReader*, const String& name, TMethod& address, bool& error) {
    if (name == L"Alias") {
      address = TNotifyEvent(&form, &TTestForm::OtherClick).Method();
      error = false;
    }
  });
  reader.ReadRootComponent(&form);
  TTestWidget* w = Widget(&form, L"Renamed");
  ASSERT_NE(w, nullptr);
  w->FOnClick(w);
  EXPECT_EQ(form.Clicks, 100);
}

TEST_F(Reading, InheritedBlocksReadIntoExistingComponents)
{
  TTestForm form(nullptr);
  auto* existing = new TTestWidget(&form);
  existing->SetName(L"Existing");
  existing->SetParentComponent(&form);
  existing->FCaption = L"before";
  existing->FLeft = 3;
  TextToComponent(L"inherited Form1: TTestForm\n  inherited Existing: TTestWidget\n    Left = 9\n  end\nend\n", &form);
  EXPECT_EQ(form.ComponentCount(), 1);
  EXPECT_EQ(existing->FLeft, 9);
  EXPECT_EQ(existing->FCaption, L"before");
  EXPECT_EQ(gLoadedLog, (std::vector<String>{L"Form1*", L"Existing*"}));
}

TEST_F(Reading, PrimitiveReadsWalkNestedValues)
{
  std::vector<String> seen;
  TTestProbe::ReadBlob = [&](TReader* r) {
    EXPECT_EQ(r->NextValue(), vaList);
    r->ReadListBegin();
    EXPECT_EQ(r->NextValue(), vaInt8);
    EXPECT_EQ(r->ReadInteger(), 1);
    EXPECT_EQ(r->NextValue(), vaInt32);
    EXPECT_EQ(r->ReadInt64(), 70000);
    EXPECT_EQ(r->NextValue(), vaInt64);
    EXPECT_THROW(r->ReadInteger(), EReadError) << "beyond 32 bits";
    EXPECT_EQ(r->ReadString(), L"s");
    EXPECT_EQ(r->ReadChar(), L'c');
    EXPECT_EQ(r->NextValue(), vaWString);
    EXPECT_EQ(r->ReadString(), L"\x263A");
    EXPECT_EQ(r->ReadFloat(), 2.5);
    EXPECT_EQ(r->ReadFloat(), 3.0) << "integers read as floats";
    EXPECT_EQ(r->NextValue(), vaIdent);
    EXPECT_EQ(r->ReadIdent(), L"some.ident");
    EXPECT_EQ(r->NextValue(), vaTrue);
    EXPECT_TRUE(r->ReadBoolean());
    EXPECT_FALSE(r->ReadBoolean());
    EXPECT_EQ(r->NextValue(), vaNil);
    EXPECT_EQ(r->ReadValue(), vaNil);
    EXPECT_EQ(r->ReadValue(), vaList);  // a nested list
    EXPECT_TRUE(r->EndOfList());
    r->ReadListEnd();
    EXPECT_EQ(r->ReadValue(), vaSet);
    EXPECT_EQ(r->ReadValue(), vaBinary);
    EXPECT_EQ(r->NextValue(), vaCollection);
    r->ReadValue();
    EXPECT_EQ(r->NextValue(), vaInt8) << "the first item's order";
    EXPECT_EQ(r->ReadInteger(), 3);
    r->ReadListBegin();
    while (!r->EndOfList()) {
      seen.push_back(L"line " + IntToStr(r->Line()));
      TTestItem item(nullptr);
      r->ReadProperty(&item);
      seen.push_back(IntToStr(item.FWidth));
    }
    r->ReadListEnd();
    EXPECT_EQ(r->NextValue(), vaList) << "the second item has no order";
    r->ReadListBegin();
    r->ReadListEnd();
    r->ReadListEnd();  // the collection
    EXPECT_TRUE(r->EndOfList());
    r->ReadListEnd();
  };
  TOwned probe = Read(
      L"object P: TTestProbe\n  Blob = (\n    1 70000 5000000000 's' 'c' #9786 2.5 3\n"
      L"    some.ident True False nil () [a] {00}\n    <item [3]\n      Width = 4\n    end\n"
      L"    item\n    end>)\nend\n");
  EXPECT_EQ(seen, (std::vector<String>{L"line 6", L"4"}));
}

TEST_F(Reading, ADefinedReaderMustReadItsWholeValue)
{
  TTestProbe::ReadBlob = [](TReader* r) {
    r->ReadListBegin();
    r->ReadInteger();  // and stops early
  };
  try {
    Read(L"object P: TTestProbe\n  Blob = (1 2)\nend\n");
    ADD_FAILURE() << "no error";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), L"Line 2: Invalid value for property Blob");
  }
  TTestProbe::ReadBlob = [](TReader* r) {
    r->ReadInteger();
    r->ReadInteger();  // past the end of its value
  };
  EXPECT_THROW(Read(L"object P: TTestProbe\n  Blob = 1\nend\n"), EReadError);
  TTestProbe::ReadBlob = [](TReader* r) { r->ReadString(); };
  try {
    Read(L"object P: TTestProbe\n  Blob =\n    3\nend\n");
    ADD_FAILURE() << "no error";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), L"Line 3: String expected but an integer found");
  }
}

TEST_F(Reading, WriterAndReaderPrimitivesAgree)
{
  TTestProbe::WriteBlob = [](TWriter* w) {
    w->WriteListBegin();
    w->WriteInteger(-5);
    w->WriteInteger(INT64_MAX);
    w->WriteBoolean(true);
    w->WriteChar(L'\'');
    w->WriteFloat(-0.25);
    w->WriteString(L"x\ty");
    w->WriteIdent(L"clRed");
    w->WriteListBegin();
    w->WriteListEnd();
    w->WriteListEnd();
  };
  TTestProbe probe(nullptr);
  probe.SetName(L"P");
  String text = ComponentToText(&probe);
  EXPECT_EQ(text,
            L"object P: TTestProbe\n  Blob = (\n    -5\n    9223372036854775807\n    True\n    ''''\n"
            L"    -0.25\n    'x'#9'y'\n    clRed\n    ())\nend\n");
  bool done = false;
  TTestProbe::ReadBlob = [&](TReader* r) {
    r->ReadListBegin();
    EXPECT_EQ(r->ReadInteger(), -5);
    EXPECT_EQ(r->ReadInt64(), INT64_MAX);
    EXPECT_TRUE(r->ReadBoolean());
    EXPECT_EQ(r->ReadChar(), L'\'');
    EXPECT_EQ(r->ReadFloat(), -0.25);
    EXPECT_EQ(r->ReadString(), L"x\ty");
    EXPECT_EQ(r->ReadIdent(), L"clRed");
    r->ReadListBegin();
    r->ReadListEnd();
    r->ReadListEnd();
    done = true;
  };
  TTestProbe copy(nullptr);
  TextToComponent(text, &copy);
  EXPECT_TRUE(done);

  // A writer that writes no value, or two, is refused rather than producing bad text.
  TTestProbe::WriteBlob = [](TWriter*) {};
  EXPECT_THROW(ComponentToText(&probe), EWriteError);
  TTestProbe::WriteBlob = [](TWriter* w) {
    w->WriteInteger(1);
    w->WriteInteger(2);
  };
  EXPECT_THROW(ComponentToText(&probe), EWriteError);
  TTestProbe::WriteBlob = [](TWriter* w) { w->WriteListBegin(); };
  EXPECT_THROW(ComponentToText(&probe), EWriteError);
}
