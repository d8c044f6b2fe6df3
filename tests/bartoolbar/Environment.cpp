// The program-wide set-up of the toolbar tests and the fixture's helpers.
#include "ToolbarTestUtil.h"

namespace {

[[maybe_unused]] testing::Environment* const ToolbarEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TToolbarTestForm::StaticClass(), TdxBarManager::StaticClass(), TdxBar::StaticClass()});

}  // namespace

TdxBar* TToolbarFixture::AddBar(const std::vector<String>& ACaptions, TdxBarDockingStyle AStyle)
{
  TdxBar* bar = Bars()->Add();
  bar->SetCaption(L"Tools");
  bar->SetDockingStyle(AStyle);
  for (const String& caption : ACaptions) {
    auto* button = new TdxBarButton(Host.Form());
    bool group = !caption.empty() && caption[0] == L'|';
    button->SetCaption(group ? caption.substr(1) : caption);
    button->SetPaintStyle(psCaption);
    TdxBarItemLink* link = bar->GetItemLinks()->AddItem(button);
    link->SetBeginGroup(group);
  }
  return bar;
}

TdxBarControl* TToolbarFixture::MakeWindow(TdxBar* ABar)
{
  ABar->GetItemLinks()->CreateBarControl();
  return dynamic_cast<TdxBarControl*>(ABar->GetItemLinks()->GetBarControl());
}

std::vector<int> TToolbarFixture::LinkWidths(TdxBarControl* AControl)
{
  std::vector<int> widths;
  for (TdxBarItemLink* link : AControl->GetItemLinks()->GetShownItems()) {
    if (!link->GetControl())
      link->CreateControl();
    widths.push_back(link->GetControl()->CalcWidth());
  }
  return widths;
}

POINT WindowToScreen(HWND AWnd, const TPoint& P)
{
  TRect r = WindowRectOf(AWnd);
  return POINT{r.left + P.x, r.top + P.y};
}
