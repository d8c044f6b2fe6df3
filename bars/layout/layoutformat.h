// The stored bar layout as plain values: the manager, items, bar and item-link sections a
// bar manager writes to the registry or an ini file, read back with every value checked
// before any bar sees it. No window or bar object here: this unit also builds for the host,
// where the stored-layout fuzz target reads through it.
#pragma once

#include <optional>
#include <vector>

#include "platform/IniFiles.h"

// Limits on what a stored layout may ask for; a store that names more is read up to them.
inline constexpr int dxBarLayoutVersion = 33;
inline constexpr int dxBarLayoutMaxBars = 256;
inline constexpr int dxBarLayoutMaxLinks = 1024;
inline constexpr int dxBarLayoutMaxRow = dxBarLayoutMaxBars;
// Positions and sizes a window can take.
inline constexpr int dxBarLayoutMaxCoordinate = 32767;
inline constexpr int dxBarLayoutMaxGlyphBytes = 4 * 1024 * 1024;
// The enumerations a layout stores as numbers, as this unit knows them without the bar
// headers: the last docking style (dsBottom) and menu animation (maFade), the UserDefine bits
// (one per udCaption … udWidth) and the bits of the four view levels (ivlLargeIconWithText …
// ivlControlOnly). The bar side checks them against the enumerations at compile time.
inline constexpr int dxBarLayoutMaxDockingStyle = 4;
inline constexpr int dxBarLayoutMaxMenuAnimation = 4;
inline constexpr uint8_t dxBarLayoutUserCaptionBit = 1;
inline constexpr uint8_t dxBarLayoutUserGlyphBit = 2;
inline constexpr uint8_t dxBarLayoutUserPaintStyleBit = 4;
inline constexpr uint8_t dxBarLayoutUserWidthBit = 8;
inline constexpr uint8_t dxBarLayoutUserDefineBits = 0x0F;
inline constexpr uint8_t dxBarLayoutViewLevelBits = 0x0F;

// Where a layout lives: the store, the base name B and whether the store is the registry
// (which names sections by key paths with "\" and the manager section B itself).
struct TdxBarLayoutStore {
  TCustomIniFile* Ini = nullptr;
  String Base;
  bool IsRegistry = false;

  String Separator() const { return IsRegistry ? L"\\" : L"."; }
  String ManagerSection() const { return IsRegistry ? Base : Base + L"Main"; }
  String ItemsSection() const { return Base + L"Items"; }
  String BarSection(int Index) const { return Base + L"Bar" + IntToStr(Index); }
  String LinkSection(const String& ALinksSection, int Index) const
  {
    return ALinksSection + Separator() + L"ItemLink" + IntToStr(Index);
  }
};

// One item link. The user values count only with their UserDefine bit (udCaption 1, udGlyph
// 2, udPaintStyle 4, udWidth 8); without it they hold the read defaults.
struct TdxBarLinkLayout {
  String ItemName;
  bool BeginGroup = false;
  uint8_t UserDefine = 0;
  String UserCaption;
  int UserPaintStyle = 0;
  int UserWidth = 100;
  // A bitmap stream, kept in the registry only; empty leaves the glyph as it is.
  std::vector<uint8_t> UserGlyph;
  int ButtonGroup = 0;
  int Position = 0;
  std::optional<uint8_t> ViewLevels;  // bits of the four view levels; none: unchanged
  bool Visible = true;
  int UseCount = 0;
  int RecentIndex = -1;
  bool MostRecentlyUsed = true;
  bool operator==(const TdxBarLinkLayout&) const = default;
};

// Which keys a link list writes: the bar-only keys, the recent-use pair and the
// initial-layout key.
struct TdxBarLinksLayoutKind {
  bool OnBar = true;
  bool Usage = false;
  bool MostRecentlyUsed = false;
};

struct TdxBarLinksLayout {
  // The section holds "ItemLinkCount": a list without it was never finished and is not used.
  bool Present = false;
  std::vector<TdxBarLinkLayout> Links;
  bool operator==(const TdxBarLinksLayout&) const = default;
};

