// Items that host a real window while the user edits them: the window item base (its text
// and key events), the edit item, and their item controls. An edit control draws itself
// through the painter while idle and places a real "EDIT" window over its text part only
// while the user edits; the control base routes that window's keys, mouse and focus and
// gives the focus back when editing ends. Model (the items) and item-control layer.
#pragma once

#include <memory>

#include "bars/barwindows/drawparams.h"
#include "bars/itemcontrols/itemcontrol.h"
#include "bars/model/items.h"
#include "platform/Controls.h"

class TBrush;

// Posted to an in-place editor the painter draws: it repaints through the buffer what
// the editor drew straight on the screen while it handled input.
inline constexpr UINT dxBarEditorRepaintMessage = 0x8081;

// Where an idle edit draws its text: this far right of the text area's left, as the
// editor window shows it.
inline constexpr int dxBarEditTextIndent = 2;
class TcxStyle;
class TdxBarWinControl;

// --- The window item: text and key events shared by edits and combos. ------------------

class TdxBarWindowItem : public TdxBarItem {
  DECLARE_CLASS(TdxBarWindowItem, TdxBarItem)
public:
  explicit TdxBarWindowItem(TComponent* AOwner);

  bool IsClickable() const override { return false; }
  // On a bar that turns its text a window item shows as a plain button.
  TClass GetControlClass(bool ARotated) const override;

  virtual String GetText() const { return FText; }
  // A different text: stored, the controls repaint, OnChange (not while loading), repaint.
  virtual void SetText(const String& Value);
  // The text as the user sees it: the editor's while a link is being edited.
  String GetCurText() const;
  void SetCurText(const String& Value);
  // The selected link whose control is an in-place window control that is editing.
  TdxBarItemLink* GetFocusedLink() const;
  TdxBarWinControl* GetFocusedControl() const;
  // Starts editing on the first link whose control hosts a window (with AVisibleBarsOnly,
  // on a visible bar): it becomes its bar's selected control and is entered by key.
  virtual void FocusEditor(bool AVisibleBarsOnly = true);

  // Whether the editor of a link hides itself (combos without ShowEditor): the painter
  // then keeps drawing the text.
  bool GetHideEditor() const { return FHideEditor; }

  // The event helpers the in-place controls call; each fires only when assigned.
  virtual void DoChange();
  virtual void DoCurChange();
  void DoEnter();
  void DoExit();
  void DoKeyDown(WORD& Key, TShiftState Shift);
  void DoKeyPress(wchar_t& Key);
  void DoKeyUp(WORD& Key, TShiftState Shift);

  TNotifyEvent OnChange;
  TNotifyEvent OnCurChange;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

protected:
  void SetHideEditor(bool Value) { FHideEditor = Value; }
  // Stores the text without notifying (the combo's index keeps it in step first).
  void StoreTextValue(const String& Value) { FText = Value; }

private:
  String FText;
  bool FHideEditor = false;
};

// --- The edit item. ----------------------------------------------------------------------

class TdxCustomBarEdit : public TdxBarWindowItem {
  DECLARE_CLASS(TdxCustomBarEdit, TdxBarWindowItem)
public:
  explicit TdxCustomBarEdit(TComponent* AOwner);

  // The first read from form data clears the glyph first.
  void ReadState(TReader* Reader) override;
  int GetStylesCount() const override { return 2; }
  // Enabled, and the caption shows or the link is not on a toolbar.
  bool HasAccel(const TdxBarItemLink* ALink) const override;
  bool IsWidthPerLink() const override { return true; }
  // Only values above 0 that differ.
  void SetWidth(int Value) override;

  // The text drawn into R while no editor covers it (the painter has set the colours).
  virtual void DrawInterior(TcxCanvas* ACanvas, const TRect& R, const TdxBarItemLink* ALink);

  // --- Properties.
  int GetMaxLength() const { return FMaxLength; }
  // Values below 1 are stored as 0 (no limit).
  void SetMaxLength(int Value);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  TcxStyle* GetStyleEdit() const;
  void SetStyleEdit(TcxStyle* Value);
  // The values of the StyleEdit entry, which the text part draws with.
  TdxBarItemStyleValues GetEditStyleValues() const;

private:
  int FMaxLength = 0;
  bool FReadOnly = false;
  bool FGlyphCleared = false;
};

class TdxBarEdit : public TdxCustomBarEdit {
  DECLARE_CLASS(TdxBarEdit, TdxCustomBarEdit)
public:
  explicit TdxBarEdit(TComponent* AOwner) : TdxCustomBarEdit(AOwner) {}
};

