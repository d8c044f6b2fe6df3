// The font-name combo: a sorted list combo of the installed font families, each marked
// TrueType or not, whose typed text snaps to the nearest family and whose click offers the
// shared font dialog. Model only: it is shown by the ordinary combo control.
#pragma once

#include <set>

#include "barextras/extitems.h"  // the unit starts with any of its kinds
#include "barextras/itemglyph.h"
#include "bars/itemcontrols/combos.h"

class TdxBarFontNameCombo : public TdxBarCustomCombo {
  DECLARE_CLASS(TdxBarFontNameCombo, TdxBarCustomCombo)
public:
  explicit TdxBarFontNameCombo(TComponent* AOwner);

  // The item's click, then (with no OnClick handler and not read-only) the shared font
  // dialog opened on Text; OK takes the chosen font's name.
  void Click() override;
  // While a link is edited the text snaps to the entry sharing the longest prefix, in that
  // entry's spelling; a text sharing nothing with any entry is refused.
  void SetText(const String& Value) override;
  // The TrueType mark or the other one before the name.
  void DrawItem(TCanvas* ACanvas, int AIndex, const TRect& R, TOwnerDrawState AState) override;
  void MeasureItemWidth(int AIndex, int& AWidth) override;

  // Fills the list with the font families the screen offers now, each name once.
  void RefreshFontList();
  bool IsTrueTypeFont(const String& AName) const { return FTrueTypeFonts.count(AName) != 0; }

private:
  // The TrueType families, by name: the list's strings stay plain, whoever changes them.
  std::set<String> FTrueTypeFonts;
};

// The glyph the font-name combo carries (a bitmap resource of the library).
inline constexpr const wchar_t* dxBarFontNameComboGlyph = L"DXBARFONTNAMECOMBO";
