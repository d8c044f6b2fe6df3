// Shows one form in each of the five looks and saves two pictures of each: a main menu, a
// toolbar with buttons idle, hot, held, down, disabled and dropping down, a large button,
// an edit and a combo, a row of a spin edit, a tree-view combo and an image combo, and a
// floating toolbar; then the same form with the drop-down button's menu open (a selected
// entry, a separator, a checked and a disabled entry, and the spin edit and the combos);
// then narrowed, with a captioned bar docked at the left, so that bars hide items.
//
//   gallery FOLDER     writes FOLDER\gallery-<look>.bmp, FOLDER\gallery-<look>-menu.bmp and
//                      FOLDER\gallery-<look>-narrow.bmp for each look and prints each path
//
// The pictures are copied from the screen, so the program runs on a display of its own
// (scripts/gallery); states that need the pointer (hot, held) are made with real input.
#include <cstdio>
#include <cstring>
#include <memory>

#include "barextras/containeritem.h"
#include "barextras/listitems.h"
#include "platform/StdCtrls.h"
#include "barextras/dxBarExtItems.h"
#include "bars/model/bar.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/itemcontrols/combos.h"
#include "bars/barwindows/dockcontrol.h"
#include "bars/dxBar.h"
#include "bars/menus/submenu.h"
#include "bars/barwindows/toolbar.h"
#include "platform/Bitmap.h"
#include "platform/Forms.h"
#include "platform/ImgList.h"
#include "platform/Streams.h"
#include "platform/Win.h"

#include <shellapi.h>

class TGalleryForm : public TForm {
  DECLARE_CLASS(TGalleryForm, TForm)
public:
  explicit TGalleryForm(TComponent* AOwner) : TForm(AOwner) {}
};
IMPLEMENT_CLASS(TGalleryForm, TForm)

// The drop-down button's menu: its own links shown in the library's menu window.
class TGalleryMenu : public TComponent, public IdxBarDropDownMenu, public IdxBarLinksOwner {
  DECLARE_CLASS(TGalleryMenu, TComponent)
public:
  explicit TGalleryMenu(TComponent* AOwner) : TComponent(AOwner)
  {
    FLinks = std::make_unique<TdxBarSubMenuControlItemLinks>(GetBarManagerByOwner(AOwner),
                                                             static_cast<IdxBarLinksOwner*>(this));
  }
  ~TGalleryMenu() override { FLinks.reset(); }

  TdxBarItemLinks* GetDropDownItemLinks() const override { return FLinks.get(); }
  TCustomdxBarControl* DropDownMenu(TdxBarItemControl* AOwnerControl, const TPoint& P, const TRect& AExcludeRect,
                                    TCustomdxBarControl* AParentBar) override
  {
    FLinks->CreateBarControl();
    auto* menu = dynamic_cast<TdxBarSubMenuControl*>(GetDropDownWindow());
    if (!menu)
      return nullptr;
    TWeakRef<TdxBarSubMenuControl> ref(menu);
    menu->SetOwnerItemControl(AOwnerControl);
    menu->SetParentBarControl(AParentBar);
    menu->SetOwnerHeight(RectHeight(AExcludeRect));
    menu->SetBounds(P.x, P.y, 0, 0);
    menu->Popup();
    return ref.Get();
  }
  void CloseDropDownMenu() override { FLinks->DestroyBarControl(); }
  TCustomdxBarControl* GetDropDownWindow() const override { return FLinks ? FLinks->GetBarControl() : nullptr; }

  TObject* GetInstance() override { return this; }
  TCustomdxBarControl* CreateBarControl() override
  {
    return dynamic_cast<TCustomdxBarControl*>(TdxBarSubMenuControl::StaticClass()->Create(FLinks->GetBarManager()));
  }
  bool CanAddItem(TdxBarItem* AItem, String& AErrorText) override { return true; }

private:
  std::unique_ptr<TdxBarSubMenuControlItemLinks> FLinks;
};
IMPLEMENT_CLASS(TGalleryMenu, TComponent)

