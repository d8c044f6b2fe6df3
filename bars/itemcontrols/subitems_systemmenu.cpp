// The system-menu item of a maximised MDI child: the child's small icon on the main menu,
// its system menu's entries as buttons and sub-items, and the default command on a double
// click.
#include "bars/barwindows/barcontrol.h"
#include "bars/model/manager.h"
#include "bars/model/startup.h"
#include "bars/itemcontrols/subitems.h"
#include "platform/Application.h"
#include "platform/Bitmap.h"
#include "platform/Menus.h"

IMPLEMENT_CLASS(TSystemMenuSubItem, TCustomdxBarSubItem)
IMPLEMENT_CLASS(TSystemMenuSubItemControl, TdxBarSubItemControl)

namespace {

// The library's pictures of the system commands that the menu draws as bitmaps of its own.
const wchar_t* SystemBitmapName(HBITMAP ABitmap)
{
  if (ABitmap == HBMMENU_POPUP_CLOSE)
    return L"DXBARCLOSE";
  if (ABitmap == HBMMENU_POPUP_RESTORE)
    return L"DXBARRESTORE";
  if (ABitmap == HBMMENU_POPUP_MAXIMIZE)
    return L"DXBARMAXIMIZE";
  if (ABitmap == HBMMENU_POPUP_MINIMIZE)
    return L"DXBARMINIMIZE";
  return nullptr;
}

// The states the system gives the standard entries before it shows a window's system menu:
// a maximised window cannot be moved, sized or maximised, an iconic one not sized or
// minimised, and only a maximised or iconic one restored.
void UpdateSystemMenuStates(HWND AWindow, HMENU AMenu)
{
  const LONG_PTR style = ::GetWindowLongPtrW(AWindow, GWL_STYLE);
  const bool zoomed = style & WS_MAXIMIZE, iconic = style & WS_MINIMIZE;
  auto enable = [AMenu](UINT ACommand, bool AEnabled) {
    ::EnableMenuItem(AMenu, ACommand, MF_BYCOMMAND | (AEnabled ? MF_ENABLED : MF_GRAYED));
  };
  enable(SC_SIZE, (style & WS_THICKFRAME) && !zoomed && !iconic);
  enable(SC_MOVE, !zoomed);
  enable(SC_MINIMIZE, (style & WS_MINIMIZEBOX) && !iconic);
  enable(SC_MAXIMIZE, (style & WS_MAXIMIZEBOX) && !zoomed);
  enable(SC_RESTORE, zoomed || iconic);
  if (::GetClassLongPtrW(AWindow, GCL_STYLE) & CS_NOCLOSE)
    enable(SC_CLOSE, false);
}

// The icon a window shows in its caption: its own, else its class's, else the application's.
HICON CaptionIcon(HWND AWindow)
{
  for (HWND window : {AWindow, Application ? Application->GetHandle() : HWND(nullptr)}) {
    if (!window || !::IsWindow(window))
      continue;
    for (WPARAM kind : {ICON_SMALL, ICON_BIG})
      if (auto icon = reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, kind, 0)))
        return icon;
    for (int index : {GCLP_HICONSM, GCLP_HICON})
      if (auto icon = reinterpret_cast<HICON>(::GetClassLongPtrW(window, index)))
        return icon;
  }
  return nullptr;
}

}  // namespace

TSystemMenuSubItem::~TSystemMenuSubItem()
{
  FreeBuiltItems();
}

void TSystemMenuSubItem::FreeBuiltItems()
{
  std::vector<TWeakRef<TdxBarItem>> items;
  items.swap(FBuiltItems);
  for (auto it = items.rbegin(); it != items.rend(); ++it)
    if (TdxBarItem* item = it->Get())
      item->Free();
}

// The menu is read anew each time: the window changes its entries' states as it goes.
void TSystemMenuSubItem::DoPopup()
{
  FreeBuiltItems();
  GetItemLinks()->Clear();
  TWeakRef<TSystemMenuSubItem> self(this);
  if (FWindow && IsWindow(FWindow))
    if (HMENU menu = ::GetSystemMenu(FWindow, FALSE)) {
      // As before the system shows the menu: the standard states first, then the window's
      // own word on them.
      UpdateSystemMenuStates(FWindow, menu);
      ::SendMessageW(FWindow, WM_INITMENU, WPARAM(menu), 0);
      if (self && IsWindow(FWindow))
        ::SendMessageW(FWindow, WM_INITMENUPOPUP, WPARAM(menu), MAKELPARAM(0, TRUE));
      if (!self)
        return;
      if (IsWindow(FWindow))
        BuildItems(menu, GetItemLinks());
    }
  TCustomdxBarSubItem::DoPopup();
}

