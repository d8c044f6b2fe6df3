// The options of a run and the generator of its events: what a seed draws is the same on
// every machine, whatever the windows do.
#include "RandomTestUtil.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

// ---------------------------------------------------------------------------
// Options

const struct {
  TdxBarManagerStyle Style;
  const char* Name;
} LookNames[] = {
    {bmsStandard, "standard"}, {bmsEnhanced, "enhanced"}, {bmsFlat, "flat"}, {bmsXP, "xp"}, {bmsOffice11, "office11"}};

bool ReadSwitch(const std::string& AText, bool& AValue)
{
  if (AText == "on" || AText == "1" || AText == "yes" || AText == "true")
    AValue = true;
  else if (AText == "off" || AText == "0" || AText == "no" || AText == "false")
    AValue = false;
  else
    return false;
  return true;
}

bool ReadNumber(const std::string& AText, long long AMin, long long& AValue)
{
  char* end = nullptr;
  const long long value = std::strtoll(AText.c_str(), &end, 10);
  if (AText.empty() || *end || value < AMin)
    return false;
  AValue = value;
  return true;
}

bool ReadLooks(const std::string& AText, std::vector<TdxBarManagerStyle>& ALooks)
{
  std::vector<TdxBarManagerStyle> looks;
  std::stringstream list(AText);
  std::string name;
  while (std::getline(list, name, ',')) {
    auto found =
        std::find_if(std::begin(LookNames), std::end(LookNames), [&](auto& ALook) { return name == ALook.Name; });
    if (found == std::end(LookNames))
      return false;
    looks.push_back(found->Style);
  }
  if (looks.empty())
    return false;
  ALooks = looks;
  return true;
}

// Sets one option by its flag name; false for an unknown name or a value it cannot take.
bool SetOption(TRandomOptions& AOptions, const std::string& AName, const std::string& AValue)
{
  long long number = 0;
  if (AName == "seed" && ReadNumber(AValue, 0, number))
    AOptions.Seed = uint64_t(number);
  else if (AName == "events" && ReadNumber(AValue, 1, number))
    AOptions.Events = int(number);
  else if (AName == "round-events" && ReadNumber(AValue, 1, number))
    AOptions.RoundEvents = int(number);
  else if (AName == "first-round" && ReadNumber(AValue, 0, number))
    AOptions.FirstRound = int(number);
  else if (AName == "pause-ms" && ReadNumber(AValue, 0, number))
    AOptions.PauseMs = int(number);
  else if (AName == "looks")
    return ReadLooks(AValue, AOptions.Looks);
  else if (AName == "customize")
    return ReadSwitch(AValue, AOptions.Customize);
  else if (AName == "delete")
    return ReadSwitch(AValue, AOptions.DeleteKey);
  else if (AName == "extras")
    return ReadSwitch(AValue, AOptions.Extras);
  else if (AName == "nested-context-menus")
    return ReadSwitch(AValue, AOptions.NestedContextMenus);
  else if (AName == "close-form")
    return ReadSwitch(AValue, AOptions.CloseForm);
  else if (AName == "log")
    AOptions.LogPath = AValue;
  else
    return false;
  return true;
}

const char* const OptionNames[] = {"seed",      "events", "round-events", "first-round",          "pause-ms",   "looks",
                                   "customize", "delete", "extras",       "nested-context-menus", "close-form", "log"};

}  // namespace

const char* LookName(TdxBarManagerStyle AStyle)
{
  for (const auto& look : LookNames)
    if (look.Style == AStyle)
      return look.Name;
  return "?";
}

TRandomOptions TRandomOptions::FromProcess()
{
  TRandomOptions options;
  for (const char* name : OptionNames) {
    std::string variable = std::string("RANDOM_") + name;
    std::transform(variable.begin(), variable.end(), variable.begin(),
                   [](char c) { return c == '-' ? '_' : char(std::toupper(static_cast<unsigned char>(c))); });
    if (const char* value = std::getenv(variable.c_str()); value && *value && !SetOption(options, name, value))
      options.Error += "cannot read " + variable + "=" + value + "\n";
  }
  int count = 0;
  LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  for (int i = 1; i < count; ++i) {
    std::string arg = ToUtf8(String(args[i]));
    if (arg.rfind("--gtest_", 0) == 0 || arg.rfind("--", 0) != 0)
      continue;
    const size_t equals = arg.find('=');
    if (equals == std::string::npos || !SetOption(options, arg.substr(2, equals - 2), arg.substr(equals + 1)))
      options.Error += "cannot read the flag " + arg + "\n";
  }
  ::LocalFree(args);
  return options;
}

