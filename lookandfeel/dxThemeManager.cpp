// Kept themes by kind, the visual-styles switch and the theme-change window with its
// list of notificators.
#include "lookandfeel/dxThemeManager.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "lookandfeel/cxControls.h"

DEFINE_ENUM_INFO(TdxThemedObjectType, L"totButton", L"totClock", L"totComboBox", L"totEdit", L"totExplorerBar",
                 L"totHeader", L"totListBox", L"totListView", L"totMenu", L"totPage", L"totProgress", L"totRebar",
                 L"totScrollBar", L"totSpin", L"totStartPanel", L"totStatus", L"totTab", L"totTaskBand", L"totTaskBar",
                 L"totToolBar", L"totToolTip", L"totTrackBar", L"totTrayNotify", L"totTreeView", L"totWindow")

IMPLEMENT_CLASS(TdxThemeChangedNotificator, TObject)

namespace {

const wchar_t* const ThemeClassNames[dxThemedObjectTypeCount] = {
    L"Button",     L"Clock",      L"ComboBox", L"Edit",     L"ExplorerBar", L"Header",    L"ListBox",
    L"ListView",   L"Menu",       L"Page",     L"Progress", L"Rebar",       L"ScrollBar", L"Spin",
    L"StartPanel", L"Status",     L"Tab",      L"TaskBand", L"TaskBar",     L"ToolBar",   L"ToolTip",
    L"TrackBar",   L"TrayNotify", L"TreeView", L"Window",
};

// The hidden top-level window (a message-only window gets no broadcasts) that hears of
// theme changes.
class TThemeChangeWindow : public TcxMessageWindow {
protected:
  void WndProc(TMessage& Message) override
  {
    if (Message.Msg == WM_THEMECHANGED) {
      dxNotifyThemeChanged();
      Message.Result = 0;
      return;
    }
    TcxMessageWindow::WndProc(Message);
  }
};

struct TThemeManagerState {
  TdxTheme Themes[dxThemedObjectTypeCount] = {};
  // A kind that failed to open is not retried until the next theme change.
  bool Tried[dxThemedObjectTypeCount] = {};
  bool Suppressed = false;
  std::unique_ptr<TThemeChangeWindow> Window;
  std::vector<TdxThemeChangedNotificator*> Notificators;
};

TThemeManagerState ThemeState;

void CloseThemes()
{
  for (int i = 0; i < dxThemedObjectTypeCount; ++i) {
    dxCloseThemeData(ThemeState.Themes[i]);
    ThemeState.Themes[i] = 0;
    ThemeState.Tried[i] = false;
  }
}

void EnsureWindow()
{
  if (ThemeState.Window || !IsThemeLibraryLoaded())
    return;
  try {
    ThemeState.Window = std::make_unique<TThemeChangeWindow>();
  } catch (Exception&) {
    // Without the window kept themes are only refreshed by SetVisualStylesSuppressed or
    // finalisation; drawing itself still works.
  }
}

}  // namespace

String dxThemeClassName(TdxThemedObjectType Kind)
{
  int index = int(Kind);
  if (index < 0 || index >= dxThemedObjectTypeCount)
    return String();
  return ThemeClassNames[index];
}

void InitializedxThemeManager()
{
  InitializedxUxTheme();
}

void FinalizedxThemeManager()
{
  CloseThemes();
  for (TdxThemeChangedNotificator* n : ThemeState.Notificators)
    n->FListening = false;
  ThemeState.Notificators.clear();
  ThemeState.Window.reset();
  ThemeState.Suppressed = false;
}

bool AreVisualStylesActive()
{
  return !ThemeState.Suppressed && IsThemeLibraryLoaded() && dxIsThemeActive() && dxIsAppThemed();
}

void SetVisualStylesSuppressed(bool Value)
{
  if (ThemeState.Suppressed == Value)
    return;
  ThemeState.Suppressed = Value;
  dxNotifyThemeChanged();
}

bool IsVisualStylesSuppressed()
{
  return ThemeState.Suppressed;
}

TdxTheme OpenTheme(TdxThemedObjectType Kind)
{
  int index = int(Kind);
  if (index < 0 || index >= dxThemedObjectTypeCount || !AreVisualStylesActive())
    return 0;
  if (!ThemeState.Tried[index]) {
    // Kept themes go stale on a theme change: make sure someone hears of it.
    EnsureWindow();
    ThemeState.Tried[index] = true;
    ThemeState.Themes[index] = dxOpenThemeData(nullptr, ThemeClassNames[index]);
  }
  return ThemeState.Themes[index];
}

bool AreVisualStylesAvailable(TdxThemedObjectTypes Kinds)
{
  if (!AreVisualStylesActive())
    return false;
  for (int i = 0; i < dxThemedObjectTypeCount; ++i)
    if (Kinds.Contains(TdxThemedObjectType(i)) && OpenTheme(TdxThemedObjectType(i)) == 0)
      return false;
  return true;
}

bool AreVisualStylesAvailable(TdxThemedObjectType Kind)
{
  return AreVisualStylesAvailable(TdxThemedObjectTypes{Kind});
}

HWND dxThemeChangeWindow()
{
  return ThemeState.Window ? ThemeState.Window->Handle() : nullptr;
}

void dxNotifyThemeChanged()
{
  CloseThemes();
  // A handler may free notificators (itself included) or make new ones: walk a copy and
  // skip those that left meanwhile; new ones wait for the next change.
  std::vector<TWeakRef<TdxThemeChangedNotificator>> targets;
  targets.reserve(ThemeState.Notificators.size());
  for (TdxThemeChangedNotificator* n : ThemeState.Notificators)
    targets.emplace_back(n);
  for (auto& ref : targets) {
    TdxThemeChangedNotificator* n = ref.Get();
    if (n && n->FListening)
      n->DoThemeChanged();
  }
}

TdxThemeChangedNotificator::TdxThemeChangedNotificator()
{
  if (!IsThemeLibraryLoaded())
    return;
  EnsureWindow();
  ThemeState.Notificators.push_back(this);
  FListening = true;
}

TdxThemeChangedNotificator::~TdxThemeChangedNotificator()
{
  auto& list = ThemeState.Notificators;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TdxThemeChangedNotificator::DoThemeChanged()
{
  CallEvent(OnThemeChanged, this);
}