void TSystemMenuSubItem::BuildItems(HMENU AMenu, TdxBarItemLinks* ALinks)
{
  TComponent* owner = Owner();
  bool group = false;
  const int count = ::GetMenuItemCount(AMenu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_BITMAP | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = UINT(std::size(text) - 1);
    if (!::GetMenuItemInfoW(AMenu, UINT(i), TRUE, &info))
      continue;
    if (info.fType & MFT_SEPARATOR) {
      group = true;
      continue;
    }
    String caption = text;
    String shortCut;
    if (size_t tab = caption.find(L'\t'); tab != String::npos) {
      shortCut = caption.substr(tab + 1);
      caption.erase(tab);
    }
    TdxBarItem* item = nullptr;
    if (info.hSubMenu) {
      auto* sub = new TdxBarSubItem(owner);
      FBuiltItems.emplace_back(sub);
      BuildItems(info.hSubMenu, sub->GetItemLinks());
      item = sub;
    } else {
      auto* button = new TdxBarButton(owner);
      FBuiltItems.emplace_back(button);
      button->SetTag(intptr_t(info.wID));
      button->SetOnClick(TNotifyEvent(this, &TSystemMenuSubItem::EntryClick));
      if (info.fState & MFS_CHECKED) {
        button->SetButtonStyle(bsChecked);
        button->SetDown(true);
      }
      button->SetShortCut(TextToShortCut(shortCut));
      item = button;
    }
    item->SetCaption(caption);
    item->SetEnabled(!(info.fState & (MFS_GRAYED | MFS_DISABLED)));
    if (const wchar_t* name = SystemBitmapName(info.hbmpItem))
      if (HBITMAP bitmap = ::LoadBitmapW(dxBarResourceInstance(), name))
        item->GetGlyph()->SetHandle(bitmap);
    TdxBarItemLink* link = ALinks->AddItem(item);
    link->SetBeginGroup(group);
    group = false;
  }
}

void TSystemMenuSubItem::EntryClick(TObject* Sender)
{
  auto* button = dynamic_cast<TdxBarButton*>(Sender);
  if (button && FWindow && IsWindow(FWindow))
    ::PostMessageW(FWindow, WM_SYSCOMMAND, WPARAM(button->Tag()), 0);
}

void TSystemMenuSubItem::ExecuteDefaultCommand()
{
  if (!FWindow || !IsWindow(FWindow))
    return;
  HMENU menu = ::GetSystemMenu(FWindow, FALSE);
  const UINT command = menu ? ::GetMenuDefaultItem(menu, FALSE, 0) : UINT(-1);
  if (command != UINT(-1))
    ::PostMessageW(FWindow, WM_SYSCOMMAND, command, 0);
}

// ---------------------------------------------------------------------------
// TSystemMenuSubItemControl

bool TSystemMenuSubItemControl::IsSelected() const
{
  TdxBarManager* manager = GetBarManager();
  return !(manager && manager->IsCustomizing()) && TdxBarSubItemControl::IsSelected();
}

void TSystemMenuSubItemControl::Draw(const TRect& R, bool)
{
  TcxCanvas* canvas = GetCanvas();
  HDC dc = canvas ? canvas->GetHandle() : nullptr;
  if (!dc)
    return;
  RECT r{R.left, R.top, R.right, R.bottom};
  ::FillRect(dc, &r, GetBackgroundBrush());
  auto* item = dynamic_cast<TSystemMenuSubItem*>(GetItem());
  HWND window = item ? item->GetWindow() : nullptr;
  if (!window || !IsWindow(window))
    return;
  HICON icon = CaptionIcon(window);
  if (!icon)
    return;
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  ::DrawIconEx(dc, (R.left + R.right - cx) / 2, (R.top + R.bottom - cy) / 2, icon, cx, cy, 0, nullptr, DI_NORMAL);
}

void TSystemMenuSubItemControl::DoubleClick()
{
  TWeakRef<TdxBarItem> item(GetItem());
  if (TCustomdxBarControl* parent = GetParent(); parent && IsParentAlive())
    parent->Close();
  if (auto* menuItem = dynamic_cast<TSystemMenuSubItem*>(item.Get()))
    menuItem->ExecuteDefaultCommand();
}
