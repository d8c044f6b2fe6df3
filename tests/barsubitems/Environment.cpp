// The program-wide set-up of the sub-item tests, the main-menu form and the fixture's helpers.
#include "SubItemsTestUtil.h"

#include "support/FormRoundTrip.h"
#include "support/Input.h"
#include "support/Pump.h"

PUBLISHED(TSubItemsForm, TForm)
{
  p.Method(L"ItemClick", &TSubItemsForm::ItemClick);
}

namespace {

[[maybe_unused]] testing::Environment* const SubItemsEnvironment = testing::AddGlobalTestEnvironment(
    new TBarLibraryEnvironment{TSubItemsForm::StaticClass(), TdxBarManager::StaticClass(), TdxBar::StaticClass()});

String Buttons(const String& APrefix, int ACount)
{
  String text;
  for (int i = 0; i < ACount; ++i)
    text += L"    object " + APrefix + IntToStr(i) + L": TdxBarButton\n" + L"      Caption = '" + APrefix + L" &" +
            IntToStr(i) + L"'\n" + L"      Category = 0\n" + L"      OnClick = ItemClick\n" + L"    end\n";
  return text;
}

String SubItem(const String& AName, const String& ACaption, const std::vector<String>& ALinks)
{
  return L"    object " + AName + L": TdxBarSubItem\n" + L"      Caption = '" + ACaption + L"'\n" +
         L"      Category = 0\n" + ItemLinksText(ALinks) + L"    end\n";
}

std::vector<String> Names(const String& APrefix, int ACount, const String& ANested)
{
  std::vector<String> names;
  for (int i = 0; i < ACount; ++i) {
    names.push_back(APrefix + IntToStr(i));
    if (i == 2 && !ANested.empty())
      names.push_back(ANested);
  }
  return names;
}

}  // namespace

void TSubItemsForm::ItemClick(TObject* Sender)
{
  auto* component = dynamic_cast<TComponent*>(Sender);
  Clicks.push_back(component ? component->Name() : String(L"?"));
}

String MainMenuFormText()
{
  String text =
      L"object SubItemsForm: TSubItemsForm\n"
      L"  Caption = 'Sub-items'\n"
      L"  object dxBarManager1: TdxBarManager\n"
      L"    Style = bmsFlat\n"
      L"    Categories.Strings = (\n"
      L"      'Default')\n"
      L"    object MainMenuBar: TdxBar\n"
      L"      Caption = 'Main Menu'\n"
      L"      DockingStyle = dsTop\n"
      L"      IsMainMenu = True\n";
  text += ItemLinksText({L"FileItem", L"EditItem"});
  text +=
      L"      Visible = True\n"
      L"    end\n";
  text += Buttons(L"File", 5) + Buttons(L"Edit", 5) + Buttons(L"Recent", 3) + Buttons(L"Find", 3);
  text += SubItem(L"RecentItem", L"&Recent", Names(L"Recent", 3, String()));
  text += SubItem(L"FindItem", L"F&ind", Names(L"Find", 3, String()));
  text += SubItem(L"FileItem", L"&File", Names(L"File", 5, L"RecentItem"));
  text += SubItem(L"EditItem", L"&Edit", Names(L"Edit", 5, L"FindItem"));
  text += L"  end\nend\n";
  return text;
}

// ---------------------------------------------------------------------------
// TSubItemsFixture

void TSubItemsFixture::SetUp()
{
  Form = TCustomForm::CreateFromText<TSubItemsForm>(MainMenuFormText(), nullptr);
  FormOwner = std::make_unique<TOwned<TSubItemsForm>>(Form);
  Manager = ManagerOf(Form);
  ASSERT_NE(Manager, nullptr);
  Manager->SetMenusShowRecentItemsFirst(false);
  Manager->SetMenuAnimations(maNone);
  MainMenu = Manager->GetBars()->GetCount() > 0 ? Manager->GetBars()->GetItem(0) : nullptr;
  ASSERT_NE(MainMenu, nullptr);
}

void TSubItemsFixture::TearDown()
{
  CloseActiveBar();
  PumpPending();
}

TdxBarSubMenuControl* TSubItemsFixture::MenuOf(TCustomdxBarSubItem* AItem) const
{
  return AItem ? dynamic_cast<TdxBarSubMenuControl*>(AItem->GetItemLinks()->GetBarControl()) : nullptr;
}

TdxBarItemControl* TSubItemsFixture::EntryOf(TdxBarSubMenuControl* AMenu, int AIndex) const
{
  TdxBarItemLink* link = AMenu && AMenu->GetItemLinks() ? AMenu->GetItemLinks()->ShownItems(AIndex) : nullptr;
  return link ? link->GetControl() : nullptr;
}

bool TSubItemsFixture::ClickOn(TdxBarItemControl* AControl)
{
  const TRect r = ScreenRectOf(AControl);
  FClickLeft = !FClickLeft;
  const int x = FClickLeft ? r.left + RectWidth(r) / 4 : r.right - RectWidth(r) / 4;
  return AControl && ClickAt(POINT{x, (r.top + r.bottom) / 2});
}

void TSubItemsFixture::MoveAway()
{
  MoveMouseTo(POINT{5, 5});
  PumpPending();
}
