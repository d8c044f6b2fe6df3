// The program-wide set-up of the bar window tests (the class layer, the bar library and the
// block item kind) and the bodies of the shared test doubles and fixture.
#include "BarWindowTestUtil.h"

#include <cstring>

#include "platform/Win.h"

IMPLEMENT_CLASS(TBlockItem, TdxBarItem)
IMPLEMENT_CLASS(TBlockItemControl, TdxBarItemControl)
IMPLEMENT_CLASS(TBlockContainerItem, TBlockItem)
IMPLEMENT_CLASS(TRowPainter, TdxBarPainter)
IMPLEMENT_CLASS(TRowManager, TdxBarManager)
IMPLEMENT_CLASS(TRowBarControl, TCustomdxBarControl)

// ---------------------------------------------------------------------------
// Items

void TBlockItemControl::Draw(const TRect& R, bool AFlag)
{
  ++DrawCount;
  TBlockItem* item = Block();
  GetCanvas()->FillRect(R, item ? item->FillColor : clRed);
}

std::optional<TdxBarInPlaceEdit> TBlockItemControl::GetInPlaceEdit() const
{
  TBlockItem* item = Block();
  if (!item || !item->EditWindow)
    return std::nullopt;
  return TdxBarInPlaceEdit{item->EditWindow, item->EditBrush};
}

void TBlockItemControl::CalcDrawParams(bool AFull)
{
  TdxBarItemControl::CalcDrawParams(AFull);
  if (TBlockItem* item = Block(); item && item->OnPlacement)
    item->OnPlacement();
}

// ---------------------------------------------------------------------------
// The row window kind

namespace {

struct TQuarantined {
  unsigned char* Memory;
  size_t Size;
};
std::vector<TQuarantined>& Quarantine()
{
  static std::vector<TQuarantined> list;
  return list;
}

}  // namespace

void TRowBarControl::operator delete(void* P, size_t Size)
{
  if (!P)
    return;
  std::memset(P, 0xDD, Size);
  Quarantine().push_back(TQuarantined{static_cast<unsigned char*>(P), Size});
}

bool TRowBarControl::QuarantineIntact()
{
  for (const TQuarantined& q : Quarantine())
    for (size_t i = 0; i < q.Size; ++i)
      if (q.Memory[i] != 0xDD)
        return false;
  return true;
}

void TRowBarControl::CreateParams(TCreateParams& Params)
{
  TCustomdxBarControl::CreateParams(Params);
  if (Popup) {
    Params.Style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
    Params.ExStyle |= WS_EX_TOOLWINDOW;
    Params.WndParent = FormWindow;
  }
}

void TRowBarControl::Recalculate1()
{
  ++Recalculate1Calls;
  // The layout runs under the base's guard, as a window kind's must.
  if (GetState() & (dxBarStateRecalculate1 | dxBarStateRecalculate2))
    return;
  ++Recalculate1Runs;
  if (TdxBarItemLinks* links = GetItemLinks()) {
    int i = 0;
    for (TdxBarItemLink* link : links->GetShownItems()) {
      int offset = 2 + i * (ItemWidth + Gap);
      TRect r = Vertical ? TRect{2, offset, 2 + ItemWidth, offset + ItemHeight}
                         : TRect{offset, 2, offset + ItemWidth, 2 + ItemHeight};
      link->SetItemRect(r);
      if (TdxBarItemControl* control = link->GetControl())
        control->GetViewInfo()->SetBounds(r);
      ++i;
    }
  }
  TCustomdxBarControl::Recalculate1();
}

void TRowBarControl::RecreateControls(bool AExpandContainers)
{
  ++RecreateCalls;
  if (OnRecreate)
    OnRecreate();
  TCustomdxBarControl::RecreateControls(AExpandContainers);
}

void TRowBarControl::DoClose()
{
  ++DoCloseCalls;
  if (OnDoClose)
    OnDoClose();
  TCustomdxBarControl::DoClose();
  if (FreeOnClose)
    Free();
}

bool TRowBarControl::BarKeyDown(WORD AKey, TShiftState AShift)
{
  if (TCustomdxBarControl::BarKeyDown(AKey, AShift))
    return true;
  TdxBarItemControl* selected = GetSelectedControl();
  if (AKey == VK_RETURN && selected && selected->GetEnabled()) {
    selected->ClickByKey();
    return true;
  }
  if (AKey == VK_ESCAPE) {
    Close();
    return true;
  }
  return false;
}

// ---------------------------------------------------------------------------
// Fixture

void TBarWindowFixture::SetUp()
{
  Host.Form()->SetBounds(BarLeft - 100, BarTop - 150, 500, 400);
  Host.Form()->Show();
  Host.Manager->UpdateStyle();
  Owner = std::make_unique<TRowLinksOwner>(Host.Manager);
  Links = std::make_unique<TdxBarControlItemLinks>(Host.Manager, Owner.get());
  Links->CreateBarControl();
  Bar = dynamic_cast<TRowBarControl*>(Links->GetBarControl());
  ASSERT_NE(Bar, nullptr);
  Bar->Popup = true;
  Bar->SetParentForm(Host.Form()->GetHandle());
  Bar->SetFont(Host.Manager->GetFont());
  PumpPending();
}

void TBarWindowFixture::TearDown()
{
  if (TCustomdxBarControl* active = ActiveBarControl())
    active->Deactivate();
  Links.reset();
  Owner.reset();
  PumpPending();
}

TBlockItem* TBarWindowFixture::NewItem(const String& ACaption, TColor AColor)
{
  auto* item = new TBlockItem(Host.Form());
  item->SetCaption(ACaption);
  item->FillColor = AColor;
  return item;
}

TdxBarItemLink* TBarWindowFixture::AddLink(TdxBarItem* AItem)
{
  return Links->AddItem(AItem);
}

void TBarWindowFixture::ShowBar()
{
  int count = std::max(1, Links->VisibleItemCount());
  int extent = 4 + count * (TRowBarControl::ItemWidth + TRowBarControl::Gap) + Bar->MarkWidth;
  int across = TRowBarControl::ItemHeight + 6;
  if (Bar->Vertical)
    Bar->SetBounds(BarLeft, BarTop, across, extent);
  else
    Bar->SetBounds(BarLeft, BarTop, extent, across);
  Bar->HandleNeeded();
  Bar->RebuildBar();
  Bar->ShowNoActivate();
  Bar->Update();
  PumpPending();
}

TPoint TBarWindowFixture::InShot(const TPoint& P) const
{
  const RECT window = WindowRectOf(Bar->GetHandle());
  TPoint origin = Bar->ClientToScreen(TPoint{0, 0});
  return TPoint{P.x + origin.x - window.left, P.y + origin.y - window.top};
}

namespace {

[[maybe_unused]] testing::Environment* const LibraryEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{{TBarWindowTestForm::StaticClass(), TRowManager::StaticClass()},
                               {{TBlockItem::StaticClass(), TBlockItemControl::StaticClass(), false},
                                {TBlockContainerItem::StaticClass(), TBlockItemControl::StaticClass(), false}}});

}  // namespace
