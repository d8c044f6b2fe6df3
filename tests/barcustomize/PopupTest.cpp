// The customizing popup, driven by real right clicks and key strokes while customizing: which
// entries a toolbar link and a menu link get, what each entry changes, and that the change
// is kept by a saved and reloaded layout.
#include "DesignTestUtil.h"

#include <gmock/gmock.h>

#include "barextras/largebutton.h"
#include "bars/menus/submenu.h"
#include "platform/GraphicsObjects.h"
#include "support/Pixels.h"
#include "platform/Scope.h"
#include "support/Input.h"
#include "support/Pump.h"

using testing::ElementsAre;

namespace {

class TCustomizingPopupTest : public TDesignFixture {
protected:
  // Opens ALink's popup by a real right click and selects the whole text of its name box by
  // keys, ready to be typed over; the box's link, or nil when the popup offers none.
  TdxBarItemLink* SelectTheName(TdxBarItemLink* ALink)
  {
    if (!RightClick(ALink))
      return nullptr;
    TdxBarItemLink* edit = Entry(lcName);
    if (!edit || !ClickAt(ScreenCentreOf(edit)))
      return nullptr;
    PumpPending();
    Key(VK_END);
    Key(VK_HOME, {VK_SHIFT});
    return edit;
  }
};

// A helper that forbids nothing, registered for toolbars for the length of a scope: the
// standard toolbar and menu kinds forbid position, view levels and button groups.
class TAllowAllHelper : public TCustomdxBarControlDesignHelper {
  DECLARE_CLASS(TAllowAllHelper, TCustomdxBarControlDesignHelper)
public:
  TAllowAllHelper() = default;
  TdxBarLinkCommands GetForbiddenCommands() const override { return 0; }
};
IMPLEMENT_CLASS(TAllowAllHelper, TCustomdxBarControlDesignHelper)

struct TAllowAllOnToolbars {
  explicit TAllowAllOnToolbars(TdxBarDesignController* AController) : FController(AController)
  {
    FController->RegisterDesignHelper(TdxBarControl::StaticClass(), TAllowAllHelper::StaticClass());
  }
  ~TAllowAllOnToolbars()
  {
    FController->RegisterDesignHelper(TdxBarControl::StaticClass(), TdxBarControlDesignHelper::StaticClass());
  }
  TdxBarDesignController* FController;
};

TEST_F(TCustomizingPopupTest, RightClickOnAToolbarLinkOffersItsCommandsFromInternalItems)
{
  TdxBarItemLink* open = LinkOf(L"Standard", 0);
  const int itemsBefore = Manager->GetItemList()->Count();
  ASSERT_TRUE(RightClick(open));
  EXPECT_EQ(Controller->GetSelectedObject(), open) << "the right click selects the link";
  EXPECT_EQ(Controller->GetSelectionState(open), TdxBarSelectionState::Current);
  EXPECT_EQ(Controller->GetTargetLink(), open);
  EXPECT_THAT(PopupCommands(),
              ElementsAre(lcReset, lcDelete, lcDeleteItem, lcName, lcPaintStyle, lcBeginGroup, lcVisible));
  // Four paint styles, the link's own checked.
  for (int ps = psStandard; ps <= psCaptionGlyph; ++ps) {
    TdxBarItemLink* entry = Entry(lcPaintStyle, ps);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->GetItem()->Tag(), lcPaintStyle * 65536 + ps);
    EXPECT_EQ(static_cast<TdxBarButton*>(entry->GetItem())->GetDown(), ps == psStandard);
  }
  // Each entry shows its caption: text-coloured pixels inside the entry as the screen shows it.
  PumpPending();
  for (int command : {lcReset, lcDelete, lcVisible}) {
    TdxBarItemLink* entry = Entry(command);
    const TRect r = entry->GetBarControl()->GetItemScreenRect(entry->GetControl());
    const TDib32 shot = CaptureScreen(r);
    const COLORREF text = ::GetSysColor(COLOR_MENUTEXT);
    EXPECT_GT(CountPixels(shot, RECT{0, 0, shot.Width(), shot.Height()},
                          [&](COLORREF c) { return ColorsClose(c, text, 60); }),
              10)
        << "entry " << command << " shows no caption";
  }
  EXPECT_EQ(Entry(lcDelete)->GetItem()->GetShortCut(), VK_DELETE);
  EXPECT_EQ(Entry(lcDeleteItem)->GetItem()->GetShortCut(), scCtrl | VK_DELETE);
  EXPECT_EQ(Manager->GetItemList()->Count(), itemsBefore) << "internal items are listed by no manager";
  EXPECT_GT(Controller->GetInternalItemCount(), 0);
  ASSERT_EQ(open->GetVisibleIndex(), 0);
  EXPECT_FALSE(Entry(lcBeginGroup)->GetItem()->GetEnabled()) << "the first link cannot begin a group";
  EXPECT_TRUE(Entry(lcVisible)->GetItem()->GetEnabled());
}

