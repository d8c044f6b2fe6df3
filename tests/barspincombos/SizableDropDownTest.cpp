// The two sizable drop-downs, the combo's list and the tree-view combo's tree, opened at the
// same places: the grip goes to the same corner, the window answers the same hit-test codes,
// and a drag of the grip with the real pointer resizes both alike.
#include "ExtrasTestUtil.h"

#include <tuple>

#include "bars/barwindows/dropdownlistbox.h"

namespace {

RECT WindowRect(HWND AWnd)
{
  RECT r{};
  ::GetWindowRect(AWnd, &r);
  return r;
}

class TSizableDropDowns : public TSpinFixture {
protected:
  void SetUp() override
  {
    TSpinFixture::SetUp();
    List = new TdxBarCombo(Host.Form());
    for (int i = 0; i < 30; ++i)
      List->GetItems()->Add(L"entry " + std::to_wstring(i));
    Tree = new TdxBarTreeViewCombo(Host.Form());
    for (int i = 0; i < 30; ++i)
      Tree->GetItems()->AddChild(nullptr, L"node " + std::to_wstring(i));
    // Both wider than their controls, so that the right edge of the screen pushes them left.
    for (TCustomdxBarCombo* combo : {static_cast<TCustomdxBarCombo*>(List), static_cast<TCustomdxBarCombo*>(Tree)}) {
      combo->SetWidth(120);
      Bar->GetItemLinks()->AddItem(combo);
    }
    List->SetAllowResizing(true);
    List->SetDropDownCount(12);
    List->SetDropDownWidth(200);
    Tree->SetDropDownWidth(200);
    PumpPending();
  }
  TCustomdxBarComboControl* ControlOf(TCustomdxBarCombo* ACombo) const
  {
    return dynamic_cast<TCustomdxBarComboControl*>(Bar->GetItemLinks()->Items(ACombo == List ? 2 : 3)->GetControl());
  }
  HWND Window(TCustomdxBarCombo* ACombo) const
  {
    return ACombo == List ? List->GetListBox()->GetHandle() : Tree->GetTreeView()->GetHandle();
  }
  TdxBarSizableDropDownParts Parts(TCustomdxBarCombo* ACombo) const
  {
    return ACombo == List ? List->GetListBox()->GetSizableParts() : Tree->GetTreeView()->GetSizableParts();
  }
  // Moves the form so that ACombo's control sits above the bottom of the work area or
  // against its right edge, then drops ACombo down with a click on its button.
  bool OpenAt(TCustomdxBarCombo* ACombo, bool ANearBottom, bool ANearRight)
  {
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    TCustomdxBarComboControl* control = ControlOf(ACombo);
    RECT item = control->GetItemRect();
    ::MapWindowPoints(control->GetParent()->GetHandle(), nullptr, reinterpret_cast<POINT*>(&item), 2);
    TCustomForm* form = Host.Form();
    const int left = ANearRight ? form->GetLeft() + (work.right - 2 - item.right) : 120;
    const int top = ANearBottom ? form->GetTop() + (work.bottom - 4 - item.bottom) : 120;
    form->SetBounds(left, top, form->GetWidth(), form->GetHeight());
    // The list opens at its own size again, not at the one the last drag gave it.
    List->SetAllowResizing(false);
    List->SetAllowResizing(true);
    PumpPending();
    return ClickAt(ScreenCentreOf(control, control->GetDropDownRect())) &&
           PumpUntil([&] { return ::IsWindowVisible(Window(ACombo)); });
  }
  void Close(TCustomdxBarCombo* ACombo)
  {
    ControlOf(ACombo)->SetDroppedDown(false);
    PumpUntil([&] { return !::IsWindowVisible(Window(ACombo)); });
  }
  // What the window answers at its grip, its close button and its four outer corners.
  std::vector<LRESULT> HitTests(TCustomdxBarCombo* ACombo) const
  {
    HWND window = Window(ACombo);
    const RECT w = WindowRect(window);
    const TdxBarSizableDropDownParts parts = Parts(ACombo);
    std::vector<LRESULT> codes;
    for (const POINT& p : {CenterOn(w, parts.Grip), CenterOn(w, parts.CloseButton), POINT{w.left, w.top},
                           POINT{w.right - 1, w.top}, POINT{w.left, w.bottom - 1}, POINT{w.right - 1, w.bottom - 1}})
      codes.push_back(::SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)));
    return codes;
  }
  static POINT CenterOn(const RECT& AWindow, const TRect& R)
  {
    return POINT{AWindow.left + (R.left + R.right) / 2, AWindow.top + (R.top + R.bottom) / 2};
  }
  // Drags the grip outwards by 30 x 20 and back in by 50 x 40 with the real pointer; the
  // window rectangles after each drag.
  std::pair<RECT, RECT> DragGrip(TCustomdxBarCombo* ACombo, TdxBarSizeGripCorner ACorner)
  {
    const int sx = IsSizeGripCornerRight(ACorner) ? 1 : -1, sy = IsSizeGripCornerBottom(ACorner) ? 1 : -1;
    std::pair<RECT, RECT> after{};
    for (auto [dx, dy, rect] : {std::tuple{30, 20, &after.first}, std::tuple{-50, -40, &after.second}}) {
      const POINT start = CenterOn(WindowRect(Window(ACombo)), Parts(ACombo).Grip);
      const POINT end{start.x + sx * dx, start.y + sy * dy};
      EXPECT_TRUE(MoveMouseTo(start) && MouseButtonDown() && MoveMouseTo(POINT{(start.x + end.x) / 2, start.y}) &&
                  MoveMouseTo(end) && MouseButtonUp());
      PumpPending();
      *rect = WindowRect(Window(ACombo));
    }
    return after;
  }

  TdxBarCombo* List = nullptr;
  TdxBarTreeViewCombo* Tree = nullptr;
};