// One bar. A value that is missing or unusable reads as none, and the bar keeps its own; a
// bar whose section is missing keeps all it has.
struct TdxBarLayout {
  bool Present = false;
  std::optional<String> Caption;
  std::optional<String> DockControl;  // a path (see dxBarDockControlPath)
  String DockedDockControl;
  std::optional<int> DockedDockingStyle;
  std::optional<int> DockedLeft;
  std::optional<int> DockedTop;
  std::optional<int> DockingStyle;
  std::optional<int> FloatClientHeight;
  std::optional<int> FloatClientWidth;
  std::optional<int> FloatLeft;
  std::optional<int> FloatTop;
  std::optional<bool> OneOnRow;
  std::optional<int> Row;
  std::optional<bool> Visible;
  TdxBarLinksLayout Links;
  bool operator==(const TdxBarLayout&) const = default;
};

struct TdxBarManagerLayout {
  // The recent-items pair counts only for a manager whose effective style is not standard.
  std::optional<bool> MenusShowRecentItemsFirst;
  std::optional<bool> ShowFullMenusAfterDelay;
  std::optional<bool> LargeIcons;
  std::optional<int> MenuAnimations;
  std::optional<bool> ShowHint;
  std::optional<bool> ShowShortCutInHint;
  // -1: the layout knows no item list (it keeps nothing of the items added since).
  int ItemCount = -1;
  std::vector<String> ItemNames;
  std::vector<TdxBarLayout> Bars;
  bool operator==(const TdxBarManagerLayout&) const = default;
};

// Reads the layout at AStore. Out-of-range numbers and values of the wrong kind take the read
// default; "BarCount" and "ItemLinkCount" are read up to the limits above, and a section that
// is missing costs only its own bar (which keeps its state) or link (which is dropped).
// Never raises for what the store holds; errors of the store itself reach the caller.
TdxBarManagerLayout dxBarReadLayout(const TdxBarLayoutStore& AStore, bool ANotStandardStyle);
TdxBarLayout dxBarReadBarLayout(const TdxBarLayoutStore& AStore, int AIndex);
TdxBarLinksLayout dxBarReadLinksLayout(const TdxBarLayoutStore& AStore, const String& ASection);
// Only the "MostRecentlyUsed" values of a link list, in link order (an absent list gives none).
std::vector<bool> dxBarReadLinksUsage(const TdxBarLayoutStore& AStore, const String& ASection);
// The index of the first bar section whose "Caption" is ACaption; -1 when none.
int dxBarFindBarSection(const TdxBarLayoutStore& AStore, const String& ACaption);

// Erases the layout at AStore: in an ini file every section whose name begins with the base;
// in the registry the manager's values and the item, bar and sub-item keys below the base,
// and nothing else a program keeps beside them.
void dxBarEraseLayout(const TdxBarLayoutStore& AStore);
// Writes the layout in the order of its keys (after dxBarEraseLayout); ABarLinkKinds gives
// each bar's link kind.
void dxBarWriteLayout(const TdxBarLayoutStore& AStore, const TdxBarManagerLayout& ALayout, bool ANotStandardStyle,
                      const std::vector<TdxBarLinksLayoutKind>& ABarLinkKinds);
void dxBarWriteBarLayout(const TdxBarLayoutStore& AStore, int AIndex, const TdxBarLayout& ABar,
                         const TdxBarLinksLayoutKind& AKind);
TdxBarLinkLayout dxBarReadLinkLayout(const TdxBarLayoutStore& AStore, const String& ASection);
void dxBarWriteLinkLayout(const TdxBarLayoutStore& AStore, const String& ASection, const TdxBarLinkLayout& ALink,
                          const TdxBarLinksLayoutKind& AKind);
void dxBarWriteLinksLayout(const TdxBarLayoutStore& AStore, const String& ASection, const TdxBarLinksLayout& ALinks,
                           const TdxBarLinksLayoutKind& AKind);
