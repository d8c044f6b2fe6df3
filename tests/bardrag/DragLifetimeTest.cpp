// What goes while a drag runs: the dragged item, the form with everything on it, the bar under
// the mark. Each drag ends at once without a crash, and the GDI objects and windows come back
// to their count before it.
#include "DragTestUtil.h"

#include "platform/Forms.h"
#include "platform/GraphicsObjects.h"
#include "platform/Scope.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

using TCaptions = std::vector<String>;

class TDragLifetime : public TDragFixture {
protected:
  // Every bar window painted, so that what a paint makes on first use is counted on both sides.
  void Settle()
  {
    for (TdxBar* bar : {BarA, BarB})
      if (bar->GetControl() && bar->GetControl()->HandleAllocated())
        ::RedrawWindow(bar->GetControl()->GetHandle(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpPending();
  }
  void Count()
  {
    Settle();
    Gdi = GdiObjectsInUse();
    Windows = ThreadWindowTreeCount();
  }
  void ExpectCountsBack()
  {
    Settle();
    EXPECT_EQ(GdiObjectsInUse(), Gdi);
    EXPECT_EQ(ThreadWindowTreeCount(), Windows);
  }
  int Gdi = 0;
  int Windows = 0;
};

}  // namespace

TEST_F(TDragLifetime, AnItemFreedWhileItsLinkIsDraggedEndsTheDrag)
{
  Count();
  TdxBarButton* two = Buttons[1];
  bool draggingAfter = true;
  TDragProbe probe([&] {
    two->Free();
    draggingAfter = Manager->IsDragging();
  });
  ASSERT_TRUE(DragWithMouse(ScreenCentreOf(LinksA()->Items(1)), LeadingPart(LinksB()->Items(0)), [&] {
    probe.Run();
    // The drag is over: later moves and the release reach nobody's drop.
    Glide(LeadingPart(LinksB()->Items(0)), TrailingPart(LinksB()->Items(1)));
  }));
  EXPECT_TRUE(draggingAfter);  // it ends at the loop's next look, not inside the free
  EXPECT_FALSE(Manager->IsDragging());
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(Screen->GetCursor(), crDefault);
  EXPECT_EQ(Captions(LinksA()), (TCaptions{L"One", L"Three", L"Menu"}));
  EXPECT_EQ(Captions(LinksB()), (TCaptions{L"Four", L"Five"}));
  ExpectCountsBack();
}

TEST_F(TDragLifetime, TheFormClosedDuringADragTakesTheDragWithIt)
{
  Count();
  // A second form like the first, made and freed inside the count.
  TOwned<TDragTestForm> form(TCustomForm::CreateNew<TDragTestForm>(nullptr));
  auto* manager = new TdxBarManager(form.Get());
  auto* bar = manager->GetBars()->Add();
  bar->SetDockingStyle(dsTop);
  for (const wchar_t* caption : {L"Cut", L"Copy"}) {
    auto* button = new TdxBarButton(form.Get());
    button->SetCaption(caption);
    button->SetPaintStyle(psCaption);
    bar->GetItemLinks()->AddItem(button);
  }
  bar->SetVisible(true);
  form->SetBounds(150, 150, 400, 260);
  form->Show();
  ActivateWindow(form->GetHandle());
  manager->SetIsCustomizing(true);
  PumpPending();
  TdxBarItemLink* cut = bar->GetItemLinks()->Items(0);
  const POINT from = ScreenCentreOf(cut);
  const POINT to = TrailingPart(bar->GetItemLinks()->Items(1));
  TDragProbe probe([&] { form->Free(); });
  ASSERT_TRUE(DragWithMouse(from, to, [&] { EXPECT_TRUE(probe.Run()); }));
  EXPECT_EQ(form.Get(), nullptr);
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(Screen->GetCursor(), crDefault);
  EXPECT_EQ(dxBarFindDragInfo(manager), nullptr);
  ExpectCountsBack();
}

TEST_F(TDragLifetime, TheTargetBarHiddenUnderTheMarkLeavesNoMarkAndNoLeak)
{
  // The first showing of a bar makes an object that a later one does not: counted after one.
  BarB->SetVisible(false);
  BarB->SetVisible(true);
  Count();
  bool markBefore = false, markAfter = true;
  TDragProbe probe([&] {
    markBefore = DragInfo() && DragInfo()->IsMarkShown();
    BarB->SetVisible(false);
    markAfter = DragInfo() && DragInfo()->IsMarkShown() && DragInfo()->GetMarkWindow();
  });
  const POINT target = LeadingPart(LinksB()->Items(1));
  ASSERT_TRUE(DragWithMouse(ScreenCentreOf(LinksA()->Items(0)), target, [&] {
    EXPECT_TRUE(probe.Run());
    SendMouseMove(POINT{target.x + 1, target.y});
    PauseScript(60);
  }));
  EXPECT_TRUE(markBefore);
  EXPECT_FALSE(markAfter);
  EXPECT_EQ(::GetCapture(), nullptr);
  // Released where no bar is any more: the link is taken away, as outside any bar.
  EXPECT_EQ(Captions(LinksA()), (TCaptions{L"Two", L"Three", L"Menu"}));
  EXPECT_EQ(Captions(LinksB()), (TCaptions{L"Four", L"Five"}));
  EXPECT_EQ(Buttons[0]->GetLinkCount(), 0);
  BarB->SetVisible(true);
  PumpPending();
  ExpectCountsBack();
}

// A layout saved after the user moved a link loads into a form that has since lost another
// item: the lost item's link goes, everything else comes back as it was saved.
TEST_F(TDragLifetime, ACustomisedLayoutLoadsAfterAnItemLeftTheFormLosingNothingElse)
{
  for (size_t i = 0; i < Buttons.size(); ++i)
    Buttons[i]->SetName(L"btn" + IntToStr(int(i)));
  SubItem->SetName(L"subMenu");
  ASSERT_TRUE(DragWithMouse(ScreenCentreOf(LinksA()->Items(1)), LeadingPart(LinksB()->Items(1))));
  LinksB()->Items(2)->SetBeginGroup(true);
  ASSERT_EQ(Captions(LinksA()), (TCaptions{L"One", L"Three", L"Menu"}));
  ASSERT_EQ(Captions(LinksB()), (TCaptions{L"Four", L"Two", L"|Five"}));
  wchar_t dir[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, dir);
  const String file = String(dir) + L"dxbars-drag-layout.ini";
  TFinally removeFile([&] { ::DeleteFileW(file.c_str()); });
  Manager->SaveToIniFile(file);

  // The layout's own order is disturbed before it loads back, so the load has work to do.
  LinksB()->Items(1)->SetIndex(0);
  Buttons[2]->Free();  // "Three"
  Count();
  EXPECT_NO_THROW(Manager->LoadFromIniFile(file));
  PumpPending();
  EXPECT_EQ(Captions(LinksA()), (TCaptions{L"One", L"Menu"}));
  EXPECT_EQ(Captions(LinksB()), (TCaptions{L"Four", L"Two", L"|Five"}));
  EXPECT_TRUE(BarA->GetVisible());
  EXPECT_TRUE(BarB->GetVisible());
  // The load may drop what a bar window had cached; it makes nothing that stays.
  Settle();
  EXPECT_LE(GdiObjectsInUse(), Gdi);
  EXPECT_EQ(ThreadWindowTreeCount(), Windows);
}
