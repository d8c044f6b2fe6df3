// Forms made from form data: properties applied in the right order, handlers bound by
// name and run by real clicks, a missing resource, reading errors.
#include "FormsTestUtil.h"
#include "platform/StdCtrls.h"

namespace {

const wchar_t* const kTwoTiles =
    L"object TileForm: TTestForm\n"
    L"  Left = 120\n"
    L"  Top = 90\n"
    L"  ClientWidth = 300\n"
    L"  ClientHeight = 200\n"
    L"  BorderStyle = bsSingle\n"
    L"  Caption = 'Tiles'\n"
    L"  Color = clWhite\n"
    L"  OnCreate = FormCreate\n"
    L"  OnShow = FormShow\n"
    L"  OnDestroy = FormDestroy\n"
    L"  object Red: TTile\n"
    L"    Left = 10\n"
    L"    Top = 10\n"
    L"    Width = 100\n"
    L"    Height = 60\n"
    L"    Color = clRed\n"
    L"    OnClick = TileClick\n"
    L"  end\n"
    L"  object Blue: TTile\n"
    L"    Left = 150\n"
    L"    Top = 10\n"
    L"    Width = 100\n"
    L"    Height = 60\n"
    L"    Color = clBlue\n"
    L"    OnClick = TileClick\n"
    L"  end\n"
    L"end\n";

class FormData : public testing::Test {
protected:
  void TearDown() override { ParkMouse(); }
};

TEST_F(FormData, ClientSizeIsAppliedWithTheFinalBorderStyle)
{
  // ClientWidth comes before BorderStyle in the data: the size must still be the client's.
  TOwned<TTestForm> form(FormFromText(kTwoTiles));
  EXPECT_EQ(form->GetBorderStyle(), bsSingle);
  form->Show();
  RECT client{};
  ::GetClientRect(form->GetHandle(), &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 200);
  EXPECT_EQ(form->GetFormClientWidth(), 300);
  LONG_PTR style = ::GetWindowLongPtrW(form->GetHandle(), GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME) << "bsSingle is not sizeable";
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_EQ(form->GetLeft(), 120);
  EXPECT_EQ(form->GetTop(), 90);
}

// Form data laid out at 48 dots per inch, shown on a screen of 96: twice the size, the edges of
// the controls scaled (neighbours still touch), the form's font and a list's rows too; with
// Scaled off it stays as laid out.
TEST_F(FormData, FormDataLaidOutAtOtherDotsPerInchIsScaledToTheScreens)
{
  ASSERT_EQ(Screen->GetPixelsPerInch(), 96);
  auto text = [](const wchar_t* AScaled) {
    return String(L"object Half: TTestForm\n  ClientWidth = 150\n  ClientHeight = 101\n  Font.Height = -7\n") +
           L"  PixelsPerInch = 48\n" + AScaled +
           L"  object Red: TTile\n    Left = 5\n    Top = 5\n    Width = 33\n    Height = 21\n  end\n"
           L"  object Blue: TTile\n    Left = 38\n    Top = 5\n    Width = 33\n    Height = 21\n  end\n"
           L"  object Rows: TListBox\n    Left = 5\n    Top = 30\n    Width = 66\n    Height = 40\n"
           L"    Style = lbOwnerDrawFixed\n    ItemHeight = 9\n  end\n"
           L"end\n";
  };
  TOwned<TTestForm> form(FormFromText(text(L"")));
  EXPECT_EQ(form->GetClientRect(), Rect(0, 0, 300, 202));
  EXPECT_EQ(form->GetFont()->GetHeight(), -14);
  auto bounds = [&](const wchar_t* AName) {
    return dynamic_cast<TControl*>(form->FindComponent(AName))->GetBoundsRect();
  };
  EXPECT_EQ(bounds(L"Red"), Rect(10, 10, 76, 52));
  EXPECT_EQ(bounds(L"Blue"), Rect(76, 10, 142, 52)) << "still touching Red";
  EXPECT_EQ(dynamic_cast<TListBox*>(form->FindComponent(L"Rows"))->GetItemHeight(), 18);
  EXPECT_EQ(form->GetPixelsPerInch(), 96) << "laid out for the screen now";

  TOwned<TTestForm> kept(FormFromText(text(L"  Scaled = False\n")));
  EXPECT_EQ(kept->GetClientRect(), Rect(0, 0, 150, 101));
  EXPECT_EQ(kept->GetFont()->GetHeight(), -7);
}

TEST_F(FormData, RealClicksRunTheHandlersBoundByName)
{
  TOwned<TTestForm> form(FormFromText(kTwoTiles));
  ASSERT_TRUE(ShowAndActivate(form.Get()));
  EXPECT_EQ(form->Count(L"show"), 1);
  auto* red = static_cast<TControl*>(form->FindComponent(L"Red"));
  auto* blue = static_cast<TControl*>(form->FindComponent(L"Blue"));
  ASSERT_TRUE(ClickAt(CenterOf(blue)));
  ASSERT_TRUE(ClickAt(CenterOf(red)));
  PumpPending();
  std::vector<std::wstring> clicks;
  for (auto& entry : form->Log)
    if (entry.starts_with(L"click"))
      clicks.push_back(entry);
  EXPECT_EQ(clicks, (std::vector<std::wstring>{L"click Blue", L"click Red"}));
}

TEST_F(FormData, VisibleInTheDataShowsTheFormAfterOnCreate)
{
  std::wstring text = L"object Shown: TTestForm\n  Visible = True\n  OnCreate = FormCreate\n  OnShow = FormShow\nend\n";
  TOwned<TTestForm> form(FormFromText(text));
  EXPECT_EQ(form->Log, (std::vector<std::wstring>{L"create", L"show"}));
  EXPECT_TRUE(form->GetVisible());
  EXPECT_TRUE(::IsWindowVisible(form->GetHandle()));
}

TEST_F(FormData, OnDestroyRunsOnceWhenTheFormIsFreed)
{
  std::vector<std::wstring> log;
  auto* form = FormFromText(kTwoTiles);
  form->OnDestroy = TNotifyEvent([&log](TObject*) { log.push_back(L"destroyed"); });
  int forms = Screen->GetCustomFormCount();
  form->Free();
  EXPECT_EQ(log, std::vector<std::wstring>{L"destroyed"});
  EXPECT_EQ(Screen->GetCustomFormCount(), forms - 1);
}

TEST_F(FormData, AReadingErrorFreesTheFormAndNamesTheLine)
{
  int forms = Screen->GetCustomFormCount();
  std::wstring bad = L"object Broken: TTestForm\n  object Tile: TTile\n    Width = 'wide'\n  end\nend\n";
  try {
    FormFromText(bad);
    FAIL() << "malformed form data was accepted";
  } catch (const EReadError& e) {
    EXPECT_NE(e.Message().find(L"3"), std::wstring::npos) << std::string(e.what());
  }
  EXPECT_EQ(Screen->GetCustomFormCount(), forms);
  EXPECT_THROW(FormFromText(L"object X: TTestForm\n  Caption = 'open"), EReadError);
  EXPECT_EQ(Screen->GetCustomFormCount(), forms);
}

TEST_F(FormData, AnUnknownHandlerNameIsAReadingError)
{
  int forms = Screen->GetCustomFormCount();
  EXPECT_THROW(FormFromText(L"object X: TTestForm\n  OnShow = NoSuchHandler\nend\n"), EReadError);
  EXPECT_EQ(Screen->GetCustomFormCount(), forms);
}

TEST_F(FormData, AnExceptionInOnCreateIsReportedAndTheFormLives)
{
  TExceptionRecorder errors;
  struct TFailingForm : TTestForm {
    using TTestForm::TTestForm;
    void DoCreate() override
    {
      OnCreate = TNotifyEvent([](TObject*) { throw EInvalidOperation(L"no create today"); });
      TTestForm::DoCreate();
    }
  };
  TOwned<TFailingForm> form(TCustomForm::CreateNew<TFailingForm>(nullptr));
  ASSERT_NE(form.Get(), nullptr);
  EXPECT_EQ(errors.Messages, std::vector<std::wstring>{L"no create today"});
  EXPECT_EQ(errors.Senders, std::vector<TObject*>{form.Get()});
}

TEST_F(FormData, AFormClassWithoutItsResourceCannotBeCreated)
{
  int forms = Screen->GetCustomFormCount();
  EXPECT_THROW(TCustomForm::Create<TMissingDataForm>(nullptr), EResNotFound);
  EXPECT_EQ(Screen->GetCustomFormCount(), forms);
  // Without form data the same class is fine.
  TOwned<TMissingDataForm> bare(TCustomForm::CreateNew<TMissingDataForm>(nullptr));
  EXPECT_EQ(bare->ComponentCount(), 0);
}

}  // namespace

// An empty font name in form data names no face: the font keeps its own, and the form writes
// back what it reads.
TEST_F(FormData, AnEmptyFontNameKeepsTheFaceAndTheFormWritesBackAsItReads)
{
  TCustomForm* form = FormFromText(L"object Fonts: TTestForm\n  Font.Name = ''\nend\n");
  ASSERT_NE(form, nullptr);
  const String face = form->GetFont()->GetName();
  EXPECT_FALSE(face.empty());
  const String written = ComponentToText(form);
  form->Free();
  TCustomForm* again = FormFromText(written);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->GetFont()->GetName(), face);
  EXPECT_EQ(ComponentToText(again), written);
  again->Free();
}
