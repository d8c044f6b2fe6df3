// Resetting the usage data: the real question, answered with the pointer; No keeps what the
// user's work recorded, Yes brings back what the form data had, link by item, in bars and in
// sub-items' menus alike.
#include "CustomizingTestUtil.h"

#include <map>
#include <tuple>

#include "support/Input.h"
#include "support/Pump.h"

namespace {

using TUsage = std::map<String, std::tuple<int, int, bool>>;  // use count, recent index, recently used

TUsage UsageOf(TdxBarItemLinks* ALinks)
{
  TUsage usage;
  for (int i = 0; i < ALinks->Count(); ++i) {
    TdxBarItemLink* link = ALinks->Items(i);
    usage[link->GetItem()->Name()] = {link->GetUseCount(), link->GetRecentIndex(), link->GetMostRecentlyUsed()};
  }
  return usage;
}

class TUsageReset : public TCustomizingFixture {
protected:
  TdxBarItemLinks* Tools() const { return Bar(L"Tools")->GetItemLinks(); }
  TdxBarItemLinks* File() const { return static_cast<TCustomdxBarSubItem*>(Item(L"FileItem"))->GetItemLinks(); }
  TdxBarItemLink* LinkOf(TdxBarItemLinks* ALinks, const String& AName) const
  {
    for (int i = 0; i < ALinks->Count(); ++i)
      if (ALinks->Items(i)->GetItem()->Name() == AName)
        return ALinks->Items(i);
    return nullptr;
  }
};

TEST_F(TUsageReset, NoKeepsTheRecordedUsageAndYesRestoresTheInitialOne)
{
  ShowForm();
  const TUsage toolsBefore = UsageOf(Tools());
  const TUsage fileBefore = UsageOf(File());
  ASSERT_EQ(std::get<2>(toolsBefore.at(L"Tool2")), false);
  ASSERT_EQ(std::get<2>(fileBefore.at(L"File3")), false);

  // The user's work: a button used with the pointer, menu entries used and marked.
  ASSERT_TRUE(ClickAt(CenterOf(ControlOf(L"Tool1"))));
  PumpPending();
  LinkOf(Tools(), L"Tool2")->SetMostRecentlyUsed(true);
  for (int i = 0; i < 3; ++i)
    LinkOf(File(), L"File4")->BringToTopInRecentList(true);
  LinkOf(File(), L"File3")->SetMostRecentlyUsed(true);
  LinkOf(File(), L"File0")->SetMostRecentlyUsed(false);
  // ...and an explicit customization the reset must not undo: File0 moved to the end.
  File()->MoveLink(0, File()->Count() - 1);
  const TUsage toolsUsed = UsageOf(Tools());
  const TUsage fileUsed = UsageOf(File());
  ASSERT_NE(toolsUsed, toolsBefore);
  ASSERT_NE(fileUsed, fileBefore);

  TMessageBoxSeen seen = AnswerMessageBox([&] { Manager->ResetUsageDataWithConfirmation(); }, IDNO);
  ASSERT_TRUE(seen.Found);
  EXPECT_EQ(seen.Text,
            L"This will delete the record of the commands you've used in this application and restore "
            L"the default set of visible commands to the menus and toolbars. It will not undo any "
            L"explicit customizations.   Are you sure you want to proceed?");
  EXPECT_TRUE(seen.HasYes);
  EXPECT_TRUE(seen.HasNo);
  EXPECT_EQ(seen.DefaultButton, IDNO);
  EXPECT_TRUE(seen.HasIcon);
  EXPECT_EQ(UsageOf(Tools()), toolsUsed);
  EXPECT_EQ(UsageOf(File()), fileUsed);

  seen = AnswerMessageBox([&] { Manager->ResetUsageDataWithConfirmation(); }, IDYES);
  ASSERT_TRUE(seen.Found);
  EXPECT_EQ(UsageOf(Tools()), toolsBefore);
  EXPECT_EQ(UsageOf(File()), fileBefore);
  EXPECT_EQ(File()->Items(File()->Count() - 1)->GetItem(), Item(L"File0")) << "the link stays where it was moved";
}

TEST_F(TUsageReset, AManagerMadeInCodeHasNoInitialUsageToGoBackTo)
{
  TBarHost<TCustomizingForm> host;
  TdxBar* bar = host.Manager->GetBars()->Add();
  bar->SetCaption(L"Made");
  TdxBarItemLink* link = bar->GetItemLinks()->AddItem(new TdxBarButton(host.Form()));
  link->BringToTopInRecentList(true);
  const int used = link->GetUseCount();
  host.Manager->ResetUsageData();
  EXPECT_EQ(link->GetUseCount(), used);
}

TEST_F(TUsageReset, ResettingABarKeepsTheMenusOfItsSubItems)
{
  ShowForm();
  ASSERT_EQ(File()->Count(), 5);
  File()->Items(4)->Free();
  Bar(L"Main Menu")->Reset();
  ASSERT_EQ(File()->Count(), 5) << "the menu is as the form data had it";
  EXPECT_EQ(File()->Items(4)->GetItem(), Item(L"File4"));
}

}  // namespace
