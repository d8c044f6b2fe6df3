// One button on a toolbar of a form, shown and clicked through the control the toolbar shows
// for it: prints what it sees, so that the test that built it can check the library works when
// used from its installed headers and libraries.
#include <cstdio>

#include "bars/dxBar.h"
#include "platform/Forms.h"

namespace {

void Say(const String& Line)
{
  std::printf("%ls\n", Line.c_str());
  std::fflush(stdout);
}

int Run()
{
  TForm* form = TCustomForm::CreateNew<TForm>(nullptr);
  form->SetCaption(L"Consumer");
  form->SetBounds(100, 100, 320, 200);
  auto* manager = new TdxBarManager(form);
  TdxBar* bar = manager->GetBars()->Add();
  bar->SetCaption(L"Tools");
  bar->SetDockingStyle(dsTop);
  auto* button = new TdxBarButton(form);
  button->SetCaption(L"Hello");
  button->SetPaintStyle(psCaption);
  button->SetOnClick(
      TNotifyEvent([](TObject* Sender) { Say(L"clicked: " + static_cast<TdxBarButton*>(Sender)->GetCaption()); }));
  TdxBarItemLink* link = bar->GetItemLinks()->AddItem(button);
  bar->SetVisible(true);
  form->Show();
  Application->ProcessMessages();

  TCustomdxBarControl* window = link->GetBarControl();
  const TRect& r = link->GetItemRect();
  if (!window || !window->HandleAllocated() || r.right <= r.left || !link->GetControl()) {
    Say(L"no toolbar window");
    form->Free();
    return 1;
  }
  Say(L"shown: " + button->GetCaption());
  // The library's resources came along: a message text and a dialog's form data.
  wchar_t text[128] = {};
  const bool texts = ::LoadStringW(::GetModuleHandleW(nullptr), 65159, text, 128) > 0;
  const bool forms = ::FindResourceW(nullptr, L"TdxBarNameEd", MAKEINTRESOURCEW(10) /* RT_RCDATA */) != nullptr;
  Say(String(L"resources: ") + (texts && forms ? L"found" : L"missing"));
  // The control the toolbar shows for the link clicks the item, as a press and release on it do.
  link->GetControl()->Click();
  Application->ProcessMessages();
  // The Customize dialog is read from form data the installed resource objects carry.
  manager->SetIsCustomizing(true);
  Say(manager->GetCustomizingFormHandle() ? L"customize: open" : L"customize: missing");
  manager->SetIsCustomizing(false);
  form->Free();
  return 0;
}

}  // namespace

int main()
{
  InitializeForms();
  dxBarInitialize();
  int result = 1;
  try {
    result = Run();
  } catch (const Exception& e) {
    Say(L"error: " + e.Message());
  }
  dxBarFinalize();
  FinalizeForms();
  return result;
}
