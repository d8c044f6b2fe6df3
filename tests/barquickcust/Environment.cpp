// The program-wide set-up of the quick-customisation tests and the fixture's helpers.
#include "QuickCustTestUtil.h"

#include "bars/model/itemlinks.h"
#include "bars/utils/utils.h"
#include "support/Input.h"
#include "support/Pump.h"

IMPLEMENT_CLASS(TQuickCustTestForm, TForm)

namespace {

[[maybe_unused]] testing::Environment* const QuickCustEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TQuickCustTestForm::StaticClass(), TdxBarManager::StaticClass(), TdxBar::StaticClass()});

}  // namespace

void TQuickCustFixture::SetUp()
{
  ShowFormAt(Host.Form(), 100, 100, 560, 300);
}

void TQuickCustFixture::TearDown()
{
  Manager->SetIsCustomizing(false);
  while (TCustomdxBarControl* active = ActiveBarControl()) {
    TWeakRef<TCustomdxBarControl> ref(active);
    active->Close();
    if (ref && ActiveBarControl() == active)
      break;
  }
  MoveMouseTo(POINT{5, 5});
  PumpPending();
}

TdxBar* TQuickCustFixture::AddBar(const std::vector<String>& ACaptions)
{
  FBar = Manager->GetBars()->Add();
  FBar->SetCaption(L"Tools");
  FBar->SetDockingStyle(dsTop);
  for (const String& caption : ACaptions) {
    auto* button = new TdxBarButton(Host.Form());
    button->SetCaption(caption);
    button->SetPaintStyle(psCaption);
    FBar->GetItemLinks()->AddItem(button);
  }
  FBar->SetVisible(true);
  PumpPending();
  return FBar;
}

TdxBarQuickControl* TQuickCustFixture::OpenByMark()
{
  TdxBarControl* bar = Toolbar();
  if (!bar)
    return nullptr;
  const TRect mark = dxBarGetMarkScreenRect(bar);
  if (IsRectEmpty(&mark) || !ClickAt(CentreOf(mark)))
    return nullptr;
  PumpUntil([&] {
    auto* quick = dynamic_cast<TdxBarQuickControl*>(bar->GetQuickControl());
    return quick && quick->HandleAllocated() && IsWindowVisible(quick->GetHandle());
  });
  return dynamic_cast<TdxBarQuickControl*>(bar->GetQuickControl());
}

TdxBarQuickAccessSubControl* TQuickCustFixture::OpenQuickList(TdxBarQuickControl* AQuick)
{
  TdxBarItemLinks* links = AQuick ? AQuick->GetItemLinks() : nullptr;
  if (!links || links->Count() == 0)
    return nullptr;
  TdxBarItemLink* access = links->Items(links->Count() - 1);
  TdxBarItemLinks* entries = access->GetItem() ? access->GetItem()->GetItemLinks() : nullptr;
  if (!entries || !ClickAt(CenterOfLink(AQuick, links->Count() - 1)))
    return nullptr;
  PumpUntil([&] {
    auto* menu = dynamic_cast<TdxBarQuickAccessSubControl*>(entries->GetBarControl());
    return menu && menu->HandleAllocated() && IsWindowVisible(menu->GetHandle());
  });
  return dynamic_cast<TdxBarQuickAccessSubControl*>(entries->GetBarControl());
}

int TQuickCustFixture::ToolbarWidth() const
{
  TdxBarControl* bar = Toolbar();
  return bar && bar->HandleAllocated() ? RectWidth(WindowRectOf(bar->GetHandle())) : 0;
}
