// A program on the bar library for the accessibility client to walk from another process: a
// form with a docked toolbar (four buttons, one disabled, one checked, and a sub-item with a
// menu), a floating toolbar with a caption button and, docked at the bottom, a toolbar that opens an application
// menu, and on the left a toolbar whose button "Drop" frees it. Prints the windows' handles, then "ready", every
// click as "clicked: CAPTION" and "dropped" once that toolbar is gone; ends when its form closes. The floating
// bar's "Alpha" raises after its click, as a handler that refuses would; what reaches the program's handler of
// unexpected exceptions is printed as "unexpected: MESSAGE".
#include <algorithm>
#include <cstdio>

#include "AccessAppMenu.h"

#include "bars/model/bar.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/dxBar.h"
#include "bars/itemcontrols/subitems.h"
#include "bars/barwindows/toolbar.h"
#include "platform/Application.h"
#include "platform/Forms.h"

namespace {

void WriteLine(const String& ALine)
{
  std::string bytes;
  for (wchar_t c : ALine)
    bytes += c < 128 ? char(c) : '?';
  std::printf("%s\n", bytes.c_str());
  std::fflush(stdout);
}

class TAccessHostForm : public TForm {
  DECLARE_CLASS(TAccessHostForm, TForm)
public:
  explicit TAccessHostForm(TComponent* AOwner) : TForm(AOwner) {}
  void CaptionButtonClick(TObject* Sender)
  {
    if (auto* button = dynamic_cast<TdxBarCaptionButton*>(Sender))
      WriteLine(L"caption button: " + button->GetHintText());
  }
  void ItemClick(TObject* Sender)
  {
    auto* item = dynamic_cast<TdxBarItem*>(Sender);
    if (!item)
      return;
    String caption = item->GetCaption();
    caption.erase(std::remove(caption.begin(), caption.end(), L'&'), caption.end());
    WriteLine(L"clicked: " + caption);
  }
  // The bar goes from the message loop: the click that asks for it is still running on it.
  void DropClick(TObject* Sender)
  {
    ItemClick(Sender);
    DropRequested = true;
  }
  void RefusingClick(TObject* Sender)
  {
    ItemClick(Sender);
    throw EConvertError(L"validation failed");
  }
  bool DropRequested = false;
};
IMPLEMENT_CLASS(TAccessHostForm, TForm)

TdxBarButton* NewButton(TAccessHostForm* AForm, const String& ACaption)
{
  auto* button = new TdxBarButton(AForm);
  button->SetCaption(ACaption);
  button->SetPaintStyle(psCaption);
  button->SetOnClick(TNotifyEvent(AForm, &TAccessHostForm::ItemClick));
  return button;
}

TdxBarButton* AddButton(TAccessHostForm* AForm, TdxBarItemLinks* ALinks, const String& ACaption)
{
  TdxBarButton* button = NewButton(AForm, ACaption);
  ALinks->AddItem(button);
  return button;
}

String HandleText(TWinControl* AControl)
{
  return IntToStr(
      int(reinterpret_cast<INT_PTR>(AControl && AControl->HandleAllocated() ? AControl->GetHandle() : nullptr)));
}

}  // namespace

int main()
{
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  InitializeForms();
  dxBarInitialize();
  SetUnexpectedExceptionHandler([](TObject*) { WriteLine(L"unexpected: " + CurrentExceptionMessage()); });
  RegisterClass(TAccessHostForm::StaticClass());
  {
    auto* form = TCustomForm::CreateNew<TAccessHostForm>(nullptr);
    form->SetCaption(L"Access Host");
    form->SetBounds(60, 60, 640, 360);
    auto* manager = new TdxBarManager(form);
    manager->SetName(L"BarManager");

    TdxBar* commands = manager->GetBars()->Add();
    commands->SetCaption(L"Commands");
    commands->SetDockingStyle(dsTop);
    AddButton(form, commands->GetItemLinks(), L"&Add");
    AddButton(form, commands->GetItemLinks(), L"Add &Folder");
    AddButton(form, commands->GetItemLinks(), L"&Remove")->SetEnabled(false);
    TdxBarButton* start = AddButton(form, commands->GetItemLinks(), L"&Start");
    start->SetButtonStyle(bsChecked);
    start->SetDown(true);
    auto* more = new TdxBarSubItem(form);
    more->SetCaption(L"&More");
    AddButton(form, more->GetItemLinks(), L"&One");
    AddButton(form, more->GetItemLinks(), L"&Two");
    commands->GetItemLinks()->AddItem(more);
    commands->SetVisible(true);

    TdxBar* floating = manager->GetBars()->Add();
    floating->SetCaption(L"Floating");
    floating->SetDockingStyle(dsNone);
    floating->SetFloatLeft(420);
    floating->SetFloatTop(260);
    AddButton(form, floating->GetItemLinks(), L"Alpha")
        ->SetOnClick(TNotifyEvent(form, &TAccessHostForm::RefusingClick));
    AddButton(form, floating->GetItemLinks(), L"Beta");
    TdxBarCaptionButton* pin = floating->GetCaptionButtons()->Add();
    pin->SetHint(L"Pin");
    pin->OnClick = TNotifyEvent(form, &TAccessHostForm::CaptionButtonClick);
    floating->SetVisible(true);

    AddApplicationMenuBar(form, manager, [form](const String& ACaption) { return NewButton(form, ACaption); });
    TdxBar* appBar = manager->GetBars()->GetItem(manager->GetBars()->GetCount() - 1);

    TdxBar* doomed = manager->GetBars()->Add();
    doomed->SetCaption(L"Doomed");
    doomed->SetDockingStyle(dsLeft);
    AddButton(form, doomed->GetItemLinks(), L"Drop")->SetOnClick(TNotifyEvent(form, &TAccessHostForm::DropClick));
    doomed->SetVisible(true);

    form->Show();
    Application->ProcessMessages();
    WriteLine(L"form: " + HandleText(form));
    WriteLine(L"toolbar: " + HandleText(commands->GetControl()));
    WriteLine(L"floating: " + HandleText(floating->GetControl()));
    WriteLine(L"appbar: " + HandleText(appBar->GetControl()));
    WriteLine(L"doomed: " + HandleText(doomed->GetControl()));
    WriteLine(L"ready");
    while (form->HandleAllocated() && IsWindowVisible(form->GetHandle()) && !Application->GetTerminated()) {
      Application->HandleMessage();
      if (form->DropRequested && doomed) {
        doomed->Free();
        doomed = nullptr;
        WriteLine(L"dropped");
      }
    }
    form->Free();
  }
  dxBarFinalize();
  FinalizeForms();
  return 0;
}
