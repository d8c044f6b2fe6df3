// Down, exclusive groups, AllowAllUp, the style and group coercions, and form data of a
// button.
#include "ButtonTestUtil.h"

namespace {

class TButtonGroupTest : public TButtonFixture {
protected:
  void SetUp() override
  {
    TButtonFixture::SetUp();
    for (TdxBarButton*& button : B) {
      button = NewButton(L"Check", bsChecked);
      button->SetGroupIndex(1);
    }
  }
  TdxBarButton* B[3] = {};
};

TEST_F(TButtonGroupTest, OneDownAtATimeAndTheLastStaysDownWithoutAClick)
{
  int clicks = 0;
  B[0]->SetOnClick(TNotifyEvent([&](TObject*) { ++clicks; }));
  B[0]->SetDown(true);
  B[1]->SetDown(true);
  EXPECT_FALSE(B[0]->GetDown());
  EXPECT_TRUE(B[1]->GetDown());
  EXPECT_FALSE(B[2]->GetDown());
  EXPECT_EQ(clicks, 0) << "setting Down in code fires no click";
  B[1]->SetDown(false);
  EXPECT_TRUE(B[1]->GetDown()) << "without AllowAllUp the last one stays down";
}

TEST_F(TButtonGroupTest, AllowAllUpIsCopiedToTheWholeGroup)
{
  TdxBarButton* outsider = NewButton(L"Other", bsChecked);
  outsider->SetGroupIndex(2);
  B[1]->SetDown(true);
  B[2]->SetAllowAllUp(true);
  for (TdxBarButton* button : B)
    EXPECT_TRUE(button->GetAllowAllUp());
  EXPECT_FALSE(outsider->GetAllowAllUp());
  B[1]->SetDown(false);
  EXPECT_FALSE(B[1]->GetDown());
}

TEST_F(TButtonGroupTest, SettingDownInCodeFiresNoClick)
{
  int clicks = 0;
  B[0]->SetOnClick(TNotifyEvent([&](TObject*) { ++clicks; }));
  B[0]->SetDown(true);
  B[1]->SetDown(true);
  EXPECT_EQ(clicks, 0);
}

TEST_F(TButtonGroupTest, ReleasedButtonRepaintsAfterTheNewOne)
{
  B[0]->SetDown(true);
  Toolbar->RepaintCount = 0;
  B[2]->SetDown(true);
  // Both buttons' controls repaint: the new one and the released one.
  EXPECT_EQ(Toolbar->RepaintCount, 2);
}

TEST_F(TButtonGroupTest, ChangingGroupOrStyleOfTheOnlyDownButtonLeavesItUp)
{
  B[0]->SetDown(true);
  B[0]->SetGroupIndex(2);
  EXPECT_EQ(B[0]->GetGroupIndex(), 2);
  EXPECT_FALSE(B[0]->GetDown());
  B[1]->SetDown(true);
  B[1]->SetButtonStyle(bsCheckedDropDown);
  EXPECT_FALSE(B[1]->GetDown());
  // Still a checking member of the group: it can go down again.
  B[1]->SetDown(true);
  EXPECT_TRUE(B[1]->GetDown());
}

class TButtonCoercionTest : public TButtonFixture {};

TEST_F(TButtonCoercionTest, PlainButtonHasNoDownAndNoGroupAndACheckButtonAloneToggles)
{
  TdxBarButton* button = NewButton(L"Plain");
  button->SetDown(true);
  EXPECT_FALSE(button->GetDown());
  button->SetGroupIndex(5);
  EXPECT_EQ(button->GetGroupIndex(), 0);
  TdxBarButton* check = NewButton(L"Check", bsChecked);
  check->SetDown(true);
  check->SetDown(false);
  EXPECT_FALSE(check->GetDown());
}

TEST_F(TButtonCoercionTest, StyleChangeRebuildsAndReleases)
{
  TdxBarButton* button = NewButton(L"Check", bsChecked);
  button->SetDown(true);
  Toolbar->RebuildCount = 0;
  button->SetButtonStyle(bsChecked);
  EXPECT_TRUE(button->GetDown()) << "an equal style changes nothing";
  EXPECT_EQ(Toolbar->RebuildCount, 0);
  button->SetButtonStyle(bsDropDown);
  EXPECT_FALSE(button->GetDown());
  EXPECT_EQ(Toolbar->RebuildCount, 1);
  button->SetButtonStyle(TdxBarButtonStyle(7));
  EXPECT_EQ(button->GetButtonStyle(), bsDropDown);
}

TEST_F(TButtonCoercionTest, DrawnPressedOnlyWithUnclickAfterDoing)
{
  TdxBarButton* button = NewButton(L"Plain");
  EXPECT_TRUE(button->IsDrawnPressedWhileClicked());
  button->SetUnclickAfterDoing(false);
  EXPECT_FALSE(button->IsDrawnPressedWhileClicked());
}

// ---------------------------------------------------------------------------
// Form data

const wchar_t* const kButtonsForm =
    L"object ButtonsForm: TButtonTestForm\n"
    L"  object dxBarManager1: TdxBarManager\n"
    L"    object CheckA: TdxBarButton\n"
    L"      Caption = 'A'\n"
    L"      ButtonStyle = bsChecked\n"
    L"      GroupIndex = 3\n"
    L"      Down = True\n"
    L"      Lowered = True\n"
    L"      CloseSubMenuOnClick = False\n"
    L"    end\n"
    L"    object CheckB: TdxBarButton\n"
    L"      Caption = 'B'\n"
    L"      ButtonStyle = bsChecked\n"
    L"      GroupIndex = 3\n"
    L"      PaintStyle = psCaptionGlyph\n"
    L"      UnclickAfterDoing = False\n"
    L"    end\n"
    L"  end\n"
    L"end\n";

template <class T>
T* Find(TComponent* AForm, const wchar_t* AName)
{
  return dynamic_cast<T*>(AForm->FindComponent(AName));
}

TEST(ButtonFormData, ReadsItsPropertiesAndWritesThemBack)
{
  TOwned<TButtonTestForm> form(TCustomForm::CreateFromText<TButtonTestForm>(kButtonsForm, nullptr));
  auto* a = Find<TdxBarButton>(form.Get(), L"CheckA");
  auto* b = Find<TdxBarButton>(form.Get(), L"CheckB");
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(a->GetButtonStyle(), bsChecked);
  EXPECT_EQ(a->GetGroupIndex(), 3);
  EXPECT_TRUE(a->GetDown());
  EXPECT_TRUE(a->GetLowered());
  EXPECT_FALSE(a->GetCloseSubMenuOnClick());
  EXPECT_EQ(b->GetPaintStyle(), psCaptionGlyph);
  EXPECT_FALSE(b->GetUnclickAfterDoing());
  // After loading the group rule holds again.
  b->SetDown(true);
  EXPECT_FALSE(a->GetDown());

  String text = ComponentToText(b);
  EXPECT_NE(text.find(L"ButtonStyle = bsChecked"), String::npos) << text;
  EXPECT_NE(text.find(L"UnclickAfterDoing = False"), String::npos) << text;
  EXPECT_NE(text.find(L"Down = True"), String::npos) << text;
  for (const wchar_t* name : {L"DropDownEnabled", L"CloseSubMenuOnClick", L"Lowered", L"ImageIndex", L"AllowAllUp"})
    EXPECT_EQ(text.find(name), String::npos) << name << " holds its default";
}

}  // namespace
