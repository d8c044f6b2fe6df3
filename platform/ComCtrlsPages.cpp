// TPageControl and TTabSheet: the pages are child windows of the native tab control, laid
// out in its display area; tabs exist for the pages with TabVisible, in page order.
#include "platform/ComCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/Forms.h"

namespace {

void EnsureTabControlClass()
{
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

}  // namespace

// ---------------------------------------------------------------------------
// TTabSheet

PUBLISHED(TTabSheet, TWinControl)
{
  p.Prop(L"TabVisible", &TTabSheet::GetTabVisible, &TTabSheet::SetTabVisible).Default(true);
}

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner)
{
  FControlStyle = {csAcceptsControls, csClickEvents, csSetCaption, csDoubleClicks, csParentBackground};
  FAlign = alClient;
  FVisible = false;
  SetColor(clBtnFace);
}

TTabSheet::~TTabSheet()
{
  if (FPageControl)
    FPageControl->RemovePage(this);
  FPageControl = nullptr;
}

void TTabSheet::SetParent(TWinControl* AParent)
{
  if (auto* pages = dynamic_cast<TPageControl*>(AParent)) {
    SetPageControl(pages);
    return;
  }
  if (FPageControl)
    FPageControl->RemovePage(this);
  TWinControl::SetParent(AParent);
}

void TTabSheet::SetPageControl(TPageControl* Value)
{
  if (FPageControl == Value)
    return;
  if (FPageControl)
    FPageControl->RemovePage(this);
  TWinControl::SetParent(Value);
  if (Value)
    Value->InsertPage(this);
}

void TTabSheet::SetTabVisible(bool Value)
{
  if (FTabVisible == Value)
    return;
  FTabVisible = Value;
  if (!FPageControl)
    return;
  // A page losing its tab cannot stay the shown one.
  if (!Value && FPageControl->FActivePage == this)
    FPageControl->SetActivePage(FPageControl->FindNextPage(this, true, true));
  FPageControl->UpdateTabs();
}

