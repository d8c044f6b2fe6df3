// A stored layout puts the bar windows back where they were: the same sites, rectangles,
// rows, orientation and titles whether it loads with the form or at run time, from an ini
// file or the registry; and the screen shows what a fresh repaint would draw.
#include "LayoutTestUtil.h"
#include "support/Input.h"
#include "support/Pixels.h"
#include "support/Pump.h"

namespace {

class TLayoutPlaces : public testing::TestWithParam<TLayoutStoreKind> {
protected:
  TLayoutStoresGuard Stores;
};

TEST_P(TLayoutPlaces, EveryPathGivesBackTheSameWindows)
{
  const TLayoutStoreKind store = GetParam();
  std::vector<TBarPlace> saved;
  {
    TOwned<TLayoutForm> form(NewLayoutForm());
    BarOf(form.Get(), L"Edit")->SetDockedLeft(90);
    BarOf(form.Get(), L"Tools")->SetDockingStyle(dsNone);
    BarOf(form.Get(), L"Side")->SetDockingStyle(dsRight);
    PumpPending();
    saved = BarPlaces(form.Get());
    ASSERT_EQ(saved[1].Rect.left, 90) << saved[1];
    ASSERT_EQ(saved[1].Row, 1);
    SaveLayout(form.Get(), store);
  }
  {
    TOwned<TLayoutForm> form(NewLayoutForm(&store));
    EXPECT_EQ(BarPlaces(form.Get()), saved) << "loaded as the form was made";
  }
  {
    // The form before saved the layout again as it went.
    TOwned<TLayoutForm> form(NewLayoutForm(&store));
    EXPECT_EQ(BarPlaces(form.Get()), saved) << "saved as the form went";
  }
  TOwned<TLayoutForm> form(NewLayoutForm());
  LoadLayout(form.Get(), store);
  EXPECT_EQ(BarPlaces(form.Get()), saved) << "loaded at run time";
}

INSTANTIATE_TEST_SUITE_P(Stores, TLayoutPlaces, testing::Values(TLayoutStoreKind::IniFile, TLayoutStoreKind::Registry),
                         [](const auto& AInfo) {
                           return AInfo.param == TLayoutStoreKind::IniFile ? "Ini" : "Registry";
                         });

// Pixels of AWindow's screen area that a full repaint of the window and its children changes.
int StalePixels(HWND AWindow)
{
  RECT r;
  GetWindowRect(AWindow, &r);
  TDib32 shown = CaptureScreen(r);
  RedrawWindow(AWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpPending();
  return CountDifferentPixels(CaptureScreen(r), RECT{0, 0, r.right - r.left, r.bottom - r.top}, shown, 8);
}

// The user floats a docked bar with the pointer; the layout saved then is loaded into a
// form that has it docked: its old picture leaves the dock site, and the floating window
// shows its title.
TEST(LayoutScreen, ABarFloatedByDraggingComesBackFloatingWithNothingLeftBehind)
{
  TLayoutStoresGuard stores;
  const TLayoutStoreKind store = TLayoutStoreKind::IniFile;
  std::vector<TBarPlace> saved;
  {
    TOwned<TLayoutForm> form(NewLayoutForm());
    ActivateWindow(form->GetHandle());
    RECT client;
    GetWindowRect(form->GetHandle(), &client);
    ASSERT_TRUE(DragBarTo(BarOf(form.Get(), L"Tools"), POINT{client.left + 300, client.top + 220}));
    ASSERT_EQ(BarOf(form.Get(), L"Tools")->GetDockingStyle(), dsNone);
    PumpPending();
    saved = BarPlaces(form.Get());

    SaveLayout(form.Get(), store);
  }
  TOwned<TLayoutForm> form(NewLayoutForm());
  ActivateWindow(form->GetHandle());
  TdxBar* tools = BarOf(form.Get(), L"Tools");
  ASSERT_EQ(tools->GetDockingStyle(), dsTop);
  RECT docked;
  GetWindowRect(tools->GetControl()->GetHandle(), &docked);
  HWND top = ManagerOf(form.Get())->GetBars()->GetDockControl(dsTop)->GetHandle();
  LoadLayout(form.Get(), store);
  EXPECT_EQ(BarPlaces(form.Get()), saved);
  POINT oldPlace{(docked.left + docked.right) / 2, (docked.top + docked.bottom) / 2};
  EXPECT_NE(WindowFromPoint(oldPlace), tools->GetControl()->GetHandle());
  EXPECT_EQ(StalePixels(top), 0) << "the top site still shows what left it";
  EXPECT_EQ(StalePixels(tools->GetControl()->GetHandle()), 0) << "the floating bar is not drawn as it is";
}

}  // namespace
