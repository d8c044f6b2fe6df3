// The program-wide set-up of the customizing tests, the form and the fixture's helpers.
#include "DesignTestUtil.h"

#include "bars/menus/submenu.h"
#include "platform/Scope.h"
#include "support/FormRoundTrip.h"
#include "support/Input.h"
#include "support/Pump.h"

IMPLEMENT_CLASS(TDesignForm, TForm)

namespace {

[[maybe_unused]] testing::Environment* const DesignEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TDesignForm::StaticClass(), TdxBarManager::StaticClass(), TdxBar::StaticClass()});

String Bar(const String& AName, const String& ACaption, int ARow, const std::vector<String>& ALinks)
{
  return L"    object " + AName + L": TdxBar\n      Caption = '" + ACaption +
         L"'\n      DockingStyle = dsTop\n      DockedLeft = 0\n      DockedTop = 0\n      Row = " + IntToStr(ARow) +
         L"\n      OneOnRow = True\n" + ItemLinksText(ALinks) + L"      Visible = True\n    end\n";
}

String Button(const String& AName, const String& ACaption)
{
  return L"    object " + AName + L": TdxBarButton\n      Caption = '" + ACaption +
         L"'\n      Category = 0\n      PaintStyle = psStandard\n    end\n";
}

}  // namespace

String DesignFormText()
{
  return L"object DesignForm: TDesignForm\n"
         L"  Left = 100\n  Top = 100\n  Width = 560\n  Height = 320\n  Caption = 'Design'\n"
         L"  object dxBarManager1: TdxBarManager\n"
         L"    Style = bmsStandard\n"
         L"    Categories.Strings = (\n      'Default')\n"
         L"    Categories.ItemsVisibles = (\n      2)\n"
         L"    Categories.Visibles = (\n      True)\n" +
         Bar(L"StandardBar", L"Standard", 0, {L"btnOpen", L"btnSave", L"btnShared", L"FileItem"}) +
         Bar(L"ToolsBar", L"Tools", 1, {L"btnShared", L"btnFind"}) + Button(L"btnOpen", L"&Open") +
         Button(L"btnSave", L"&Save") + Button(L"btnShared", L"S&hared") + Button(L"btnFind", L"&Find") +
         Button(L"btnNew", L"&New") + Button(L"btnClose", L"&Close") +
         L"    object FileItem: TdxBarSubItem\n      Caption = '&File'\n      Category = 0\n" +
         ItemLinksText({L"btnNew", L"|btnClose"}) + L"    end\n  end\nend\n";
}

// ---------------------------------------------------------------------------
// TDesignFixture

void TDesignFixture::SetUp()
{
  // The pointer starts away from the form: a press where it already rests brings the bar no
  // move first, which an earlier area's last click would otherwise decide.
  MoveMouseTo(POINT{5, 5});
  Form = TCustomForm::CreateFromText<TDesignForm>(DesignFormText(), nullptr);
  FormOwner = std::make_unique<TOwned<TDesignForm>>(Form);
  Manager = ManagerOf(Form);
  ASSERT_NE(Manager, nullptr);
  Manager->SetMenuAnimations(maNone);
  Manager->SetMenusShowRecentItemsFirst(false);
  ASSERT_TRUE(ShowFormAt(Form, 100, 100, 560, 320));
  Manager->SetIsCustomizing(true);
  PumpPending();
  Controller = BarDesignController();
  ASSERT_NE(Controller, nullptr);
}

void TDesignFixture::TearDown()
{
  MouseButtonUp(TInputButton::Right);
  MouseButtonUp();
  if (Controller)
    Controller->CloseCustomizingPopup();
  CloseActiveBar();
  if (Manager)
    Manager->SetIsCustomizing(false);
  if (Controller)
    Controller->ClearSelection();
  MoveMouseTo(POINT{5, 5});
  PumpPending();
  ::DeleteFileW(L"design-layout.ini");
}

TdxBarItem* TDesignFixture::Item(const wchar_t* AName) const
{
  return dynamic_cast<TdxBarItem*>(Form->FindComponent(AName));
}

TdxBar* TDesignFixture::Bar(const wchar_t* ACaption) const
{
  return Manager->FindBarByCaption(ACaption);
}

