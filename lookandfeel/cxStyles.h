// Style objects: a colour, font, text colour and bitmap, each with an "assigned" flag, that
// items and bars take their looks from. A style tells its listeners when it changes and
// when it goes away. Also the process-wide style list keyed by owner.
#pragma once

#include <vector>

#include "platform/Classes.h"
#include "platform/Graphics.h"

class TcxStyle;

// The values a style may carry; as flags they read bitmap 1, colour 2, font 4, text colour 8.
enum TcxStyleValue { svBitmap, svColor, svFont, svTextColor };
using TcxStyleValues = TSet<TcxStyleValue>;
DECLARE_ENUM_INFO(TcxStyleValue)

// Implemented by whoever keeps a style: told after each change and once when it is freed.
class IcxStyleChangeListener {
public:
  virtual void StyleChanged(TcxStyle* Sender) = 0;
  virtual void StyleRemoved(TcxStyle* Sender) = 0;

protected:
  ~IcxStyleChangeListener() = default;
};

class TcxStyle : public TComponent {
  DECLARE_CLASS(TcxStyle, TComponent)
public:
  explicit TcxStyle(TComponent* AOwner);
  ~TcxStyle() override;
  void BeforeDestruction() override;

  void Assign(TPersistent* Source) override;
  // Clears the assigned flags, so users fall back to their own defaults.
  void RestoreDefaults();

  TcxStyleValues GetAssignedValues() const { return FAssignedValues; }
  void SetAssignedValues(TcxStyleValues Value);
  // Never nil; an empty bitmap clears svBitmap, any other includes it.
  TBitmap* GetBitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* Value);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  // Never nil; any change of it includes svFont.
  TFont* GetFont() const { return FFont; }
  void SetFont(TFont* Value);
  TColor GetTextColor() const { return FTextColor; }
  void SetTextColor(TColor Value);

  // Changes made meanwhile reach the listeners as one change at the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();

  // A listener is kept once however often it is added.
  void AddListener(IcxStyleChangeListener* AListener);
  void RemoveListener(IcxStyleChangeListener* AListener);
  int ListenerCount() const { return int(FListeners.size()); }

protected:
  virtual void Changed();

private:
  void FontChanged(TObject* Sender);
  void BitmapChanged(TObject* Sender);
  void NotifyRemoved();
  bool IsBitmapStored() const { return FAssignedValues.Contains(svBitmap); }
  bool IsColorStored() const { return FAssignedValues.Contains(svColor); }
  bool IsFontStored() const { return FAssignedValues.Contains(svFont); }
  bool IsTextColorStored() const { return FAssignedValues.Contains(svTextColor); }

  TcxStyleValues FAssignedValues;
  TBitmap* FBitmap = nullptr;
  TColor FColor = clDefault;
  TFont* FFont = nullptr;
  TColor FTextColor = clDefault;
  std::vector<IcxStyleChangeListener*> FListeners;
  int FUpdateCount = 0;
  bool FChangePending = false;
  bool FRemovedNotified = false;
};

// The style list: at most one entry per owner object.
void AddStyleEntryForOwner(TObject* AOwner);
bool HasStyleEntryForOwner(TObject* AOwner);
// Removes the owner's entry; nothing when it has none.
void RemoveStyleEntryForOwner(TObject* AOwner);

// Start-up and shut-down of the unit: both empty the style list; idempotent.
void InitializecxStyles();
void FinalizecxStyles();