std::string TRandomOptions::Flags() const
{
  std::string looks;
  for (TdxBarManagerStyle look : Looks)
    looks += (looks.empty() ? "" : ",") + std::string(LookName(look));
  auto onOff = [](bool AValue) { return AValue ? "on" : "off"; };
  char text[400];
  std::snprintf(text, sizeof text,
                "--seed=%llu --round-events=%d --looks=%s --customize=%s --delete=%s --extras=%s "
                "--nested-context-menus=%s --close-form=%s",
                static_cast<unsigned long long>(Seed), RoundEvents, looks.c_str(), onOff(Customize), onOff(DeleteKey),
                onOff(Extras), onOff(NestedContextMenus), onOff(CloseForm));
  return text;
}

uint64_t TRandomStream::Next()
{
  uint64_t z = (FState += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// ---------------------------------------------------------------------------
// Drawing events

namespace {

// The keys a user of menus and toolbars presses, each with its weight.
struct TKeyChoice {
  uint16_t Key;
  int Weight;
  bool Shift = false;
};

std::vector<TKeyChoice> KeyChoices(const TRandomOptions& AOptions)
{
  std::vector<TKeyChoice> keys = {{VK_ESCAPE, 10}, {VK_MENU, 8}, {VK_F10, 5},       {VK_LEFT, 6},
                                  {VK_RIGHT, 6},   {VK_UP, 6},   {VK_DOWN, 7},      {VK_RETURN, 9},
                                  {VK_TAB, 6},     {VK_APPS, 6}, {VK_F10, 4, true}, {'A', 21}};
  if (AOptions.DeleteKey)
    keys.push_back({VK_DELETE, 6});
  return keys;
}

}  // namespace

namespace {

struct TKindChoice {
  TEventKind Kind;
  int Weight;
};

// One of the choices, each as likely as its weight says.
template <class T>
const T& PickWeighted(TRandomStream& AStream, const std::vector<T>& AChoices)
{
  int total = 0;
  for (const T& choice : AChoices)
    total += choice.Weight;
  int pick = AStream.Below(total);
  for (const T& choice : AChoices) {
    if (pick < choice.Weight)
      return choice;
    pick -= choice.Weight;
  }
  return AChoices.back();
}

}  // namespace

TRandomEvent DrawEvent(TRandomStream& AStream, const TRandomOptions& AOptions)
{
  static const std::vector<TKindChoice> Kinds = {
      {TEventKind::Move, 170},      {TEventKind::Click, 200},   {TEventKind::DoubleClick, 40},
      {TEventKind::RightClick, 80}, {TEventKind::Drag, 60},     {TEventKind::Key, 430},
      {TEventKind::Rest, 8},        {TEventKind::Customize, 8}, {TEventKind::Close, 3}};
  TRandomEvent event;
  event.Kind = PickWeighted(AStream, Kinds).Kind;
  if (event.Kind == TEventKind::Customize && !AOptions.Customize)
    event.Kind = TEventKind::RightClick;
  if (event.Kind == TEventKind::Close && !AOptions.CloseForm)
    event.Kind = TEventKind::Click;
  event.Target = uint32_t(AStream.Next());
  event.Target2 = uint32_t(AStream.Next());
  event.X = AStream.Unit();
  event.Y = AStream.Unit();
  event.X2 = AStream.Unit();
  event.Y2 = AStream.Unit();
  event.RestMs = 50 + AStream.Below(450);
  const std::vector<TKeyChoice> keys = KeyChoices(AOptions);
  const TKeyChoice& key = PickWeighted(AStream, keys);
  event.Key = key.Key;
  event.Shift = key.Shift;
  const int modifier = AStream.Below(10);
  if (event.Key == 'A') {
    event.Key = uint16_t('A' + AStream.Below(26));
    event.Alt = modifier < 2;
    event.Control = modifier == 2;
    event.Shift = modifier == 3;
  } else if (event.Key == VK_DELETE)
    event.Control = modifier < 3;
  return event;
}