TdxBarItemLink* TDesignFixture::LinkOf(const wchar_t* ABar, int AIndex) const
{
  TdxBar* bar = Bar(ABar);
  return bar && AIndex < bar->GetItemLinks()->Count() ? bar->GetItemLinks()->Items(AIndex) : nullptr;
}

bool TDesignFixture::RightClick(TdxBarItemLink* ALink)
{
  if (!ALink || !ALink->GetControl())
    return false;
  if (!ClickAt(ScreenCentreOf(ALink), TInputButton::Right))
    return false;
  return PumpUntil([&] { return Popup() && ::IsWindowVisible(Popup()->GetHandle()); }, 3000);
}

TdxBarSubMenuControl* TDesignFixture::Popup() const
{
  return Controller->GetCustomizingPopup();
}

namespace {

TdxBarItemLink* FindTagged(TdxBarItemLinks* ALinks, intptr_t ATag, int ADepth = 0)
{
  for (int i = 0; ALinks && ADepth < 3 && i < ALinks->Count(); ++i) {
    TdxBarItemLink* link = ALinks->Items(i);
    TdxBarItem* item = link->GetItem();
    if (item && item->Tag() == ATag)
      return link;
    if (TdxBarItemLink* inner = FindTagged(item ? item->GetItemLinks() : nullptr, ATag, ADepth + 1))
      return inner;
  }
  return nullptr;
}

}  // namespace

TdxBarItemLink* TDesignFixture::Entry(int ACommand, int AEntry) const
{
  TdxBarSubMenuControl* popup = Popup();
  return popup ? FindTagged(popup->GetItemLinks(), dxBarCommandTag(ACommand, AEntry)) : nullptr;
}

std::vector<int> TDesignFixture::PopupCommands() const
{
  std::vector<int> commands;
  TdxBarSubMenuControl* popup = Popup();
  for (int i = 0; popup && i < popup->GetItemLinks()->Count(); ++i) {
    const int command = int(popup->GetItemLinks()->Items(i)->GetItem()->Tag() / 65536);
    if (commands.empty() || commands.back() != command)
      commands.push_back(command);
  }
  return commands;
}

bool TDesignFixture::ClickEntry(int ACommand, int AEntry)
{
  TdxBarItemLink* entry = Entry(ACommand, AEntry);
  if (!entry)
    return false;
  if (!entry->GetControl()) {
    // An entry of a submenu: its opening entry is clicked first.
    TdxBarItemLink* opener = Entry(ACommand, dxBarSubMenuEntry);
    if (!opener || !opener->GetControl() || !ClickAt(ScreenCentreOf(opener)))
      return false;
    if (!PumpUntil([&] { return entry->GetControl() && ::IsWindowVisible(entry->GetBarControl()->GetHandle()); }, 3000))
      return false;
  }
  // Over the entry first, so that the menu selects it before the press.
  if (!MoveMouseTo(ScreenCentreOf(entry)))
    return false;
  PumpPending();
  if (!ClickAt(ScreenCentreOf(entry)))
    return false;
  PumpPending();
  return true;
}

TdxBarSubMenuControl* TDesignFixture::OpenFileMenu()
{
  auto* sub = dynamic_cast<TdxBarSubItem*>(Item(L"FileItem"));
  TdxBarItemLink* link = LinkOf(L"Standard", 3);
  // A real press: while customizing it selects the sub-item and opens its menu.
  if (!sub || !link || !ClickAt(ScreenCentreOf(link)))
    return nullptr;
  PumpUntil([&] { return sub->GetItemLinks()->GetBarControl() != nullptr; }, 3000);
  PumpPending();
  return dynamic_cast<TdxBarSubMenuControl*>(sub->GetItemLinks()->GetBarControl());
}

void TDesignFixture::SaveChangeAndLoad(const std::function<void()>& AChange)
{
  wchar_t dir[MAX_PATH];
  ::GetTempPathW(MAX_PATH, dir);
  const String path = String(dir) + L"design-layout.ini";
  ::DeleteFileW(path.c_str());
  TFinally remove([&] { ::DeleteFileW(path.c_str()); });
  Manager->SaveToIniFile(path);
  AChange();
  Manager->LoadFromIniFile(path);
  PumpPending();
}
