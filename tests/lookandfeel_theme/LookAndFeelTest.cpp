// Look-and-feel objects: assigned values, masters, reset, assignment, notification and
// the published values; the arrow geometry of the look-and-feel painters.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "lookandfeel/cxLookAndFeelPainters.h"
#include "lookandfeel/cxLookAndFeels.h"

namespace {

// Records every OnChanged call of a look-and-feel.
struct TChangeLog {
  std::vector<TcxLookAndFeelValues> Changes;
  void Attach(TcxLookAndFeel& L)
  {
    L.OnChanged = TcxLookAndFeelChangedEvent([this](TcxLookAndFeel*, TcxLookAndFeelValues v) { Changes.push_back(v); });
  }
};

class TListener : public IcxLookAndFeelNotificationListener {
public:
  int Changed = 0;
  int Destroying = 0;
  TcxLookAndFeelValues Last;
  void MasterLookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues v) override
  {
    ++Changed;
    Last = v;
  }
  void MasterLookAndFeelDestroying(TcxLookAndFeel*) override { ++Destroying; }
};

}  // namespace

TEST(LookAndFeel, SettingAValueAssignsItAndNotifiesOnlyRealChanges)
{
  TcxLookAndFeel lf;
  TChangeLog log;
  log.Attach(lf);
  lf.SetKind(lfUltraFlat);
  EXPECT_EQ(lf.GetKind(), lfUltraFlat);
  EXPECT_TRUE(lf.GetAssignedValues().Contains(lfvKind));
  ASSERT_EQ(log.Changes.size(), 1u);
  EXPECT_EQ(log.Changes[0], TcxLookAndFeelValues{lfvKind});
  lf.SetKind(lfUltraFlat);
  EXPECT_EQ(log.Changes.size(), 1u);
  // Assigning the default value changes nothing visible but still marks it assigned.
  lf.SetNativeStyle(false);
  EXPECT_EQ(log.Changes.size(), 1u);
  EXPECT_TRUE(lf.GetAssignedValues().Contains(lfvNativeStyle));
  lf.SetSkinName(L"Lilac");
  ASSERT_EQ(log.Changes.size(), 2u);
  EXPECT_EQ(log.Changes[1], TcxLookAndFeelValues{lfvSkinName});
  EXPECT_EQ(lf.GetSkinName(), L"Lilac");
  EXPECT_FALSE(lf.IsSkinPainterAssigned());
}

TEST(LookAndFeel, UnassignedValuesFollowTheMaster)
{
  TcxLookAndFeel master, slave;
  TChangeLog log;
  log.Attach(slave);
  slave.SetMasterLookAndFeel(&master);
  EXPECT_TRUE(log.Changes.empty()) << "both at defaults";
  master.SetKind(lfOffice11);
  EXPECT_EQ(slave.GetKind(), lfOffice11);
  ASSERT_EQ(log.Changes.size(), 1u);
  EXPECT_EQ(log.Changes[0], TcxLookAndFeelValues{lfvKind});
  // An own value wins and stops the master's changes of it from reaching the slave.
  slave.SetKind(lfFlat);
  log.Changes.clear();
  master.SetKind(lfUltraFlat);
  EXPECT_EQ(slave.GetKind(), lfFlat);
  EXPECT_TRUE(log.Changes.empty());
  master.SetNativeStyle(true);
  EXPECT_TRUE(slave.GetNativeStyle());
  ASSERT_EQ(log.Changes.size(), 1u);
  EXPECT_EQ(log.Changes[0], TcxLookAndFeelValues{lfvNativeStyle});
}

