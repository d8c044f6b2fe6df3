// Text helpers: measuring, word wrapping, the narrowest rectangle for a line count,
// one-string drawing, the special-charset test and reading logical brushes and fonts.
#include "lookandfeel/cxGraphics.h"

#include "platform/Menus.h"
#include "platform/Strings.h"

namespace {

// The screen canvas measuring in a font (at a point size when asked).
class TFontMeasure {
public:
  TFontMeasure(TFont* AFont, int AFontSize)
  {
    if (AFont)
      FFont.Assign(AFont);
    if (AFontSize != 0)
      FFont.SetSize(AFontSize);
    FCanvas.GetCanvas()->SetFont(&FFont);
  }
  HDC DC()
  {
    FCanvas.GetCanvas()->TextExtent(L"");
    return FCanvas.GetHandle();
  }

private:
  TFont FFont;
  TcxScreenCanvas FCanvas;
};

bool IsLineBreak(wchar_t C)
{
  return C == L'\r' || C == L'\n';
}

// Greedy wrap of one paragraph (no line breaks in it).
void WrapParagraph(TcxCanvas* ACanvas, const String& AText, int AWidth, std::vector<String>& ALines)
{
  std::vector<String> words;
  size_t i = 0;
  while (i < AText.size()) {
    while (i < AText.size() && AText[i] == L' ')
      ++i;
    size_t start = i;
    while (i < AText.size() && AText[i] != L' ')
      ++i;
    if (i > start)
      words.push_back(AText.substr(start, i - start));
  }
  String line;
  for (const String& word : words) {
    String candidate = line.empty() ? word : line + L" " + word;
    if (ACanvas->TextWidth(candidate) <= AWidth) {
      line = candidate;
      continue;
    }
    if (!line.empty())
      ALines.push_back(line);
    line.clear();
    if (ACanvas->TextWidth(word) <= AWidth) {
      line = word;
      continue;
    }
    // A word wider than the line on its own: broken between characters, at least one
    // character per line.
    String piece;
    for (wchar_t c : word) {
      String longer = piece + c;
      if (!piece.empty() && ACanvas->TextWidth(longer) > AWidth) {
        ALines.push_back(piece);
        piece = String(1, c);
      } else
        piece = longer;
    }
    line = piece;
  }
  if (!line.empty() || words.empty())
    ALines.push_back(line);
}

std::vector<String> WrapText(TcxCanvas* ACanvas, const String& AText, int AWidth)
{
  std::vector<String> lines;
  if (AText.empty())
    return lines;
  size_t start = 0;
  while (true) {
    size_t stop = start;
    while (stop < AText.size() && !IsLineBreak(AText[stop]))
      ++stop;
    WrapParagraph(ACanvas, AText.substr(start, stop - start), AWidth, lines);
    if (stop >= AText.size())
      break;
    // "\r\n" is one break.
    start = stop + (AText[stop] == L'\r' && stop + 1 < AText.size() && AText[stop + 1] == L'\n' ? 2 : 1);
    if (start >= AText.size())
      break;
  }
  return lines;
}

}  // namespace

TSize GetTextExtentOfString(HDC ADC, const String& AText, int ALength)
{
  int length = int(AText.size());
  if (ALength >= 0 && ALength < length)
    length = ALength;
  SIZE size{0, 0};
  if (ADC)
    GetTextExtentPoint32W(ADC, AText.c_str(), length, &size);
  return size;
}

TSize GetTextExtentWithFont(const String& AText, TFont* AFont, int AFontSize)
{
  TFontMeasure measure(AFont, AFontSize);
  return GetTextExtentOfString(measure.DC(), AText);
}

TSize GetTextSizeWithFont(const String& AText, TFont* AFont, int AFontSize)
{
  TFontMeasure measure(AFont, AFontSize);
  TRect r{0, 0, 0, 0};
  DrawTextInRect(measure.DC(), AText, r, DT_CALCRECT);
  return RectSize(r);
}

void SplitTextIntoLines(TcxCanvas* ACanvas, const String& AText, int AWidth, TStrings* AList)
{
  if (!ACanvas || !AList)
    return;
  for (const String& line : WrapText(ACanvas, AText, AWidth))
    AList->Add(line);
}

TRect GetTextRectForLineCount(TcxCanvas* ACanvas, const String& AText, int ALineCount)
{
  if (!ACanvas)
    return Rect(0, 0, 0, 0);
  int count = std::max(ALineCount, 1);
  int lineHeight = ACanvas->TextHeight(L"Wg");
  TRect result = Rect(0, 0, 0, lineHeight * count);
  if (AText.empty())
    return result;
  auto widest = [&](const std::vector<String>& lines) {
    int w = 0;
    for (const String& line : lines)
      w = std::max(w, ACanvas->TextWidth(line));
    return w;
  };
  int full = widest(WrapText(ACanvas, AText, INT32_MAX / 2));
  if (count == 1) {
    result.right = full;
    return result;
  }
  int low = 1, high = std::max(full, 1);
  while (low < high) {
    int mid = low + (high - low) / 2;
    if (int(WrapText(ACanvas, AText, mid).size()) <= count)
      high = mid;
    else
      low = mid + 1;
  }
  result.right = widest(WrapText(ACanvas, AText, low));
  return result;
}

int DrawTextInRect(HDC ADC, const String& AText, TRect& R, UINT AFlags)
{
  if (!ADC)
    return 0;
  // The system underlines the last mark, the keys take the first; most captions have none.
  if (!(AFlags & DT_NOPREFIX) && AText.find(L'&') != String::npos) {
    const String text = KeepFirstAccelMark(AText);
    return DrawTextW(ADC, text.c_str(), int(text.size()), &R, AFlags);
  }
  return DrawTextW(ADC, AText.c_str(), int(AText.size()), &R, AFlags);
}

bool ExtTextOutString(HDC ADC, const TPoint& P, UINT AOptions, const TRect* AClipRect, const String& AText)
{
  if (!ADC)
    return false;
  return ExtTextOutW(ADC, P.x, P.y, AOptions, AClipRect, AText.c_str(), UINT(AText.size()), nullptr) != FALSE;
}

bool IsSpecialCharsetText(uint8_t ACharset, const String& AText)
{
  unsigned charset = ACharset;
  if (charset == DEFAULT_CHARSET) {
    CHARSETINFO info{};
    if (TranslateCharsetInfo(reinterpret_cast<DWORD*>(uintptr_t(GetACP())), &info, TCI_SRCCODEPAGE))
      charset = info.ciCharset;
  }
  if (charset != GB2312_CHARSET && charset != CHINESEBIG5_CHARSET && charset != ARABIC_CHARSET)
    return false;
  for (wchar_t c : AText)
    if (unsigned(c) > 127)
      return true;
  return false;
}

bool GetLogBrushInfo(HBRUSH ABrush, LOGBRUSH& AInfo)
{
  return ABrush && GetObjectW(ABrush, sizeof AInfo, &AInfo) == sizeof AInfo;
}

bool GetLogFont(HFONT AFont, LOGFONTW& AInfo)
{
  return AFont && GetObjectW(AFont, sizeof AInfo, &AInfo) == sizeof AInfo;
}
