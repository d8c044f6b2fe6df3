// A bar manager read from form data: its published properties, the stored values
// "DockControlHeights" and "Bars", and writing it back.
#include "BarTestUtil.h"
#include "support/FormRoundTrip.h"

namespace {

const wchar_t* const kManagerForm =
    L"object BarForm: TBarTestForm\n"
    L"  Caption = 'Bars'\n"
    L"  object dxBarManager1: TdxBarManager\n"
    L"    AllowCallFromAnotherForm = True\n"
    L"    AllowReset = False\n"
    L"    AutoHideEmptyBars = True\n"
    L"    ButtonArrowWidth = 15\n"
    L"    DockColor = clRed\n"
    L"    HelpContext = 42\n"
    L"    IniFileName = 'bars.ini'\n"
    L"    LargeButtonArrowWidth = 1\n"
    L"    LookAndFeel.Kind = lfUltraFlat\n"
    L"    MenuAnimations = maFade\n"
    L"    MostRecentItemsPercents = 200\n"
    L"    NotDocking = [dsLeft, dsRight]\n"
    L"    RegistryPath = 'Software\\Test'\n"
    L"    ShowHint = False\n"
    L"    Style = bmsUseLookAndFeel\n"
    L"    UseF10ForMenu = False\n"
    L"    WaitForDockingTime = -5\n"
    L"    OnClickItem = ManagerClickItem\n"
    L"    Bars = <\n"
    L"      item\n"
    L"        Caption = 'Old toolbar'\n"
    L"        DockedLeft = 0\n"
    L"        Visible = True\n"
    L"      end\n"
    L"      item\n"
    L"        Caption = 'Second'\n"
    L"      end>\n"
    L"    DockControlHeights = (\n"
    L"      0\n"
    L"      0\n"
    L"      57\n"
    L"      0)\n"
    L"  end\n"
    L"end\n";

const wchar_t* const kPlainManagerForm =
    L"object PlainForm: TBarTestForm\n"
    L"  object dxBarManager1: TdxBarManager\n"
    L"  end\n"
    L"end\n";

}  // namespace

TEST(BarManagerFormData, PublishedPropertiesReadBackAsWritten)
{
  TOwned<TBarTestForm> form(TCustomForm::CreateFromText<TBarTestForm>(kManagerForm, nullptr));
  TdxBarManager* manager = ManagerOf(form.Get());
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->Owner(), form.Get());
  EXPECT_TRUE(manager->GetAllowCallFromAnotherForm());
  EXPECT_FALSE(manager->GetAllowReset());
  EXPECT_TRUE(manager->GetAutoHideEmptyBars());
  EXPECT_EQ(manager->GetButtonArrowWidth(), 15);
  EXPECT_FALSE(manager->GetAutoDockColor());
  EXPECT_EQ(manager->GetDockColor(), clRed);
  EXPECT_EQ(manager->GetHelpContext(), 42);
  EXPECT_EQ(manager->GetIniFileName(), L"bars.ini");
  EXPECT_EQ(manager->GetLargeButtonArrowWidth(), 13);  // 1 is ignored
  EXPECT_EQ(manager->GetMenuAnimations(), maFade);
  EXPECT_EQ(manager->GetMostRecentItemsPercents(), 100);  // clamped
  EXPECT_EQ(manager->GetRecentItemsCount(), 0);
  EXPECT_EQ(manager->GetNotDocking(), (TdxBarDockingStyles{dsLeft, dsRight}));
  EXPECT_EQ(manager->GetRegistryPath(), L"\\Software\\Test\\");
  EXPECT_FALSE(manager->GetShowHint());
  EXPECT_FALSE(manager->GetUseF10ForMenu());
  EXPECT_EQ(manager->GetWaitForDockingTime(), 21);  // -5 is ignored
  EXPECT_EQ(manager->GetStyle(), bmsUseLookAndFeel);
  EXPECT_EQ(manager->GetLookAndFeel()->GetKind(), lfUltraFlat);
  EXPECT_EQ(manager->GetCurrentPainterClass(), TdxBarFlatPainter::StaticClass());
  EXPECT_EQ(manager->GetReadStateCount(), 1);
  // The handler was bound by name.
  manager->DoClickItem(nullptr);
  EXPECT_EQ(form->ItemClicks, 1);
  EXPECT_EQ(form->LastClickSender, manager);
}