// --- The control base of items that host a window. --------------------------------------

class TdxBarWinControl : public TdxBarItemControl {
  DECLARE_CLASS(TdxBarWinControl, TdxBarItemControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarWinControl(TdxBarItemLink* AItemLink);
  ~TdxBarWinControl() override;

  TdxBarWindowItem* GetWindowItem() const;

  bool IsWinControl() const override { return true; }
  TdxBarAccessibilityHelperClass GetAccessibilityHelperClass() const override;
  bool IsEditing() const override { return FFocused; }
  bool OwnsWindow(HWND AWnd) const override;
  // Only on a bar that turns its text (where it shows as a button).
  bool CanClick() const override { return IsTextRotated(); }
  // A click that started editing leaves the menu open for the typing.
  bool CloseMenusOnClick() const override { return !FFocused; }
  void Deactivate() override;
  void ActivateByKey() override { ActivateByKeyOrMouse(false); }
  void ActivateByMouse() override { ActivateByKeyOrMouse(true); }
  void EnabledChanged() override;
  void BeforeHide() override;

  // The window, made when needed; nil before.
  virtual HWND GetHandle() const { return nullptr; }
  // The window's text; empty without a window.
  virtual String GetText() const;
  virtual void SetText(const String& Value);
  // The item's text into the window; the window's text into the item.
  void ReadText();
  virtual void StoreText();
  bool GetFocused() const { return FFocused; }
  // Starts (shows the editor, remembers the focus) or ends editing (hides the editor,
  // keeping or dropping the text, and gives the focus back).
  virtual void SetFocused(bool Value);
  // The window's place in the bar window's client area; empty while the control is
  // disabled or its item hides the editor.
  TRect GetWindowBounds() const;
  void SetWindowBounds(const TRect& R);
  // Whether the bar's painter draws the editor window itself (taken when it is shown).
  bool IsEditorDrawnByPainter() const { return FEditorDrawnByPainter; }
  // A mouse message of the bar window (client point) on this control but outside its
  // editor goes on to the editor while editing: true when it was passed on.
  bool PassBarMouseMessage(const TMessage& Message);

protected:
  virtual void HookWindow();
  virtual void UnhookWindow();
  virtual void ShowEditor();
  virtual void HideEditor(bool AAccept);
  virtual void WindowPositioned() {}
  // With AByMouse, a press inside the control but outside the window goes on in the
  // window, so the caret lands where the user clicked.
  virtual void SendMouseDown(bool AByMouse);
  // Alt and F10 typed in the editor: true when the key is swallowed. F10 and the release
  // of Alt end editing and go on to the manager's key handling, as typed in the form.
  virtual bool FilterSysKeyDown(WORD AKey);
  virtual bool FilterSysKeyUp(WORD AKey);
  // The window's messages; unhandled ones go to the window's own procedure.
  virtual void WndProc(TMessage& Message);
  void DefaultHandler(TMessage& Message);
  // The window's text is written by the control: no change events meanwhile.
  bool IsWritingText() const { return FWritingText; }
  void SetWritingText(bool Value) { FWritingText = Value; }
  // Ends editing and the bar's keyboard mode: Enter, Esc, Tab, F10, a focus lost.
  void ReleaseFocus(bool ACancel);
  // The text ReadText puts into the window: the item's.
  virtual String GetTextToRead() const;
  // The next Alt release belongs to a key combination the control used.
  void ResetSysKeyCount() { FSysKeyDownCount = 0; }

private:
  static LRESULT CALLBACK SubclassProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam);
  void ActivateByKeyOrMouse(bool AByMouse);
  void WMKeyDown(TMessage& Message);
  void WMKeyUp(TMessage& Message);
  void WMKillFocus(TMessage& Message);
  void WMChar(TMessage& Message);
  void WMMouse(TMessage& Message);
  void RestoreFocus();

  WNDPROC FPrevWndProc = nullptr;
  HWND FHookedWnd = nullptr;
  bool FFocused = false;
  bool FWritingText = false;
  bool FCancelling = false;
  HWND FPrevFocusedWnd = nullptr;
  TRect FWindowRect{};
  int FSysKeyDownCount = 0;
  bool FEditorDrawnByPainter = false;
  bool FPassingBarMouse = false;
};

// --- The edit control: caption, glyph and text parts, the resize drag. ------------------