TEST(LookAndFeel, ResetFallsBackToTheMaster)
{
  TcxLookAndFeel master, slave;
  master.SetKind(lfUltraFlat);
  slave.SetMasterLookAndFeel(&master);
  slave.SetKind(lfOffice11);
  slave.SetSkinName(L"X");
  TChangeLog log;
  log.Attach(slave);
  slave.Reset();
  EXPECT_TRUE(slave.GetAssignedValues().Empty());
  EXPECT_EQ(slave.GetKind(), lfUltraFlat);
  EXPECT_EQ(slave.GetSkinName(), L"");
  ASSERT_EQ(log.Changes.size(), 1u);
  EXPECT_EQ(log.Changes[0], (TcxLookAndFeelValues{lfvKind, lfvSkinName}));
}

TEST(LookAndFeel, MasterChainsAndCyclesAreRefused)
{
  TcxLookAndFeel a, b, c;
  b.SetMasterLookAndFeel(&a);
  c.SetMasterLookAndFeel(&b);
  a.SetKind(lfFlat);
  EXPECT_EQ(c.GetKind(), lfFlat);
  EXPECT_THROW(a.SetMasterLookAndFeel(&c), EInvalidOperation);
  EXPECT_THROW(a.SetMasterLookAndFeel(&a), EInvalidOperation);
  EXPECT_EQ(a.GetMasterLookAndFeel(), nullptr);
}

TEST(LookAndFeel, DestroyedMasterLeavesDefaultsAndTellsFollowers)
{
  auto* master = new TcxLookAndFeel;
  TcxLookAndFeel slave;
  slave.SetMasterLookAndFeel(master);
  master->SetKind(lfOffice11);
  TChangeLog log;
  log.Attach(slave);
  delete master;
  EXPECT_EQ(slave.GetMasterLookAndFeel(), nullptr);
  EXPECT_EQ(slave.GetKind(), lfStandard);
  ASSERT_EQ(log.Changes.size(), 1u);
  EXPECT_EQ(log.Changes[0], TcxLookAndFeelValues{lfvKind});
  // And a slave going first leaves its master's listener list.
  TcxLookAndFeel m2;
  {
    TcxLookAndFeel s2;
    s2.SetMasterLookAndFeel(&m2);
    EXPECT_EQ(m2.GetChangeListenerCount(), 1);
  }
  EXPECT_EQ(m2.GetChangeListenerCount(), 0);
  m2.SetKind(lfFlat);  // reaches nobody freed
}

TEST(LookAndFeel, AssignCopiesValuesAndAssignedFlagsInOneChange)
{
  TcxLookAndFeel source, dest;
  source.SetKind(lfOffice11);
  source.SetNativeStyle(true);
  TChangeLog log;
  log.Attach(dest);
  dest.Assign(&source);
  EXPECT_EQ(dest.GetKind(), lfOffice11);
  EXPECT_TRUE(dest.GetNativeStyle());
  EXPECT_EQ(dest.GetAssignedValues(), (TcxLookAndFeelValues{lfvKind, lfvNativeStyle}));
  ASSERT_EQ(log.Changes.size(), 1u);
  EXPECT_EQ(log.Changes[0], (TcxLookAndFeelValues{lfvKind, lfvNativeStyle}));
  // Unassigned values of the source are not assigned in the copy either.
  TcxLookAndFeel master;
  master.SetSkinName(L"M");
  dest.SetMasterLookAndFeel(&master);
  EXPECT_EQ(dest.GetSkinName(), L"M");
  EXPECT_THROW(dest.Assign(nullptr), EConvertError);
}

TEST(LookAndFeel, ListenersAreAddedOnceAndToldOfDestruction)
{
  TListener listener;
  {
    TcxLookAndFeel lf;
    lf.AddChangeListener(&listener);
    lf.AddChangeListener(&listener);
    EXPECT_EQ(lf.GetChangeListenerCount(), 1);
    lf.SetKind(lfUltraFlat);
    EXPECT_EQ(listener.Changed, 1);
    EXPECT_EQ(listener.Last, TcxLookAndFeelValues{lfvKind});
    lf.RemoveChangeListener(&listener);
    lf.SetKind(lfFlat);
    EXPECT_EQ(listener.Changed, 1);
    lf.AddChangeListener(&listener);
  }
  EXPECT_EQ(listener.Destroying, 1);
}

