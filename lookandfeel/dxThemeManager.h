// Visual-style themes by kind, opened once and kept, and the notification of theme
// changes: a hidden top-level window receives WM_THEMECHANGED, closes the kept themes
// (the next OpenTheme reopens them) and calls every TdxThemeChangedNotificator.
#pragma once

#include "lookandfeel/dxUxTheme.h"
#include "platform/Classes.h"

// The window classes whose themes the drawing code opens, in this fixed order.
enum TdxThemedObjectType {
  totButton,
  totClock,
  totComboBox,
  totEdit,
  totExplorerBar,
  totHeader,
  totListBox,
  totListView,
  totMenu,
  totPage,
  totProgress,
  totRebar,
  totScrollBar,
  totSpin,
  totStartPanel,
  totStatus,
  totTab,
  totTaskBand,
  totTaskBar,
  totToolBar,
  totToolTip,
  totTrackBar,
  totTrayNotify,
  totTreeView,
  totWindow,
};
constexpr int dxThemedObjectTypeCount = int(totWindow) + 1;
using TdxThemedObjectTypes = TSet<TdxThemedObjectType>;
DECLARE_ENUM_INFO(TdxThemedObjectType)

// The theme class name of a kind ("ToolBar" for totToolBar); empty out of range.
String dxThemeClassName(TdxThemedObjectType Kind);

// Binds the visual-styles library (InitializedxUxTheme) and resets the kept themes;
// Finalize closes every kept theme, destroys the hidden window and drops the
// notificators from the list. Both are idempotent.
void InitializedxThemeManager();
void FinalizedxThemeManager();

// Visual styles are on: the library is loaded, a theme is active, this program is
// themed and the switch below does not suppress them.
bool AreVisualStylesActive();
// Makes visual styles count as off (tests of the classic branch, programs wanting the
// classic look). Changing it closes the kept themes and calls the notificators.
void SetVisualStylesSuppressed(bool Value);
bool IsVisualStylesSuppressed();

// The theme of a kind, opened on first use and kept until finalisation or the next theme
// change; 0 when visual styles are off, the kind is out of range or cannot be opened.
TdxTheme OpenTheme(TdxThemedObjectType Kind);
// Visual styles are on and every kind of the set can be opened.
bool AreVisualStylesAvailable(TdxThemedObjectTypes Kinds);
bool AreVisualStylesAvailable(TdxThemedObjectType Kind);

// The hidden top-level window that receives WM_THEMECHANGED (made on first need); nil
// before it exists or when the library is absent. Exposed for tests.
HWND dxThemeChangeWindow();

// An object told of theme changes. It joins the process-wide list when constructed,
// if the visual-styles library is loaded, and leaves it when destroyed. The handler may
// free this or any other notificator.
class TdxThemeChangedNotificator : public TObject {
  DECLARE_CLASS(TdxThemeChangedNotificator, TObject)
public:
  TdxThemeChangedNotificator();
  ~TdxThemeChangedNotificator() override;

  TNotifyEvent OnThemeChanged;
  // In the list (false when the library was absent at construction or after finalisation).
  bool IsListening() const { return FListening; }

protected:
  virtual void DoThemeChanged();

private:
  friend void dxNotifyThemeChanged();
  friend void FinalizedxThemeManager();
  bool FListening = false;
};

// What the hidden window does on WM_THEMECHANGED: close the kept themes and call every
// notificator in the order they joined.
void dxNotifyThemeChanged();
