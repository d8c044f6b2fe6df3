// The questions asked while customizing, on the real message box: one at a time, over the
// window they ask about and whole on its screen, and answered as Cancel when the dialog
// closes or customizing ends under them.
#include "CustFormTestUtil.h"

#include "support/Input.h"
#include "support/MessageBoxAnswerer.h"
#include "support/Pump.h"

namespace {

class TQuestions : public TCustFormFixture {
protected:
  // The dialog open with the user's toolbar "Custom 1" selected in its list, so that its
  // Delete asks about it.
  TdxBar* OpenWithUserBar()
  {
    if (!Open())
      return nullptr;
    TdxBar* bar = Manager->NewToolBar(false, false);
    PumpPending();
    const int entry = Dialog->lbBarsList->GetItems()->IndexOfObject(bar);
    EXPECT_TRUE(ClickAt(EntryPoint(Dialog->lbBarsList, entry, 40)));
    PumpPending();
    EXPECT_TRUE(Dialog->aDeleteToolBar->Enabled());
    return bar;
  }
  // Tool0's link on "Tools" selected by a real click (its item has a second link on
  // "Format"), then the host form made active, so that Delete asks over the form and leaves
  // the dialog enabled.
  void SelectSharedLinkOverTheForm()
  {
    ASSERT_TRUE(ClickAt(ScreenCentreOf(Tools()->Items(0))));
    PumpPending();
    ASSERT_TRUE(ActivateWindow(Host->GetHandle()));
  }
  // Tool0's link on "Tools" selected by a real click, then the dialog, moved clear of the
  // form, made active with the focus on a control that leaves Delete to the selection: the
  // question is then asked over the dialog and the form stays enabled.
  void SelectSharedLinkOverTheDialog()
  {
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    Dialog->SetBounds(work.right - Dialog->GetWidth() - 8, work.bottom - Dialog->GetHeight() - 8, Dialog->GetWidth(),
                      Dialog->GetHeight());
    PumpPending();
    ASSERT_TRUE(ClickAt(ScreenCentreOf(Tools()->Items(0))));
    PumpPending();
    ASSERT_TRUE(ActivateWindow(Dialog->GetHandle()));
    ::SetFocus(Dialog->BClose->GetHandle());
    PumpPending();
  }
  // The middle of the host form's close button, at the right end of its caption.
  POINT HostCloseButton() const
  {
    TITLEBARINFO title{};
    title.cbSize = sizeof title;
    ::GetTitleBarInfo(Host->GetHandle(), &title);
    const RECT& bar = title.rcTitleBar;
    const POINT close{bar.right - (bar.bottom - bar.top) / 2, (bar.top + bar.bottom) / 2};
    EXPECT_EQ(::SendMessageW(Host->GetHandle(), WM_NCHITTEST, 0, MAKELPARAM(close.x, close.y)), HTCLOSE);
    return close;
  }
  TdxBarItemLinks* Tools() const { return Bar(L"Tools")->GetItemLinks(); }
  // A real Delete, with what it starts run to its end.
  static void Delete() { EXPECT_TRUE(StrokeKey(VK_DELETE, {}, 3000)); }
};

TEST_F(TQuestions, ASecondQuestionFromTheDialogWaitsForTheOneUp)
{
  TdxBar* custom = OpenWithUserBar();
  ASSERT_NE(custom, nullptr);
  // In a corner of the screen, clear of the host form and of a box in the middle.
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  Dialog->SetBounds(work.right - Dialog->GetWidth() - 8, work.bottom - Dialog->GetHeight() - 8, Dialog->GetWidth(),
                    Dialog->GetHeight());
  PumpPending();
  SelectSharedLinkOverTheForm();
  TBeepScope beeps;
  // While the form's question is up the user presses the dialog's Delete.
  TMessageBoxAnswerer answer(IDYES, [&](HWND) { ClickControl(Dialog->BBarDelete); });
  Delete();
  EXPECT_EQ(answer.MostAtOnce(), 1) << "two questions were up at once";
  ASSERT_EQ(answer.Boxes().size(), 1u);
  EXPECT_TRUE(answer.Boxes()[0].HasYes) << "the links question";
  EXPECT_EQ(beeps.Count(), 1) << "the refused question says so";
  EXPECT_EQ(Bar(L"Custom 1"), custom);
  EXPECT_EQ(Tools()->Count(), 2) << "the question up was answered as usual";
}

TEST_F(TQuestions, AQuestionShowsOverItsWindowAndWholeOnTheScreen)
{
  ASSERT_NE(OpenWithUserBar(), nullptr);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(Dialog->GetHandle(), MONITOR_DEFAULTTONEAREST), &monitor));
  const RECT work = monitor.rcWork;
  // The dialog half past the right edge of the screen.
  Dialog->SetBounds(work.right - Dialog->GetWidth() / 2, work.top + 20, Dialog->GetWidth(), Dialog->GetHeight());
  PumpPending();
  RECT dialog{};
  ::GetWindowRect(Dialog->GetHandle(), &dialog);
  ASSERT_GT(dialog.right, work.right);
  ::SetFocus(Dialog->lbBarsList->GetHandle());
  TMessageBoxAnswerer answer(IDCANCEL);
  Delete();
  ASSERT_EQ(answer.Boxes().size(), 1u);
  const RECT box = answer.Boxes()[0].Rect;
  EXPECT_GE(box.left, work.left);
  EXPECT_GE(box.top, work.top);
  EXPECT_LE(box.right, work.right) << "the box's buttons would be off the screen";
  EXPECT_LE(box.bottom, work.bottom);
  RECT seen{};
  ::IntersectRect(&seen, &dialog, &work);
  const POINT centre{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
  EXPECT_TRUE(::PtInRect(&seen, centre)) << "the box is not over the part of the dialog on the screen";
  EXPECT_NE(Bar(L"Custom 1"), nullptr);
}

