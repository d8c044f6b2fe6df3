// The font of a bar or a menu, kept apart from the manager's once it is set directly.
#pragma once

#include <functional>
#include <memory>

#include "platform/Graphics.h"

// Follows the manager's font until the owner's Font is changed from outside, which makes it
// the owner's own. The working copy carries the handle the window draws with; it is kept in
// step only while the font is the owner's own.
class TdxBarOwnFont {
public:
  // AChanged runs after every change of the font, the working copy already in step.
  explicit TdxBarOwnFont(std::function<void()> AChanged);
  TdxBarOwnFont(const TdxBarOwnFont&) = delete;
  TdxBarOwnFont& operator=(const TdxBarOwnFont&) = delete;

  TFont* GetFont() const { return FFont.get(); }
  TFont* GetWorkingFont() const { return FRealFont.get(); }
  bool GetUseOwnFont() const { return FUseOwnFont; }
  // Clearing it takes the manager's font back (when there is one).
  void SetUseOwnFont(bool Value, TFont* AManagerFont);
  // Takes AManagerFont unless the font is the owner's own; says whether it did.
  bool FollowManager(TFont* AManagerFont);
  // Copies AFont without the font becoming the owner's own and without telling the owner.
  void AssignQuietly(TFont* AFont);

private:
  void FontChanged();

  std::function<void()> FChanged;
  std::unique_ptr<TFont> FRealFont;
  std::unique_ptr<TFont> FFont;
  bool FChanging = false;
  bool FUseOwnFont = false;
};