TEST_F(TCustomizingPopupTest, ALargeButtonOnAToolbarIsOfferedNoPaintStyles)
{
  auto* large = new TdxBarLargeButton(Form);
  large->SetCaption(L"Large");
  TdxBarItemLink* link = Bar(L"Tools")->GetItemLinks()->Add();
  link->SetItem(large);
  PumpPending();
  ASSERT_TRUE(RightClick(link));
  const std::vector<int> commands = PopupCommands();
  EXPECT_EQ(std::find(commands.begin(), commands.end(), int(lcPaintStyle)), commands.end());
  EXPECT_NE(std::find(commands.begin(), commands.end(), int(lcBeginGroup)), commands.end());
}

TEST_F(TCustomizingPopupTest, AMenuLinkOffersMostRecentlyUsedAndNoPaintStyles)
{
  // Only a manager that draws personalised menus stores their usage.
  Manager->SetStyle(bmsFlat);
  TdxBarSubMenuControl* menu = OpenFileMenu();
  ASSERT_NE(menu, nullptr);
  TdxBarItemLink* close = Item(L"btnClose")->GetLink(0);
  ASSERT_NE(close->GetControl(), nullptr);
  ASSERT_TRUE(RightClick(close)) << "a menu link takes a real right click while customizing";
  EXPECT_THAT(PopupCommands(),
              ElementsAre(lcReset, lcDelete, lcDeleteItem, lcName, lcBeginGroup, lcVisible, lcMostRecentlyUsed));
  EXPECT_TRUE(::IsWindow(menu->GetHandle())) << "the customized menu stays open under the popup";

  // The mark is toggled off: the link counts as unused, and a saved layout keeps its use
  // count (the mark itself is kept only by the initial layout).
  ASSERT_TRUE(close->GetMostRecentlyUsed());
  ASSERT_GT(close->GetUseCount(), 0);
  ASSERT_TRUE(ClickEntry(lcMostRecentlyUsed));
  EXPECT_FALSE(close->GetMostRecentlyUsed());
  EXPECT_EQ(close->GetUseCount(), 0);
  EXPECT_EQ(Popup(), nullptr) << "a command closes the popup";
  SaveChangeAndLoad([&] { close->SetUseCount(5); });
  EXPECT_EQ(Item(L"btnClose")->GetLink(0)->GetUseCount(), 0);
}