int TTabSheet::GetPageIndex() const
{
  if (!FPageControl)
    return -1;
  auto& pages = FPageControl->FPages;
  return int(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int Value)
{
  if (!FPageControl)
    return;
  auto& pages = FPageControl->FPages;
  Value = std::clamp(Value, 0, int(pages.size()) - 1);
  pages.erase(pages.begin() + GetPageIndex());
  pages.insert(pages.begin() + Value, this);
  FPageControl->UpdateTabs();
}

int TTabSheet::GetTabIndex() const
{
  if (!FPageControl || !FTabVisible)
    return -1;
  int index = 0;
  for (TTabSheet* page : FPageControl->FPages) {
    if (page == this)
      return index;
    if (page->FTabVisible)
      ++index;
  }
  return -1;
}

void TTabSheet::CreateParams(TCreateParams& Params)
{
  TWinControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  Params.WindowClass.style &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

void TTabSheet::Dispatch(TMessage& Message)
{
  TWinControl::Dispatch(Message);
  // The tab shows the sheet's caption.
  if (Message.Msg == CM_TEXTCHANGED && FPageControl)
    FPageControl->UpdateTabs();
}

// ---------------------------------------------------------------------------
// TPageControl

PUBLISHED(TPageControl, TWinControl)
{
  p.Prop(L"TabStop", &TPageControl::GetTabStop, &TPageControl::SetTabStop).Default(true);
  p.Component(L"ActivePage", &TPageControl::GetActivePage, &TPageControl::SetActivePage);
  p.Event(L"OnChange", &TPageControl::OnChange);
  p.Event(L"OnChanging", &TPageControl::OnChanging);
}

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner)
{
  FControlStyle = {csAcceptsControls, csDoubleClicks};
  FTabStop = true;
  SetBounds(0, 0, 289, 193);
  SetColor(clBtnFace);
}

TPageControl::~TPageControl()
{
  // The pages are the owner's to free; they only forget this control.
  for (TTabSheet* page : FPages)
    page->FPageControl = nullptr;
  FPages.clear();
  FActivePage = nullptr;
}

TTabSheet* TPageControl::GetPages(int Index) const
{
  return Index >= 0 && Index < int(FPages.size()) ? FPages[size_t(Index)] : nullptr;
}

int TPageControl::GetActivePageIndex() const
{
  return FActivePage ? FActivePage->GetPageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int Value)
{
  SetActivePage(GetPages(Value));
}

TTabSheet* TPageControl::PageOfTab(int Index) const
{
  for (TTabSheet* page : FPages)
    if (page->FTabVisible && Index-- == 0)
      return page;
  return nullptr;
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const
{
  int count = int(FPages.size());
  if (count == 0)
    return nullptr;
  auto it = std::find(FPages.begin(), FPages.end(), CurPage);
  int start = it == FPages.end() ? (GoForward ? count - 1 : 0) : int(it - FPages.begin());
  int i = start;
  do {
    i = GoForward ? (i + 1) % count : (i + count - 1) % count;
    TTabSheet* page = FPages[size_t(i)];
    if ((!CheckTabVisible || page->FTabVisible) && page != CurPage)
      return page;
  } while (i != start);
  return nullptr;
}

void TPageControl::SetActivePage(TTabSheet* Value)
{
  if (FComponentState.Contains(csLoading)) {
    FPendingActive = Value;
    return;
  }
  if (Value && (Value->FPageControl != this || !Value->FTabVisible))
    return;
  if (FActivePage == Value)
    return;
  TTabSheet* previous = FActivePage;
  FActivePage = Value;
  ShowActivePage(previous);
  if (FHandle)
    ::SendMessageW(FHandle, TCM_SETCURSEL, WPARAM(Value ? Value->GetTabIndex() : -1), 0);
}

void TPageControl::ShowActivePage(TTabSheet* Previous)
{
  TCustomForm* form = GetParentForm(this, false);
  TWinControl* focused = form ? form->GetActiveControl() : nullptr;
  bool focusWasOnPrevious = Previous && focused && Previous->ContainsControl(focused);
  if (FActivePage) {
    FActivePage->SetVisible(true);
    FActivePage->BringToFront();
  }
  for (TTabSheet* page : FPages)
    if (page != FActivePage)
      page->SetVisible(false);
  // The focus may not stay on a control that is now hidden.
  if (focusWasOnPrevious && form && FActivePage && FActivePage->CanFocus()) {
    TWinControl* next = FActivePage->FindNextControl(nullptr, true, true, false);
    if (next && next->CanFocus())
      next->SetFocus();
    else if (CanFocus())
      SetFocus();
  }
}

bool TPageControl::CanChange()
{
  bool allow = true;
  CallEvent(OnChanging, this, allow);
  return allow;
}

void TPageControl::Change()
{
  CallEvent(OnChange, this);
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible)
{
  TTabSheet* next = FindNextPage(FActivePage, GoForward, CheckTabVisible);
  if (!next || next == FActivePage || !CanChange())
    return;
  SetActivePage(next);
  Change();
}

void TPageControl::InsertPage(TTabSheet* Page)
{
  FPages.push_back(Page);
  Page->FPageControl = this;
  Page->FreeNotification(this);
  UpdateTabs();
  if (!FActivePage && Page->FTabVisible && !FComponentState.Contains(csLoading))
    SetActivePage(Page);
  else
    Page->SetVisible(Page == FActivePage);
}

void TPageControl::RemovePage(TTabSheet* Page)
{
  auto it = std::find(FPages.begin(), FPages.end(), Page);
  if (it == FPages.end())
    return;
  TTabSheet* next = FActivePage == Page ? FindNextPage(Page, true, true) : FActivePage;
  FPages.erase(it);
  Page->FPageControl = nullptr;
  if (FPendingActive == Page)
    FPendingActive = nullptr;
  if (FActivePage == Page) {
    FActivePage = nullptr;
    if (!FComponentState.Contains(csDestroying))
      SetActivePage(next);
  }
  if (!FComponentState.Contains(csDestroying))
    UpdateTabs();
}

void TPageControl::Notification(TComponent* AComponent, TOperation Operation)
{
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove)
    if (auto* page = dynamic_cast<TTabSheet*>(AComponent))
      RemovePage(page);
}

void TPageControl::Loaded()
{
  TWinControl::Loaded();
  TTabSheet* wanted = FPendingActive;
  FPendingActive = nullptr;
  if (!wanted || wanted->FPageControl != this || !wanted->FTabVisible)
    wanted = FindNextPage(nullptr, true, true);
  FActivePage = nullptr;
  SetActivePage(wanted);
  UpdateTabs();
}

void TPageControl::GetChildren(const TGetChildProc& Proc, TComponent* Root)
{
  // Pages in page order, so that reading them back keeps it; then anything else.
  for (TTabSheet* page : FPages)
    if (page->Owner() == Root)
      Proc(page);
  for (TControl* c : FControls)
    if (c->Owner() == Root && !dynamic_cast<TTabSheet*>(c))
      Proc(c);
}

void TPageControl::CreateParams(TCreateParams& Params)
{
  EnsureTabControlClass();
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, WC_TABCONTROLW);
  Params.Style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  Params.WindowClass.style &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

void TPageControl::CreateWnd()
{
  TWinControl::CreateWnd();
  UpdateTabs();
  Realign();
}

void TPageControl::UpdateTabs()
{
  if (!FHandle)
    return;
  ::SendMessageW(FHandle, TCM_DELETEALLITEMS, 0, 0);
  int index = 0;
  for (TTabSheet* page : FPages) {
    if (!page->FTabVisible)
      continue;
    String caption = page->GetText();
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    ::SendMessageW(FHandle, TCM_INSERTITEMW, WPARAM(index++), reinterpret_cast<LPARAM>(&item));
  }
  ::SendMessageW(FHandle, TCM_SETCURSEL, WPARAM(FActivePage ? FActivePage->GetTabIndex() : -1), 0);
  // The tabs may take another number of rows: the pages follow the display area.
  Realign();
}

void TPageControl::AdjustClientRect(TRect& Rect)
{
  if (FHandle) {
    RECT r = Rect;
    ::SendMessageW(FHandle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    Rect = r;
  } else {
    Rect = InflateRect(Rect, -4, -4);
    Rect.top += 20;
  }
  if (Rect.right < Rect.left)
    Rect.right = Rect.left;
  if (Rect.bottom < Rect.top)
    Rect.bottom = Rect.top;
}

void TPageControl::Dispatch(TMessage& Message)
{
  if (Message.Msg == CN_NOTIFY)
    return CNNotify(Message);
  TWinControl::Dispatch(Message);
}

void TPageControl::CNNotify(TMessage& Message)
{
  auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
  if (!header)
    return;
  switch (header->code) {
    case TCN_SELCHANGING:
      // Nonzero keeps the current tab.
      Message.Result = CanChange() ? 0 : 1;
      break;
    case TCN_SELCHANGE: {
      TTabSheet* page = PageOfTab(int(::SendMessageW(FHandle, TCM_GETCURSEL, 0, 0)));
      if (page && page != FActivePage) {
        TTabSheet* previous = FActivePage;
        FActivePage = page;
        ShowActivePage(previous);
        Change();
      }
      break;
    }
    default:
      break;
  }
}

void TPageControl::CMDialogKey(TMessage& Message)
{
  // Ctrl+Tab and Ctrl+Shift+Tab switch pages while the focus is on this control or a page.
  TCustomForm* form = GetParentForm(this, false);
  TWinControl* focused = form ? form->GetActiveControl() : nullptr;
  if (Message.WParam == VK_TAB && ::GetKeyState(VK_CONTROL) < 0 && focused && ContainsControl(focused)) {
    SelectNextPage(::GetKeyState(VK_SHIFT) >= 0);
    Message.Result = 1;
    return;
  }
  TWinControl::CMDialogKey(Message);
}
