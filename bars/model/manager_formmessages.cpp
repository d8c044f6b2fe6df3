// What the manager does with the messages of its form that the call-window hook routes to
// it: a colour change remakes what was drawn from the old colours, a settings change with new
// non-client metrics re-reads the menu font, and the form's activation, showing and work area
// move its floating bars (bars/model/manager_activation.cpp).
#include "bars/model/manager.h"

#include "bars/barwindows/barcontrol.h"
#include "bars/barwindows/dockcontrol.h"
#include "bars/model/startup.h"
#include "platform/Forms.h"

void TdxBarManager::HandleFormMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
  if (IsDestroying())
    return;
  switch (Msg) {
    case WM_SYSCOLORCHANGE:
      SystemColorsChanged();
      break;
    case WM_SETTINGCHANGE:
      if (WParam == SPI_SETNONCLIENTMETRICS)
        SystemFontChanged();
      break;
    case WM_CREATE:
      if (TCustomForm* form = GetNearestParentForm(); form && form->HandleAllocated() && form->GetHandle() == Wnd)
        FormWindowCreated();
      break;
    default:
      break;
  }
  HandleFormActivationMessage(Wnd, Msg, WParam, LParam);
}

// The screen depth, the checker brush, the flat brushes and the Office 2003 colours are made
// again; dock sites recolour and every bar window of the manager repaints at once.
void TdxBarManager::SystemColorsChanged()
{
  dxBarUpdateScreenColorDepth();
  SysColorChanged();
  UpdateDockControls(true);
  for (const TWeakRef<TCustomdxBarControl>& ref : dxBarGetBarControls(this))
    if (TCustomdxBarControl* bar = ref.Get(); bar && bar->HandleAllocated()) {
      bar->RepaintAll();
      RedrawWindow(bar->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}

// The form's window was made again after it had been destroyed from outside: the dock sites
// get their windows and the bars that went with them show again.
void TdxBarManager::FormWindowCreated()
{
  // A first window, or one remade by the class layer with its children, has nothing waiting.
  if (!FRecreatingBars)
    return;
  for (int i = 0; i < FDockControls.Count(); ++i) {
    auto* site = static_cast<TWinControl*>(FDockControls.Items(i));
    if (!site->HandleAllocated() && site->GetParent() && site->GetParent()->HandleAllocated())
      site->HandleNeeded();
  }
  ShowRecreatingBars(nullptr);
  if (FRecreatingBars && FRecreatingBars->empty())
    FRecreatingBars.reset();
}