TEST_F(TSizableDropDowns, BothDropDownsTakeTheSameCornerAnswerTheSameCodesAndSizeAlike)
{
  struct TPlace {
    const char* Name;
    bool NearBottom, NearRight;
    TdxBarSizeGripCorner Corner;
  } places[] = {
      {"below, to the right", false, false, sgcBottomRight},
      {"above, to the right", true, false, sgcTopRight},
      {"below, pushed left", false, true, sgcBottomLeft},
      {"above, pushed left", true, true, sgcTopLeft},
  };
  for (const TPlace& place : places) {
    SCOPED_TRACE(place.Name);
    std::vector<LRESULT> codes[2];
    SIZE grown[2], shrunk[2];
    TCustomdxBarCombo* combos[2] = {List, Tree};
    for (int i = 0; i < 2; ++i) {
      TCustomdxBarCombo* combo = combos[i];
      SCOPED_TRACE(combo == List ? "the combo's list" : "the tree");
      ASSERT_TRUE(OpenAt(combo, place.NearBottom, place.NearRight));
      const RECT opened = WindowRect(Window(combo));
      codes[i] = HitTests(combo);
      EXPECT_EQ(codes[i].front(), GetCornerHitTestCode(place.Corner))
          << "the grip sits in the corner away from the owner";
      const auto [bigger, smaller] = DragGrip(combo, place.Corner);
      EXPECT_TRUE(::IsWindowVisible(Window(combo))) << "dragging the grip keeps the drop-down open";
      grown[i] = SIZE{(bigger.right - bigger.left) - (opened.right - opened.left),
                      (bigger.bottom - bigger.top) - (opened.bottom - opened.top)};
      shrunk[i] = SIZE{(smaller.right - smaller.left) - (opened.right - opened.left),
                       (smaller.bottom - smaller.top) - (opened.bottom - opened.top)};
      // The edges away from the grip stay.
      EXPECT_EQ(IsSizeGripCornerRight(place.Corner) ? smaller.left : smaller.right,
                IsSizeGripCornerRight(place.Corner) ? opened.left : opened.right);
      EXPECT_EQ(IsSizeGripCornerBottom(place.Corner) ? smaller.top : smaller.bottom,
                IsSizeGripCornerBottom(place.Corner) ? opened.top : opened.bottom);
      Close(combo);
    }
    EXPECT_EQ(codes[0], codes[1]);
    EXPECT_EQ(grown[0].cx, grown[1].cx);
    EXPECT_EQ(grown[0].cy, grown[1].cy);
    EXPECT_EQ(shrunk[0].cx, shrunk[1].cx);
    EXPECT_EQ(shrunk[0].cy, shrunk[1].cy);
    EXPECT_EQ(grown[1].cx, 30);
    EXPECT_EQ(shrunk[1].cy, -20);
  }
}

}  // namespace
