// An editor on a bar under the manager's keyboard hook: while it edits, every key is its
// own (clipboard keys, Delete, Home and End, and a form item's shortcut); once editing
// ended the same shortcut clicks the item again.
#include "EditTestUtil.h"

namespace {

class TEditorKeys : public TEditFixture {
protected:
  void SetUp() override
  {
    TEditFixture::SetUp();
    Button->SetShortCut(TShortCut(0x4000 | 'S'));
    Button->SetOnClick(TNotifyEvent([this](TObject*) { ++Saves; }));
    Control = ControlOn(Bar1, Edit);
  }

  TdxBarEditControl* Control = nullptr;
  int Saves = 0;
};

}  // namespace

TEST_F(TEditorKeys, EditingEditorTakesEveryKey)
{
  Edit->SetText(L"");
  std::vector<WORD> seen;
  Edit->OnKeyDown = TKeyEvent([&](TObject*, WORD& Key, TShiftState Shift) {
    if (Shift.Contains(ssCtrl) && Key != VK_CONTROL)
      seen.push_back(Key);
  });
  ASSERT_TRUE(StartEditing(Control));
  ASSERT_TRUE(TypeText(L"abc"));
  ASSERT_TRUE(PressKey(VK_HOME) && PressKey(VK_END, {VK_SHIFT}) && PressKey('C', {VK_CONTROL}));
  ASSERT_TRUE(PressKey(VK_END) && PressKey('V', {VK_CONTROL}));
  EXPECT_EQ(Control->GetText(), L"abcabc");
  ASSERT_TRUE(PressKey(VK_HOME) && PressKey(VK_DELETE));
  EXPECT_EQ(Control->GetText(), L"bcabc");
  ASSERT_TRUE(PressKey('S', {VK_CONTROL}));
  EXPECT_EQ(Saves, 0) << "the editor had the shortcut";
  EXPECT_EQ(seen, (std::vector<WORD>{'C', 'V', 'S'}));
  ASSERT_TRUE(PressKey(VK_RETURN));
  EXPECT_EQ(Edit->GetText(), L"bcabc");
  ASSERT_TRUE(PressKey('S', {VK_CONTROL}));
  EXPECT_EQ(Saves, 1) << "with editing over, the form's shortcut works again";
}