TEST_F(TQuestions, ClosingTheDialogAnswersTheQuestionUpAsCancel)
{
  ASSERT_NE(Open(), nullptr);
  SelectSharedLinkOverTheForm();
  HWND asked = nullptr;
  TMessageBoxAnswerer answer(IDYES, [&](HWND ABox) {
    asked = ABox;
    ClickControl(Dialog->BClose);
    EXPECT_TRUE(PumpUntil([] { return GetCustomizingForm() == nullptr; }, 3000));
  });
  Delete();
  Dialog = nullptr;
  ASSERT_EQ(answer.Boxes().size(), 1u);
  EXPECT_FALSE(Manager->IsCustomizing());
  EXPECT_FALSE(::IsWindow(asked)) << "the question outlived the dialog";
  EXPECT_EQ(Tools()->Count(), 3) << "a question of a closed dialog deleted the link";
  EXPECT_EQ(Item(L"Tool0")->GetLinkCount(), 2);
}

TEST_F(TQuestions, ClosingTheFormAnswersItsQuestionUpAsCancel)
{
  ASSERT_NE(Open(), nullptr);
  SelectSharedLinkOverTheDialog();
  HWND asked = nullptr;
  TMessageBoxAnswerer answer(IDYES, [&](HWND ABox) {
    asked = ABox;
    // The user closes the form by its close button, the box still up over the dialog.
    EXPECT_TRUE(::IsWindowEnabled(Host->GetHandle()));
    // Press and release go together: the press starts the window system's own loop that
    // tracks the button until it is released.
    ASSERT_TRUE(MoveMouseTo(HostCloseButton()));
    SendMouseButton(true);
    SendMouseButton(false);
    EXPECT_TRUE(PumpUntil([&] { return !Host->GetVisible(); }, 3000));
    EXPECT_FALSE(::IsWindowVisible(ABox)) << "the question outlived the form";
  });
  Delete();
  ASSERT_EQ(answer.Boxes().size(), 1u);
  EXPECT_TRUE(answer.Boxes()[0].HasYes) << "the links question";
  EXPECT_FALSE(::IsWindow(asked));
  EXPECT_EQ(Tools()->Count(), 3) << "a question of a closed form deleted the link";
  EXPECT_EQ(Item(L"Tool0")->GetLinkCount(), 2);
}

