// The program-wide set-up of the customizing tests, the form they read and their helpers.
#include "CustomizingTestUtil.h"

#include "support/FormRoundTrip.h"
#include "support/Input.h"
#include "support/Pump.h"
#include "support/ThreadWindows.h"

IMPLEMENT_CLASS(TCustomizingForm, TForm)

namespace {

[[maybe_unused]] testing::Environment* const CustomizingEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TCustomizingForm::StaticClass(), TdxBarManager::StaticClass(), TdxBar::StaticClass(),
                               TdxBarButton::StaticClass(), TdxBarSubItem::StaticClass()});

String FormText()
{
  String text =
      L"object CustomizingForm: TCustomizingForm\nobject dxBarManager1: TdxBarManager\n"
      L"Categories.Strings = ('Default')\n"
      L"object MainMenuBar: TdxBar\nCaption = 'Main Menu'\nDockingStyle = dsTop\nIsMainMenu = True\n" +
      ItemLinksText({L"FileItem", L"CustomizeOnly"}) +
      L"Visible = True\nend\nobject ToolsBar: TdxBar\nCaption = 'Tools'\nDockingStyle = dsTop\nRow = 1\n" +
      ItemLinksText({L"Tool0", L"Tool1", L"Tool2-"}) + L"Visible = True\nend\n";
  for (String name : {L"File0", L"File1", L"File2", L"File3", L"File4", L"Tool0", L"Tool1", L"Tool2", L"CustomizeOnly"})
    text += L"object " + name + L": TdxBarButton\nCaption = '" + name + L"'\nCategory = 0\n" +
            (name == L"CustomizeOnly" ? L"Visible = ivInCustomizing\nend\n" : L"end\n");
  return text + L"object FileItem: TdxBarSubItem\nCaption = '&File'\nCategory = 0\n" +
         ItemLinksText({L"File0", L"File1", L"File2", L"File3-", L"File4-"}) + L"end\nend\nend\n";
}

BOOL CALLBACK ReadText(HWND AWnd, LPARAM AParam)
{
  wchar_t text[1024] = {};
  ::GetWindowTextW(AWnd, text, 1024);
  auto* seen = reinterpret_cast<TMessageBoxSeen*>(AParam);
  if (::GetDlgCtrlID(AWnd) != IDYES && ::GetDlgCtrlID(AWnd) != IDNO && String(text).size() > seen->Text.size())
    seen->Text = text;
  return TRUE;
}

}  // namespace

void TCustomizingFixture::SetUp()
{
  Form = TCustomForm::CreateFromText<TCustomizingForm>(FormText(), nullptr);
  FormOwner = std::make_unique<TOwned<TCustomizingForm>>(Form);
  Manager = dynamic_cast<TdxBarManager*>(Form->FindComponent(L"dxBarManager1"));
  ASSERT_NE(Manager, nullptr);
}

void TCustomizingFixture::TearDown()
{
  Manager->SetIsCustomizing(false);
  CloseActiveBar();
  PumpPending();
}

void TCustomizingFixture::ShowForm()
{
  ShowFormAt(Form, 200, 150, 500, 300);
}

int ControlCount(TdxBar* ABar)
{
  int count = 0;
  for (int i = 0; i < ABar->GetItemLinks()->Count(); ++i)
    count += ABar->GetItemLinks()->Items(i)->GetControl() ? 1 : 0;
  return count;
}

TMessageBoxSeen AnswerMessageBox(const std::function<void()>& AShow, int AButtonId)
{
  TMessageBoxSeen seen;
  const DWORD thread = ::GetCurrentThreadId();
  RunWithHelperThread(AShow, [&] {
    HWND box = nullptr;
    // The box appears once this thread is inside it.
    for (int tries = 0; tries < 250 && !box; ++tries, PauseScript(20))
      box = FirstThreadWindow({L"#32770", true}, thread);
    HWND button = box ? ::GetDlgItem(box, AButtonId) : nullptr;
    RECT r{};
    if (!button || !::GetWindowRect(button, &r)) {
      // Nothing to click: Esc ends a box that was not recognised, so that the test goes on.
      SendKeyStroke(VK_ESCAPE);
      return;
    }
    seen.Found = true;
    ::EnumChildWindows(box, &ReadText, reinterpret_cast<LPARAM>(&seen));
    seen.YesNo = ::GetDlgItem(box, IDYES) && ::GetDlgItem(box, IDNO);
    for (int id : {IDOK, IDCANCEL, IDYES, IDNO})
      if (HWND b = ::GetDlgItem(box, id); b && (::GetWindowLongPtrW(b, GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON)
        seen.DefaultButton = id;
    SendMouseMove(CentreOf(r));
    PauseScript(50);
    SendMouseButton(true);
    SendMouseButton(false);
  });
  return seen;
}
