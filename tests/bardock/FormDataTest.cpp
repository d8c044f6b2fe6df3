// Dock sites in form data: a placed dock control read with its bars, rows restored from a
// stored layout, and the stored-when rules of its colour and
// border.
#include "DockTestUtil.h"
#include "support/FormRoundTrip.h"

#include <chrono>

namespace {

// Four bars; Bar1 and Bar4 are shown in Dock1, Bar4 on the row given (with more values).
String LayoutForm(const String& ARow, const String& ABar4Values = String())
{
  return L"object DockForm: TDockTestForm\n"
         L"  Left = 40\n"
         L"  Top = 40\n"
         L"  Width = 500\n"
         L"  Height = 300\n"
         L"  object dxBarManager1: TdxBarManager\n"
         L"    object Bar1: TdxBar\n"
         L"      Caption = 'One'\n"
         L"      DockControl = Dock1\n"
         L"      OneOnRow = True\n"
         L"      Row = 0\n"
         L"      Visible = True\n"
         L"    end\n"
         L"    object Bar2: TdxBar\n"
         L"      Caption = 'Two'\n"
         L"      DockControl = Dock1\n"
         L"      Visible = False\n"
         L"    end\n"
         L"    object Bar3: TdxBar\n"
         L"      Caption = 'Three'\n"
         L"      DockControl = Dock1\n"
         L"      Visible = False\n"
         L"    end\n"
         L"    object Bar4: TdxBar\n"
         L"      Caption = 'Four'\n"
         L"      DockControl = Dock1\n"
         L"      OneOnRow = True\n"
         L"      Row = " +
         ARow + L"\n" + ABar4Values +
         L"      Visible = True\n"
         L"    end\n"
         L"  end\n"
         L"  object Dock1: TdxBarDockControl\n"
         L"    Left = 0\n"
         L"    Top = 0\n"
         L"    Width = 492\n"
         L"    Height = 30\n"
         L"    Align = dalTop\n"
         L"    BarManager = dxBarManager1\n"
         L"  end\n"
         L"end\n";
}

// The text of one object block of written form data.
String ObjectBlock(const String& AText, const String& AHeader)
{
  size_t start = AText.find(AHeader);
  if (start == String::npos)
    return String();
  size_t end = AText.find(L"\n  end", start);
  return AText.substr(start, end == String::npos ? String::npos : end - start);
}

}  // namespace

TEST(DockFormData, RestoredLayoutAppendsTheEmptyRowsUpToAStoredRow)
{
  TOwned<TDockTestForm> form(TCustomForm::CreateFromText<TDockTestForm>(LayoutForm(L"3"), nullptr));
  auto* dock = Find<TdxBarDockControl>(form.Get(), L"Dock1");
  auto* bar1 = Find<TdxBar>(form.Get(), L"Bar1");
  auto* bar4 = Find<TdxBar>(form.Get(), L"Bar4");
  ASSERT_TRUE(dock && bar1 && bar4);
  ASSERT_EQ(dock->GetBarManager(), Find<TdxBarManager>(form.Get(), L"dxBarManager1"));
  EXPECT_EQ(bar1->GetRow(), 0);
  EXPECT_EQ(bar4->GetRow(), 3);
  ASSERT_GE(dock->GetRowCount(), 4);
  EXPECT_EQ(dock->GetRow(1)->GetColCount(), 0);
  EXPECT_EQ(dock->GetRow(2)->GetColCount(), 0);
  EXPECT_NE(dock->FindCol(bar4->GetControl()), nullptr);
}

TEST(DockFormData, WholeRowBarReadIntoAnotherBarsRowGetsARowOfItsOwn)
{
  TOwned<TDockTestForm> form(TCustomForm::CreateFromText<TDockTestForm>(
      LayoutForm(L"0", L"      OneOnRow = False\n      WholeRow = True\n"), nullptr));
  auto* dock = Find<TdxBarDockControl>(form.Get(), L"Dock1");
  auto* bar1 = Find<TdxBar>(form.Get(), L"Bar1");
  auto* bar4 = Find<TdxBar>(form.Get(), L"Bar4");
  ASSERT_TRUE(dock && bar1 && bar4 && bar1->GetControl() && bar4->GetControl());
  EXPECT_NE(bar1->GetRow(), bar4->GetRow());
  EXPECT_LT(bar1->GetControl()->GetLeft(), dock->GetClientWidth());
  EXPECT_EQ(bar4->GetControl()->GetWidth(), dock->GetClientWidth());
}

