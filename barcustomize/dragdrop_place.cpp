// Where a point of a bar window drops a link, and the shape of the insertion mark: plain
// geometry over the links' layout rectangles, shared by toolbars and menus through the axis
// the window lays its links along.
#include "barcustomize/dragdrop.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "bars/barwindows/barcontrol.h"
#include "bars/model/itemlinks.h"

namespace {

// A rectangle seen along the window's axis: Lo/Hi along it, Near/Far across it.
struct TAxisRect {
  int Lo, Hi, Near, Far;
};

TAxisRect Axis(const TRect& R, bool AVertical)
{
  return AVertical ? TAxisRect{R.top, R.bottom, R.left, R.right} : TAxisRect{R.left, R.right, R.top, R.bottom};
}

}  // namespace

TdxBarDropPlace dxBarDropPlaceAt(TCustomdxBarControl* AWindow, const TPoint& P)
{
  TdxBarDropPlace place;
  TdxBarItemLinks* links = AWindow ? AWindow->GetItemLinks() : nullptr;
  if (!links)
    return place;
  place.Vertical = AWindow->GetKind() == bckSubMenu || AWindow->IsVertical();
  const int along = place.Vertical ? P.y : P.x;
  const int across = place.Vertical ? P.x : P.y;
  // Links a toolbar had no room for have empty rectangles and cannot be dropped on.
  std::vector<TdxBarItemLink*> laidOut;
  for (TdxBarItemLink* link : links->GetShownItems())
    if (!IsRectEmpty(link->GetItemRect()))
      laidOut.push_back(link);

  TdxBarItemLink* nearest = nullptr;
  int nearestDistance = 0;
  for (size_t i = 0; i < laidOut.size(); ++i) {
    const TAxisRect r = Axis(laidOut[i]->GetItemRect(), place.Vertical);
    if (across < r.Near || across >= r.Far)
      continue;
    if (along >= r.Lo && along < r.Hi) {
      place.Link = laidOut[i];
      place.Before = along < (r.Lo + r.Hi) / 2;
      return place;
    }
    // The gap of a group mark in front of a link of the same line drops into the group.
    if (i > 0 && along < r.Lo && laidOut[i]->GetBeginGroup()) {
      const TAxisRect prev = Axis(laidOut[i - 1]->GetItemRect(), place.Vertical);
      if (across >= prev.Near && across < prev.Far && along >= prev.Hi) {
        place.Link = laidOut[i];
        place.Before = true;
        place.Group = true;
        return place;
      }
    }
    // Beside the links of a line (a toolbar's free end, a menu's bottom) the nearest one takes
    // the drop, so that a release there does not count as outside the bar.
    const int distance = along < r.Lo ? r.Lo - along : along - r.Hi + 1;
    if (!nearest || distance < nearestDistance) {
      nearest = laidOut[i];
      nearestDistance = distance;
    }
  }
  if (nearest) {
    const TAxisRect r = Axis(nearest->GetItemRect(), place.Vertical);
    place.Link = nearest;
    place.Before = along < (r.Lo + r.Hi) / 2;
  }
  return place;
}

TdxBarInsertionMarkLines dxBarGetInsertionMarkLines(const TRect& R, bool ALeading, bool AVertical)
{
  if (!AVertical) {
    const int x = ALeading ? R.left : R.right - 6, t = R.top, b = R.bottom;
    const POINT points[12] = {{x, t},         {x + 6, t},     {x + 1, t + 1}, {x + 5, t + 1},
                              {x + 2, t + 2}, {x + 2, b - 2}, {x + 3, t + 2}, {x + 3, b - 2},
                              {x + 1, b - 2}, {x + 5, b - 2}, {x, b - 1},     {x + 6, b - 1}};
    return std::to_array(points);
  }
  const int y = ALeading ? R.top : R.bottom - 6, l = R.left, r = R.right;
  const POINT points[12] = {{l, y},         {l, y + 6},     {l + 1, y + 1}, {l + 1, y + 5},
                            {l + 2, y + 2}, {r - 2, y + 2}, {l + 2, y + 3}, {r - 2, y + 3},
                            {r - 2, y + 1}, {r - 2, y + 5}, {r - 1, y},     {r - 1, y + 6}};
  return std::to_array(points);
}
