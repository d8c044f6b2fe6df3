// Clicks: the recent-use order, the pressed state while the handler runs, menus closing
// with the menu sound, and handlers that free the bar window, the control or the item.
#include <string>
#include <vector>

#include "ItemControlTestUtil.h"

#include "bars/utils/utils.h"

namespace {

class TClickTest : public TItemControlFixture {
protected:
  void TearDown() override
  {
    if (FCapturing)
      SetdxBarPlaySoundProc(std::move(FPreviousSoundProc));
    TItemControlFixture::TearDown();
  }
  // Sounds played meanwhile, by alias; the sound procedure the test found comes back after it.
  std::vector<std::wstring> CaptureSounds()
  {
    TdxBarPlaySoundProc previous = SetdxBarPlaySoundProc([this](const wchar_t* Alias, uint32_t Flags) {
      Sounds.push_back(Alias ? Alias : L"");
      SoundFlags = Flags;
    });
    if (!FCapturing)
      FPreviousSoundProc = std::move(previous);
    FCapturing = true;
    return {};
  }
  std::vector<std::wstring> Sounds;
  uint32_t SoundFlags = 0;

private:
  bool FCapturing = false;
  TdxBarPlaySoundProc FPreviousSoundProc;
};

TEST_F(TClickTest, ClickRunsTheItemAndCountsAUse)
{
  TdxBarItemLink* first = AddLink(NewItem(L"One"));
  AddLink(NewItem(L"Two"));
  AddLink(NewItem(L"Three"));
  int clicks = 0;
  first->GetItem()->SetOnClick(TNotifyEvent([&](TObject*) { ++clicks; }));
  int useCount = first->GetUseCount();
  ASSERT_NE(Links->GetRecentItems().front(), first);

  ControlOf<TTestItemControl>(first)->Click();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(first->GetUseCount(), useCount + 1);
  EXPECT_EQ(Links->GetRecentItems().front(), first);
}

TEST_F(TClickTest, RealLinkAndOwnLinkBothCount)
{
  TdxBarItemLink* own = AddLink(NewItem(L"Own"));
  TdxBarItemLink* real = AddLink(NewItem(L"Real"));
  own->SetRealItemLink(real);
  int ownCount = own->GetUseCount();
  int realCount = real->GetUseCount();
  ControlOf<TTestItemControl>(own)->Click();
  EXPECT_EQ(real->GetUseCount(), realCount + 1);
  EXPECT_EQ(own->GetUseCount(), ownCount + 1);
}

TEST_F(TClickTest, NoUseCountedWhenMenusStayOpen)
{
  TdxBarItemLink* link = AddLink(NewItem());
  ControlOf<TTestItemControl>(link)->CloseMenus = false;
  int useCount = link->GetUseCount();
  ControlOf<TTestItemControl>(link)->Click();
  EXPECT_EQ(link->GetUseCount(), useCount);
  EXPECT_EQ(Bar->LeaveMenuModeCount, 0);
}

TEST_F(TClickTest, DoingClickDuringTheHandlerOnAToolbar)
{
  TdxBarItemLink* link = AddLink(NewItem());
  TTestItemControl* control = ControlOf<TTestItemControl>(link);
  bool doingClickInside = false;
  link->GetItem()->SetOnClick(TNotifyEvent([&](TObject*) { doingClickInside = control->GetDoingClick(); }));
  control->Click();
  EXPECT_TRUE(doingClickInside);
  EXPECT_FALSE(control->GetDoingClick());
}

TEST_F(TClickTest, MenuCommandClosesMenusFirstAndIsNotDrawnPressed)
{
  Bar->BarKind = bkMenu;
  TdxBarItemLink* link = AddLink(NewItem());
  TTestItemControl* control = ControlOf<TTestItemControl>(link);
  int menuModeAtClick = -1;
  bool doingClickInside = true;
  link->GetItem()->SetOnClick(TNotifyEvent([&](TObject*) {
    menuModeAtClick = Bar->LeaveMenuModeCount;
    doingClickInside = control->GetDoingClick();
  }));
  control->Click();
  EXPECT_EQ(menuModeAtClick, 1);
  EXPECT_FALSE(doingClickInside);
}

TEST_F(TClickTest, ButtonInAMenuPlaysTheMenuCommandSound)
{
  CaptureSounds();
  TTestItemControl* control = NewControl();
  control->ButtonControl = true;
  control->Click();  // on a toolbar: silent
  EXPECT_TRUE(Sounds.empty());

  Bar->BarKind = bkMenu;
  control->Click();
  ASSERT_EQ(Sounds.size(), 1u);
  EXPECT_EQ(Sounds[0], L"MenuCommand");
  EXPECT_EQ(SoundFlags, 0x12003u);

  control->ButtonControl = false;
  control->Click();
  EXPECT_EQ(Sounds.size(), 1u);
}

TEST_F(TClickTest, HandlerFreeingTheBarWindowEndsQuietly)
{
  TdxBarItemLink* link = AddLink(NewItem());
  TWeakRef<TTestBarControl> bar(Bar);
  int clicks = 0;
  link->GetItem()->SetOnClick(TNotifyEvent([&](TObject*) {
    ++clicks;
    Links->DestroyBarControl();
  }));
  ControlOf<TTestItemControl>(link)->Click();
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(bar.Alive());
  EXPECT_EQ(link->GetControl(), nullptr);
  Bar = nullptr;
}

TEST_F(TClickTest, HandlerFreeingTheItemEndsQuietly)
{
  TTestItem* item = NewItem();
  TdxBarItemLink* link = AddLink(item);
  TWeakRef<TTestItem> itemRef(item);
  item->SetOnClick(TNotifyEvent([&](TObject*) { itemRef->Free(); }));
  ControlOf<TTestItemControl>(link)->Click();
  EXPECT_FALSE(itemRef.Alive());
  EXPECT_EQ(Links->Count(), 0);
}

// Closing the menus frees the control: the click still reaches the item, as whether it
// may be clicked was asked before.
TEST_F(TClickTest, ControlFreedWhileMenusCloseStillClicksTheItem)
{
  Bar->BarKind = bkMenu;
  TdxBarItemLink* link = AddLink(NewItem());
  TTestItemControl* control = ControlOf<TTestItemControl>(link);
  TWeakRef<TTestItemControl> controlRef(control);
  int clicks = 0;
  link->GetItem()->SetOnClick(TNotifyEvent([&](TObject*) { ++clicks; }));
  Bar->OnLeaveMenuMode = [link] { link->DestroyControl(); };
  control->Click();
  EXPECT_FALSE(controlRef.Alive());
  EXPECT_EQ(clicks, 1);
}

TEST_F(TClickTest, CanClickFalseSkipsTheItem)
{
  TdxBarItemLink* link = AddLink(NewItem());
  TTestItemControl* control = ControlOf<TTestItemControl>(link);
  control->Clickable = false;
  int clicks = 0;
  link->GetItem()->SetOnClick(TNotifyEvent([&](TObject*) { ++clicks; }));
  control->Click();
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(control->CanClickCalls, 1);
  EXPECT_FALSE(control->GetDoingClick());
}

TEST_F(TClickTest, ClickByKeyOnlyForAControlTheBarStillHolds)
{
  TdxBarItemLink* link = AddLink(NewItem());
  int clicks = 0;
  link->GetItem()->SetOnClick(TNotifyEvent([&](TObject*) { ++clicks; }));
  ControlOf<TTestItemControl>(link)->ClickByKey();
  EXPECT_EQ(clicks, 1);

  // A disabled item is not clicked.
  link->GetItem()->SetEnabled(false);
  ControlOf<TTestItemControl>(link)->ClickByKey();
  EXPECT_EQ(clicks, 1);
}

TEST_F(TClickTest, HandlerExceptionStillClearsThePressedState)
{
  TdxBarItemLink* link = AddLink(NewItem());
  TTestItemControl* control = ControlOf<TTestItemControl>(link);
  link->GetItem()->SetOnClick(TNotifyEvent([](TObject*) { throw Exception(L"handler failed"); }));
  EXPECT_THROW(control->Click(), Exception);
  EXPECT_FALSE(control->GetDoingClick());
}

}  // namespace
