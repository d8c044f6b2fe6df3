// The stored bar layout reader: whatever an ini file holds, the layout read from it stays
// within the limits every value is checked against, and written back it reads to the same
// layout.
#include "bars/layout/layoutformat.h"
#include "fuzz/common/Check.h"
#include "fuzz/common/Dumps.h"

namespace {

bool InRange(const std::optional<int>& AValue, int AMin, int AMax)
{
  return !AValue || (*AValue >= AMin && *AValue <= AMax);
}

void CheckLinks(const TdxBarLinksLayout& ALinks)
{
  FuzzCheck(int(ALinks.Links.size()) <= dxBarLayoutMaxLinks, "more links than the limit");
  FuzzCheck(ALinks.Present || ALinks.Links.empty(), "links read from an unfinished list");
  for (const TdxBarLinkLayout& link : ALinks.Links) {
    FuzzCheck(link.UserDefine <= 0x0F, "UserDefine beyond its four flags");
    FuzzCheck(link.UserPaintStyle >= 0 && link.UserPaintStyle <= 3, "paint style out of range");
    FuzzCheck(link.UserWidth >= 0 && link.UserWidth <= dxBarLayoutMaxCoordinate, "width out of range");
    FuzzCheck(link.ButtonGroup >= 0 && link.ButtonGroup <= 2 && link.Position >= 0 && link.Position <= 2,
              "button group or position out of range");
    FuzzCheck(!link.ViewLevels || *link.ViewLevels <= 0x0F, "view levels beyond the four levels");
    FuzzCheck(link.UseCount >= 0 && link.RecentIndex >= -1 && link.RecentIndex < dxBarLayoutMaxLinks,
              "usage values out of range");
    FuzzCheck(link.UserGlyph.empty(), "a glyph read from an ini file");
  }
}

void CheckLayout(const TdxBarManagerLayout& ALayout)
{
  constexpr int maxc = dxBarLayoutMaxCoordinate;
  FuzzCheck(int(ALayout.Bars.size()) <= dxBarLayoutMaxBars, "more bars than the limit");
  FuzzCheck(InRange(ALayout.MenuAnimations, 0, 4), "menu animation out of range");
  FuzzCheck(ALayout.ItemCount >= -1, "item count below -1");
  for (const TdxBarLayout& bar : ALayout.Bars) {
    FuzzCheck(InRange(bar.DockingStyle, 0, 4) && InRange(bar.DockedDockingStyle, 0, 4), "docking style out of range");
    FuzzCheck(InRange(bar.DockedLeft, 0, maxc) && InRange(bar.DockedTop, 0, maxc), "docked place out of range");
    FuzzCheck(InRange(bar.FloatLeft, -maxc - 1, maxc) && InRange(bar.FloatTop, -maxc - 1, maxc),
              "floating place out of range");
    FuzzCheck(InRange(bar.FloatClientWidth, 0, maxc) && InRange(bar.FloatClientHeight, 0, maxc),
              "floating size out of range");
    FuzzCheck(InRange(bar.Row, 0, dxBarLayoutMaxRow), "row out of range");
    FuzzCheck(!bar.DockControl || !bar.DockControl->empty(), "an empty dock control path");
    CheckLinks(bar.Links);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TIniEncoding encoding;
  TMemIniFile source;
  source.SetText(DecodeIniText(bytes, encoding));
  const String base = L"Form1.dxBarManager1.";
  TdxBarManagerLayout layout;
  try {
    layout = dxBarReadLayout({&source, base, false}, true);
  } catch (const std::exception& e) {
    FuzzFault("reading a layout raised", e.what());
  }
  CheckLayout(layout);
  // Written with every kind of key, the layout reads back the same.
  TMemIniFile written;
  const std::vector<TdxBarLinksLayoutKind> kinds(layout.Bars.size(), {true, true, true});
  dxBarEraseLayout({&written, base, false});
  dxBarWriteLayout({&written, base, false}, layout, true, kinds);
  TdxBarManagerLayout again = dxBarReadLayout({&written, base, false}, true);
  FuzzCheck(again == layout, "a written layout reads back otherwise", Escaped(written.GetText()));
  // Erasing leaves none of it.
  dxBarEraseLayout({&written, base, false});
  FuzzCheck(dxBarReadLayout({&written, base, false}, true).Bars.empty(), "an erased layout still has bars");
  return 0;
}