TEST_F(TCustomizingPopupTest, PaintStyleBeginGroupAndVisibleChangeTheLinkAndSurviveALayoutRoundTrip)
{
  TdxBarItemLink* save = LinkOf(L"Standard", 1);
  ASSERT_TRUE(RightClick(save));
  ASSERT_TRUE(ClickEntry(lcPaintStyle, psCaption));
  EXPECT_EQ(save->GetUserPaintStyle(), psCaption);
  EXPECT_TRUE(save->GetUserDefine().Contains(udPaintStyle));

  ASSERT_TRUE(RightClick(save));
  EXPECT_TRUE(static_cast<TdxBarButton*>(Entry(lcPaintStyle, psCaption)->GetItem())->GetDown());
  ASSERT_TRUE(ClickEntry(lcBeginGroup));
  EXPECT_TRUE(save->GetBeginGroup());

  TdxBarItemLink* find = LinkOf(L"Tools", 1);
  ASSERT_TRUE(RightClick(find));
  ASSERT_TRUE(ClickEntry(lcVisible));
  EXPECT_FALSE(find->GetVisible());
  EXPECT_EQ(find->GetControl(), nullptr) << "a hidden link has no control";

  SaveChangeAndLoad([&] {
    save->SetUserDefine(TdxBarUserDefines());
    save->SetBeginGroup(false);
    find->SetVisible(true);
  });
  // Loading makes the links anew.
  EXPECT_EQ(LinkOf(L"Standard", 1)->GetUserPaintStyle(), psCaption);
  EXPECT_TRUE(LinkOf(L"Standard", 1)->GetBeginGroup());
  EXPECT_FALSE(LinkOf(L"Tools", 1)->GetVisible());
}

TEST_F(TCustomizingPopupTest, ResetClearsWhatTheUserDefined)
{
  TdxBarItemLink* save = LinkOf(L"Standard", 1);
  save->SetUserCaption(L"Keep");
  save->SetUserPaintStyle(psCaptionGlyph);
  ASSERT_TRUE(RightClick(save));
  ASSERT_TRUE(ClickEntry(lcReset));
  EXPECT_TRUE(save->GetUserDefine().Empty());
  EXPECT_EQ(save->GetCaption(), L"&Save");
}

TEST_F(TCustomizingPopupTest, NameTypedIntoTheEditBecomesTheLinksCaption)
{
  TdxBarItemLink* open = LinkOf(L"Standard", 0);
  TdxBarItemLink* edit = SelectTheName(open);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(static_cast<TdxBarEdit*>(edit->GetItem())->GetText(), L"&Open") << "filled with the link's caption";
  ASSERT_TRUE(TypeText(L"Opener"));
  Key(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return Popup() == nullptr; }, 2000));
  EXPECT_EQ(open->GetUserCaption(), L"Opener");
  EXPECT_EQ(open->GetCaption(), L"Opener");
  EXPECT_EQ(Item(L"btnOpen")->GetCaption(), L"&Open") << "the item keeps its caption";
  SaveChangeAndLoad([&] { open->SetUserDefine(TdxBarUserDefines()); });
  EXPECT_EQ(LinkOf(L"Standard", 0)->GetCaption(), L"Opener");
}

// Only Enter names the link: Tab leaves the box as a click elsewhere does, with the text
// typed into it dropped.
TEST_F(TCustomizingPopupTest, TabInTheNameBoxDoesNotNameTheLink)
{
  TdxBarItemLink* open = LinkOf(L"Standard", 0);
  ASSERT_NE(SelectTheName(open), nullptr);
  ASSERT_TRUE(TypeText(L"Tabbed"));
  Key(VK_TAB);
  PumpPending();
  EXPECT_FALSE(open->GetUserDefine().Contains(udCaption));
  EXPECT_EQ(open->GetCaption(), L"&Open");
  // The popup made again offers the link's own caption.
  Controller->CloseCustomizingPopup();
  ASSERT_TRUE(RightClick(open));
  ASSERT_NE(Entry(lcName), nullptr);
  EXPECT_EQ(static_cast<TdxBarEdit*>(Entry(lcName)->GetItem())->GetText(), L"&Open");
}

TEST_F(TCustomizingPopupTest, BlankNameIsRefusedWithAMessageAndLeavesTheCaption)
{
  TdxBarItemLink* open = LinkOf(L"Standard", 0);
  ASSERT_NE(SelectTheName(open), nullptr);
  Key(VK_DELETE);
  TMessageBoxAnswerer answer(IDOK);
  Key(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return !answer.Boxes().empty() && Popup() == nullptr; }, 3000));
  EXPECT_EQ(answer.Boxes()[0].Text, L"A command name cannot be blank. Please enter a name.");
  EXPECT_FALSE(open->GetUserDefine().Contains(udCaption));
  EXPECT_EQ(open->GetCaption(), L"&Open");
}

