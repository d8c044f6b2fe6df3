// The font-name combo.
#include "barextras/fontcombo.h"

#include <map>

#include "bars/barwindows/dropdownlistbox.h"
#include "bars/utils/utils.h"
#include "lookandfeel/cxGraphics.h"
#include "platform/Canvas.h"
#include "platform/Printers.h"
#include "platform/Scope.h"

PUBLISHED(TdxBarFontNameCombo, TdxBarCustomCombo)
{
  using I = TdxBarFontNameCombo;
  p.Prop(L"DropDownCount", &I::GetDropDownCount, &I::SetDropDownCount).Default(12);
  p.Prop(L"ShowEditor", &I::GetShowEditor, &I::SetShowEditor).Default(false);
  p.Prop(L"Width", &I::GetWidth, &I::SetWidth).Default(160);
}

namespace {

constexpr int FontListDropDownCount = 12;
constexpr int FontComboWidth = 160;
// Between the mark and the name.
constexpr int MarkTextGap = 2;

// Every family once, with whether it is TrueType; a family met for several character sets
// is TrueType when any of them is.
int CALLBACK AddFontFamily(const LOGFONTW* AFont, const TEXTMETRICW*, DWORD AType, LPARAM AParam)
{
  auto& families = *reinterpret_cast<std::map<String, bool>*>(AParam);
  const String name(AFont->lfFaceName, ::wcsnlen(AFont->lfFaceName, LF_FACESIZE));
  if (!name.empty())
    families[name] = families[name] || (AType & TRUETYPE_FONTTYPE) != 0;
  return 1;
}

}  // namespace

TdxBarFontNameCombo::TdxBarFontNameCombo(TComponent* AOwner) : TdxBarCustomCombo(AOwner)
{
  SetDropDownCount(FontListDropDownCount);
  dxBarLoadItemGlyph(this, dxBarFontNameComboGlyph);
  SetShowEditor(false);
  SetSorted(true);
  RefreshFontList();
  SetWidth(FontComboWidth);
}

void TdxBarFontNameCombo::RefreshFontList()
{
  // The fonts a document is printed with are the printer's; without a printer (or when its
  // device context cannot be made) the screen's.
  std::map<String, bool> families;
  HDC DC = nullptr;
  if (Printer()->GetPrinters()->Count() > 0) {
    try {
      DC = Printer()->GetHandle();
    } catch (const Exception&) {
      DC = nullptr;
    }
  }
  const bool screen = !DC;
  if (screen)
    DC = ::GetDC(nullptr);
  if (DC) {
    LOGFONTW font{};
    font.lfCharSet = DEFAULT_CHARSET;
    ::EnumFontFamiliesExW(DC, &font, &AddFontFamily, LPARAM(&families), 0);
    if (screen)
      ::ReleaseDC(nullptr, DC);
  }
  FTrueTypeFonts.clear();
  TStrings* items = GetItems();
  items->BeginUpdate();
  TFinally endUpdate([items] { items->EndUpdate(); });
  items->Clear();
  for (const auto& [name, trueType] : families) {
    items->Add(name);
    if (trueType)
      FTrueTypeFonts.insert(name);
  }
}

void TdxBarFontNameCombo::SetText(const String& Value)
{
  String text = Value;
  if (GetFocusedControl() && !Value.empty()) {
    // Typed text names the family it begins, in the family's spelling; text that begins
    // none (even if it shares a first letter with one) is refused.
    const int match = FindBestMatch(Value);
    const String family = match >= 0 ? GetItems()->Get(match) : String();
    if (family.size() < Value.size() ||
        ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, Value.c_str(), int(Value.size()), family.c_str(),
                         int(Value.size())) != CSTR_EQUAL)
      return;
    text = family;
  }
  TdxBarCustomCombo::SetText(text);
}

void TdxBarFontNameCombo::Click()
{
  TWeakRef<TdxBarFontNameCombo> self(this);
  const bool enabled = GetEnabled();
  TdxBarCustomCombo::Click();
  if (!self || !enabled || GetOnClick().Assigned() || GetReadOnly())
    return;
  TFontDialog* dialog = dxBarFontDialog();
  if (!dialog)
    return;
  dialog->GetFont()->SetName(GetText());
  // The dialog runs its own message loop, in which anything may free the combo.
  if (dialog->Execute() && self)
    SetText(dialog->GetFont()->GetName());
}

void TdxBarFontNameCombo::MeasureItemWidth(int AIndex, int& AWidth)
{
  TdxBarCustomCombo::MeasureItemWidth(AIndex, AWidth);
  TBitmap* mark = dxBarTrueTypeFontMark();
  AWidth += (mark ? mark->GetWidth() : 0) + 1;
}

void TdxBarFontNameCombo::DrawItem(TCanvas* ACanvas, int AIndex, const TRect& R, TOwnerDrawState AState)
{
  if (OnDrawItem.Assigned() || !ACanvas || AIndex < 0 || AIndex >= GetItems()->Count()) {
    TdxBarCustomCombo::DrawItem(ACanvas, AIndex, R, AState);
    return;
  }
  const String name = GetItems()->Get(AIndex);
  TBitmap* mark = IsTrueTypeFont(name) ? dxBarTrueTypeFontMark() : dxBarNonTrueTypeFontMark();
  ACanvas->FillRect(R);
  HDC DC = ACanvas->GetHandle();
  int textLeft = R.left;
  if (mark && !mark->Empty()) {
    const int top = R.top + (RectHeight(R) - mark->GetHeight()) / 2;
    const TRect markRect = Rect(R.left, top, R.left + mark->GetWidth(), top + mark->GetHeight());
    HBRUSH brush = TrackGdiObject(::CreateSolidBrush(ColorToRGB(ACanvas->GetBrush()->GetColor())));
    DrawGlyphInRect(DC, markRect, mark, nullptr, -1, gdmNormal, brush);
    DeleteGdiObject(brush);
    textLeft = markRect.right + MarkTextGap;
  }
  const int mode = ::SetBkMode(DC, TRANSPARENT);
  TRect textRect = Rect(textLeft, R.top, R.right, R.bottom);
  ACanvas->TextRect(textRect, textLeft, R.top + (RectHeight(R) - ACanvas->TextHeight(name)) / 2, name);
  ::SetBkMode(DC, mode);
  if (AState.Contains(odFocused))
    ACanvas->DrawFocusRect(R);
}
