// The whole keyboard road on a form with a main menu of sub-items and a toolbar, with real
// keys: Alt and F10, arrows, Home and End, Ctrl+Tab, Enter and Esc, Alt with a letter, key
// tips, and Alt+F4.
#include <gtest/gtest.h>

#include "KeyTestUtil.h"
#include "bars/menus/submenu.h"
#include "bars/itemcontrols/subitems.h"

namespace {

// The form of TKeyForm with its bar as the main menu: "File" (New, Open) and "Edit" (Cut,
// Copy) drop down; a toolbar at the bottom holds One and Two.
struct TRoadForm : TKeyForm {
  TRoadForm() : TKeyForm({}, 100, true)
  {
    FileSub = AddSub(L"&File", {L"&New", L"&Open"});
    EditSub = AddSub(L"&Edit", {L"Cu&t", L"&Copy"});
    Toolbar = Host.Manager->GetBars()->Add();
    Toolbar->SetCaption(L"Standard");
    Toolbar->SetDockingStyle(dsBottom);
    for (const wchar_t* caption : {L"One", L"Two"})
      Toolbar->GetItemLinks()->AddItem(AddButton(caption));
    Toolbar->SetVisible(true);
    PumpPending();
    Edit->SetFocus();
  }
  TdxBarButton* AddButton(const wchar_t* ACaption)
  {
    auto* button = new TdxBarButton(Host.Form());
    button->SetCaption(ACaption);
    button->SetPaintStyle(psCaption);
    button->SetOnClick(TNotifyEvent([this, button](TObject*) { Clicks.push_back(button->GetCaption()); }));
    Buttons.push_back(button);
    return button;
  }
  TdxBarSubItem* AddSub(const wchar_t* ACaption, std::initializer_list<const wchar_t*> AEntries)
  {
    auto* sub = new TdxBarSubItem(Host.Form());
    sub->SetCaption(ACaption);
    for (const wchar_t* entry : AEntries)
      sub->GetItemLinks()->AddItem(AddButton(entry));
    Bar->GetItemLinks()->AddItem(sub);
    return sub;
  }
  TdxBarSubMenuControl* MenuOf(TdxBarSubItem* AItem) const
  {
    return dynamic_cast<TdxBarSubMenuControl*>(AItem->GetItemLinks()->GetBarControl());
  }
  std::string State() const
  {
    std::string s;
    TCustomdxBarControl* active = ActiveBarControl();
    s += active == nullptr                 ? "none"
         : active == Bar->GetControl()     ? "menu"
         : active == Toolbar->GetControl() ? "toolbar"
         : active == MenuOf(FileSub)       ? "File"
         : active == MenuOf(EditSub)       ? "Edit"
                                           : "other";
    s += " sel=" + ToUtf8(SelectedCaption());
    s += BarNavigationController()->IsNavigationActive() ? " nav" : "";
    s += BarNavigationController()->AreKeyTipsShown() ? " tips" : "";
    s += " clicks=";
    for (const String& c : Clicks)
      s += ToUtf8(c) + ",";
    s += " edit=" + ToUtf8(Edit->GetText());
    return s;
  }
  TdxBar* Toolbar = nullptr;
  TdxBarSubItem* FileSub = nullptr;
  TdxBarSubItem* EditSub = nullptr;
};

// One real key stroke, then where the keyboard is.
std::string After(const TRoadForm& AForm, WORD AKey, std::initializer_list<WORD> AModifiers = {})
{
  Stroke(AKey, AModifiers);
  return AForm.State();
}

TEST(KeyboardRoad, AltAndF10WalkTheMainMenuIntoItsMenusAndOnToTheToolbar)
{
  TRoadForm f;
  EXPECT_EQ(After(f, VK_MENU), "menu sel=&File nav clicks= edit=");
  EXPECT_EQ(After(f, VK_RIGHT), "menu sel=&Edit nav clicks= edit=");
  EXPECT_EQ(After(f, VK_HOME), "menu sel=&File nav clicks= edit=");
  EXPECT_EQ(After(f, VK_END), "menu sel=&Edit nav clicks= edit=");
  EXPECT_EQ(After(f, VK_DOWN), "Edit sel=Cu&t nav clicks= edit=");
  EXPECT_EQ(After(f, VK_DOWN), "Edit sel=&Copy nav clicks= edit=");
  EXPECT_EQ(After(f, VK_ESCAPE), "menu sel=&Edit nav clicks= edit=") << "Esc closes one level";
  EXPECT_EQ(After(f, VK_LEFT), "menu sel=&File nav clicks= edit=");
  EXPECT_EQ(After(f, VK_RETURN), "File sel=&New nav clicks= edit=");
  EXPECT_EQ(After(f, VK_DOWN), "File sel=&Open nav clicks= edit=");
  EXPECT_EQ(After(f, VK_RETURN), "none sel=- clicks=&Open, edit=");
  EXPECT_EQ(After(f, 'A'), "none sel=- clicks=&Open, edit=a");

  EXPECT_EQ(After(f, VK_F10), "menu sel=&File nav clicks=&Open, edit=a");
  EXPECT_EQ(After(f, VK_TAB, {VK_CONTROL}), "toolbar sel=One nav clicks=&Open, edit=a");
  EXPECT_EQ(After(f, VK_UP), "menu sel=&File nav clicks=&Open, edit=a") << "still navigating across bars";
  EXPECT_EQ(After(f, VK_TAB, {VK_CONTROL}), "toolbar sel=One nav clicks=&Open, edit=a");
  EXPECT_EQ(After(f, VK_RIGHT), "toolbar sel=Two nav clicks=&Open, edit=a");
  EXPECT_EQ(After(f, VK_RETURN), "none sel=- clicks=&Open,Two, edit=a");
}

// Left on the first entry of the main menu wraps to the last and Right on the last to the
// first; some entry stays selected all the while, so the keys still belong to navigation.
TEST(KeyboardRoad, LeftAndRightWrapAroundTheMainMenu)
{
  TRoadForm f;
  f.Bar->SetIsMainMenu(true);
  TdxBarSubItem* view = f.AddSub(L"&View", {L"&Zoom"});
  PumpPending();
  EXPECT_EQ(After(f, VK_MENU), "menu sel=&File nav clicks= edit=");
  EXPECT_EQ(After(f, VK_LEFT), "menu sel=&View nav clicks= edit=");
  TdxBarItemControl* last = view->GetLink(0)->GetControl();
  ASSERT_NE(last, nullptr);
  EXPECT_TRUE(last->IsSelected()) << "drawn selected";
  EXPECT_EQ(After(f, VK_RIGHT), "menu sel=&File nav clicks= edit=");
  EXPECT_EQ(After(f, VK_LEFT), "menu sel=&View nav clicks= edit=");
  EXPECT_EQ(After(f, VK_LEFT), "menu sel=&Edit nav clicks= edit=");
  EXPECT_EQ(After(f, VK_RIGHT), "menu sel=&View nav clicks= edit=");
  EXPECT_EQ(After(f, VK_RIGHT), "menu sel=&File nav clicks= edit=");
  EXPECT_EQ(After(f, VK_LEFT), "menu sel=&View nav clicks= edit=");
  EXPECT_EQ(After(f, VK_TAB), "toolbar sel=One nav clicks= edit=") << "Tab passes over the mark too";
  EXPECT_EQ(After(f, VK_TAB, {VK_SHIFT}), "menu sel=&View nav clicks= edit=");
  EXPECT_EQ(After(f, VK_RIGHT), "menu sel=&File nav clicks= edit=");
  EXPECT_EQ(After(f, 'S', {VK_CONTROL}), "menu sel=&File nav clicks= edit=");
  EXPECT_EQ(After(f, VK_ESCAPE), "none sel=- clicks= edit=");
  EXPECT_EQ(After(f, 'B'), "none sel=- clicks= edit=b");
}

TEST(KeyboardRoad, AltWithALetterOpensTheSubItemsMenu)
{
  TRoadForm f;
  EXPECT_EQ(After(f, 'E', {VK_MENU}), "Edit sel=Cu&t clicks= edit=");
  EXPECT_EQ(After(f, 'T'), "none sel=- clicks=Cu&t, edit=");
  EXPECT_EQ(After(f, 'F', {VK_MENU}), "File sel=&New clicks=Cu&t, edit=");
  EXPECT_EQ(After(f, VK_ESCAPE), "menu sel=&File clicks=Cu&t, edit=");
  EXPECT_EQ(After(f, VK_ESCAPE), "none sel=- clicks=Cu&t, edit=");
  EXPECT_EQ(After(f, 'B'), "none sel=- clicks=Cu&t, edit=b");
}

TEST(KeyboardRoad, KeyTipsRunTheMainMenuAndAltF4ClosesTheForm)
{
  TRoadForm f;
  f.FileSub->SetKeyTip(L"F");
  f.EditSub->SetKeyTip(L"E");
  SendKeyTransition(VK_MENU, true);
  ASSERT_TRUE(PumpUntil([] { return BarNavigationController()->AreKeyTipsShown(); }, 3000));
  SendKeyTransition(VK_MENU, false);
  EXPECT_EQ(After(f, 'E'), "Edit sel=Cu&t clicks= edit=");
  EXPECT_EQ(After(f, VK_DOWN), "Edit sel=&Copy clicks= edit=");
  EXPECT_EQ(After(f, VK_RETURN), "none sel=- clicks=&Copy, edit=");
  EXPECT_EQ(After(f, 'C'), "none sel=- clicks=&Copy, edit=c");

  auto* form = static_cast<THooksTestForm*>(f.Host.Form());
  EXPECT_EQ(After(f, VK_MENU), "menu sel=&File nav clicks=&Copy, edit=c");
  EXPECT_EQ(After(f, VK_F4, {VK_MENU}), "none sel=- clicks=&Copy, edit=c");
  EXPECT_TRUE(PumpUntil([&] { return form->CloseRequests == 1; }, 2000));
  EXPECT_EQ(form->KeyMenuRequests, 0);
}

}  // namespace
