// The program-wide set-up of the customizing tests, the form they read and their helpers.
#include "CustomizingTestUtil.h"

#include <atomic>
#include <thread>

#include "support/FormRoundTrip.h"
#include "support/Input.h"
#include "support/Pump.h"

IMPLEMENT_CLASS(TCustomizingForm, TForm)

namespace {

[[maybe_unused]] testing::Environment* const CustomizingEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TCustomizingForm::StaticClass(), TdxBarManager::StaticClass(), TdxBar::StaticClass(),
                               TdxBarButton::StaticClass(), TdxBarSubItem::StaticClass()});

String Button(const String& AName, const String& AExtra = String())
{
  return L"    object " + AName + L": TdxBarButton\n      Caption = '" + AName + L"'\n      Category = 0\n" + AExtra +
         L"    end\n";
}

// Links of the names; a name ending in "-" is a link not recently used.
String Links(const std::vector<String>& ANames)
{
  String text = L"      ItemLinks = <";
  for (String name : ANames) {
    const bool rare = name.back() == L'-';
    if (rare)
      name.pop_back();
    text += L"\n        item\n          Visible = True\n          ItemName = '" + name + L"'\n";
    if (rare)
      text += L"          MostRecentlyUsed = False\n";
    text += L"        end";
  }
  return text + L">\n";
}

}  // namespace

String CustomizingFormText()
{
  String text =
      L"object CustomizingForm: TCustomizingForm\n"
      L"  Caption = 'Customizing'\n"
      L"  object dxBarManager1: TdxBarManager\n"
      L"    Categories.Strings = (\n"
      L"      'Default')\n"
      L"    object MainMenuBar: TdxBar\n"
      L"      Caption = 'Main Menu'\n"
      L"      DockingStyle = dsTop\n"
      L"      IsMainMenu = True\n";
  text += Links({L"FileItem", L"CustomizeOnly"});
  text +=
      L"      Visible = True\n"
      L"    end\n"
      L"    object ToolsBar: TdxBar\n"
      L"      Caption = 'Tools'\n"
      L"      DockingStyle = dsTop\n"
      L"      Row = 1\n";
  text += Links({L"Tool0", L"Tool1", L"Tool2-"});
  text +=
      L"      Visible = True\n"
      L"    end\n";
  for (const wchar_t* name : {L"File0", L"File1", L"File2", L"File3", L"File4", L"Tool0", L"Tool1", L"Tool2"})
    text += Button(name);
  text += Button(L"CustomizeOnly", L"      Visible = ivInCustomizing\n");
  text +=
      L"    object FileItem: TdxBarSubItem\n"
      L"      Caption = '&File'\n"
      L"      Category = 0\n";
  text += Links({L"File0", L"File1", L"File2", L"File3-", L"File4-"});
  text +=
      L"    end\n"
      L"  end\n"
      L"end\n";
  return text;
}

// ---------------------------------------------------------------------------
// TCustomizingFixture

void TCustomizingFixture::SetUp()
{
  Form = TCustomForm::CreateFromText<TCustomizingForm>(CustomizingFormText(), nullptr);
  FormOwner = std::make_unique<TOwned<TCustomizingForm>>(Form);
  Manager = ManagerOf(Form);
  ASSERT_NE(Manager, nullptr);
  Manager->SetMenuAnimations(maNone);
}

void TCustomizingFixture::TearDown()
{
  if (Manager)
    Manager->SetIsCustomizing(false);
  if (TCustomdxBarControl* active = ActiveBarControl())
    active->Close();
  PumpPending();
}

void TCustomizingFixture::ShowForm(int ALeft, int ATop, int AWidth, int AHeight)
{
  Form->SetBounds(ALeft, ATop, AWidth, AHeight);
  Form->Show();
  ActivateWindow(Form->GetHandle());
  PumpPending();
}

TdxBarItem* TCustomizingFixture::Item(const String& AName) const
{
  return Find<TdxBarItem>(Form, AName.c_str());
}

TdxBarItemControl* TCustomizingFixture::ControlOf(const String& AItemName) const
{
  TdxBarItem* item = Item(AItemName);
  for (int i = 0; item && i < item->GetLinkCount(); ++i)
    if (TdxBarItemControl* control = item->GetLink(i)->GetControl())
      return control;
  return nullptr;
}

POINT TCustomizingFixture::CenterOf(TdxBarItemControl* AControl) const
{
  TRect r = AControl && AControl->GetParent() ? AControl->GetParent()->GetItemScreenRect(AControl) : TRect{};
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

int ControlCount(TdxBar* ABar)
{
  int count = 0;
  TdxBarItemLinks* links = ABar ? ABar->GetItemLinks() : nullptr;
  for (int i = 0; links && i < links->Count(); ++i)
    if (links->Items(i)->GetControl())
      ++count;
  return count;
}

// ---------------------------------------------------------------------------
// Message boxes

namespace {

struct TBoxSearch {
  HWND Box = nullptr;
};

BOOL CALLBACK FindBox(HWND AWnd, LPARAM AParam)
{
  wchar_t name[32] = {};
  ::GetClassNameW(AWnd, name, 32);
  if (String(name) == L"#32770" && ::IsWindowVisible(AWnd)) {
    reinterpret_cast<TBoxSearch*>(AParam)->Box = AWnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK ReadChild(HWND AWnd, LPARAM AParam)
{
  auto* seen = reinterpret_cast<TMessageBoxSeen*>(AParam);
  wchar_t name[32] = {};
  ::GetClassNameW(AWnd, name, 32);
  const int id = ::GetDlgCtrlID(AWnd);
  if (String(name) == L"Button") {
    seen->HasYes = seen->HasYes || id == IDYES;
    seen->HasNo = seen->HasNo || id == IDNO;
  } else if (String(name) == L"Static") {
    if (::SendMessageW(AWnd, STM_GETICON, 0, 0))
      seen->HasIcon = true;
    wchar_t text[1024] = {};
    ::GetWindowTextW(AWnd, text, 1024);
    if (String(text).size() > seen->Text.size())
      seen->Text = text;
  }
  return TRUE;
}

}  // namespace

TMessageBoxSeen AnswerMessageBox(const std::function<void()>& AShow, int AButtonId)
{
  TMessageBoxSeen seen;
  const DWORD thread = ::GetCurrentThreadId();
  RunWithHelperThread(AShow, [&] {
    TBoxSearch search;
    // The box appears once this thread is inside it; looked for until it does, for a while.
    for (int tries = 0; tries < 250 && !search.Box; ++tries) {
      ::EnumThreadWindows(thread, &FindBox, reinterpret_cast<LPARAM>(&search));
      if (!search.Box)
        PauseScript(20);
    }
    if (!search.Box)
      return;
    seen.Found = true;
    ::EnumChildWindows(search.Box, &ReadChild, reinterpret_cast<LPARAM>(&seen));
    for (int id : {IDOK, IDCANCEL, IDYES, IDNO})
      if (HWND b = ::GetDlgItem(search.Box, id); b && (::GetWindowLongPtrW(b, GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON)
        seen.DefaultButton = id;
    HWND button = ::GetDlgItem(search.Box, AButtonId);
    RECT r{};
    if (!button || !::GetWindowRect(button, &r)) {
      // Nothing to click: the box is closed by key so that the test does not hang.
      SendKeyTransition(VK_ESCAPE, true);
      SendKeyTransition(VK_ESCAPE, false);
      return;
    }
    SendMouseMove(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    PauseScript(50);
    SendMouseButton(true);
    PauseScript(30);
    SendMouseButton(false);
  });
  return seen;
}