class TdxBarCustomEditControl : public TdxBarWinControl, public IdxBarEditLikeControl {
  DECLARE_CLASS(TdxBarCustomEditControl, TdxBarWinControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarCustomEditControl(TdxBarItemLink* AItemLink);
  ~TdxBarCustomEditControl() override;

  TdxCustomBarEdit* GetEdit() const;
  TClass GetDrawParamsClass() const override;
  TdxBarEditLikeControlDrawParams* GetEditDrawParams() const;

  TdxBarItemViewLevels GetPossibleViewLevels() const override;
  int GetDefaultViewParts() const override;
  int GetPartCount() const override { return 2; }
  void CalcParts() override;
  void CalcDrawParams(bool AFull = true) override;
  bool IsSelected() const override;
  virtual bool IsCaptionVisible() const;
  void CalcStyleValues() override;
  int GetCaptionWidth() override;
  int GetGlyphWidth() override;
  int GetExtraWidth() override;
  int GetWidth() override { return GetSmallWidth(); }
  int GetHeight() override;
  int GetMinWidth() const override;
  // The text part: the item rectangle less the caption and glyph parts.
  virtual TRect GetEditRect() const;
  // Inside the text part's border: where the editor window lies and the idle text is drawn.
  TRect GetTextAreaRect() const;
  // The brush of the window's colour messages.
  virtual HBRUSH GetEditBrush();
  std::optional<TdxBarInPlaceEdit> GetInPlaceEdit() const override;
  void Draw(const TRect& R, bool AFlag) override;
  // The smallest width of the text part.
  virtual int GetMinEditWidth() const { return 20; }
  // The text part's font: the StyleEdit font, else the bar's.
  TFont* GetEditFont() const;

  // --- What the painter asks (IdxBarEditLikeControl).
  void DrawParts(const TdxBarEditLikeControlDrawParams* AParams) override;
  void DrawTextArea(const TdxBarEditLikeControlDrawParams* AParams) override;
  void DrawInterior(TcxCanvas* ACanvas, const TRect& R) override;
  HBRUSH GetCaptionAreaBrush() const override;
  TColor GetEditStyleColor() const override;
  TColor GetEditStyleTextColor() const override;

  // --- Width drag while customizing: within 7 pixels of the left or right edge.
  bool IsResizePoint(const TPoint& P) const override;
  void BeginResize(const TPoint& P) override;
  void DoResize(const TPoint& P) override;
  void EndResize(bool ACancel) override;
  bool IsResizing() const { return FResizing; }
  int GetResizeWidth() const { return FResizeWidth; }

protected:
  // Whether the painter draws the text now (no editor window covers it).
  virtual bool IsTextDrawnByPainter() const;
  // The painter's layout of the parts (an edit's; a combo adds its button).
  virtual void CalcPainterParts(std::vector<TRect>& AParts);

private:
  TRect ResizeFrameRect(int AWidth) const;
  void DrawResizeFrame(int AWidth);

  std::unique_ptr<TBrush> FBrush;
  int FEditTextHeight = 0;
  bool FResizing = false;
  bool FResizeLeftEdge = false;
  int FResizeWidth = 0;
  int FResizeStartWidth = 0;
};

// The edit control proper: it makes the "EDIT" window.
class TdxBarEditControl : public TdxBarCustomEditControl {
  DECLARE_CLASS(TdxBarEditControl, TdxBarCustomEditControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarEditControl(TdxBarItemLink* AItemLink);
  ~TdxBarEditControl() override;

  HWND GetHandle() const override { return FEditWnd; }
  void ActivateByKey() override;
  void SetFocused(bool Value) override;
  void SetText(const String& Value) override;
  void DrawTextArea(const TdxBarEditLikeControlDrawParams* AParams) override;

protected:
  // The editor window over AText while enabled, and the text drawn there when the painter
  // draws it (kinds with buttons beside the text pass what is left of the text area).
  void DrawTextIn(const TdxBarEditLikeControlDrawParams* AParams, const TRect& AText);
  void ShowEditor() override;
  void HideEditor(bool AAccept) override;
  void WindowPositioned() override;
  void WndProc(TMessage& Message) override;

private:
  void CreateEditWindow();
  void DestroyEditWindow();
  void PaintBuffered(HDC DC);
  // After a message the editor may have drawn outside its painting: one repaint is posted.
  static bool MayDrawDirectly(UINT AMsg, WPARAM AWParam);
  void PostRepaint();

  HWND FEditWnd = nullptr;
  bool FRepaintPending = false;
};
