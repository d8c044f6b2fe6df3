#include "bars/layout/layoutformat.h"

#include <algorithm>
#include <climits>
#include <functional>

#include "platform/Streams.h"
#include "platform/Strings.h"

namespace {

// An integer in [AMin, AMax]; anything else (missing, not a number, out of range) is none.
std::optional<int> ReadRange(TCustomIniFile* AIni, const String& ASection, const String& AKey, int AMin, int AMax)
{
  if (!AIni->ValueExists(ASection, AKey))
    return std::nullopt;
  // Two different defaults tell a value that did not read from one that did.
  int32_t a = AIni->ReadInteger(ASection, AKey, INT32_MIN);
  if (a == INT32_MIN && AIni->ReadInteger(ASection, AKey, INT32_MAX) == INT32_MAX)
    return std::nullopt;
  if (a < AMin || a > AMax)
    return std::nullopt;
  return a;
}

int ReadRangeOr(TCustomIniFile* AIni, const String& ASection, const String& AKey, int AMin, int AMax, int ADefault)
{
  return ReadRange(AIni, ASection, AKey, AMin, AMax).value_or(ADefault);
}

std::optional<bool> ReadFlag(TCustomIniFile* AIni, const String& ASection, const String& AKey)
{
  if (!AIni->ValueExists(ASection, AKey))
    return std::nullopt;
  bool a = AIni->ReadBool(ASection, AKey, false);
  if (a != AIni->ReadBool(ASection, AKey, true))
    return std::nullopt;  // not a Boolean
  return a;
}

std::optional<String> ReadText(TCustomIniFile* AIni, const String& ASection, const String& AKey)
{
  if (!AIni->ValueExists(ASection, AKey))
    return std::nullopt;
  return AIni->ReadString(ASection, AKey, String());
}

// The bytes of a binary value, up to AMaxBytes (a longer value counts as none).
std::vector<uint8_t> ReadBytes(TCustomIniFile* AIni, const String& ASection, const String& AKey, int AMaxBytes)
{
  if (!AIni->ValueExists(ASection, AKey))
    return {};
  TMemoryStream stream;
  int count = AIni->ReadBinaryStream(ASection, AKey, &stream);
  if (count <= 0 || count > AMaxBytes)
    return {};
  std::vector<uint8_t> bytes(static_cast<size_t>(count));
  stream.SetPosition(0);
  stream.ReadBuffer(bytes.data(), count);
  return bytes;
}

void WriteBytes(TCustomIniFile* AIni, const String& ASection, const String& AKey, const std::vector<uint8_t>& ABytes)
{
  TMemoryStream stream;
  if (!ABytes.empty())
    stream.WriteBuffer(ABytes.data(), int64_t(ABytes.size()));
  stream.SetPosition(0);
  AIni->WriteBinaryStream(ASection, AKey, &stream);
}

// "UserDefine": one byte of flags; in an ini file a single character is also taken as a
// decimal number, as older layouts wrote it. Bits beyond the four flags are dropped.
uint8_t ReadUserDefine(const TdxBarLayoutStore& AStore, const String& ASection)
{
  constexpr uint8_t flags = dxBarLayoutUserDefineBits;
  if (!AStore.IsRegistry) {
    String text = AStore.Ini->ReadString(ASection, L"UserDefine", String());
    if (text.size() == 1)
      return text[0] >= L'0' && text[0] <= L'9' ? uint8_t((text[0] - L'0') & flags) : 0;
  }
  std::vector<uint8_t> bytes = ReadBytes(AStore.Ini, ASection, L"UserDefine", 1);
  return bytes.empty() ? 0 : uint8_t(bytes[0] & flags);
}

// The indexes below ACount (at most the limit) whose sections are there: a gap left by a cut
// or edited store costs only what it held.
std::vector<int> PresentSections(TCustomIniFile* AIni, int ACount, int ALimit,
                                 const std::function<String(int)>& ASection)
{
  std::vector<int> present;
  for (int i = 0; i < std::min(ACount, ALimit); ++i)
    if (AIni->SectionExists(ASection(i)))
      present.push_back(i);
  return present;
}

}  // namespace

