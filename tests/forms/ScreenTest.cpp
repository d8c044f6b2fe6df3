// The screen: predefined and custom cursors, the global cursor override, monitors and work
// areas, fonts, pixels per inch, the mouse object and the list of forms.
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

TEST(ScreenCursors, PredefinedIdsAreTheSystemCursors)
{
  EXPECT_EQ(Screen->GetCursors(crHandPoint), ::LoadCursorW(nullptr, IDC_HAND));
  EXPECT_EQ(Screen->GetCursors(crIBeam), ::LoadCursorW(nullptr, IDC_IBEAM));
  EXPECT_EQ(Screen->GetCursors(crSizeWE), ::LoadCursorW(nullptr, IDC_SIZEWE));
  EXPECT_EQ(Screen->GetCursors(crHourGlass), ::LoadCursorW(nullptr, IDC_WAIT));
  EXPECT_EQ(Screen->GetCursors(crDefault), ::LoadCursorW(nullptr, IDC_ARROW));
  EXPECT_EQ(Screen->GetCursors(crNone), nullptr);
  // An identifier nobody set gives the default cursor.
  EXPECT_EQ(Screen->GetCursors(4711), Screen->GetCursors(crDefault));
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

// ---------------------------------------------------------------------------

TEST(ScreenMonitors, ThePrimaryMonitorCoversTheScreen)
{
  ASSERT_GE(Screen->GetMonitorCount(), 1);
  TMonitor* primary = Screen->GetPrimaryMonitor();
  ASSERT_NE(primary, nullptr);
  EXPECT_TRUE(primary->GetPrimary());
  EXPECT_EQ(primary->GetBoundsRect(), Rect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)));
  EXPECT_EQ(primary->GetWidth(), Screen->GetWidth());
  TRect work = primary->GetWorkareaRect();
  EXPECT_EQ(IntersectRect(work, primary->GetBoundsRect()), work) << "the work area lies inside the monitor";
  EXPECT_EQ(Screen->GetWorkAreaRect(), work);
  EXPECT_EQ(UnionRect(Screen->GetDesktopRect(), primary->GetBoundsRect()), Screen->GetDesktopRect());
  // The objects stay the same while the monitors do.
  EXPECT_EQ(Screen->GetMonitors(primary->GetMonitorNum()), primary);
  EXPECT_EQ(Screen->GetMonitors(Screen->GetMonitorCount()), nullptr);
  EXPECT_EQ(Screen->GetMonitors(-1), nullptr);
  // Forgotten, they are found again.
  int count = Screen->GetMonitorCount();
  HMONITOR handle = primary->GetHandle();
  Screen->ResetMonitors();
  EXPECT_EQ(Screen->GetMonitorCount(), count);
  EXPECT_EQ(Screen->GetPrimaryMonitor()->GetHandle(), handle);
}

TEST(ScreenMonitors, LookupsByPointRectAndWindow)
{
  TMonitor* primary = Screen->GetPrimaryMonitor();
  EXPECT_EQ(Screen->MonitorFromPoint(Point(10, 10)), primary);
  EXPECT_EQ(Screen->MonitorFromPoint(Point(-20000, -20000), mdNull), nullptr);
  EXPECT_EQ(Screen->MonitorFromPoint(Point(-20000, -20000), mdNearest), primary);
  EXPECT_EQ(Screen->MonitorFromPoint(Point(-20000, -20000), mdPrimary), primary);
  EXPECT_EQ(Screen->MonitorFromRect(Rect(5, 5, 50, 50)), primary);
  EXPECT_EQ(Screen->MonitorFromRect(Rect(-9000, -9000, -8000, -8000), mdNull), nullptr);
  TOwned<TTestForm> form(TCustomForm::CreateNew<TTestForm>(nullptr));
  form->SetBounds(50, 50, 200, 100);
  EXPECT_EQ(Screen->MonitorFromWindow(form->GetHandle()), primary);
  EXPECT_EQ(Screen->MonitorFromWindow(nullptr, mdNull), nullptr);
}

// ---------------------------------------------------------------------------

TEST(ScreenFonts, FontFamiliesAreSortedWithoutRepeats)
{
  TStrings* fonts = Screen->GetFonts();
  ASSERT_GT(fonts->Count(), 1);
  for (int i = 1; i < fonts->Count(); ++i)
    EXPECT_LT(CompareText(fonts->Strings(i - 1), fonts->Strings(i)), 0) << ToUtf8(fonts->Strings(i));
  // Every family listed is one the system can make a font of.
  HDC dc = ::GetDC(nullptr);
  for (int i = 0; i < fonts->Count(); ++i) {
    String family = fonts->Strings(i);
    EXPECT_NE(family.front(), L'@');
    HFONT font = ::CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, family.c_str());
    HGDIOBJ old = ::SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    ::GetTextFaceW(dc, LF_FACESIZE, face);
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    EXPECT_TRUE(SameText(face, family)) << ToUtf8(family) << " gave " << ToUtf8(face);
  }
  ::ReleaseDC(nullptr, dc);
}

TEST(ScreenFonts, SystemFontsComeFromTheSystemSettings)
{
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
  EXPECT_EQ(Screen->GetMenuFont()->GetName(), std::wstring(metrics.lfMenuFont.lfFaceName));
  EXPECT_EQ(Screen->GetMenuFont()->GetHeight(), metrics.lfMenuFont.lfHeight);
  EXPECT_EQ(Screen->GetHintFont()->GetName(), std::wstring(metrics.lfStatusFont.lfFaceName));
  EXPECT_EQ(Screen->GetHintFont()->GetColor(), clInfoText);
  LOGFONTW icon{};
  ASSERT_TRUE(::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof icon, &icon, 0));
  EXPECT_EQ(Screen->GetIconFont()->GetName(), std::wstring(icon.lfFaceName));
}

// ---------------------------------------------------------------------------

TEST(ScreenForms, EveryFormIsListedAndOnlyTFormsAmongForms)
{
  int custom = Screen->GetCustomFormCount();
  int forms = Screen->GetFormCount();
  TOwned<TTestForm> form(TCustomForm::CreateNew<TTestForm>(nullptr));
  TOwned<TCustomForm> plain(TCustomForm::CreateNew<TCustomForm>(nullptr));
  EXPECT_EQ(Screen->GetCustomFormCount(), custom + 2);
  EXPECT_EQ(Screen->GetFormCount(), forms + 1);
  bool listed = false;
  for (int i = 0; i < Screen->GetFormCount(); ++i)
    listed = listed || Screen->GetForms(i) == form.Get();
  EXPECT_TRUE(listed);
}

TEST(ScreenMouse, CursorPositionAndCapture)
{
  Mouse->SetCursorPos(Point(321, 234));
  EXPECT_EQ(Mouse->GetCursorPos(), Point(321, 234));
  TOwned<TTestForm> form(TCustomForm::CreateNew<TTestForm>(nullptr));
  form->Show();
  Mouse->SetCapture(form->GetHandle());
  EXPECT_EQ(Mouse->GetCapture(), form->GetHandle());
  Mouse->SetCapture(nullptr);
  EXPECT_EQ(Mouse->GetCapture(), nullptr);
  EXPECT_GE(Mouse->GetDragThreshold(), 1);
  ParkMouse();
}

}  // namespace
