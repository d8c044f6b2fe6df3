// The screen: cursors by identifier (predefined and custom), the global cursor override,
// monitors and work areas, screen fonts and the system's menu, hint and icon fonts, pixels
// per inch, and the list of forms with the active form and control. Include it through Forms.h.
#pragma once

#include <map>

#include "platform/Controls.h"
#include "platform/Strings.h"

class TCustomForm;
class TForm;

enum TMonitorDefaultTo { mdNearest, mdNull, mdPrimary };

// One display monitor. The screen owns these; they stay valid until the set of monitors
// changes. Bounds and work area are read from the system on every call.
class TMonitor : public TObject {
  DECLARE_CLASS(TMonitor, TObject)
public:
  TMonitor(HMONITOR Handle, int MonitorNum) : FHandle(Handle), FMonitorNum(MonitorNum) {}

  HMONITOR GetHandle() const { return FHandle; }
  int GetMonitorNum() const { return FMonitorNum; }
  bool GetPrimary() const;
  TRect GetBoundsRect() const;
  TRect GetWorkareaRect() const;
  int GetLeft() const { return GetBoundsRect().left; }
  int GetTop() const { return GetBoundsRect().top; }
  int GetWidth() const { return RectWidth(GetBoundsRect()); }
  int GetHeight() const { return RectHeight(GetBoundsRect()); }

private:
  friend class TScreen;
  HMONITOR FHandle;
  int FMonitorNum;
};

class TScreen : public TComponent {
  DECLARE_CLASS(TScreen, TComponent)
public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  // The cursor of an identifier: the predefined ones (crArrow ... crSizeAll), custom ones
  // set here, and the default cursor for crDefault or an unknown identifier. Setting a
  // handle keeps it and destroys it when it is replaced or the screen goes; setting nil
  // removes a custom cursor (for crDefault it restores the arrow).
  HCURSOR GetCursors(int Index) const;
  void SetCursors(int Index, HCURSOR Handle);
  // The global cursor: when not crDefault it is shown over every window of the program.
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor Value);

  int GetPixelsPerInch() const { return FPixelsPerInch; }
  // The primary monitor's size.
  int GetWidth() const;
  int GetHeight() const;
  // The bounds of all monitors together, and the primary monitor's work area.
  TRect GetDesktopRect() const;
  int GetDesktopLeft() const { return GetDesktopRect().left; }
  int GetDesktopTop() const { return GetDesktopRect().top; }
  int GetDesktopWidth() const { return RectWidth(GetDesktopRect()); }
  int GetDesktopHeight() const { return RectHeight(GetDesktopRect()); }
  TRect GetWorkAreaRect() const;
  int GetWorkAreaLeft() const { return GetWorkAreaRect().left; }
  int GetWorkAreaTop() const { return GetWorkAreaRect().top; }
  int GetWorkAreaWidth() const { return RectWidth(GetWorkAreaRect()); }
  int GetWorkAreaHeight() const { return RectHeight(GetWorkAreaRect()); }

  // Monitors, in the system's enumeration order; Monitors(i) is nil out of range.
  int GetMonitorCount();
  TMonitor* GetMonitors(int Index);
  TMonitor* GetPrimaryMonitor();
  TMonitor* MonitorFromPoint(const TPoint& Point, TMonitorDefaultTo Default = mdNearest);
  TMonitor* MonitorFromRect(const TRect& Rect, TMonitorDefaultTo Default = mdNearest);
  TMonitor* MonitorFromWindow(HWND Handle, TMonitorDefaultTo Default = mdNearest);

  // The families of the screen's fonts, sorted and without duplicates (read on first use).
  TStrings* GetFonts();
  TFont* GetMenuFont() const { return FMenuFont.get(); }
  TFont* GetHintFont() const { return FHintFont.get(); }
  TFont* GetIconFont() const { return FIconFont.get(); }
  // Reads the system fonts and metrics again (after WM_SETTINGCHANGE).
  void ResetFonts();
  // Forgets the monitors and the colour depth so that the next question asks again.
  void ResetMonitors();
  // Whether the screen shows every colour as given: 24 bits or more, no palette. Asked of
  // the system once until the display changes (each question is a round trip under Wine).
  bool IsTrueColor() const;

  // Forms: every TCustomForm alive (Forms: those that are TForm), the most recently
  // active first.
  int GetCustomFormCount() const { return int(FCustomForms.size()); }
  TCustomForm* GetCustomForms(int Index) const;
  int GetFormCount() const;
  TForm* GetForms(int Index) const;
  TCustomForm* GetActiveCustomForm() const { return FActiveCustomForm; }
  TForm* GetActiveForm() const;
  TWinControl* GetActiveControl() const { return FActiveControl; }

  TNotifyEvent OnActiveFormChange;
  TNotifyEvent OnActiveControlChange;

  // Bookkeeping the forms call.
  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);
  // Form became the active form; fires OnActiveFormChange when that changed.
  void SetActiveForm(TCustomForm* Form);
  // Control got the focus in Form; fires OnActiveControlChange when that changed.
  void SetActiveControl(TCustomForm* Form, TWinControl* Control);
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  struct TCursorEntry {
    HCURSOR Handle = nullptr;
    bool Owned = false;    // destroyed with the screen
    bool Pending = false;  // a standard cursor not loaded yet
  };
  void CreateCursors();
  TCursorEntry LoadStandardCursor(int Id) const;
  void DestroyCursors();
  void EnumerateMonitors();
  TMonitor* FindMonitor(HMONITOR Handle);

  // Loaded on first use: most cursors are never shown, and loading them all costs a
  // program's start-up a good part of its time.
  mutable std::map<int, TCursorEntry> FCursors;
  HCURSOR FDefaultCursor = nullptr;
  bool FDefaultOwned = false;
  TCursor FCursor = crDefault;
  int FPixelsPerInch = 96;
  std::vector<std::unique_ptr<TMonitor>> FMonitors;
  mutable int FTrueColor = -1;
  std::unique_ptr<TStringList> FFonts;
  std::unique_ptr<TFont> FMenuFont;
  std::unique_ptr<TFont> FHintFont;
  std::unique_ptr<TFont> FIconFont;
  // Kept as TCustomForm: a form is listed from its construction, before it is a TForm.
  std::vector<TCustomForm*> FCustomForms;
  TCustomForm* FActiveCustomForm = nullptr;
  TWinControl* FActiveControl = nullptr;
};

extern TScreen* Screen;
