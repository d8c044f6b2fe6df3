// The date window a date combo opens when clicked as a button (on a vertical toolbar), driven
// with real pointer and keys: the edit and the calendar following each other, Enter and Esc,
// "Today" and "Clear", text that is no date, and the window's place and font.
#include <vector>

#include "DateTestUtil.h"
#include "barextras/datecombo_dialog.h"
#include "bars/barwindows/barcontrol.h"
#include "bars/model/itemlinks.h"
#include "bars/keyboard/navigation.h"
#include "platform/Scope.h"
#include "support/Pixels.h"

namespace {

using TStep = std::function<void(TdxBarDateComboDialog*)>;

// Runs steps on this thread inside the date window's modal loop, one per timer message, so
// that the loop looks at the modal result between two steps. Once the steps are done the
// window must have closed; one still open is cancelled, so a failing test never hangs.
class TModalScript {
public:
  TModalScript(TdxBarDateCombo* ACombo, std::vector<TStep> ASteps) : FCombo(ACombo), FSteps(std::move(ASteps))
  {
    Current = this;
    FTimer = ::SetTimer(nullptr, 0, 60, &TModalScript::Tick);
  }
  ~TModalScript()
  {
    ::KillTimer(nullptr, FTimer);
    Current = nullptr;
  }
  TModalScript(const TModalScript&) = delete;
  TModalScript& operator=(const TModalScript&) = delete;