TEST(BarManagerFormData, DockControlHeightsAreReadInSideOrder)
{
  TOwned<TBarTestForm> form(TCustomForm::CreateFromText<TBarTestForm>(kManagerForm, nullptr));
  TdxBarManager* manager = ManagerOf(form.Get());
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->GetDockControlSize(dsLeft), 0);
  EXPECT_EQ(manager->GetDockControlSize(dsRight), 0);
  EXPECT_EQ(manager->GetDockControlSize(dsTop), 57);
  EXPECT_EQ(manager->GetDockControlSize(dsBottom), 0);
}

TEST(BarManagerFormData, WritingGivesDataThatReadsBackTheSame)
{
  TOwned<TBarTestForm> form(TCustomForm::CreateFromText<TBarTestForm>(kManagerForm, nullptr));
  TdxBarManager* manager = ManagerOf(form.Get());
  ASSERT_NE(manager, nullptr);
  manager->SetDockControlSize(dsLeft, 3);
  manager->SetDockControlSize(dsBottom, 9);
  String text = ComponentToText(form.Get());
  EXPECT_NE(text.find(L"DockControlHeights"), String::npos);
  // "Bars" is only ever read.
  EXPECT_EQ(text.find(L" Bars ="), String::npos);
  EXPECT_NE(text.find(L"UseSystemFont"), String::npos);

  // Read into a form of another name, since the class layer keeps form names unique.
  size_t at = text.find(L"BarForm");
  ASSERT_NE(at, String::npos);
  text.replace(at, 7, L"BarForm2");
  TOwned<TBarTestForm> copy(TCustomForm::CreateFromText<TBarTestForm>(text, nullptr));
  TdxBarManager* again = ManagerOf(copy.Get());
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->GetDockControlSize(dsLeft), 3);
  EXPECT_EQ(again->GetDockControlSize(dsRight), 0);
  EXPECT_EQ(again->GetDockControlSize(dsTop), 57);
  EXPECT_EQ(again->GetDockControlSize(dsBottom), 9);
  EXPECT_EQ(again->GetDockColor(), clRed);
  EXPECT_EQ(again->GetNotDocking(), manager->GetNotDocking());
  EXPECT_EQ(again->GetLookAndFeel()->GetKind(), lfUltraFlat);
  EXPECT_EQ(again->GetMenuAnimations(), maFade);
}

TEST(BarManagerFormData, MalformedStoredValuesAreReadingErrors)
{
  const wchar_t* const badBars =
      L"object BadForm: TBarTestForm\n"
      L"  object dxBarManager1: TdxBarManager\n"
      L"    Bars = 5\n"
      L"  end\n"
      L"end\n";
  EXPECT_THROW(TCustomForm::CreateFromText<TBarTestForm>(badBars, nullptr), EReadError);
  const wchar_t* const badHeights =
      L"object BadForm: TBarTestForm\n"
      L"  object dxBarManager1: TdxBarManager\n"
      L"    DockControlHeights = ('a' 1)\n"
      L"  end\n"
      L"end\n";
  EXPECT_THROW(TCustomForm::CreateFromText<TBarTestForm>(badHeights, nullptr), EReadError);
  // Nothing half-read stays behind.
  EXPECT_EQ(GetBarManagerByOwner(nullptr), nullptr);
  TOwned<TBarTestForm> form(TCustomForm::CreateFromText<TBarTestForm>(kPlainManagerForm, nullptr));
  EXPECT_NE(ManagerOf(form.Get()), nullptr);
}
