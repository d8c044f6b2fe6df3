// Common controls of the class layer: the page control, a stack of tab sheets over the
// system's tab control ("SysTabControl32") showing one sheet at a time. A sheet whose
// TabVisible is off has no tab and is never shown.
#pragma once

#include <vector>

#include "platform/Controls.h"

class TPageControl;

using TTabChangingEvent = TEvent<void(TObject* Sender, bool& AllowChange)>;

class TTabSheet : public TWinControl {
  DECLARE_CLASS(TTabSheet, TWinControl)
  friend class TPageControl;

public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;

  TPageControl* GetPageControl() const { return FPageControl; }
  // Moves the sheet to another page control (nil: none); it becomes the last page there.
  void SetPageControl(TPageControl* Value);
  // A sheet's parent is its page control: setting one sets the other.
  void SetParent(TWinControl* AParent) override;
  bool GetTabVisible() const { return FTabVisible; }
  void SetTabVisible(bool Value);
  // Position among the pages of its page control; -1 without one.
  int GetPageIndex() const;
  void SetPageIndex(int Value);
  // Index of its tab among the visible tabs; -1 when it has none.
  int GetTabIndex() const;

  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;

private:
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
};

class TPageControl : public TWinControl {
  DECLARE_CLASS(TPageControl, TWinControl)
  friend class TTabSheet;

public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;

  int GetPageCount() const { return int(FPages.size()); }
  // Nil when out of range.
  TTabSheet* GetPages(int Index) const;
  TTabSheet* GetActivePage() const { return FActivePage; }
  // Shows Page (one of this control's with a tab, or nil) without asking OnChanging.
  void SetActivePage(TTabSheet* Value);
  int GetActivePageIndex() const;
  void SetActivePageIndex(int Value);
  // The page after (or before) CurPage in page order, wrapping; with CheckTabVisible only pages
  // with a tab. Nil when there is none.
  TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const;
  // What a user's switch does: asks OnChanging, shows the next page with a tab, reports OnChange.
  void SelectNextPage(bool GoForward, bool CheckTabVisible = true);
  // The visible page with tab Index; nil when out of range.
  TTabSheet* PageOfTab(int Index) const;

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void AdjustClientRect(TRect& Rect) override;
  void Dispatch(TMessage& Message) override;
  void Loaded() override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

protected:
  virtual bool CanChange();
  virtual void Change();
  void InsertPage(TTabSheet* Page);
  void RemovePage(TTabSheet* Page);
  // Remakes the tabs from the pages and selects the active page's.
  void UpdateTabs();
  // Shows the active page alone and puts the focus on it when a control of another page had it.
  void ShowActivePage(TTabSheet* Previous);
  void CNNotify(TMessage& Message);
  void CMDialogKey(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
  // ActivePage read from form data before its sheets are; applied in Loaded.
  TTabSheet* FPendingActive = nullptr;
};
