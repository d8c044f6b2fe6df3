// The form of the stored-layout tests, its stores and the places of its bar windows.
#include "LayoutTestUtil.h"

#include "platform/IniFiles.h"
#include "platform/Registry.h"
#include "support/FormRoundTrip.h"
#include "support/Input.h"
#include "support/Pump.h"

IMPLEMENT_CLASS(TLayoutForm, TForm)
IMPLEMENT_CLASS(TWatchedManager, TdxBarManager)

namespace {

void Note(TdxBarManager* AManager, const String& AWhat)
{
  TWatchedManager::Seen().push_back({AWhat, AManager->IsLoadingLayout()});
}

String Bar(const String& AName, const String& ACaption, const String& AStyle, int ARow, int ALeft,
           const std::vector<String>& ALinks)
{
  return L"    object " + AName + L": TdxBar\n      Caption = '" + ACaption + L"'\n      DockedLeft = " +
         IntToStr(ALeft) + L"\n      DockedTop = 0\n      DockingStyle = " + AStyle +
         L"\n      FloatLeft = 300\n      FloatTop = 300\n      FloatClientWidth = 0\n      FloatClientHeight = 0\n" +
         ItemLinksText(ALinks) + L"      OneOnRow = False\n      Row = " + IntToStr(ARow) +
         L"\n      UseOwnFont = False\n      Visible = True\n      WholeRow = False\n    end\n";
}

String Button(const String& AName, const String& ACaption)
{
  return L"    object " + AName + L": TdxBarButton\n      Caption = '" + ACaption +
         L"'\n      Category = 0\n      Visible = ivAlways\n      PaintStyle = psCaption\n    end\n";
}

}  // namespace

TWatchedManager::TWatchedManager(TComponent* AOwner) : TdxBarManager(AOwner)
{
  OnBarVisibleChange = TdxBarVisibleChangeEvent(
      [this](TObject*, TdxBar* ABar) { Note(this, (ABar->GetVisible() ? L"show " : L"hide ") + ABar->GetCaption()); });
  OnBarDockingStyleChange =
      TdxBarEvent([this](TObject*, TdxBar* ABar) { Note(this, L"docking " + ABar->GetCaption()); });
  LayoutLoadedHandlers().Add(
      TEvent<void(TCustomIniFile*, const String&, bool)>([this](TCustomIniFile*, const String&, bool AIsRegistry) {
        Note(this, AIsRegistry ? L"loaded registry" : L"loaded ini");
      }));
}

std::vector<TWatchedManager::TSeen>& TWatchedManager::Seen()
{
  static std::vector<TSeen> seen;
  return seen;
}

String LayoutIniPath()
{
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  return String(dir) + L"bar-places.ini";
}

String LayoutFormText(const TLayoutStoreKind* AStore)
{
  String store;
  if (AStore && *AStore == TLayoutStoreKind::IniFile)
    store = L"    StoreInIniFile = True\n    IniFileName = '" + LayoutIniPath() + L"'\n";
  else if (AStore)
    store = L"    StoreInRegistry = True\n    RegistryPath = '" + LayoutRegistryPath + L"'\n";
  return L"object LayoutForm: TLayoutForm\n"
         L"  Left = 80\n  Top = 80\n  Width = 560\n  Height = 340\n  Caption = 'Layout places'\n"
         L"  object dxBarManager1: TWatchedManager\n"
         L"    Style = bmsStandard\n" +
         store + L"    Categories.Strings = (\n      'All')\n" + L"    Categories.ItemsVisibles = (\n      2)\n" +
         L"    Categories.Visibles = (\n      True)\n" +
         Bar(L"dxBarManager1Bar1", L"Standard", L"dsTop", 0, 0, {L"btnOpen", L"btnSave"}) +
         Bar(L"dxBarManager1Bar2", L"Edit", L"dsTop", 1, 60, {L"btnCut", L"btnCopy"}) +
         Bar(L"dxBarManager1Bar3", L"Side", L"dsLeft", 0, 0, {L"btnBold", L"btnItalic"}) +
         Bar(L"dxBarManager1Bar4", L"Tools", L"dsTop", 0, 200, {L"btnFind", L"btnHelp"}) + Button(L"btnOpen", L"Open") +
         Button(L"btnSave", L"Save") + Button(L"btnCut", L"Cut") + Button(L"btnCopy", L"Copy") +
         Button(L"btnBold", L"Bold") + Button(L"btnItalic", L"Italic") + Button(L"btnFind", L"Find") +
         Button(L"btnHelp", L"Help") + L"  end\nend\n";
}

