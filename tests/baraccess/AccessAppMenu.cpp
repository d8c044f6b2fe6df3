#include "AccessAppMenu.h"

#include "bars/itemcontrols/buttons.h"
#include "bars/barwindows/toolbar.h"

TTestApplicationMenu* AddApplicationMenuBar(TComponent* AOwner, TdxBarManager* AManager,
                                            const std::function<TdxBarButton*(const String&)>& AMakeButton)
{
  auto* menu = new TTestApplicationMenu(AOwner);
  menu->PaneWidth = 120;
  menu->PaneRatio = 0;
  for (const wchar_t* caption : {L"&New", L"&Open"})
    menu->GetItemLinks()->AddItem(AMakeButton(caption));
  for (const wchar_t* caption : {L"Recent &A", L"Recent &B"})
    menu->PaneItems.push_back(AMakeButton(caption));
  for (const wchar_t* caption : {L"&Options", L"E&xit"})
    menu->GetButtons()->Add()->SetItem(AMakeButton(caption));
  TdxBar* bar = AManager->GetBars()->Add();
  bar->SetCaption(L"Application");
  bar->SetDockingStyle(dsBottom);
  TdxBarButton* file = AMakeButton(L"&File");
  file->SetButtonStyle(bsDropDown);
  file->SetDropDownMenu(menu);
  bar->GetItemLinks()->AddItem(file);
  bar->SetVisible(true);
  return menu;
}
