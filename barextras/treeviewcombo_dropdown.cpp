// TdxBarTreeView: the tree-view combo's tree as a drop-down (a topmost tool window that
// never takes the focus, with the sizable drop-downs' frame, size grip and close button) and inside
// the select window; both choose a node by double click, release or Enter.
#include <algorithm>

#include "barextras/treeviewcombo.h"
#include "bars/model/manager.h"
#include "bars/utils/utils.h"
#include "platform/Messages.h"

IMPLEMENT_CLASS(TdxBarTreeView, TCustomTreeView)

namespace {

constexpr int FrameWidth = 1;

}  // namespace

TdxBarTreeView::TdxBarTreeView(TComponent* AOwner) : TCustomTreeView(AOwner)
{
  FSizing.SetMinTrackSize(TSize{MinTrackSize, MinTrackSize});
  FSizing.OnClose = [this] {
    if (FCombo)
      FCombo->CloseDropDowns();
  };
}

bool TdxBarTreeView::IsSizable() const
{
  return FDropDown && FCombo && FCombo->GetAllowResizing();
}

void TdxBarTreeView::CreateParams(TCreateParams& Params)
{
  TCustomTreeView::CreateParams(Params);
  if (!FDropDown)
    return;
  // A top-level window owned by the bar window, which reflects the tree's notifications.
  Params.Style = (Params.Style & ~DWORD(WS_CHILD)) | WS_POPUP;
  Params.ExStyle = (Params.ExStyle & ~DWORD(WS_EX_CLIENTEDGE)) | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  Params.WindowClass.style |= CS_SAVEBITS;
  Params.WndParent = GetParentWindow();
}

void TdxBarTreeView::CreateWnd()
{
  TCustomTreeView::CreateWnd();
  if (!FDropDown)
    return;
  HWND handle = GetHandle();
  if (::GetWindowLongPtrW(handle, GWL_STYLE) & WS_CHILD)
    ::SetParent(handle, nullptr);
  // Drawn as focused while the focus stays in the combo's editor.
  ::SendMessageW(handle, WM_SETFOCUS, 0, 0);
}

TdxBarSizableDropDownParts TdxBarTreeView::GetSizableParts() const
{
  return IsSizable() ? FSizing.GetParts() : TdxBarSizableDropDownParts{};
}

TdxBarPainter* TdxBarTreeView::GetPainter() const
{
  TdxBarManager* manager = FCombo ? FCombo->GetBarManager() : nullptr;
  return manager ? manager->GetPainter() : nullptr;
}

void TdxBarTreeView::WMNCCalcSize(TMessage& Message)
{
  // The frame and the band first; the window's own handling then places the scroll bars
  // beside what is left.
  if (FDropDown)
    ExcludeDropDownMargins(Message, IsSizable() ? GetSizableDropDownMargins(GetGripCorner())
                                                : TRect{FrameWidth, FrameWidth, FrameWidth, FrameWidth});
  DefaultHandler(Message);
}

void TdxBarTreeView::WMNCPaint(TMessage& Message)
{
  DefaultHandler(Message);
  if (!FDropDown)
    return;
  if (IsSizable())
    FSizing.Paint(GetPainter());
  else
    DrawSizableDropDownNonClient(GetHandle(), false, IsDropDownFlat(GetPainter()), GetGripCorner(), false, false);
  Message.Result = 0;
}

TTreeNode* TdxBarTreeView::ItemNodeAt(LPARAM APoint) const
{
  const int x = LParamX(APoint), y = LParamY(APoint);
  return GetHitTestInfoAt(x, y).Contains(htOnItem) ? GetNodeAt(x, y) : nullptr;
}

void TdxBarTreeView::WMMouse(TMessage& Message)
{
  const UINT msg = Message.Msg;
  const bool choosesByDblClick = !FCombo || FCombo->GetChooseByDblClick();
  if (!FDropDown) {
    DefaultHandler(Message);
    if ((msg == WM_LBUTTONDBLCLK && choosesByDblClick) || (msg == WM_LBUTTONUP && !choosesByDblClick))
      if (ItemNodeAt(Message.LParam) && FCombo)
        FCombo->ChooseNode(this);
    return;
  }
  // The drop-down never takes the focus from the editor: presses select and expand here
  // instead of in the tree's own handling, which would focus it.
  const int x = LParamX(Message.LParam), y = LParamY(Message.LParam);
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const THitTests hit = GetHitTestInfoAt(x, y);
      TTreeNode* node = GetNodeAt(x, y);
      if (node && hit.Contains(htOnButton))
        node->SetExpanded(!node->GetExpanded());
      else if (node && hit.Contains(htOnItem)) {
        SetSelected(node);
        if (msg == WM_LBUTTONDBLCLK) {
          if (choosesByDblClick && FCombo)
            FCombo->ChooseNode(this);
          else if (node->HasChildren())
            node->SetExpanded(!node->GetExpanded());
        }
      }
      Message.Result = 0;
      return;
    }
    case WM_LBUTTONUP:
      if (!choosesByDblClick && ItemNodeAt(Message.LParam) && FCombo)
        FCombo->ChooseNode(this);
      Message.Result = 0;
      return;
    default:
      DefaultHandler(Message);
  }
}

void TdxBarTreeView::WndProc(TMessage& Message)
{
  if (IsSizable() && FSizing.Mouse(Message))
    return;
  switch (Message.Msg) {
    case WM_NCCALCSIZE:
      return WMNCCalcSize(Message);
    case WM_NCPAINT:
      return WMNCPaint(Message);
    case WM_NCHITTEST:
      DefaultHandler(Message);
      if (IsSizable())
        FSizing.HitTest(Message);
      return;
    case WM_GETMINMAXINFO:
      DefaultHandler(Message);
      if (auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam)) {
        info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, MinTrackSize);
        info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, MinTrackSize);
      }
      return;
    case WM_MOUSEACTIVATE:
      if (FDropDown) {
        Message.Result = MA_NOACTIVATE;
        return;
      }
      break;
    case WM_KEYDOWN:
      if (Message.WParam == VK_RETURN && FCombo) {
        FCombo->ChooseNode(this);
        Message.Result = 0;
        return;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
      return WMMouse(Message);
    default:
      break;
  }
  TCustomTreeView::WndProc(Message);
}
