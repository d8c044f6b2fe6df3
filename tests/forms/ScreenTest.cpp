// The screen's cursors: the ones the system lacks, custom ones and the global override.
#include "FormsTestUtil.h"

namespace {

// A 32 x 32 cursor of our own (a filled square), to hand to the screen.
HCURSOR MakeTestCursor()
{
  uint8_t andMask[128], xorMask[128];
  std::fill(std::begin(andMask), std::end(andMask), uint8_t(0x00));
  std::fill(std::begin(xorMask), std::end(xorMask), uint8_t(0xFF));
  return ::CreateCursor(::GetModuleHandleW(nullptr), 0, 0, 32, 32, andMask, xorMask);
}

bool CursorAlive(HCURSOR Cursor)
{
  ICONINFO info{};
  if (!::GetIconInfo(Cursor, &info))
    return false;
  ::DeleteObject(info.hbmMask);
  if (info.hbmColor)
    ::DeleteObject(info.hbmColor);
  return true;
}

TEST(ScreenCursors, TheCursorsTheSystemLacksAreDrawnAndDistinct)
{
  const TCursor drawn[] = {crDrag, crNoDrop, crHSplit, crVSplit, crMultiDrag, crSQLWait};
  std::vector<HCURSOR> handles;
  for (TCursor id : drawn) {
    HCURSOR h = Screen->GetCursors(id);
    EXPECT_NE(h, nullptr) << id;
    EXPECT_NE(h, Screen->GetCursors(crDefault)) << id;
    EXPECT_TRUE(CursorAlive(h)) << id;
    handles.push_back(h);
  }
  std::sort(handles.begin(), handles.end());
  EXPECT_EQ(std::unique(handles.begin(), handles.end()), handles.end());
}

TEST(ScreenCursors, AStandardCursorChangedBeforeItsFirstUseKeepsTheChange)
{
  auto* screen = new TScreen(nullptr);
  HCURSOR mine = MakeTestCursor();
  screen->SetCursors(crHSplit, mine);
  EXPECT_EQ(screen->GetCursors(crHSplit), mine);
  screen->SetCursors(crHandPoint, nullptr);
  EXPECT_EQ(screen->GetCursors(crHandPoint), screen->GetCursors(crDefault));
  // Untouched ones come as the system and the drawings give them, once each.
  EXPECT_EQ(screen->GetCursors(crSizeAll), LoadCursorW(nullptr, IDC_SIZEALL));
  HCURSOR drag = screen->GetCursors(crDrag);
  EXPECT_TRUE(CursorAlive(drag));
  EXPECT_EQ(screen->GetCursors(crDrag), drag);
  screen->Free();
  EXPECT_FALSE(CursorAlive(mine));
  EXPECT_FALSE(CursorAlive(drag));
}

TEST(ScreenCursors, ACustomIdKeepsItsCursorAndDestroysTheOneItReplaces)
{
  HCURSOR first = MakeTestCursor();
  HCURSOR second = MakeTestCursor();
  Screen->SetCursors(1044, first);
  EXPECT_EQ(Screen->GetCursors(1044), first);
  Screen->SetCursors(1044, first);  // the same again: still alive
  EXPECT_TRUE(CursorAlive(first));
  Screen->SetCursors(1044, second);
  EXPECT_EQ(Screen->GetCursors(1044), second);
  EXPECT_FALSE(CursorAlive(first));
  Screen->SetCursors(1044, nullptr);
  EXPECT_EQ(Screen->GetCursors(1044), Screen->GetCursors(crDefault));
  EXPECT_FALSE(CursorAlive(second));
  // The default cursor too, and what stands in for unknown identifiers with it.
  HCURSOR mine = MakeTestCursor();
  Screen->SetCursors(crDefault, mine);
  EXPECT_EQ(Screen->GetCursors(crDefault), mine);
  EXPECT_EQ(Screen->GetCursors(9999), mine);
  Screen->SetCursors(crDefault, nullptr);
  EXPECT_EQ(Screen->GetCursors(crDefault), ::LoadCursorW(nullptr, IDC_ARROW));
  EXPECT_FALSE(CursorAlive(mine));
}

TEST(ScreenCursors, TheGlobalCursorWinsOverTheControls)
{
  TOwned<TTestForm> form(TCustomForm::CreateNew<TTestForm>(nullptr));
  form->SetBounds(200, 200, 300, 200);
  auto* tile = new TTile(form.Get());
  tile->SetBounds(20, 20, 150, 100);
  tile->SetCursor(crIBeam);
  tile->SetParent(form.Get());
  ASSERT_TRUE(ShowAndActivate(form.Get()));
  POINT over = CenterOf(tile);
  ASSERT_TRUE(MoveMouseTo(over));
  EXPECT_TRUE(PumpUntil([] { return ::GetCursor() == ::LoadCursorW(nullptr, IDC_IBEAM); }));
  Screen->SetCursor(crHourGlass);
  ASSERT_TRUE(MoveMouseTo(POINT{over.x + 5, over.y + 5}));
  EXPECT_TRUE(PumpUntil([] { return ::GetCursor() == ::LoadCursorW(nullptr, IDC_WAIT); }));
  Screen->SetCursor(crDefault);
  ASSERT_TRUE(MoveMouseTo(over));
  EXPECT_TRUE(PumpUntil([] { return ::GetCursor() == ::LoadCursorW(nullptr, IDC_IBEAM); }));
  ParkMouse();
}

}  // namespace
