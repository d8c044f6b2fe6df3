// The bitmaps a bar manager tiles behind its toolbars (Bar) and menus (SubMenu). A new
// or changed toolbar bitmap makes the manager re-apply its style.
#pragma once

#include <memory>

#include "bars/model/imageoptions.h"
#include "platform/Bitmap.h"

class TdxBarBackgrounds : public TdxBarPersistent {
  DECLARE_CLASS(TdxBarBackgrounds, TdxBarPersistent)
public:
  explicit TdxBarBackgrounds(TPersistent* AOwner);
  ~TdxBarBackgrounds() override;

  // Copies both bitmaps.
  void Assign(TPersistent* Source) override;

  TBitmap* GetBar() const { return FBar.get(); }
  // Copies the bitmap (nil empties it); OnBarChange fires when the new one is given or
  // the old one was not empty.
  void SetBar(TBitmap* Value);
  TBitmap* GetSubMenu() const { return FSubMenu.get(); }
  void SetSubMenu(TBitmap* Value);

  // A new Bar bitmap or a change of its content (the manager re-applies its style).
  TNotifyEvent OnBarChange;

private:
  void BarChanged(TObject* Sender);

  std::unique_ptr<TBitmap> FBar;
  std::unique_ptr<TBitmap> FSubMenu;
  bool FAssigningBar = false;
};