// The name box reports a blank name twice before the loop turns, as its Enter handler does:
// the popup is asked twice to go with a message, and the second request is kept beside the
// first, so both messages show.
TEST_F(TCustomizingPopupTest, ABlankNameReportedTwiceBeforeTheLoopTurnsShowsBothMessages)
{
  TdxBarItemLink* open = LinkOf(L"Standard", 0);
  ASSERT_TRUE(RightClick(open));
  ASSERT_NE(Entry(lcName), nullptr);
  auto* edit = static_cast<TdxBarEdit*>(Entry(lcName)->GetItem());
  edit->SetText(L"");  // without Enter this names nothing
  TMessageBoxAnswerer answer(IDOK);
  for (int i = 0; i < 2; ++i) {
    WORD key = VK_RETURN;
    CallEvent(edit->OnKeyDown, edit, key, TShiftState());
    CallEvent(edit->OnChange, edit);
  }
  EXPECT_TRUE(answer.Boxes().empty()) << "the messages wait for the loop";
  ASSERT_TRUE(PumpUntil([&] { return answer.Boxes().size() == 2 && Popup() == nullptr; }, 3000))
      << answer.Boxes().size() << " messages";
  EXPECT_EQ(open->GetCaption(), L"&Open");
}

TEST_F(TCustomizingPopupTest, PositionViewLevelsAndButtonGroupWhereTheBarKindAllowsThem)
{
  TAllowAllOnToolbars allow(Controller);
  TdxBarItemLink* save = LinkOf(L"Standard", 1);
  ASSERT_TRUE(RightClick(save));
  EXPECT_THAT(PopupCommands(), ElementsAre(lcReset, lcDelete, lcDeleteItem, lcName, lcPaintStyle, lcPosition,
                                           lcViewLevels, lcButtonGroup, lcBeginGroup, lcVisible, lcMostRecentlyUsed));
  // Level names as the captions, checked as the link has them; "All" and the ONLY entries.
  TdxBarItemLink* small = Entry(lcViewLevels, ivlSmallIcon);
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(small->GetItem()->GetCaption(), L"ivlSmallIcon");
  EXPECT_EQ(Entry(lcViewLevels, 4)->GetItem()->GetCaption(), L"All");
  EXPECT_EQ(Entry(lcViewLevels, 5 + ivlSmallIcon)->GetItem()->GetCaption(), L"ivlSmallIcon ONLY");
  EXPECT_EQ(Entry(lcPosition, ipBeginsNewColumn)->GetItem()->GetCaption(), L"ipBeginsNewColumn");
  EXPECT_EQ(Entry(lcButtonGroup, bgpMember)->GetItem()->GetCaption(), L"bgpMember");

  ASSERT_TRUE(ClickEntry(lcViewLevels, 5 + ivlSmallIcon));
  EXPECT_EQ(save->GetViewLevels().Mask(), 4u);
  ASSERT_TRUE(RightClick(save));
  ASSERT_TRUE(ClickEntry(lcViewLevels, ivlControlOnly));
  EXPECT_EQ(save->GetViewLevels().Mask(), 4u | 8u) << "a level entry flips its one level";
  ASSERT_TRUE(RightClick(save));
  ASSERT_TRUE(ClickEntry(lcPosition, ipBeginsNewColumn));
  EXPECT_EQ(save->GetPosition(), ipBeginsNewColumn);
  ASSERT_TRUE(RightClick(save));
  ASSERT_TRUE(ClickEntry(lcButtonGroup, bgpStart));
  EXPECT_EQ(save->GetButtonGroup(), bgpStart);

  SaveChangeAndLoad([&] {
    save->SetViewLevels(dxBarAllItemViewLevels);
    save->SetPosition(ipContinuesRow);
    save->SetButtonGroup(bgpNone);
  });
  save = LinkOf(L"Standard", 1);
  EXPECT_EQ(save->GetViewLevels().Mask(), 12u);
  EXPECT_EQ(save->GetPosition(), ipBeginsNewColumn);
  EXPECT_EQ(save->GetButtonGroup(), bgpStart);

  ASSERT_TRUE(RightClick(save));
  ASSERT_TRUE(ClickEntry(lcViewLevels, 4));
  EXPECT_EQ(save->GetViewLevels().Mask(), 15u);
}

