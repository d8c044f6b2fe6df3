// The toolbar's layout arithmetic: line breaking, the single-line fit, placement with
// alignment and separators, all in the bar's own axes (length along, thickness across).
#include "bars/barwindows/toolbar.h"

#include <algorithm>

namespace {

// The link's separator space on its line.
int SeparatorBefore(const TdxBarLayoutLink& ALink, bool AFirstInLine, int ASeparatorSize)
{
  return ALink.BeginGroup && !AFirstInLine ? ASeparatorSize : 0;
}

// Centres the links [AFirst, ALast] across a line of AThickness starting at ATop.
void CentreLine(std::vector<TdxBarLayoutLink>& ALinks, int AFirst, int ALast, int ATop, int AThickness)
{
  for (int i = AFirst; i <= ALast; ++i) {
    TdxBarLayoutLink& link = ALinks[size_t(i)];
    if (!link.Shown)
      continue;
    // Integer division truncates toward zero, also for a link thicker than its line.
    int offset = (AThickness - link.Thickness) / 2;
    link.Bounds.top = ATop + offset;
    link.Bounds.bottom = link.Bounds.top + link.Thickness;
    link.LineTop = ATop;
    link.LineThickness = AThickness;
  }
}

}  // namespace

TdxBarLineBreak dxBarBreakLines(std::vector<TdxBarLayoutLink>& ALinks, int ALimit, int ASeparatorSize,
                                int AMDIAreaLength, int AMDIAreaThickness)
{
  TdxBarLineBreak result;
  const int count = int(ALinks.size());
  int lineFirst = 0;
  int pos = 0;
  int lineThickness = 0;
  int lastLineLength = 0;
  auto finishLine = [&](int ALength) {
    result.Length = std::max(result.Length, ALength);
    if (result.LineCount > 0 && lineFirst < count && ALinks[size_t(lineFirst)].BeginGroup)
      result.Thickness += ASeparatorSize;
    result.Thickness += lineThickness;
    ++result.LineCount;
    lastLineLength = ALength;
  };
  int i = 0;
  while (i < count) {
    TdxBarLayoutLink& link = ALinks[size_t(i)];
    bool first = i == lineFirst;
    int sep = SeparatorBefore(link, first, ASeparatorSize);
    if (first || pos + sep + link.Length <= ALimit) {
      link.LineStart = first && i > 0;
      pos += sep + link.Length;
      lineThickness = std::max(lineThickness, link.Thickness);
      ++i;
      continue;
    }
    // The link does not fit: its group (from the nearest earlier group start on the line)
    // moves to the next line, unless it starts a group itself. The line's first link never
    // moves, so every break makes progress.
    int breakAt = i;
    if (!link.BeginGroup)
      for (int j = i - 1; j > lineFirst; --j)
        if (ALinks[size_t(j)].BeginGroup) {
          breakAt = j;
          break;
        }
    int lineLength = 0;
    int lineThick = 0;
    for (int j = lineFirst; j < breakAt; ++j) {
      lineLength += SeparatorBefore(ALinks[size_t(j)], j == lineFirst, ASeparatorSize) + ALinks[size_t(j)].Length;
      lineThick = std::max(lineThick, ALinks[size_t(j)].Thickness);
    }
    lineThickness = lineThick;
    finishLine(lineLength);
    ALinks[size_t(breakAt)].LineStart = true;
    lineFirst = breakAt;
    pos = 0;
    lineThickness = 0;
    i = breakAt;
  }
  if (count > 0)
    finishLine(pos);
  // The MDI buttons end the last line when they fit, else they make a line of their own.
  if (AMDIAreaLength > 0) {
    if (count > 0 && lastLineLength + AMDIAreaLength <= ALimit) {
      result.Length = std::max(result.Length, lastLineLength + AMDIAreaLength);
      if (AMDIAreaThickness > lineThickness && result.LineCount > 0)
        result.Thickness += AMDIAreaThickness - lineThickness;
    } else {
      result.Length = std::max(result.Length, AMDIAreaLength);
      result.Thickness += AMDIAreaThickness;
      ++result.LineCount;
    }
  }
  return result;
}

int dxBarSingleLineFitCount(const std::vector<TdxBarLayoutLink>& ALinks, int ALength, int ASeparatorSize)
{
  int pos = 0;
  int n = 0;
  for (const TdxBarLayoutLink& link : ALinks) {
    int sep = SeparatorBefore(link, n == 0, ASeparatorSize);
    if (n > 0 && pos + sep + link.Length > ALength)
      break;
    pos += sep + link.Length;
    ++n;
  }
  return n;
}