TdxBarLinkLayout dxBarReadLinkLayout(const TdxBarLayoutStore& AStore, const String& ASection)
{
  TCustomIniFile* ini = AStore.Ini;
  TdxBarLinkLayout link;
  link.ItemName = ini->ReadString(ASection, L"ItemName", String());
  if (link.ItemName.empty())
    return link;
  link.BeginGroup = ReadFlag(ini, ASection, L"BeginGroup").value_or(false);
  link.UserDefine = ReadUserDefine(AStore, ASection);
  if (link.UserDefine & dxBarLayoutUserCaptionBit)
    link.UserCaption = ini->ReadString(ASection, L"UserCaption", String());
  if (link.UserDefine & dxBarLayoutUserPaintStyleBit)
    link.UserPaintStyle = ReadRangeOr(ini, ASection, L"UserPaintStyle", 0, 3, 0);
  if (link.UserDefine & dxBarLayoutUserWidthBit)
    link.UserWidth = ReadRangeOr(ini, ASection, L"UserWidth", 0, dxBarLayoutMaxCoordinate, 100);
  if (AStore.IsRegistry && (link.UserDefine & dxBarLayoutUserGlyphBit))
    link.UserGlyph = ReadBytes(ini, ASection, L"UserGlyph", dxBarLayoutMaxGlyphBytes);
  link.ButtonGroup = ReadRangeOr(ini, ASection, L"ButtonGroup", 0, 2, 0);
  link.Position = ReadRangeOr(ini, ASection, L"Position", 0, 2, 0);
  std::vector<uint8_t> levels = ReadBytes(ini, ASection, L"ViewLevels", 1);
  if (!levels.empty())
    link.ViewLevels = uint8_t(levels[0] & dxBarLayoutViewLevelBits);
  link.Visible = ReadFlag(ini, ASection, L"Visible").value_or(true);
  link.UseCount = ReadRangeOr(ini, ASection, L"UseCount", 0, INT32_MAX, 0);
  link.RecentIndex = ReadRangeOr(ini, ASection, L"RecentIndex", -1, dxBarLayoutMaxLinks - 1, -1);
  link.MostRecentlyUsed = ReadFlag(ini, ASection, L"MostRecentlyUsed").value_or(true);
  return link;
}

void dxBarWriteLinkLayout(const TdxBarLayoutStore& AStore, const String& ASection, const TdxBarLinkLayout& ALink,
                          const TdxBarLinksLayoutKind& AKind)
{
  TCustomIniFile* ini = AStore.Ini;
  ini->WriteString(ASection, L"ItemName", ALink.ItemName);
  ini->WriteBool(ASection, L"BeginGroup", ALink.BeginGroup);
  WriteBytes(ini, ASection, L"UserDefine", {ALink.UserDefine});
  if (ALink.UserDefine & dxBarLayoutUserCaptionBit)
    ini->WriteString(ASection, L"UserCaption", ALink.UserCaption);
  if (ALink.UserDefine & dxBarLayoutUserPaintStyleBit)
    ini->WriteInteger(ASection, L"UserPaintStyle", ALink.UserPaintStyle);
  if (ALink.UserDefine & dxBarLayoutUserWidthBit)
    ini->WriteInteger(ASection, L"UserWidth", ALink.UserWidth);
  if (AStore.IsRegistry && (ALink.UserDefine & dxBarLayoutUserGlyphBit) && !ALink.UserGlyph.empty())
    WriteBytes(ini, ASection, L"UserGlyph", ALink.UserGlyph);
  if (AKind.OnBar) {
    ini->WriteInteger(ASection, L"ButtonGroup", ALink.ButtonGroup);
    ini->WriteInteger(ASection, L"Position", ALink.Position);
    if (ALink.ViewLevels)
      WriteBytes(ini, ASection, L"ViewLevels", {*ALink.ViewLevels});
    ini->WriteBool(ASection, L"Visible", ALink.Visible);
  }
  if (AKind.Usage) {
    ini->WriteInteger(ASection, L"UseCount", ALink.UseCount);
    ini->WriteInteger(ASection, L"RecentIndex", ALink.RecentIndex);
  }
  if (AKind.MostRecentlyUsed)
    ini->WriteBool(ASection, L"MostRecentlyUsed", ALink.MostRecentlyUsed);
}