TEST_F(TCustomizingPopupTest, APressOutsideClosesThePopupAndEscClosesItToo)
{
  ASSERT_TRUE(RightClick(LinkOf(L"Standard", 0)));
  RECT form{};
  ::GetWindowRect(Form->GetHandle(), &form);
  ASSERT_TRUE(ClickAt(POINT{form.right - 30, form.bottom - 30}));
  EXPECT_TRUE(PumpUntil([&] { return Popup() == nullptr; }, 2000));

  ASSERT_TRUE(RightClick(LinkOf(L"Standard", 1)));
  Key(VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([&] { return Popup() == nullptr; }, 2000));
  EXPECT_NE(LinkOf(L"Standard", 1), nullptr) << "Esc in the popup deletes nothing";
}

TEST_F(TCustomizingPopupTest, NoPopupOutsideCustomizing)
{
  Manager->SetIsCustomizing(false);
  PumpPending();
  ASSERT_TRUE(ClickAt(ScreenCentreOf(LinkOf(L"Standard", 0)), TInputButton::Right));
  PumpPending();
  EXPECT_EQ(Popup(), nullptr);
}

TEST_F(TCustomizingPopupTest, TopMostPutsThePopupAboveTheChainOfItsMenus)
{
  ASSERT_NE(OpenFileMenu(), nullptr);
  TdxBarItemLink* close = Item(L"btnClose")->GetLink(0);
  ASSERT_TRUE(RightClick(close)) << "a menu link takes a real right click while customizing";
  HWND popup = Popup()->GetHandle();
  HWND menu = close->GetBarControl()->GetHandle();
  auto topMost = [](HWND w) { return (::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  // The menu is put right below the popup. (Wine keeps a menu's topmost style through
  // HWND_NOTOPMOST, so the way back cannot be watched here.)
  ::SetWindowPos(menu, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Controller->SetPopupsTopMost(true);
  EXPECT_TRUE(topMost(popup));
  EXPECT_TRUE(topMost(menu));
  EXPECT_EQ(::GetWindow(popup, GW_HWNDNEXT), menu);
}

}  // namespace

namespace {

class TPopupLifetimeTest : public TDesignFixture {};

TEST_F(TPopupLifetimeTest, AnItemFreedUnderItsOpenPopupLeavesTheEntriesHarmless)
{
  ASSERT_TRUE(RightClick(LinkOf(L"Standard", 1)));
  Item(L"btnSave")->Free();
  EXPECT_EQ(Controller->GetTargetLink(), nullptr);
  ASSERT_TRUE(ClickEntry(lcVisible));
  EXPECT_EQ(Bar(L"Standard")->GetItemLinks()->Count(), 3);
  EXPECT_TRUE(LinkOf(L"Standard", 1)->GetVisible()) << "the command reached no other link";
}

TEST_F(TPopupLifetimeTest, TheFormFreedWithThePopupOpenTakesPopupAndEntriesAlong)
{
  const int gdi = GdiObjectsInUse();
  ASSERT_TRUE(RightClick(LinkOf(L"Standard", 0)));
  TWeakRef<TdxBarSubMenuControl> popup(Popup());
  ASSERT_GT(Controller->GetInternalItemCount(), 0);
  Form->Free();
  Form = nullptr;
  Manager = nullptr;
  PumpPending();
  EXPECT_FALSE(popup.Alive());
  EXPECT_EQ(Controller->GetCustomizingPopup(), nullptr);
  EXPECT_EQ(Controller->GetInternalItemCount(), 0);
  EXPECT_EQ(Controller->GetSelectedObject(), nullptr);
  EXPECT_LE(GdiObjectsInUse(), gdi);
}

}  // namespace