TEST_F(TQuestions, EndingCustomizingAnswersTheDialogsQuestionAsCancel)
{
  TdxBar* custom = OpenWithUserBar();
  ASSERT_NE(custom, nullptr);
  ::SetFocus(Dialog->lbBarsList->GetHandle());
  HWND asked = nullptr;
  TMessageBoxAnswerer answer(IDOK, [&](HWND ABox) {
    asked = ABox;
    Manager->SetIsCustomizing(false);
  });
  Delete();
  Dialog = nullptr;
  ASSERT_EQ(answer.Boxes().size(), 1u);
  EXPECT_EQ(GetCustomizingForm(), nullptr);
  EXPECT_FALSE(::IsWindow(asked)) << "the question outlived the dialog";
  EXPECT_EQ(Bar(L"Custom 1"), custom) << "a question of a closed dialog deleted the toolbar";
}

// What a question asked about may change while it is up; the answer acts on what it asked
// about, found again, or on nothing.
class TQuestionsChangedUnder : public TQuestions {
protected:
  // Every box answers AAnswer; the first runs AWhileUp first.
  void AnswerAfter(int AAnswer, std::function<void()> AWhileUp)
  {
    FPrevious = SetMessageBoxProc([this, AAnswer, AWhileUp](HWND, const String&, const String&, uint32_t) {
      if (++Asked == 1)
        AWhileUp();
      return AAnswer;
    });
  }
  void TearDown() override
  {
    SetMessageBoxProc(std::move(FPrevious));
    Manager->SetIsCustomizing(false);
    Manager->SetDesigning(false, false);
    TQuestions::TearDown();
  }
  int Asked = 0;

private:
  TMessageBoxProc FPrevious;
};

TEST_F(TQuestionsChangedUnder, ACategoryQuestionDeletesTheCategoryItNamed)
{
  Manager->SetDesigning(true, false);
  ASSERT_NE(Open(), nullptr);
  Dialog->lbCategories->SetItemIndex(1);
  AnswerAfter(IDOK, [&] { Manager->GetCategories()->Delete(0); });
  // "Delete" of the categories' menu, about 'Tools'; 'File' goes while it asks.
  Dialog->CategoriesPopupMenu->GetItemLinks()->Items(4)->GetItem()->Click();
  PumpPending();
  EXPECT_EQ(Asked, 1) << "an error was shown";
  EXPECT_EQ(Manager->GetCategories()->IndexOf(L"Tools"), -1) << "'Tools' was not deleted";
  EXPECT_EQ(Item(L"Tool2"), nullptr);
}

TEST_F(TQuestionsChangedUnder, AToolbarFreedUnderItsResetQuestionIsLeftAlone)
{
  ASSERT_NE(Open(), nullptr);
  TWeakRef<TdxBar> tools(Bar(L"Tools"));
  ASSERT_TRUE(tools->CanReset());
  AnswerAfter(IDOK, [&] { tools->Free(); });
  ASSERT_TRUE(ClickAt(EntryPoint(Dialog->lbBarsList, Dialog->lbBarsList->GetItems()->IndexOfObject(tools.Get()), 40)));
  PumpPending();
  ClickControl(Dialog->BBarReset);
  EXPECT_EQ(Asked, 1);
  EXPECT_FALSE(tools);
  EXPECT_EQ(Dialog->lbBarsList->GetItems()->IndexOf(L"Tools"), -1);
}

}  // namespace