TdxBarPlacementResult dxBarPlaceLinks(std::vector<TdxBarLayoutLink>& ALinks, const TdxBarPlacementParams& AParams)
{
  TdxBarPlacementResult result;
  const int count = int(ALinks.size());
  for (TdxBarLayoutLink& link : ALinks) {
    link.Shown = false;
    link.LineEnd = false;
    link.Bounds = TRect{};
  }
  const int avail = AParams.AvailableLength;
  int pos = 0;
  int lineTop = 0;
  int lineThickness = AParams.MultiLine ? 0 : AParams.ClientThickness;
  int lineFirst = 0;
  int last = -1;
  for (int i = 0; i < count; ++i) {
    TdxBarLayoutLink& link = ALinks[size_t(i)];
    bool first = i == lineFirst;
    int sep = SeparatorBefore(link, first, AParams.SeparatorSize);
    bool fits = first || pos + sep + link.Length <= avail;
    if (AParams.MultiLine && !first && link.LineStart)
      fits = false;
    if (!fits) {
      if (!AParams.MultiLine) {
        result.ItemsHidden = true;
        break;
      }
      // The line ends before this link: centre it, then start the next one after it (and
      // after the separator above a line that begins a group).
      ALinks[size_t(i - 1)].LineEnd = true;
      CentreLine(ALinks, lineFirst, i - 1, lineTop, lineThickness);
      lineTop += lineThickness + (link.BeginGroup ? AParams.SeparatorSize : 0);
      pos = 0;
      sep = 0;
      lineThickness = 0;
      lineFirst = i;
    }
    link.Shown = true;
    last = i;
    link.Bounds = Rect(pos + sep, lineTop, pos + sep + link.Length, lineTop + link.Thickness);
    if (link.Align != iaLeft) {
      int lineEnd = avail;
      // On a multi-line bar the MDI buttons keep their place at the end of the line.
      if (AParams.MultiLine && AParams.MDIAreaLength > 0 && link.Bounds.right + AParams.MDIAreaLength <= avail)
        lineEnd = avail - AParams.MDIAreaLength;
      int rest = lineEnd - link.Bounds.right;
      if (rest > 0) {
        switch (link.Align) {
          case iaCenter:
            link.Bounds.left += rest / 2;
            link.Bounds.right += rest / 2;
            break;
          case iaRight:
            link.Bounds.left += rest;
            link.Bounds.right += rest;
            break;
          case iaClient:
            link.Bounds.right = lineEnd;
            break;
          default:
            break;
        }
      }
      if (link.Align == iaClient && link.Bounds.right - link.Bounds.left < link.MinLength)
        link.Bounds.right = link.Bounds.left + link.MinLength;
      pos = std::max(lineEnd, int(link.Bounds.right));
      lineThickness = std::max(lineThickness, link.Thickness);
      if (i + 1 < count) {
        // Links after an aligned one get the mark; on a single line they have no room left.
        result.ItemsHidden = true;
        if (!AParams.MultiLine)
          break;
      }
      continue;
    }
    pos += sep + link.Length;
    lineThickness = std::max(lineThickness, link.Thickness);
  }
  if (last >= 0) {
    ALinks[size_t(last)].LineEnd = true;
    CentreLine(ALinks, lineFirst, last, lineTop, lineThickness);
  }
  result.ShownCount = last + 1;
  return result;
}

std::vector<TdxBarToolbarSeparator> dxBarCalcSeparators(const std::vector<TdxBarLayoutLink>& ALinks, int ALineLength,
                                                        int ASeparatorSize)
{
  std::vector<TdxBarToolbarSeparator> result;
  for (int i = 0; i < int(ALinks.size()); ++i) {
    const TdxBarLayoutLink& link = ALinks[size_t(i)];
    if (!link.Shown || !link.BeginGroup || i == 0)
      continue;
    TdxBarToolbarSeparator s;
    s.LinkIndex = i;
    if (link.Bounds.left == 0 && link.LineTop > 0) {
      // A wrapped line that begins a group: a line across the bar above it.
      s.Horizontal = true;
      s.Bounds = Rect(0, link.LineTop - ASeparatorSize, ALineLength, link.LineTop);
    } else {
      s.Bounds =
          Rect(link.Bounds.left - ASeparatorSize, link.LineTop, link.Bounds.left, link.LineTop + link.LineThickness);
    }
    result.push_back(s);
  }
  return result;
}