namespace {

struct TLook {
  TdxBarManagerStyle Style;
  const wchar_t* Name;
};
constexpr TLook Looks[] = {{bmsStandard, L"standard"},
                           {bmsEnhanced, L"enhanced"},
                           {bmsFlat, L"flat"},
                           {bmsXP, L"xp"},
                           {bmsOffice11, L"office11"}};

void Print(const String& AText)
{
  std::fputws((AText + L"\n").c_str(), stdout);
  std::fflush(stdout);
}

void Pump()
{
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Lets the windows take what was sent to them: input, timers, repaints.
void Settle(int AMilliseconds = 150)
{
  DWORD end = GetTickCount() + DWORD(AMilliseconds);
  while (GetTickCount() < end) {
    Pump();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  Pump();
}

void SendMouse(DWORD AFlags, POINT AScreen = {})
{
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = AFlags;
  if (AFlags & MOUSEEVENTF_MOVE) {
    input.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE;
    input.mi.dx = LONG(AScreen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1));
    input.mi.dy = LONG(AScreen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1));
  }
  SendInput(1, &input, sizeof(input));
  Settle();
}

// The "Data" of a glyph as form data writes it: a square of a colour on the transparent
// fuchsia.
String GlyphData(int ASize, TColor AColor)
{
  TBitmap glyph;
  glyph.SetPixelFormat(pf24bit);
  glyph.SetSize(ASize, ASize);
  glyph.GetCanvas()->GetBrush()->SetColor(clFuchsia);
  glyph.GetCanvas()->FillRect(Rect(0, 0, ASize, ASize));
  glyph.GetCanvas()->GetBrush()->SetColor(AColor);
  glyph.GetCanvas()->FillRect(Rect(ASize / 8, ASize / 8, ASize - ASize / 8, ASize - ASize / 8));
  TMemoryStream bytes;
  glyph.SaveToStream(&bytes);
  const auto* p = static_cast<const uint8_t*>(bytes.Memory());
  uint32_t size = uint32_t(bytes.GetSize());
  String hex;
  auto put = [&hex](uint8_t b) {
    static const wchar_t digits[] = L"0123456789ABCDEF";
    hex += digits[b >> 4];
    hex += digits[b & 15];
  };
  for (int i = 0; i < 4; ++i)
    put(uint8_t(size >> (8 * i)));
  for (uint32_t i = 0; i < size; ++i)
    put(p[i]);
  return L"{" + hex + L"}";
}

String Link(const String& AName, bool ABeginGroup = false)
{
  return String(L"        item\n") + (ABeginGroup ? L"          BeginGroup = True\n" : L"") +
         L"          Visible = True\n          ItemName = '" + AName + L"'\n        end\n";
}

String Button(const String& AName, const String& ACaption, const String& AExtra)
{
  return L"    object " + AName + L": TdxBarButton\n      Caption = '" + ACaption +
         L"'\n      Category = 0\n      Visible = ivAlways\n" + AExtra + L"    end\n";
}

String FormText()
{
  const String blue = L"      Glyph.Data = " + GlyphData(16, TColor(RGB(40, 90, 200))) + L"\n";
  const String green = L"      Glyph.Data = " + GlyphData(16, TColor(RGB(40, 160, 60))) + L"\n";
  const String bar = L"      UseOwnFont = False\n      Visible = True\n    end\n";
  const String captioned = L"      PaintStyle = psCaptionGlyph\n";
  return String(
             L"object GalleryForm: TGalleryForm\n"
             L"  Left = 40\n  Top = 40\n  Width = 520\n  Height = 300\n  Caption = 'Gallery'\n"
             L"  object dxBarManager1: TdxBarManager\n"
             L"    Style = bmsFlat\n"
             L"    object barMenu: TdxBar\n      Caption = 'Menu'\n      DockingStyle = dsTop\n"
             L"      DockedLeft = 0\n      DockedTop = 0\n      IsMainMenu = True\n      WholeRow = True\n"
             L"      Row = 0\n      ItemLinks = <\n") +
         Link(L"mnuFile") + Link(L"mnuEdit") + Link(L"mnuView") + L">\n" + bar +
         L"    object barMain: TdxBar\n      Caption = 'Main'\n      DockingStyle = dsTop\n"
         L"      DockedLeft = 0\n      DockedTop = 24\n      Row = 1\n      ItemLinks = <\n" +
         Link(L"btnIdle") + Link(L"btnHot") + Link(L"btnDown") + Link(L"btnOff") + Link(L"btnDrop") +
         Link(L"btnLarge", true) + L">\n" + bar +
         L"    object barEdits: TdxBar\n      Caption = 'Edits'\n      DockingStyle = dsTop\n"
         L"      DockedLeft = 0\n      DockedTop = 80\n      Row = 2\n      ItemLinks = <\n" +
         Link(L"edtName") + Link(L"cboKind") + L">\n" + bar +
         L"    object barTools: TdxBar\n      Caption = 'Tools'\n      DockingStyle = dsNone\n"
         L"      FloatLeft = 330\n      FloatTop = 215\n      FloatClientWidth = 120\n      FloatClientHeight = 26\n"
         L"      ItemLinks = <\n" +
         Link(L"btnHeld") + Link(L"btnTool") + L">\n" + bar +
         L"    object barSide: TdxBar\n      Caption = 'Side'\n      DockingStyle = dsLeft\n"
         L"      DockedLeft = 0\n      DockedTop = 0\n      Row = 0\n      ItemLinks = <\n" +
         Link(L"btnCut") + Link(L"btnCopy") + Link(L"btnPaste") + Link(L"btnWrap", true) + Link(L"btnFind") +
         Link(L"btnUndo") + L">\n      UseOwnFont = False\n      Visible = False\n    end\n" +
         Button(L"btnCut", L"Cu&t", blue + captioned) + Button(L"btnCopy", L"&Copy", blue + captioned) +
         Button(L"btnPaste", L"&Paste", green + captioned + L"      Enabled = False\n") +
         Button(L"btnWrap", L"&Wrap", green + captioned + L"      ButtonStyle = bsChecked\n      Down = True\n") +
         Button(L"btnFind", L"&Find", blue + captioned) + Button(L"btnUndo", L"&Undo", blue + captioned) +
         Button(L"mnuFile", L"&File", L"") + Button(L"mnuEdit", L"&Edit", L"") + Button(L"mnuView", L"&View", L"") +
         Button(L"btnIdle", L"Idle", blue) + Button(L"btnHot", L"Hot", blue) +
         Button(L"btnDown", L"Down", green + L"      ButtonStyle = bsChecked\n      Down = True\n") +
         Button(L"btnOff", L"Off", blue + L"      Enabled = False\n") +
         Button(L"btnDrop", L"Drop", blue + L"      ButtonStyle = bsDropDown\n") + Button(L"btnHeld", L"Held", green) +
         Button(L"mnuNew", L"&New", blue) + Button(L"mnuOpen", L"&Open...", L"      ShortCut = 16463\n") +
         Button(L"mnuRuler", L"&Ruler", green + L"      ButtonStyle = bsChecked\n      Down = True\n") +
         Button(L"mnuGrid", L"&Grid", L"      ButtonStyle = bsChecked\n      Down = True\n") +
         Button(L"mnuPrint", L"&Print", L"      Enabled = False\n") + Button(L"mnuClose", L"&Close", L"") +
         Button(L"btnTool", L"Tool", blue) +
         L"    object edtName: TdxBarEdit\n      Caption = 'Name'\n      Category = 0\n      Visible = ivAlways\n"
         L"      ShowCaption = True\n      Width = 90\n      Text = 'Edit'\n    end\n"
         L"    object cboKind: TdxBarCombo\n      Caption = 'Kind'\n      Category = 0\n      Visible = ivAlways\n"
         L"      ShowCaption = True\n      Width = 100\n      Text = 'Combo'\n"
         L"      Items.Strings = (\n        'Combo'\n        'Other')\n    end\n"
         L"    object btnLarge: TdxBarLargeButton\n      Caption = 'Large'\n      Category = 0\n"
         L"      Visible = ivAlways\n      GlyphLayout = glTop\n      AutoGrayScale = False\n      LargeGlyph.Data = " +
         GlyphData(32, TColor(RGB(200, 60, 40))) +
         L"\n    end\n"
         L"  end\n"
         L"end\n";
}

// A row of a spin edit, a tree-view combo and an image combo, the same three at the end of
// the drop-down menu; a row of the list items; hosted controls on the row and in the menu.
void AddPickers(TGalleryForm* AForm, TdxBarManager* AManager, TGalleryMenu* AMenu)
{
  auto* images = new TImageList(AForm);
  images->SetSize(16, 16);
  for (TColor color : {TColor(RGB(40, 90, 200)), TColor(RGB(40, 160, 60)), TColor(RGB(200, 60, 40))}) {
    TBitmap square;
    square.SetSize(16, 16);
    square.GetCanvas()->GetBrush()->SetColor(color);
    square.GetCanvas()->FillRect(TRect{0, 0, 16, 16});
    images->Add(&square, nullptr);
  }
  auto* spin = new TdxBarSpinEdit(AForm);
  spin->SetCaption(L"Size");
  spin->SetWidth(60);
  spin->SetMaxValue(72);
  spin->SetPrefix(L" pt");
  spin->SetValue(12);
  auto* tree = new TdxBarTreeViewCombo(AForm);
  tree->SetCaption(L"Folder");
  tree->SetWidth(100);
  TTreeNode* root = tree->GetItems()->AddChild(nullptr, L"Songs");
  root->SetImageIndex(0);
  tree->GetItems()->AddChild(root, L"Imported")->SetImageIndex(1);
  tree->SetComboImages(images);
  tree->SetText(L"Imported");
  auto* image = new TdxBarImageCombo(AForm);
  image->SetCaption(L"Mark");
  image->SetWidth(90);
  for (const wchar_t* text : {L"Blue", L"Green", L"Red"})
    image->GetItems()->Add(text);
  for (int i = 0; i < 3; ++i)
    image->SetImageIndexes(i, i);
  image->SetComboImages(images);
  image->SetItemIndex(2);
  // An ordinary control of the form hosted on the row, and in the menu the recent-files list
  // and an in-place sub item, both shown expanded there.
  auto* check = new TCheckBox(AForm);
  check->SetCaption(L"Auto");
  check->SetBounds(0, 0, 54, 18);
  check->SetChecked(true);
  auto* host = new TdxBarControlContainerItem(AForm);
  host->SetCaption(L"Auto");
  host->SetControl(check);
  auto* recent = new TdxBarMRUListItem(AForm);
  recent->SetCaption(L"Recent");
  for (const wchar_t* file : {L"C:\\Songs\\intro.mid", L"C:\\Songs\\chorus.mid"})
    recent->AddItem(file);
  auto* more = new TdxBarInPlaceSubItem(AForm);
  more->SetCaption(L"More");
  TdxBar* row = AManager->GetBars()->Add();
  row->SetCaption(L"Pickers");
  row->SetDockingStyle(dsTop);
  row->SetRow(3);
  bool first = true;
  for (TdxBarItem* item :
       {static_cast<TdxBarItem*>(spin), static_cast<TdxBarItem*>(tree), static_cast<TdxBarItem*>(image)}) {
    item->SetShowCaption(true);
    row->GetItemLinks()->AddItem(item);
    AMenu->GetDropDownItemLinks()->AddItem(item)->SetBeginGroup(first);
    first = false;
  }
  row->GetItemLinks()->AddItem(host);
  AMenu->GetDropDownItemLinks()->AddItem(recent)->SetBeginGroup(true);
  AMenu->GetDropDownItemLinks()->AddItem(more);
  auto* rescan = new TdxBarButton(AForm);
  rescan->SetCaption(L"Rescan");
  more->GetItemLinks()->AddItem(rescan);
  more->SetExpanded(true);
  row->SetVisible(true);
  // The lists as toolbars show them, drop-down buttons of their own, and a second hosted
  // control in the menu.
  auto* toolbars = new TdxBarToolbarsListItem(AForm);
  toolbars->SetCaption(L"Toolbars");
  TdxBar* lists = AManager->GetBars()->Add();
  lists->SetCaption(L"Lists");
  lists->SetDockingStyle(dsTop);
  lists->SetRow(4);
  for (TdxBarItem* item :
       {static_cast<TdxBarItem*>(toolbars), static_cast<TdxBarItem*>(recent), static_cast<TdxBarItem*>(more)})
    lists->GetItemLinks()->AddItem(item);
  lists->SetVisible(true);
  auto* loop = new TCheckBox(AForm);
  loop->SetCaption(L"Loop");
  loop->SetBounds(0, 0, 54, 18);
  auto* menuHost = new TdxBarControlContainerItem(AForm);
  menuHost->SetCaption(L"Loop");
  menuHost->SetControl(loop);
  AMenu->GetDropDownItemLinks()->AddItem(menuHost)->SetBeginGroup(true);
}

TdxBarItemLink* FindLink(TdxBar* ABar, const String& AName)
{
  TdxBarItemLinks* links = ABar ? ABar->GetItemLinks() : nullptr;
  for (int i = 0; links && i < links->Count(); ++i)
    if (TdxBarItem* item = links->Items(i)->GetItem(); item && item->Name() == AName)
      return links->Items(i);
  return nullptr;
}

// The middle of a link on the screen.
POINT CenterOf(TdxBar* ABar, const String& AName)
{
  TdxBarItemLink* link = FindLink(ABar, AName);
  TdxBarControl* control = ABar ? ABar->GetControl() : nullptr;
  if (!link || !control || !control->HandleAllocated())
    return POINT{-1, -1};
  TRect r = link->GetItemRect();
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(control->GetHandle(), &p);
  return p;
}

// The form, the floating toolbar and an open menu, as the screen shows them.
void SaveShot(TCustomForm* AForm, TdxBar* AFloating, const String& AFileName, TCustomdxBarControl* AMenu = nullptr)
{
  RECT r{};
  GetWindowRect(AForm->GetHandle(), &r);
  for (TCustomdxBarControl* window : {static_cast<TCustomdxBarControl*>(AFloating->GetControl()), AMenu})
    if (window && window->HandleAllocated()) {
      RECT f{};
      GetWindowRect(window->GetHandle(), &f);
      UnionRect(&r, &r, &f);
    }
  InflateRect(&r, 8, 8);
  TBitmap picture;
  picture.SetPixelFormat(pf24bit);
  picture.SetSize(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  BitBlt(picture.GetCanvas()->GetHandle(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  picture.SaveToFile(AFileName);
}

int Run(const String& AFolder)
{
  // Menus cast their shadow as a default system has them (for this session only).
  BOOL shadows = TRUE;
  SystemParametersInfoW(SPI_GETDROPSHADOW, 0, &shadows, 0);
  SystemParametersInfoW(SPI_SETDROPSHADOW, 0, reinterpret_cast<PVOID>(TRUE), 0);
  struct TRestoreShadows {
    BOOL Value;
    ~TRestoreShadows() { SystemParametersInfoW(SPI_SETDROPSHADOW, 0, reinterpret_cast<PVOID>(uintptr_t(Value)), 0); }
  } restoreShadows{shadows};
  auto* form = TCustomForm::CreateFromText<TGalleryForm>(FormText(), nullptr);
  auto* manager = dynamic_cast<TdxBarManager*>(form->FindComponent(L"dxBarManager1"));
  TdxBar* main = manager->GetBars()->GetItem(1);
  TdxBar* floating = manager->GetBars()->GetItem(3);
  TdxBar* side = manager->GetBars()->GetItem(4);
  auto* menu = new TGalleryMenu(form);
  for (const wchar_t* name : {L"mnuNew", L"mnuOpen", L"mnuRuler", L"mnuGrid", L"mnuPrint", L"mnuClose"})
    if (auto* item = dynamic_cast<TdxBarItem*>(form->FindComponent(name)))
      menu->GetDropDownItemLinks()->AddItem(item)->SetBeginGroup(String(name) == L"mnuRuler");
  AddPickers(form, manager, menu);
  if (auto* drop = dynamic_cast<TdxBarButton*>(form->FindComponent(L"btnDrop")))
    drop->SetDropDownMenu(menu);
  form->Show();
  SetForegroundWindow(form->GetHandle());
  Settle(400);
  for (const TLook& look : Looks) {
    manager->SetStyle(look.Style);
    Settle(300);
    // Held: the floating bar's button under a pressed pointer; hot: the docked bar's button
    // chosen as a keyboard walk would choose it.
    SendMouse(MOUSEEVENTF_MOVE, CenterOf(floating, L"btnHeld"));
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    if (TdxBarControl* bar = main->GetControl())
      if (TdxBarItemLink* hot = FindLink(main, L"btnHot"))
        bar->SetSelectedControl(hot->GetControl());
    RedrawWindow(form->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    Settle(300);
    String file = AFolder + L"\\gallery-" + look.Name + L".bmp";
    SaveShot(form, floating, file);
    Print(file);
    // Released away from the button: no click.
    SendMouse(MOUSEEVENTF_MOVE, POINT{5, 5});
    SendMouse(MOUSEEVENTF_LEFTUP);
    Settle(200);
    // The drop-down button's menu, opened by a click on its arrow, its second entry
    // selected as the pointer would select it.
    POINT drop = CenterOf(main, L"btnDrop");
    if (TdxBarItemLink* link = FindLink(main, L"btnDrop"))
      drop.x += RectWidth(link->GetItemRect()) / 2 - 4;
    SendMouse(MOUSEEVENTF_MOVE, drop);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
    Settle(300);
    auto* open = dynamic_cast<TdxBarSubMenuControl*>(menu->GetDropDownWindow());
    if (!open) {
      Print(L"error: the drop-down menu did not open in the " + String(look.Name) + L" look");
      return 1;
    }
    TdxBarItemLink* entry = open->GetItemLinks() ? open->GetItemLinks()->ShownItems(1) : nullptr;
    static_cast<TCustomdxBarControl*>(open)->SetSelectedControl(entry ? entry->GetControl() : nullptr);
    RedrawWindow(open->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
    Settle(300);
    file = AFolder + L"\\gallery-" + look.Name + L"-menu.bmp";
    SaveShot(form, floating, file, open);
    Print(file);
    open->Close();
    Settle(200);
  }
  // Last (a hosted control once hidden behind a mark stays hidden when the form widens
  // again): each look narrowed, with the captioned bar at the left, so that the rows and
  // that bar keep items behind their marks.
  side->SetVisible(true);
  form->SetBounds(form->GetLeft(), form->GetTop(), 330, 340);
  for (const TLook& look : Looks) {
    manager->SetStyle(look.Style);
    Settle(300);
    RedrawWindow(form->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    Settle(300);
    String file = AFolder + L"\\gallery-" + look.Name + L"-narrow.bmp";
    SaveShot(form, floating, file);
    Print(file);
  }
  form->Free();
  return 0;
}

}  // namespace

int main()
{
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  String folder = count > 1 ? String(args[1]) : String(L".");
  LocalFree(args);
  InitializeForms();
  dxBarInitialize();
  RegisterClasses({TGalleryForm::StaticClass(), TdxBarManager::StaticClass(), TdxBar::StaticClass(),
                   TdxBarButton::StaticClass(), TdxBarLargeButton::StaticClass(), TdxBarEdit::StaticClass(),
                   TdxBarCombo::StaticClass()});
  int result = 1;
  try {
    result = Run(folder);
  } catch (const Exception& e) {
    Print(L"error: " + e.Message());
  }
  dxBarFinalize();
  FinalizeForms();
  return result;
}