  // Every step ran and the window closed (by itself or by the watchdog).
  bool Done() const { return FNext == FSteps.size() && !Open(); }
  bool Opened() const { return FOpened; }
  bool LeftOpen() const { return FLeftOpen; }

private:
  TdxBarDateComboDialog* Open() const
  {
    TdxBarDateCombo* combo = FCombo.Get();
    TdxBarDateComboDialog* dialog = combo ? combo->GetDialog() : nullptr;
    return dialog && dialog->HandleAllocated() && ::IsWindowVisible(dialog->GetHandle()) ? dialog : nullptr;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
  {
    TModalScript* self = Current;
    if (!self || self->FRunning)
      return;
    TdxBarDateComboDialog* dialog = self->Open();
    if (!dialog)
      return;
    self->FOpened = true;
    if (self->FNext == self->FSteps.size()) {
      self->FLeftOpen = true;
      dialog->SetModalResult(mrAbort);
      return;
    }
    TRestore running(self->FRunning, true);
    self->FSteps[self->FNext++](dialog);
  }

  static inline TModalScript* Current = nullptr;
  TWeakRef<TdxBarDateCombo> FCombo;
  std::vector<TStep> FSteps;
  size_t FNext = 0;
  UINT_PTR FTimer = 0;
  bool FRunning = false;
  bool FOpened = false;
  bool FLeftOpen = false;
};

// Records what reaches the application's exception handler, for a scope.
class TExceptionLog {
public:
  TExceptionLog() : FPrevious(Application->OnException)
  {
    Application->OnException = TExceptionEvent([this](TObject*, Exception* E) { Messages.push_back(E->Message()); });
  }
  ~TExceptionLog() { Application->OnException = FPrevious; }
  TExceptionLog(const TExceptionLog&) = delete;
  TExceptionLog& operator=(const TExceptionLog&) = delete;
  std::vector<String> Messages;

private:
  TExceptionEvent FPrevious;
};

class TDateDialog : public TDateComboFixture {
protected:
  void SetUp() override
  {
    TDateComboFixture::SetUp();
    // On a vertical toolbar the combo shows as a button that opens the window.
    Bar->SetDockingStyle(dsLeft);
    PumpPending();
    ASSERT_NE(ButtonControl(), nullptr);
    Combo->SetDate(cxEncodeDate(2008, 12, 24));
  }
  // The control of the combo shown as a button.
  TdxBarItemControl* ButtonControl() const { return Bar->GetItemLinks()->Items(0)->GetControl(); }
  POINT ComboPoint() const { return ScreenCentreOf(ButtonControl()); }
  // Clicks the combo and runs the steps while the window is open; true once all ran and
  // the window closed by itself.
  bool ClickAndRun(std::vector<TStep> ASteps)
  {
    TModalScript script(Combo, std::move(ASteps));
    if (!ClickAt(ComboPoint()))
      return false;
    PumpUntil([&] { return script.Done(); }, 10000);
    EXPECT_FALSE(script.LeftOpen()) << "the window had to be cancelled";
    return script.Opened() && script.Done() && !script.LeftOpen();
  }
  static POINT DayPoint(TdxBarDateComboDialog* D, TDateTime ADate)
  {
    return ScreenCentreOf(D->GetNavigator(), D->GetNavigator()->GetDayRect(ADate));
  }
  static bool ReplaceText(const std::wstring& AText)
  {
    return PressKey(VK_HOME) && PressKey(VK_END, {VK_SHIFT}) && TypeText(AText);
  }
  static bool Press(WORD AKey) { return PressKey(AKey); }
};

}  // namespace

TEST_F(TDateDialog, AClickOpensTheCentredWindowInTheManagersFontOnTheItemsDate)
{
  Manager->SetScaled(false);
  Manager->GetFont()->SetSize(12);
  ASSERT_EQ(Manager->GetFont()->GetSize(), 12);
  const String before = Combo->GetText();
  ASSERT_TRUE(ClickAndRun({
      [&](TdxBarDateComboDialog* D) {
        wchar_t caption[64] = {};
        ::GetWindowTextW(D->GetHandle(), caption, 64);
        EXPECT_STREQ(caption, L"Select the date");
        // Centred on the screen.
        RECT r{};
        ::GetWindowRect(D->GetHandle(), &r);
        EXPECT_NEAR((r.left + r.right) / 2, ::GetSystemMetrics(SM_CXSCREEN) / 2, 1);
        EXPECT_NEAR((r.top + r.bottom) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 1);
        // The edit draws with the manager's font: 12 points at 96 dots per inch.
        LOGFONTW font{};
        ASSERT_TRUE(
            ::GetObjectW(HFONT(::SendMessageW(D->GetEdit()->GetHandle(), WM_GETFONT, 0, 0)), sizeof font, &font));
        EXPECT_EQ(std::abs(font.lfHeight), 16);
        EXPECT_EQ(D->GetNavigator()->GetFont()->GetSize(), 12);
        // Every control lies inside the client area and none overlaps another.
        const TRect client = D->GetClientRect();
        std::vector<TControl*> controls{D->GetEdit(),         D->GetNavigator(),   D->GetOKButton(),
                                        D->GetCancelButton(), D->GetTodayButton(), D->GetClearButton()};
        for (size_t i = 0; i < controls.size(); ++i) {
          const TRect a = controls[i]->GetBoundsRect();
          EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= client.right && a.bottom <= client.bottom) << i;
          for (size_t j = i + 1; j < controls.size(); ++j) {
            RECT overlap{};
            const TRect b = controls[j]->GetBoundsRect();
            EXPECT_FALSE(::IntersectRect(&overlap, &a, &b)) << i << " and " << j;
          }
        }
        EXPECT_EQ(D->GetOKButton()->GetCaption(), L"OK");
        EXPECT_EQ(D->GetCancelButton()->GetCaption(), L"Cancel");
        EXPECT_EQ(D->GetTodayButton()->GetCaption(), L"Today");
        EXPECT_EQ(D->GetClearButton()->GetCaption(), L"Clear");
        EXPECT_TRUE(D->GetOKButton()->GetDefault());
        EXPECT_TRUE(D->GetCancelButton()->GetCancel());
        // The item's date, in the edit (which has the focus) and picked in the calendar.
        EXPECT_EQ(D->GetEdit()->GetText(), before);
        EXPECT_EQ(::GetFocus(), D->GetEdit()->GetHandle());
        EXPECT_EQ(D->GetNavigator()->GetSelStart(), cxEncodeDate(2008, 12, 24));
        EXPECT_EQ(D->GetNavigator()->GetShownMonth(), 12);
        EXPECT_TRUE(::IsWindowVisible(D->GetNavigator()->GetHandle()));
      },
      [](TdxBarDateComboDialog* D) {
        ::RedrawWindow(D->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        SaveShotOnRequest(CaptureWindow(D->GetHandle()), "date-dialog");
      },
      [](TdxBarDateComboDialog*) { Press(VK_ESCAPE); },
  }));
  EXPECT_EQ(Combo->GetText(), before);
  EXPECT_EQ(Combo->GetDialog(), nullptr);
}

TEST_F(TDateDialog, ATypedDateMovesTheCalendarAndEnterTakesIt)
{
  ASSERT_TRUE(ClickAndRun({
      [](TdxBarDateComboDialog* D) {
        ASSERT_TRUE(ReplaceText(L"3/15/2010"));
        EXPECT_EQ(D->GetNavigator()->GetSelStart(), cxEncodeDate(2010, 3, 15));
        EXPECT_EQ(D->GetNavigator()->GetShownYear(), 2010);
        EXPECT_EQ(D->GetNavigator()->GetShownMonth(), 3);
        EXPECT_EQ(D->GetEdit()->GetText(), L"3/15/2010") << "what is typed is not rewritten while typing";
        // A day name typed with it reads as well.
        ASSERT_TRUE(ReplaceText(L"Tue 4/6/2010"));
        EXPECT_EQ(D->GetNavigator()->GetSelStart(), cxEncodeDate(2010, 4, 6));
      },
      [](TdxBarDateComboDialog*) { Press(VK_RETURN); },
  }));
  EXPECT_EQ(Combo->GetDate(), cxEncodeDate(2010, 4, 6));
  EXPECT_EQ(Combo->GetText(), L"Tue 4/6/2010");
  EXPECT_EQ(Combo->GetDateOnStart(), bdsCustom);
}

TEST_F(TDateDialog, APickedDayRewritesTheEditAndEscKeepsTheOldDate)
{
  ASSERT_TRUE(ClickAndRun({
      [](TdxBarDateComboDialog* D) {
        ASSERT_TRUE(ClickAt(DayPoint(D, cxEncodeDate(2008, 12, 9))));
        EXPECT_EQ(D->GetNavigator()->GetSelStart(), cxEncodeDate(2008, 12, 9));
        EXPECT_EQ(D->GetEdit()->GetText(), L"Tue 12/9/2008");
        // The calendar took the focus: its keys move the day, and the edit follows.
        EXPECT_EQ(::GetFocus(), D->GetNavigator()->GetHandle());
        ASSERT_TRUE(Press(VK_DOWN));
        EXPECT_EQ(D->GetEdit()->GetText(), L"Tue 12/16/2008");
      },
      [](TdxBarDateComboDialog*) { Press(VK_ESCAPE); },
  }));
  EXPECT_EQ(Combo->GetDate(), cxEncodeDate(2008, 12, 24));
  // Enter from the calendar ends the window with OK.
  ASSERT_TRUE(ClickAndRun({
      [](TdxBarDateComboDialog* D) { ASSERT_TRUE(ClickAt(DayPoint(D, cxEncodeDate(2008, 12, 2)))); },
      [](TdxBarDateComboDialog*) { Press(VK_RETURN); },
  }));
  EXPECT_EQ(Combo->GetDate(), cxEncodeDate(2008, 12, 2));
}

TEST_F(TDateDialog, TodayAndClearPickAndOKTakesNoDate)
{
  ASSERT_TRUE(ClickAndRun({
      [this](TdxBarDateComboDialog* D) {
        ASSERT_TRUE(ClickAt(ScreenCentreOf(D->GetTodayButton())));
        PumpUntil([&] { return D->GetNavigator()->GetSelStart() == cxToday(); }, 2000);
        EXPECT_EQ(D->GetNavigator()->GetSelStart(), cxToday());
        EXPECT_EQ(D->GetEdit()->GetText(), Combo->DateToText(cxToday()));
        ASSERT_TRUE(ClickAt(ScreenCentreOf(D->GetClearButton())));
        PumpUntil([&] { return D->GetEdit()->GetText().empty(); }, 2000);
        EXPECT_EQ(D->GetEdit()->GetText(), L"");
        EXPECT_EQ(D->GetNavigator()->GetSelStart(), cxNullDate);
        EXPECT_TRUE(D->GetModalResult() == mrNone) << "neither closes the window";
      },
      [](TdxBarDateComboDialog* D) { ClickAt(ScreenCentreOf(D->GetOKButton())); },
  }));
  EXPECT_EQ(Combo->GetText(), L"");
  EXPECT_EQ(Combo->GetDate(), cxNullDate);
  // Without them the window has neither.
  Combo->SetShowTodayButton(false);
  Combo->SetShowClearButton(false);
  ASSERT_TRUE(ClickAndRun({
      [](TdxBarDateComboDialog* D) {
        EXPECT_EQ(D->GetTodayButton(), nullptr);
        EXPECT_EQ(D->GetClearButton(), nullptr);
        EXPECT_EQ(D->GetNavigator()->GetSelStart(), cxNullDate) << "an empty item picks no day";
        int year, month, day;
        ASSERT_TRUE(cxDecodeDate(cxToday(), year, month, day));
        EXPECT_EQ(D->GetNavigator()->GetShownMonth(), month);
        Press(VK_ESCAPE);
      },
  }));
}

TEST_F(TDateDialog, TextThatIsNoDateIsIgnoredAndOKKeepsTheWindowOpen)
{
  TExceptionLog exceptions;
  static int beeps;
  beeps = 0;
  const TdxBarBeepProc oldBeep = SetdxBarBeepProc([] { ++beeps; });
  TFinally restoreBeep([oldBeep]() noexcept { SetdxBarBeepProc(oldBeep); });
  ASSERT_TRUE(ClickAndRun({
      [](TdxBarDateComboDialog* D) {
        ASSERT_TRUE(ReplaceText(L"no date yet"));
        EXPECT_EQ(D->GetNavigator()->GetSelStart(), cxEncodeDate(2008, 12, 24)) << "no date moves nothing";
        EXPECT_EQ(D->GetEdit()->GetText(), L"no date yet");
        Press(VK_RETURN);
      },
      [](TdxBarDateComboDialog* D) {
        EXPECT_EQ(beeps, 1);
        EXPECT_EQ(D->GetEdit()->GetText(), L"no date yet") << "the text stays to be put right";
        EXPECT_EQ(::GetFocus(), D->GetEdit()->GetHandle());
        ClickAt(ScreenCentreOf(D->GetOKButton()));
      },
      [](TdxBarDateComboDialog* D) {
        EXPECT_EQ(beeps, 2);
        Press(VK_ESCAPE);
      },
  }));
  EXPECT_EQ(Combo->GetDate(), cxEncodeDate(2008, 12, 24));
  EXPECT_TRUE(exceptions.Messages.empty());
}

TEST_F(TDateDialog, AnOnClickHandlerOrReadOnlyOpensNoWindow)
{
  int clicks = 0;
  Combo->SetOnClick(TNotifyEvent([&](TObject*) { ++clicks; }));
  {
    TModalScript script(Combo, {});
    ASSERT_TRUE(ClickAt(ComboPoint()));
    PumpUntil([&] { return clicks > 0; }, 2000);
    PumpFor(200);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(script.Opened());
  }
  Combo->SetOnClick(TNotifyEvent());
  Combo->SetReadOnly(true);
  {
    TModalScript script(Combo, {});
    ASSERT_TRUE(ClickAt(ComboPoint()));
    PumpFor(300);
    EXPECT_FALSE(script.Opened());
  }
  EXPECT_EQ(Combo->GetDate(), cxEncodeDate(2008, 12, 24));
}

TEST_F(TDateDialog, FreeingTheItemWhileItsWindowIsOpenClosesTheWindow)
{
  TWeakRef<TdxBarDateCombo> combo(Combo);
  ASSERT_TRUE(ClickAndRun({
      [this](TdxBarDateComboDialog*) {
        ASSERT_TRUE(ReplaceText(L"3/15/2010"));
        Combo->Free();
        Combo = nullptr;
      },
  }));
  EXPECT_FALSE(combo.Alive());
}