TEST(DockFormData, ColourAndBorderAreStoredOnlyWhenTheSiteHasItsOwn)
{
  TOwned<TDockTestForm> form(TCustomForm::CreateFromText<TDockTestForm>(LayoutForm(L"1"), nullptr));
  auto* dock = Find<TdxBarDockControl>(form.Get(), L"Dock1");
  ASSERT_TRUE(dock);
  String plain = ObjectBlock(ComponentToText(form.Get()), L"object Dock1");
  ASSERT_FALSE(plain.empty());
  EXPECT_EQ(plain.find(L"Color"), String::npos) << std::string(plain.begin(), plain.end());
  EXPECT_EQ(plain.find(L"SunkenBorder"), String::npos);
  EXPECT_EQ(plain.find(L"Align"), String::npos);  // dalTop is the default

  dock->SetColor(clYellow);
  dock->SetSunkenBorder(true);
  dock->SetUseOwnSunkenBorder(true);
  dock->SetAlign(dalBottom);
  String own = ObjectBlock(ComponentToText(form.Get()), L"object Dock1");
  EXPECT_NE(own.find(L"Color = clYellow"), String::npos) << std::string(own.begin(), own.end());
  EXPECT_NE(own.find(L"UseOwnColor = True"), String::npos);
  EXPECT_NE(own.find(L"SunkenBorder = True"), String::npos);
  EXPECT_NE(own.find(L"UseOwnSunkenBorder = True"), String::npos);
  EXPECT_NE(own.find(L"Align = dalBottom"), String::npos);

  // Read back: the site keeps its own colour after loading, whatever the manager says.
  TOwned<TDockTestForm> copy(TCustomForm::CreateFromText<TDockTestForm>(ComponentToText(form.Get()), nullptr));
  auto* again = Find<TdxBarDockControl>(copy.Get(), L"Dock1");
  ASSERT_TRUE(again);
  EXPECT_EQ(again->GetColor(), clYellow);
  EXPECT_TRUE(again->GetUseOwnColor());
  EXPECT_TRUE(again->GetSunkenBorder());
  EXPECT_EQ(again->GetAlign(), dalBottom);
  EXPECT_EQ(again->GetDockingStyle(), dsBottom);
}

// A placed site names its help topic as any control does: by keyword or by context number,
// each written only when it is the kind in use.
TEST(DockFormData, TheHelpTopicIsReadAndWrittenBack)
{
  String text = LayoutForm(L"1");
  const String align = L"    Align = dalTop\n";
  text.insert(text.find(align), L"    HelpType = htKeyword\n    HelpKeyword = 'docking'\n");
  String written = ExpectFormRoundTrip<TDockTestForm>(text, [](TDockTestForm* AForm) {
    auto* dock = Find<TdxBarDockControl>(AForm, L"Dock1");
    ASSERT_TRUE(dock);
    EXPECT_EQ(dock->GetHelpType(), htKeyword);
    EXPECT_EQ(dock->GetHelpKeyword(), L"docking");
    EXPECT_EQ(dock->GetHelpContext(), 0);
  });
  EXPECT_EQ(ObjectBlock(written, L"object Dock1").find(L"HelpContext"), String::npos);

  text = LayoutForm(L"1");
  text.insert(text.find(align), L"    HelpContext = 1200\n");
  written = ExpectFormRoundTrip<TDockTestForm>(text, [](TDockTestForm* AForm) {
    auto* dock = Find<TdxBarDockControl>(AForm, L"Dock1");
    ASSERT_TRUE(dock);
    EXPECT_EQ(dock->GetHelpType(), htContext);
    EXPECT_EQ(dock->GetHelpContext(), 1200);
  });
  const String block = ObjectBlock(written, L"object Dock1");
  EXPECT_NE(block.find(L"HelpContext = 1200"), String::npos);
  EXPECT_EQ(block.find(L"HelpType"), String::npos) << "the context kind is the default";
}
