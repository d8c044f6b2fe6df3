// The program-wide set-up of the application-menu tests and their fixture.
#include "AppMenuTestUtil.h"

#include "bars/itemcontrols/itemcontrol.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

[[maybe_unused]] testing::Environment* const AppMenuEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TAppMenuTestForm::StaticClass(), TdxBarManager::StaticClass(), TdxBar::StaticClass()});

}  // namespace

void TAppMenuFixture::SetUp()
{
  Manager->SetStyle(bmsFlat);
  Manager->SetMenusShowRecentItemsFirst(false);
  Menu = new TTestApplicationMenu(Host.Form());
  Bar = Manager->GetBars()->Add();
  Bar->SetCaption(L"Main");
  Bar->SetDockingStyle(dsTop);
  FileButton = NewButton(L"File");
  FileButton->SetButtonStyle(bsDropDown);
  FileButton->SetDropDownMenu(Menu);
  Bar->GetItemLinks()->AddItem(FileButton);
  Host.Form()->SetBounds(100, 100, 640, 480);
  Bar->SetVisible(true);
  ASSERT_TRUE(ShowActive(Host.Form()));
}

void TAppMenuFixture::TearDown()
{
  if (TdxBarApplicationMenuControl* window = Menu->Window())
    window->Close();
  PumpPending();
}

TdxBarButton* TAppMenuFixture::NewButton(const String& ACaption)
{
  auto* button = new TdxBarButton(Host.Form());
  button->SetCaption(ACaption);
  button->SetPaintStyle(psCaption);
  button->SetOnClick(TNotifyEvent([this, ACaption](TObject*) { ++Clicks[ACaption]; }));
  return button;
}

void TAppMenuFixture::Fill(int AItems, int APaneItems, std::initializer_list<const wchar_t*> AButtons)
{
  for (int i = 0; i < AItems; ++i)
    Menu->GetItemLinks()->AddItem(NewButton(L"Item " + std::to_wstring(i)));
  for (int i = 0; i < APaneItems; ++i)
    Menu->PaneItems.push_back(NewButton(L"Recent " + std::to_wstring(i)));
  for (const wchar_t* caption : AButtons)
    Menu->GetButtons()->Add()->SetItem(NewButton(caption));
}

bool TAppMenuFixture::OpenByPointer()
{
  TdxBarControl* toolbar = Bar->GetControl();
  if (!toolbar)
    return false;
  TdxBarItemControl* control = Bar->GetItemLinks()->Items(0)->GetControl();
  if (!control)
    return false;
  // The arrow part at the button's right end opens the drop-down.
  const TRect r = toolbar->GetItemRect(control);
  if (!ClickAt(ScreenCentreOf(toolbar, TRect{r.right - 6, r.top, r.right - 2, r.bottom})))
    return false;
  return PumpUntil([&] { return Menu->Window() && ::IsWindowVisible(Menu->Window()->GetHandle()); });
}