namespace {

void WriteOptional(TCustomIniFile* AIni, const String& ASection, const String& AKey, const std::optional<int>& AValue)
{
  if (AValue)
    AIni->WriteInteger(ASection, AKey, *AValue);
}

void WriteOptional(TCustomIniFile* AIni, const String& ASection, const String& AKey, const std::optional<bool>& AValue)
{
  if (AValue)
    AIni->WriteBool(ASection, AKey, *AValue);
}

// The subkeys and sections a layout writes below its base: "Items", "Bar<n>", "SubItem_<name>".
bool IsLayoutKeyName(const String& AName)
{
  if (AName == L"Items" || AName.starts_with(L"SubItem_"))
    return true;
  if (!AName.starts_with(L"Bar") || AName.size() == 3)
    return false;
  return std::all_of(AName.begin() + 3, AName.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

const wchar_t* const ManagerKeys[] = {L"Version",
                                      L"MenusShowRecentItemsFirst",
                                      L"ShowFullMenusAfterDelay",
                                      L"LargeIcons",
                                      L"MenuAnimations",
                                      L"ShowHint",
                                      L"ShowShortCutInHint",
                                      L"BarCount"};

}  // namespace

TdxBarLinksLayout dxBarReadLinksLayout(const TdxBarLayoutStore& AStore, const String& ASection)
{
  TdxBarLinksLayout result;
  std::optional<int> count = ReadRange(AStore.Ini, ASection, L"ItemLinkCount", INT32_MIN, INT32_MAX);
  if (!count)
    return result;
  result.Present = true;
  auto section = [&](int j) { return AStore.LinkSection(ASection, j); };
  for (int j : PresentSections(AStore.Ini, *count, dxBarLayoutMaxLinks, section))
    result.Links.push_back(dxBarReadLinkLayout(AStore, section(j)));
  return result;
}

std::vector<bool> dxBarReadLinksUsage(const TdxBarLayoutStore& AStore, const String& ASection)
{
  std::vector<bool> usage;
  for (const TdxBarLinkLayout& link : dxBarReadLinksLayout(AStore, ASection).Links)
    usage.push_back(link.MostRecentlyUsed);
  return usage;
}

int dxBarFindBarSection(const TdxBarLayoutStore& AStore, const String& ACaption)
{
  const int count = AStore.Ini->ReadInteger(AStore.ManagerSection(), L"BarCount", 0);
  for (int i = 0; i < std::min(count, dxBarLayoutMaxBars); ++i)
    if (AStore.Ini->ReadString(AStore.BarSection(i), L"Caption", String()) == ACaption)
      return i;
  return -1;
}

TdxBarLayout dxBarReadBarLayout(const TdxBarLayoutStore& AStore, int AIndex)
{
  TCustomIniFile* ini = AStore.Ini;
  const String section = AStore.BarSection(AIndex);
  constexpr int maxc = dxBarLayoutMaxCoordinate;
  TdxBarLayout bar;
  if (!ini->SectionExists(section))
    return bar;
  bar.Caption = ReadText(ini, section, L"Caption");
  // An empty path names nothing: the bar keeps its dock control.
  bar.DockControl = ReadText(ini, section, L"DockControl");
  if (bar.DockControl && bar.DockControl->empty())
    bar.DockControl.reset();
  bar.DockedDockControl = ini->ReadString(section, L"DockedDockControl", String());
  bar.DockedDockingStyle = ReadRange(ini, section, L"DockedDockingStyle", 0, dxBarLayoutMaxDockingStyle);
  bar.DockedLeft = ReadRange(ini, section, L"DockedLeft", 0, maxc);
  bar.DockedTop = ReadRange(ini, section, L"DockedTop", 0, maxc);
  bar.DockingStyle = ReadRange(ini, section, L"DockingStyle", 0, dxBarLayoutMaxDockingStyle);
  bar.FloatClientHeight = ReadRange(ini, section, L"FloatClientHeight", 0, maxc);
  bar.FloatClientWidth = ReadRange(ini, section, L"FloatClientWidth", 0, maxc);
  bar.FloatLeft = ReadRange(ini, section, L"FloatLeft", -maxc - 1, maxc);
  bar.FloatTop = ReadRange(ini, section, L"FloatTop", -maxc - 1, maxc);
  bar.OneOnRow = ReadFlag(ini, section, L"OneOnRow");
  bar.Row = ReadRange(ini, section, L"Row", 0, dxBarLayoutMaxRow);
  bar.Visible = ReadFlag(ini, section, L"Visible");
  bar.Links = dxBarReadLinksLayout(AStore, section);
  // A section that holds none of the bar's values (cut after its name) counts as missing.
  bar.Present = bar.Links.Present || !bar.DockedDockControl.empty() || bar.Visible || bar.Row || bar.OneOnRow ||
                bar.Caption || bar.DockControl || bar.DockedDockingStyle || bar.DockedLeft || bar.DockedTop ||
                bar.DockingStyle || bar.FloatClientHeight || bar.FloatClientWidth || bar.FloatLeft || bar.FloatTop;
  return bar;
}

TdxBarManagerLayout dxBarReadLayout(const TdxBarLayoutStore& AStore, bool ANotStandardStyle)
{
  TCustomIniFile* ini = AStore.Ini;
  const String main = AStore.ManagerSection();
  TdxBarManagerLayout layout;
  if (ANotStandardStyle) {
    layout.MenusShowRecentItemsFirst = ReadFlag(ini, main, L"MenusShowRecentItemsFirst");
    layout.ShowFullMenusAfterDelay = ReadFlag(ini, main, L"ShowFullMenusAfterDelay");
  }
  layout.LargeIcons = ReadFlag(ini, main, L"LargeIcons");
  layout.MenuAnimations = ReadRange(ini, main, L"MenuAnimations", 0, dxBarLayoutMaxMenuAnimation);
  layout.ShowHint = ReadFlag(ini, main, L"ShowHint");
  layout.ShowShortCutInHint = ReadFlag(ini, main, L"ShowShortCutInHint");
  const String items = AStore.ItemsSection();
  layout.ItemCount = ReadRangeOr(ini, items, L"ItemCount", -1, INT32_MAX, -1);
  if (layout.ItemCount > -1) {
    TStringList keys;
    ini->ReadSection(items, &keys);
    for (int i = 0; i < keys.Count(); ++i)
      if (!SameText(keys.Strings(i), L"ItemCount"))
        layout.ItemNames.push_back(keys.Strings(i));
  }
  int barCount = ReadRangeOr(ini, main, L"BarCount", 0, INT32_MAX, 0);
  // Every bar the count names: one whose section is missing is read as such and keeps its
  // place in the list.
  for (int i = 0; i < std::min(barCount, dxBarLayoutMaxBars); ++i)
    layout.Bars.push_back(dxBarReadBarLayout(AStore, i));
  return layout;
}

void dxBarEraseLayout(const TdxBarLayoutStore& AStore)
{
  TCustomIniFile* ini = AStore.Ini;
  TStringList sections;
  ini->ReadSections(&sections);
  if (!AStore.IsRegistry) {
    for (int i = 0; i < sections.Count(); ++i)
      if (sections.Strings(i).compare(0, AStore.Base.size(), AStore.Base) == 0)
        ini->EraseSection(sections.Strings(i));
    return;
  }
  // The registry's sections are the subkeys of the base key, named relative to it.
  for (int i = 0; i < sections.Count(); ++i)
    if (IsLayoutKeyName(sections.Strings(i)))
      ini->EraseSection(AStore.Base + sections.Strings(i));
  for (const wchar_t* key : ManagerKeys)
    ini->DeleteKey(AStore.ManagerSection(), key);
}

void dxBarWriteLinksLayout(const TdxBarLayoutStore& AStore, const String& ASection, const TdxBarLinksLayout& ALinks,
                           const TdxBarLinksLayoutKind& AKind)
{
  for (size_t j = 0; j < ALinks.Links.size(); ++j)
    dxBarWriteLinkLayout(AStore, AStore.LinkSection(ASection, int(j)), ALinks.Links[j], AKind);
  AStore.Ini->WriteInteger(ASection, L"ItemLinkCount", int(ALinks.Links.size()));
}

void dxBarWriteBarLayout(const TdxBarLayoutStore& AStore, int AIndex, const TdxBarLayout& ABar,
                         const TdxBarLinksLayoutKind& AKind)
{
  if (!ABar.Present)
    return;
  TCustomIniFile* ini = AStore.Ini;
  const String section = AStore.BarSection(AIndex);
  if (ABar.Caption)
    ini->WriteString(section, L"Caption", *ABar.Caption);
  if (ABar.DockControl && !ABar.DockControl->empty())
    ini->WriteString(section, L"DockControl", *ABar.DockControl);
  if (!ABar.DockedDockControl.empty())
    ini->WriteString(section, L"DockedDockControl", ABar.DockedDockControl);
  WriteOptional(ini, section, L"DockedDockingStyle", ABar.DockedDockingStyle);
  WriteOptional(ini, section, L"DockedLeft", ABar.DockedLeft);
  WriteOptional(ini, section, L"DockedTop", ABar.DockedTop);
  WriteOptional(ini, section, L"DockingStyle", ABar.DockingStyle);
  WriteOptional(ini, section, L"FloatClientHeight", ABar.FloatClientHeight);
  WriteOptional(ini, section, L"FloatClientWidth", ABar.FloatClientWidth);
  WriteOptional(ini, section, L"FloatLeft", ABar.FloatLeft);
  WriteOptional(ini, section, L"FloatTop", ABar.FloatTop);
  WriteOptional(ini, section, L"OneOnRow", ABar.OneOnRow);
  WriteOptional(ini, section, L"Row", ABar.Row);
  WriteOptional(ini, section, L"Visible", ABar.Visible);
  if (ABar.Links.Present)
    dxBarWriteLinksLayout(AStore, section, ABar.Links, AKind);
}

void dxBarWriteLayout(const TdxBarLayoutStore& AStore, const TdxBarManagerLayout& ALayout, bool ANotStandardStyle,
                      const std::vector<TdxBarLinksLayoutKind>& ABarLinkKinds)
{
  TCustomIniFile* ini = AStore.Ini;
  const String main = AStore.ManagerSection();
  ini->WriteInteger(main, L"Version", dxBarLayoutVersion);
  if (ANotStandardStyle) {
    WriteOptional(ini, main, L"MenusShowRecentItemsFirst", ALayout.MenusShowRecentItemsFirst);
    WriteOptional(ini, main, L"ShowFullMenusAfterDelay", ALayout.ShowFullMenusAfterDelay);
  }
  WriteOptional(ini, main, L"LargeIcons", ALayout.LargeIcons);
  WriteOptional(ini, main, L"MenuAnimations", ALayout.MenuAnimations);
  WriteOptional(ini, main, L"ShowHint", ALayout.ShowHint);
  WriteOptional(ini, main, L"ShowShortCutInHint", ALayout.ShowShortCutInHint);
  ini->WriteInteger(main, L"BarCount", int(ALayout.Bars.size()));
  const String items = AStore.ItemsSection();
  ini->WriteInteger(items, L"ItemCount", ALayout.ItemCount);
  for (const String& name : ALayout.ItemNames)
    ini->WriteBool(items, name, true);
  for (size_t i = 0; i < ALayout.Bars.size(); ++i)
    dxBarWriteBarLayout(AStore, int(i), ALayout.Bars[i],
                        i < ABarLinkKinds.size() ? ABarLinkKinds[i] : TdxBarLinksLayoutKind());
}
