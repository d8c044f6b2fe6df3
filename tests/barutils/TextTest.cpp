// Shortcut and accelerator text, set members and DPI scaling.
#include <gtest/gtest.h>

#include "bars/accessibility/baraccessibility.h"
#include "bars/dxBar.h"
#include "platform/Forms.h"
#include "platform/Menus.h"
#include "platform/StdCtrls.h"
#include "platform/Strings.h"

namespace {

// Holds modifier keys down in this thread's key state for the scope.
class TKeyStateScope {
public:
  explicit TKeyStateScope(std::initializer_list<int> Keys)
  {
    GetKeyboardState(FSaved);
    BYTE state[256];
    memcpy(state, FSaved, sizeof state);
    for (int key : Keys)
      state[key] = 0x80;
    SetKeyboardState(state);
  }
  ~TKeyStateScope() { SetKeyboardState(FSaved); }

private:
  BYTE FSaved[256];
};

constexpr intptr_t AltFlag = 0x20000000;

TEST(ShortCutText, KeyMessageAddsModifiers)
{
  {
    TKeyStateScope keys{VK_CONTROL, VK_SHIFT};
    EXPECT_EQ(ShortCutFromKeyMessage('S', 0), 0x6053);
    EXPECT_EQ(ShortCutFromKeyMessage('S', AltFlag), 0xE053);
    EXPECT_EQ(ShortCutFromKeyMessage(0, AltFlag), 0);
  }
  TKeyStateScope none{};
  EXPECT_EQ(ShortCutFromKeyMessage(VK_F5, 0), VK_F5);
  EXPECT_EQ(ShortCutFromKeyMessage('X', AltFlag), 0x8000 + 'X');
}

TEST(AcceleratorText, PositionOfTheMarkedCharacter)
{
  String caption = L"Save &As";
  EXPECT_EQ(FindAcceleratorCharPos(caption), 7);
  EXPECT_EQ(FindAcceleratorCharPos(caption, true), 6);
  EXPECT_EQ(caption, L"Save As");

  EXPECT_EQ(FindAcceleratorCharPos(String(L"a&&b")), 0);
  EXPECT_EQ(FindAcceleratorCharPos(String(L"abc&")), 0);
  EXPECT_EQ(FindAcceleratorCharPos(String(L"")), 0);
  String plain = L"Plain";
  EXPECT_EQ(FindAcceleratorCharPos(plain, true), 0);
  EXPECT_EQ(plain, L"Plain");
  String doubled = L"a&&b";
  EXPECT_EQ(FindAcceleratorCharPos(doubled, true), 0);
  EXPECT_EQ(doubled, L"a&b");
  // The first marker wins, as it does for the key.
  String twice = L"&a&b";
  EXPECT_EQ(FindAcceleratorCharPos(twice), 2);
  EXPECT_EQ(FindAcceleratorCharPos(twice, true), 1);
  EXPECT_EQ(twice, L"ab");
  // A doubled marker before a real one shifts the position in the shortened text.
  String mixed = L"&&x&y";
  EXPECT_EQ(FindAcceleratorCharPos(mixed, true), 3);
  EXPECT_EQ(mixed, L"&xy");
}

// Every reader of a caption's mark takes the same character: the shared routine, the
// underline's position, the keys of standard controls and the default key tip.
TEST(AcceleratorText, EveryReaderTakesTheFirstSingleMark)
{
  struct TCase {
    const wchar_t* Caption;
    const wchar_t* Shown;
    wchar_t Accel;
    int Position;       // 1-based in the caption as written
    int ShownPosition;  // 1-based in the shown text
  };
  const TCase cases[] = {
      {L"&File &Edit", L"File Edit", L'F', 2, 1},
      {L"Save && &Close", L"Save & Close", L'C', 10, 8},
      {L"Fish && Chips", L"Fish & Chips", 0, 0, 0},
      {L"Trailing&", L"Trailing&", 0, 0, 0},
      {L"Plain", L"Plain", 0, 0, 0},
      {L"&&&x", L"&x", L'x', 4, 2},
      {L"", L"", 0, 0, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(ToUtf8(c.Caption));
    const TAccelCaption parsed = ParseAccelCaption(c.Caption);
    EXPECT_EQ(parsed.Text, c.Shown);
    EXPECT_EQ(parsed.Char(), c.Accel);
    EXPECT_EQ(GetAccelChar(c.Caption), c.Accel);
    EXPECT_EQ(StripAccelChars(c.Caption), c.Shown);
    EXPECT_EQ(FindAcceleratorCharPos(String(c.Caption)), c.Position);
    String shown = c.Caption;
    EXPECT_EQ(FindAcceleratorCharPos(shown, true), c.ShownPosition);
    EXPECT_EQ(shown, c.Shown);
    EXPECT_EQ(dxBarDefaultKeyTipOfCaption(c.Caption), c.Accel ? String(1, wchar_t(towupper(c.Accel))) : L"Y");
    if (c.Accel) {
      EXPECT_TRUE(IsAccel(c.Accel, c.Caption));
      EXPECT_TRUE(IsAccel(wchar_t(towupper(c.Accel)), c.Caption)) << "case does not matter";
    }
    EXPECT_FALSE(IsAccel(L'E', c.Caption)) << "a second mark runs nothing";
  }
}

// The system's text drawing underlines the last mark: it is given the first alone.
TEST(AcceleratorText, SystemDrawingGetsTheFirstMarkAlone)
{
  EXPECT_EQ(KeepFirstAccelMark(L"&File &Edit"), L"&File Edit");
  EXPECT_EQ(KeepFirstAccelMark(L"a && &b &c &&"), L"a && &b c &&");
  EXPECT_EQ(KeepFirstAccelMark(L"Save && &Close"), L"Save && &Close");
  EXPECT_EQ(KeepFirstAccelMark(L"Plain&"), L"Plain&");
}

TEST(AcceleratorText, StripRemovesMarkersAndKeepsLiterals)
{
  EXPECT_EQ(StripAccelChars(L"&File"), L"File");
  EXPECT_EQ(StripAccelChars(L"Fish && Chips"), L"Fish & Chips");
  EXPECT_EQ(StripAccelChars(L"&&x&y"), L"&xy");
  EXPECT_EQ(StripAccelChars(L"end&"), L"end&");
  EXPECT_EQ(StripAccelChars(L"&"), L"&");
}

TEST(SmallHelpers, HighestSetMember)
{
  EXPECT_EQ(GetHighestSetMember(0), 255);
  EXPECT_EQ(GetHighestSetMember(0b0101), 2);
  EXPECT_EQ(GetHighestSetMember(0b1000), 3);
  EXPECT_EQ(GetHighestSetMember(0b0001), 0);
  // Members above 3 are not looked at.
  EXPECT_EQ(GetHighestSetMember(0b110000), 255);
}

TEST(Fonts, ScaleToScreenDPI)
{
  const int ppi = Screen->GetPixelsPerInch();
  EXPECT_EQ(ScaleToScreenDPI(96, 96), ppi);
  EXPECT_EQ(ScaleToScreenDPI(10, ppi), 10);
  // Halves round away from zero: 5 at 2 * ppi scaled is 2.5.
  EXPECT_EQ(ScaleToScreenDPI(5, 2 * ppi), 3);
  EXPECT_EQ(ScaleToScreenDPI(-5, 2 * ppi), -3);
  EXPECT_EQ(ScaleToScreenDPI(7, 0), 7);
}

TEST(Fonts, SmallCaptionFontHeightAndFace)
{
  TFont font;
  font.SetName(L"Tahoma");
  std::unique_ptr<TFont> own(CreateSmallCaptionFont(&font, false));
  EXPECT_LE(own->GetHeight(), -11);
  EXPECT_EQ(own->GetName(), L"Tahoma");

  TFont target;
  font.SetHeight(-30);
  SetFontHandleFromFont(&font, &target, false);
  EXPECT_EQ(target.GetHeight(), -30);
  EXPECT_EQ(target.GetName(), L"Tahoma");
  SetFontHandleFromFont(&font, &target, true);
  EXPECT_LE(target.GetHeight(), -11);
  EXPECT_NE(target.GetHeight(), -30);
}

}  // namespace
