// What a bar item keeps beside its own data: the action link that keeps it in step with a
// platform action, and the styles data that follows the item's style objects and tells the
// item whether a style change needs a repaint or a recalculation.
#pragma once

#include <vector>

#include "lookandfeel/cxClasses.h"
#include "lookandfeel/cxStyles.h"
#include "platform/ActnList.h"

class TdxBarItem;

// Binds a bar item to a TCustomAction: each "is linked" answer says whether the item still
// shows the action's value, and each setter passes a new action value on to a linked item.
class TdxBarItemActionLink : public TActionLink {
  DECLARE_CLASS(TdxBarItemActionLink, TActionLink)
public:
  // Made through its class for an item, like every client's link class.
  using TFactoryOwner = TdxBarItem;
  explicit TdxBarItemActionLink(TdxBarItem* AClient);
  TdxBarItem* GetItem() const { return FClient; }

  bool IsCaptionLinked() const override;
  bool IsCheckedLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsHelpContextLinked() const override;
  bool IsHintLinked() const override;
  bool IsImageIndexLinked() const override;
  bool IsShortCutLinked() const override;
  bool IsVisibleLinked() const override;
  bool IsOnExecuteLinked() const override;

protected:
  void SetCaption(const String& Value) override;
  void SetChecked(bool Value) override;
  void SetEnabled(bool Value) override;
  void SetHelpContext(THelpContext Value) override;
  void SetHint(const String& Value) override;
  void SetImageIndex(TImageIndex Value) override;
  void SetShortCut(TShortCut Value) override;
  void SetVisible(bool Value) override;
  void SetOnExecute(const TNotifyEvent& Value) override;

private:
  TdxBarItem* FClient;
};

// What a style change means for the item: its controls repaint, or measure themselves
// again (the font changed); "none" only appears as the start of a batch.
enum TdxBarItemStyleChange : uint8_t { iscRepaint = 0, iscRecalculate = 1, iscNone = 2 };

using TdxBarItemStylesChangeEvent = TEvent<void(TObject* Sender, TdxBarItemStyleChange Kind)>;

// Style slots an item kind may use: 0 is the item's Style, 1 an edit's StyleEdit.
inline constexpr int dxBarItemStyleSlotCount = 2;

// A fixed number of style slots (slot 0 is an item's Style, slot 1 an edit's StyleEdit).
// Each slot remembers the values its style had, so that a change notification can tell a
// font change from a colour change; the object listens to each style once, however many
// slots use it.
class TdxBarItemStylesData : public TcxInterfacedPersistent, public IcxStyleChangeListener {
  DECLARE_CLASS(TdxBarItemStylesData, TcxInterfacedPersistent)
public:
  TdxBarItemStylesData(TPersistent* AOwner, int ACount);
  ~TdxBarItemStylesData() override;

  int GetCount() const { return int(FSlots.size()); }
  // Nil for an empty slot or an index out of range.
  TcxStyle* GetStyle(int Index) const;
  // An index out of range is ignored.
  void SetStyle(int Index, TcxStyle* Value);

  // Changes meanwhile reach OnChange once, with the strongest kind, at the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();

  // Style listener.
  void StyleChanged(TcxStyle* Sender) override;
  void StyleRemoved(TcxStyle* Sender) override;

  TdxBarItemStylesChangeEvent OnChange;

private:
  // What a slot saw of its style last time: the assigned flags for colour, font and text
  // colour, and those values.
  struct TSlot {
    TcxStyleValues AssignedValues;
    TColor Color = clDefault;
    int FontHeight = 0;
    int FontOrientation = 0;
    uint8_t FontPitch = 0;
    uint8_t FontStyle = 0;
    uint8_t FontCharset = 0;
    String FontName;  // at most 31 characters, as a font face name
    TColor TextColor = clDefault;
    TcxStyle* Style = nullptr;
  };

  bool IsStyleUsed(TcxStyle* AStyle, int ExceptIndex) const;
  void RefreshSlot(int Index);
  void Report(TdxBarItemStyleChange Kind);

  std::vector<TSlot> FSlots;
  int FUpdateCount = 0;
  TdxBarItemStyleChange FPendingKind = iscNone;
  bool FDestroying = false;
};
