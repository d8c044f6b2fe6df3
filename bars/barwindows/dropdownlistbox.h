// The drop-down list of a combo item: a hidden, owner-drawn list box in a top-level,
// topmost tool window that never takes activation, tracks the item under the pointer and
// closes when the mouse button is released over it. A sizable list has a caption band with
// a size grip the user drags and a close button.
#pragma once

#include "bars/barwindows/dropdownsizing.h"
#include "platform/StdCtrls.h"

class TdxBarPainter;
class TdxBarDropDownListBox;

// The list closed with a click on Index (-1: released outside the items).
using TdxBarDropDownCloseUpEvent = TEvent<void(TdxBarDropDownListBox* Sender, int Index)>;

class TdxBarDropDownListBox : public TCustomListBox {
  DECLARE_CLASS(TdxBarDropDownListBox, TCustomListBox)
public:
  explicit TdxBarDropDownListBox(TComponent* AOwner);

  // The combo item the list serves (its class joins the library later).
  TObject* GetCombo() const { return FCombo; }
  void SetCombo(TObject* Value) { FCombo = Value; }
  // Set when the list opens while the mouse button that opened it is still down: the
  // list takes over that button once the pointer enters it.
  bool GetMouseDownPending() const { return FMouseDownPending; }
  void SetMouseDownPending(bool Value) { FMouseDownPending = Value; }

  // Fired by CloseUp after the list hid: the combo sets its ItemIndex from Index and
  // hides its hint.
  TdxBarDropDownCloseUpEvent OnCloseUp;

  // --- Resizing by the user.
  bool GetSizable() const { return FSizable; }
  void SetSizable(bool Value);
  // The corner of the grip; the band lies along its edge.
  TdxBarSizeGripCorner GetGripCorner() const { return FSizing.GetCorner(); }
  void SetGripCorner(TdxBarSizeGripCorner Value) { FSizing.SetCorner(Value); }
  // The widths the frame (and the band, when sizable) take from the window on each side.
  TRect GetNonClientMargins() const;
  // The grip's and the close button's window rectangles (empty when not sizable).
  TdxBarSizableDropDownParts GetSizableParts() const;
  // The grip cannot make the window smaller than this, nor larger than the work area.
  TSize GetMinTrackSize() const { return FSizing.GetMinTrackSize(); }
  void SetMinTrackSize(const TSize& Value) { FSizing.SetMinTrackSize(Value); }
  bool IsSizing() const { return FSizing.IsSizing(); }
  // Fired once a drag of the grip that changed the size ends.
  TNotifyEvent OnResized;

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;

protected:
  // The painter of the non-client border: the one of the manager the list belongs to
  // (through its owner), else the shared flat painter.
  TdxBarPainter* GetPainter() const;
  // Closes the drop-down after a click on Index (-1 for none).
  virtual void CloseUp(int Index);

private:
  void TrackMouseMove(TMessage& Message);
  void FinishMouseUp(TMessage& Message);
  void WMNCCalcSize(TMessage& Message);
  void WMNCPaint(TMessage& Message);

  TObject* FCombo = nullptr;
  bool FMouseDownPending = false;
  bool FSizable = false;
  TdxBarDropDownSizing FSizing{this};
};