TLayoutForm* NewLayoutForm(const TLayoutStoreKind* AStore)
{
  auto* form = TCustomForm::CreateFromText<TLayoutForm>(LayoutFormText(AStore), nullptr);
  form->Show();
  PumpPending();
  return form;
}

TdxBarManager* ManagerOf(TForm* AForm)
{
  return static_cast<TdxBarManager*>(AForm->FindComponent(L"dxBarManager1"));
}

TdxBar* BarOf(TForm* AForm, const String& ACaption)
{
  return ManagerOf(AForm)->FindBarByCaption(ACaption);
}

void SaveLayout(TForm* AForm, TLayoutStoreKind AStore)
{
  if (AStore == TLayoutStoreKind::IniFile)
    ManagerOf(AForm)->SaveToIniFile(LayoutIniPath());
  else
    ManagerOf(AForm)->SaveToRegistry(LayoutRegistryPath);
}

void LoadLayout(TForm* AForm, TLayoutStoreKind AStore)
{
  if (AStore == TLayoutStoreKind::IniFile)
    ManagerOf(AForm)->LoadFromIniFile(LayoutIniPath());
  else
    ManagerOf(AForm)->LoadFromRegistry(LayoutRegistryPath);
  PumpPending();
}

void DeleteLayoutStores()
{
  DeleteFileW(LayoutIniPath().c_str());
  TRegistry().DeleteKey(L"\\" + LayoutRegistryPath.substr(0, LayoutRegistryPath.size() - 1));
}

bool TBarPlace::operator==(const TBarPlace& A) const
{
  return Caption == A.Caption && Visible == A.Visible && Site == A.Site && EqualRect(&Rect, &A.Rect) && Row == A.Row &&
         Vertical == A.Vertical && Title == A.Title;
}

std::ostream& operator<<(std::ostream& AStream, const TBarPlace& APlace)
{
  AStream << ToUtf8(APlace.Caption) << (APlace.Visible ? " shown" : " hidden") << " in " << ToUtf8(APlace.Site)
          << " at (" << APlace.Rect.left << "," << APlace.Rect.top << ")-(" << APlace.Rect.right << ","
          << APlace.Rect.bottom << ") row " << APlace.Row << (APlace.Vertical ? " upright" : "");
  if (!APlace.Title.empty())
    AStream << " titled '" << ToUtf8(APlace.Title) << "'";
  return AStream;
}

std::vector<TBarPlace> BarPlaces(TForm* AForm)
{
  std::vector<TBarPlace> places;
  TdxBars* bars = ManagerOf(AForm)->GetBars();
  for (int i = 0; i < bars->GetCount(); ++i) {
    TdxBar* bar = bars->GetItem(i);
    TBarPlace place;
    place.Caption = bar->GetCaption();
    TdxBarControl* control = bar->GetControl();
    HWND window = control && control->HandleAllocated() ? control->GetHandle() : nullptr;
    place.Visible = window && IsWindowVisible(window);
    if (place.Visible) {
      GetWindowRect(window, &place.Rect);
      HWND parent = GetParent(window);
      TdxDockControl* site = control->GetDockControl();
      if (site && parent == site->GetHandle()) {
        static const wchar_t* const sides[] = {L"none", L"left", L"top", L"right", L"bottom"};
        place.Site = sides[site->GetDockingStyle()];
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place.Rect), 2);
        place.Row = bar->GetRow();
      } else {
        place.Site = L"float";
        wchar_t title[128] = {};
        GetWindowTextW(window, title, 128);
        place.Title = title;
      }
      place.Vertical = control->IsVertical();
    }
    places.push_back(place);
  }
  return places;
}

bool DragBarTo(TdxBar* ABar, POINT ATo)
{
  TdxBarControl* control = ABar->GetControl();
  if (!control || !control->HandleAllocated())
    return false;
  RECT r;
  GetWindowRect(control->GetHandle(), &r);
  POINT grip{r.left + 3, (r.top + r.bottom) / 2};
  const TdxBarDockingStyle before = ABar->GetDockingStyle();
  return RunScript(
      [&] {
        SendMouseMove(grip);
        PauseScript(50);
        SendMouseButton(true);
        for (int i = 1; i <= 6; ++i) {
          SendMouseMove(POINT{grip.x + (ATo.x - grip.x) * i / 6, grip.y + (ATo.y - grip.y) * i / 6});
          PauseScript(40);
        }
        PauseScript(100);
        SendMouseButton(false);
      },
      [&] {
        return !ManagerOf(static_cast<TForm*>(ABar->GetBarManager()->Owner()))->GetBars()->IsDragging() &&
               ABar->GetDockingStyle() != before;
      },
      100, 8000);
}
