// The navigation controller on its own: the direction search, key-tip matching against a
// container of key tips, the raising starts, forgetting a helper that goes, and Alt held
// with real keys until the key tips show.
#include <gtest/gtest.h>

#include "bars/dxBar.h"
#include "platform/Scope.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

TEST(Navigation, FindNearestInDirection)
{
  const TRect current{100, 100, 120, 120};
  struct TCase {
    const char* Name;
    std::vector<TRect> Candidates;
    TcxAccessibilityNavigationDirection Direction;
    bool Wrap;
    int Expected;
  };
  const TCase cases[] = {
      {"a negative gap is ignored", {{110, 100, 130, 120}, {140, 100, 160, 120}}, andRight, false, 1},
      {"the smaller gap wins", {{160, 100, 180, 120}, {130, 100, 150, 120}}, andRight, false, 1},
      {"on equal gaps the one more in line wins", {{130, 140, 150, 160}, {130, 101, 150, 121}}, andRight, false, 1},
      {"on equal deviation the earlier stays", {{130, 90, 150, 110}, {130, 110, 150, 130}}, andRight, false, 0},
      {"left", {{60, 100, 80, 120}, {130, 100, 150, 120}}, andLeft, false, 0},
      {"down", {{100, 60, 120, 80}, {100, 130, 120, 150}}, andDown, false, 1},
      {"right of the rightmost wraps to the leftmost", {{20, 100, 40, 120}, {60, 100, 80, 120}}, andRight, true, 0},
      {"left of the leftmost wraps to the rightmost", {{140, 100, 160, 120}, {180, 100, 200, 120}}, andLeft, true, 1},
      {"up with nothing above stays nil with wrap", {{100, 140, 120, 160}}, andUp, true, -1},
      {"previous in tree order has no geometry", {{130, 100, 150, 120}}, andPrev, true, -1},
      {"next in tree order has no geometry", {{130, 100, 150, 120}}, andNext, false, -1},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(FindNearestInDirection(current, c.Candidates, c.Direction, c.Wrap), c.Expected) << c.Name;
}

// Key-tip windows counted, not made.
class TCountingWindows : public IdxBarKeyTipWindowsManager {
public:
  HWND Add(const String& AText, const TPoint&, TdxBarKeyTipAlign, TdxBarKeyTipAlign, bool) override
  {
    Shown.push_back(AText);
    return HWND(uintptr_t(Shown.size()));
  }
  void Delete(HWND) override { ++Hidden; }
  std::vector<String> Shown;
  int Hidden = 0;
};

// A container of key tips standing for an object of its own.
class TTipContainer : public IdxBarAccessibilityHelper {
public:
  explicit TTipContainer(std::vector<String> ATexts) : FTexts(std::move(ATexts)) {}
  TObject* GetHelperObject() const override { return &Object; }
  TdxBarManager* GetBarManager() const override { return nullptr; }
  TCustomdxBarControl* GetBarControl() const override { return nullptr; }
  TRect GetScreenBounds() const override { return TRect{}; }
  TdxBarHelperRef GetFirstSelectableObject() override { return nullptr; }
  TdxBarHelperRef GetNextSelectableObject(bool) override { return nullptr; }
  TdxBarHelperRef FindNavigationTarget(TcxAccessibilityNavigationDirection) override { return nullptr; }
  bool WantsKey(uint16_t) override { return false; }
  bool HandleNavigationKey(uint16_t) override { return false; }
  bool CanNavigate() override { return true; }
  void SelectForNavigation(bool) override {}
  void ClearNavigationSelection(const TdxBarHelperRef&) override {}
  std::vector<TdxBarKeyTipInfo> GetKeyTips() override
  {
    std::vector<TdxBarKeyTipInfo> result;
    for (const String& text : FTexts) {
      TdxBarKeyTipInfo info;
      info.Text = text;
      info.OnExecute = [this, text] { Executed.push_back(text); };
      result.push_back(info);
    }
    return result;
  }
  TdxBarHelperRef GetKeyTipParent() override { return nullptr; }
  IdxBarKeyTipWindowsManager* GetKeyTipWindowsManager() override { return &Windows; }

  mutable TObject Object;
  TCountingWindows Windows;
  std::vector<String> Executed;

private:
  std::vector<String> FTexts;
};

int Beeps = 0;
void CountBeep()
{
  ++Beeps;
}

class TNavigationTest : public testing::Test {
protected:
  TNavigationTest() : Controller(BarNavigationController()) { OldBeep = SetdxBarBeepProc(&CountBeep); }
  ~TNavigationTest() override
  {
    Controller->StopNavigation();
    SetdxBarBeepProc(OldBeep);
  }
  int ShownCount() const
  {
    int n = 0;
    for (const auto& tip : Controller->GetKeyTips())
      n += tip->Window != nullptr;
    return n;
  }
  TdxBarNavigationController* Controller;
  TdxBarBeepProc OldBeep = nullptr;
};

TEST_F(TNavigationTest, TypedKeysFilterRunAndBeep)
{
  auto container = std::make_shared<TTipContainer>(std::vector<String>{L"O1", L"O2", L"X", L"P"});
  Controller->UpdateKeyTips(container, String());
  ASSERT_EQ(ShownCount(), 4);
  Beeps = 0;

  Controller->KeyDown('O');
  EXPECT_EQ(ShownCount(), 2) << "O leaves O1 and O2";
  EXPECT_EQ(Controller->GetTypedPrefix(), L"O");
  Controller->KeyDown('Z');
  EXPECT_EQ(Beeps, 1) << "Z matches nothing";
  EXPECT_EQ(ShownCount(), 2) << "and changes nothing";
  Controller->KeyDown('1');
  EXPECT_EQ(container->Executed, std::vector<String>{L"O1"});
  EXPECT_FALSE(Controller->AreKeyTipsShown());
  EXPECT_EQ(container->Windows.Hidden, 4) << "every window went";
}

TEST_F(TNavigationTest, AKeyWithoutCharacterHidesTheKeyTipsAndEscGoesUp)
{
  auto container = std::make_shared<TTipContainer>(std::vector<String>{L"A", L"B"});
  Controller->UpdateKeyTips(container, String());
  Controller->KeyDown(VK_HOME);
  EXPECT_FALSE(Controller->AreKeyTipsShown());
  EXPECT_TRUE(container->Executed.empty());

  Controller->UpdateKeyTips(container, String());
  Controller->KeyDown(VK_ESCAPE);
  EXPECT_FALSE(Controller->AreKeyTipsShown()) << "no parent: Esc hides them";
}

TEST_F(TNavigationTest, StartRaisesForNilAndForASecondRoot)
{
  auto first = std::make_shared<TTipContainer>(std::vector<String>{});
  auto second = std::make_shared<TTipContainer>(std::vector<String>{});
  auto messageOf = [this](const TdxBarHelperRef& ARoot) {
    try {
      Controller->StartNavigation(ARoot);
    } catch (const EInvalidOperation& e) {
      return e.Message();
    }
    return String();
  };
  EXPECT_EQ(messageOf(nullptr), L"Keyboard navigation cannot start without a root element");
  EXPECT_FALSE(Controller->IsRootPending());
  Controller->StartNavigation(first);
  EXPECT_TRUE(Controller->IsRootPending());
  EXPECT_NO_THROW(Controller->StartNavigation(first));
  EXPECT_EQ(messageOf(second), L"Keyboard navigation cannot start on a second root while another one waits");
  EXPECT_TRUE(Controller->IsRootPending()) << "the waiting root stays";
  Controller->CancelPending(false);
  EXPECT_FALSE(Controller->IsRootPending());
}

TEST_F(TNavigationTest, ARemovedHelperIsForgotten)
{
  auto container = std::make_shared<TTipContainer>(std::vector<String>{L"A"});
  Controller->SetSelection(container, container);
  Controller->UpdateKeyTips(container, String());
  Controller->ObjectRemoving(&container->Object);
  EXPECT_EQ(Controller->GetSelectedObject(), nullptr);
  EXPECT_EQ(Controller->GetNavigationRoot(), nullptr);
  EXPECT_FALSE(Controller->AreKeyTipsShown());
}

TEST_F(TNavigationTest, AltHeldAloneShowsTheKeyTipsOfTheRoot)
{
  auto container = std::make_shared<TTipContainer>(std::vector<String>{L"A", L"B"});
  auto old = SetdxBarWindowHelperProc([container](HWND) { return container; });
  TForm* form = TCustomForm::CreateNew<TForm>(nullptr);
  TFinally restore([&] {
    SetdxBarWindowHelperProc(old);
    form->Free();
  });
  auto* manager = new TdxBarManager(form);
  (void)manager;
  form->Show();
  ASSERT_TRUE(ActivateWindow(form->GetHandle()));
  SendKeyTransition(VK_MENU, true);
  EXPECT_TRUE(PumpUntil([&] { return Controller->AreKeyTipsShown(); }, 3000));
  SendKeyTransition(VK_MENU, false);
  PumpUntil([] { return GetAsyncKeyState(VK_MENU) >= 0; }, 2000);
  PumpPending();
  EXPECT_TRUE(Controller->AreKeyTipsShown()) << "releasing Alt after the tips showed keeps them";
  EXPECT_EQ(ShownCount(), 2);
  EXPECT_FALSE(Controller->IsNavigationActive());
}

}  // namespace
