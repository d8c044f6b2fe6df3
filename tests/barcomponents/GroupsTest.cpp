// Groups: members, the refusal of recursive groups, Enabled and Visible reaching members
// through nested groups, and the manager's group register.
#include "ComponentsTestUtil.h"

namespace {

struct TGroupFixture : TManagerFixture {
  std::vector<TdxBarComponent*> Members(TdxBarGroup* Group)
  {
    std::vector<TdxBarComponent*> members;
    for (int i = 0; i < Group->GetCount(); ++i)
      members.push_back(Group->GetItem(i));
    return members;
  }
  // The exact text of the exception AddCall raises; empty when none.
  template <class F>
  String ErrorOf(F AddCall)
  {
    try {
      AddCall();
    } catch (const Exception& e) {
      return e.Message();
    }
    return String();
  }
};

}  // namespace

TEST_F(TGroupFixture, AddGroupRegistersAGroupOwnedByTheForm)
{
  TdxBarGroup* group = Manager->AddGroup();
  EXPECT_EQ(group->Owner(), Form());
  EXPECT_EQ(group->GetBarManager(), Manager);
  EXPECT_EQ(group->GetParentComponent(), Manager);
  ASSERT_EQ(Manager->GetGroupCount(), 1);
  EXPECT_EQ(Manager->GetGroup(0), group);
  EXPECT_TRUE(group->GetEnabled());
  EXPECT_EQ(group->GetVisible(), ivAlways);
  group->Free();
  EXPECT_EQ(Manager->GetGroupCount(), 0);
}

TEST_F(TGroupFixture, MembersAddRemoveAndLeaveWhenFreed)
{
  TdxBarGroup* group = Manager->AddGroup();
  TTestBarItem* a = NewItem(0);
  TTestBarItem* b = NewItem(0);
  group->Add(a);
  group->Add(b);
  group->Add(a);        // present: ignored
  group->Add(nullptr);  // ignored
  EXPECT_EQ(Members(group), (std::vector<TdxBarComponent*>{a, b}));
  EXPECT_EQ(group->IndexOf(b), 1);
  EXPECT_EQ(group->GetItem(2), nullptr);
  group->Remove(a);
  EXPECT_EQ(group->IndexOf(a), -1);
  b->Free();
  EXPECT_EQ(group->GetCount(), 0);
  // The item still belongs to the manager's register after leaving the group.
  EXPECT_EQ(Manager->GetItemCount(), 1);
}

TEST_F(TGroupFixture, RecursiveGroupsAreRefusedWithTheExactText)
{
  TdxBarGroup* outer = Manager->AddGroup();
  TdxBarGroup* middle = Manager->AddGroup();
  TdxBarGroup* inner = Manager->AddGroup();
  TTestBarItem* item = NewItem(0);
  outer->Add(middle);
  middle->Add(inner);
  inner->Add(item);

  EXPECT_EQ(ErrorOf([&] { outer->Add(outer); }), L"You cannot create recursive groups");
  EXPECT_EQ(ErrorOf([&] { inner->Add(outer); }), L"You cannot create recursive groups");
  EXPECT_EQ(ErrorOf([&] { middle->Add(outer); }), L"You cannot create recursive groups");
  // The groups are as they were.
  EXPECT_EQ(Members(outer), std::vector<TdxBarComponent*>{middle});
  EXPECT_EQ(Members(middle), std::vector<TdxBarComponent*>{inner});
  EXPECT_EQ(Members(inner), std::vector<TdxBarComponent*>{item});

  // Sharing a member is not recursion.
  EXPECT_EQ(ErrorOf([&] { outer->Add(inner); }), L"");
  EXPECT_TRUE(outer->Contains(item));
  EXPECT_FALSE(inner->Contains(outer));
}

TEST_F(TGroupFixture, EnabledAndVisibleReachMembersOfNestedGroups)
{
  TdxBarGroup* outer = Manager->AddGroup();
  TdxBarGroup* inner = Manager->AddGroup();
  TTestBarItem* direct = NewItem(0);
  TTestBarItem* nested = NewItem(0);
  TTestBarItem* outside = NewItem(0);
  outer->Add(direct);
  outer->Add(inner);
  inner->Add(nested);

  outer->SetEnabled(false);
  EXPECT_FALSE(direct->GetEnabled());
  EXPECT_FALSE(inner->GetEnabled());
  EXPECT_FALSE(nested->GetEnabled());
  EXPECT_TRUE(outside->GetEnabled());
  EXPECT_FALSE(Manager->IsUpdateLocked());

  outer->SetVisible(ivInCustomizing);
  EXPECT_EQ(direct->GetVisible(), ivInCustomizing);
  EXPECT_EQ(inner->GetVisible(), ivInCustomizing);
  EXPECT_EQ(nested->GetVisible(), ivInCustomizing);
  EXPECT_EQ(outside->GetVisible(), ivAlways);

  outer->SetEnabled(true);
  EXPECT_TRUE(nested->GetEnabled());
}

TEST_F(TGroupFixture, IndexMovesTheGroupInTheRegister)
{
  TdxBarGroup* g0 = Manager->AddGroup();
  TdxBarGroup* g1 = Manager->AddGroup();
  TdxBarGroup* g2 = Manager->AddGroup();
  EXPECT_EQ(g2->GetIndex(), 2);
  g2->SetIndex(0);
  EXPECT_EQ(Manager->GetGroup(0), g2);
  EXPECT_EQ(Manager->GetGroup(1), g0);
  g2->SetIndex(99);  // clamped to the last place
  EXPECT_EQ(Manager->GetGroup(2), g2);
  TdxBarGroup loose(nullptr);
  EXPECT_EQ(loose.GetIndex(), -1);
  loose.SetIndex(0);
  EXPECT_EQ(g1->GetIndex(), 1);
}

TEST(BarComponentsLifetime, ManagerFreedBeforeItsItemsAndGroups)
{
  TOwned<TComponentsTestForm> form(TCustomForm::CreateNew<TComponentsTestForm>(nullptr));
  auto* manager = new TdxBarManager(form.Get());
  auto* item = new TTestBarItem(form.Get());
  TdxBarGroup* group = manager->AddGroup();
  group->Add(item);
  ASSERT_EQ(item->GetListCount(), 2);  // the item register and the group
  manager->Free();
  EXPECT_EQ(item->GetBarManager(), nullptr);
  EXPECT_EQ(group->GetBarManager(), nullptr);
  ASSERT_EQ(item->GetListCount(), 1);
  // What is left keeps working without the manager.
  group->SetEnabled(false);
  EXPECT_FALSE(item->GetEnabled());
  item->Changed();
  group->SetIndex(0);
}