TEST(LookAndFeel, UpdatesGroupChanges)
{
  TcxLookAndFeel lf;
  TChangeLog log;
  log.Attach(lf);
  lf.BeginUpdate();
  lf.SetKind(lfFlat);
  lf.SetNativeStyle(true);
  EXPECT_TRUE(log.Changes.empty());
  lf.EndUpdate();
  ASSERT_EQ(log.Changes.size(), 1u);
  EXPECT_EQ(log.Changes[0], (TcxLookAndFeelValues{lfvKind, lfvNativeStyle}));
  lf.EndUpdate();  // unbalanced: ignored
  EXPECT_EQ(log.Changes.size(), 1u);
}

TEST(LookAndFeel, PublishedValuesAreStoredWhenAssigned)
{
  TcxLookAndFeel master, lf;
  lf.SetMasterLookAndFeel(&master);
  const TPropInfo* kind = GetPropInfo(&lf, L"Kind");
  const TPropInfo* native = GetPropInfo(&lf, L"NativeStyle");
  const TPropInfo* skin = GetPropInfo(&lf, L"SkinName");
  ASSERT_TRUE(kind && native && skin);
  EXPECT_EQ(kind->Kind, TPropKind::Enum);
  EXPECT_FALSE(kind->IsStored(&lf));
  EXPECT_FALSE(native->IsStored(&lf));
  EXPECT_FALSE(skin->IsStored(&lf));
  // Set through the property table, as form data does: the value becomes assigned.
  SetOrdProp(&lf, L"Kind", lfFlat);
  EXPECT_TRUE(kind->IsStored(&lf));
  EXPECT_EQ(GetEnumName(kind->EnumType, GetOrdProp(&lf, L"Kind")), L"lfFlat");
  master.SetNativeStyle(true);
  EXPECT_EQ(GetOrdProp(&lf, L"NativeStyle"), 1);
  EXPECT_FALSE(native->IsStored(&lf)) << "a value taken from the master is not stored";
  SetStrProp(&lf, L"SkinName", L"S");
  EXPECT_TRUE(skin->IsStored(&lf));
  EXPECT_THROW(lf.SetKind(TcxLookAndFeelKind(9)), EPropertyError);
  EXPECT_EQ(lf.GetKind(), lfFlat);
}

// ---------------------------------------------------------------------------

TEST(ArrowPoints, EachDirectionPointsItsWay)
{
  const TRect r = Rect(10, 20, 21, 31);  // 11 x 11
  using P = TcxCustomLookAndFeelPainter;
  // The 7 x 4 arrow leaves 2 columns on each side and 3 rows above, 4 below.
  TcxArrowPoints down = P::CalculateArrowPoints(r, adDown, 3);
  EXPECT_EQ(down[0], Point(12, 23));
  EXPECT_EQ(down[1], Point(18, 23));
  EXPECT_EQ(down[2], Point(15, 26));
  TcxArrowPoints up = P::CalculateArrowPoints(r, adUp, 3);
  EXPECT_EQ(up[0], Point(12, 26));
  EXPECT_EQ(up[1], Point(18, 26));
  EXPECT_EQ(up[2], Point(15, 23));
  TcxArrowPoints left = P::CalculateArrowPoints(r, adLeft, 3);
  EXPECT_EQ(left[0], Point(16, 22));
  EXPECT_EQ(left[1], Point(16, 28));
  EXPECT_EQ(left[2], Point(13, 25));
  TcxArrowPoints right = P::CalculateArrowPoints(r, 3, 3);
  EXPECT_EQ(right[0], Point(13, 22));
  EXPECT_EQ(right[1], Point(13, 28));
  EXPECT_EQ(right[2], Point(16, 25));
}

TEST(ArrowPoints, SizeShrinksToFitAndNeverGoesNegative)
{
  using P = TcxCustomLookAndFeelPainter;
  // 7 wide: the base can be at most 7 pixels, so the size is at most 3.
  TcxArrowPoints a = P::CalculateArrowPoints(Rect(0, 0, 7, 100), adDown, 50);
  EXPECT_EQ(a[1].x - a[0].x, 6);
  EXPECT_EQ(a[0].x, 0);
  EXPECT_EQ(a[1].x, 6);
  EXPECT_EQ(a[2].y - a[0].y, 3);
  // 2 high: a right arrow may span only 2 columns (size 1) even in a wide rectangle.
  TcxArrowPoints b = P::CalculateArrowPoints(Rect(0, 0, 100, 3), adRight, 10);
  EXPECT_EQ(b[2].x - b[0].x, 1);
  EXPECT_EQ(b[0].y, 0);
  EXPECT_EQ(b[1].y, 2);
  // Every point stays inside the rectangle, right and bottom edges excluded.
  for (int dir = 0; dir < 4; ++dir) {
    for (int w = 1; w < 9; ++w) {
      for (int h = 1; h < 9; ++h) {
        for (const TPoint& p : P::CalculateArrowPoints(Bounds(5, 5, w, h), dir, 100)) {
          EXPECT_TRUE(PtInRect(Bounds(5, 5, w, h), p)) << dir << " " << w << "x" << h;
        }
      }
    }
  }
  TcxArrowPoints c = P::CalculateArrowPoints(Rect(0, 0, 10, 10), adUp, -4);
  EXPECT_EQ(c[0], c[1]);
  EXPECT_EQ(c[1], c[2]);
  // An unknown direction is taken as down.
  TcxArrowPoints d = P::CalculateArrowPoints(Rect(0, 0, 11, 11), 7, 3);
  EXPECT_EQ(d[2].y - d[0].y, 3);
}

// Chains freed in every order: each follower must end without its master's pointer, whoever
// goes first, and the last one freed must not reach a master already gone.
TEST(LookAndFeel, AChainFreedInAnyOrderLeavesNoFollowerPointingAtAFreedMaster)
{
  const int orders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
  for (const auto& order : orders) {
    TcxLookAndFeel* chain[3] = {new TcxLookAndFeel, new TcxLookAndFeel, new TcxLookAndFeel};
    chain[1]->SetMasterLookAndFeel(chain[0]);
    chain[2]->SetMasterLookAndFeel(chain[1]);
    chain[0]->SetKind(lfOffice11);
    ASSERT_EQ(chain[2]->GetKind(), lfOffice11);
    for (int step = 0; step < 3; ++step) {
      delete chain[order[step]];
      chain[order[step]] = nullptr;
      for (TcxLookAndFeel* left : chain)
        if (left) {
          TcxLookAndFeel* master = left->GetMasterLookAndFeel();
          EXPECT_TRUE(!master || std::find(std::begin(chain), std::end(chain), master) != std::end(chain))
              << "order " << order[0] << order[1] << order[2] << ", step " << step;
        }
    }
  }
}

// A follower that, told its master changed as it goes, takes the same master again: the
// master could not tell it a second time, so the link must not be made.
TEST(LookAndFeel, AMasterTakenAgainWhileItIsBeingFreedIsRefused)
{
  auto* master = new TcxLookAndFeel;
  master->SetKind(lfUltraFlat);
  TcxLookAndFeel follower;
  follower.SetMasterLookAndFeel(master);
  int retakes = 0;
  follower.OnChanged = TcxLookAndFeelChangedEvent([&](TcxLookAndFeel*, TcxLookAndFeelValues) {
    if (!follower.GetMasterLookAndFeel()) {
      ++retakes;
      follower.SetMasterLookAndFeel(master);
    }
  });
  delete master;
  EXPECT_EQ(retakes, 1);
  EXPECT_EQ(follower.GetMasterLookAndFeel(), nullptr);
  EXPECT_EQ(follower.GetKind(), cxDefaultLookAndFeelKind);
  follower.OnChanged = TcxLookAndFeelChangedEvent();
}
