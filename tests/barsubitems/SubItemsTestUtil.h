// Shared pieces of the sub-item tests: a form read from form data with a main-menu bar of
// "File" and "Edit" sub-items (five buttons and one nested sub-item each), and helpers that
// find the menus and their entries on the screen.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "bars/dxBar.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"
#include "support/Input.h"

class TSubItemsForm : public TForm {
  DECLARE_CLASS(TSubItemsForm, TForm)
public:
  explicit TSubItemsForm(TComponent* AOwner) : TForm(AOwner) {}
  // Bound by name from the form data: records the clicked item's name.
  void ItemClick(TObject* Sender);
  std::vector<String> Clicks;
};

// The form data of the main-menu form: sub-items "FileItem" and "EditItem" with buttons
// "File0".."File4" and "Edit0".."Edit4", nested sub-items "RecentItem" (in File, buttons
// "Recent0".."Recent2") and "FindItem" (in Edit, buttons "Find0".."Find2").
String MainMenuFormText();

class TSubItemsFixture : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  // Shows the form at a place and activates it.
  void ShowForm(int ALeft = 120, int ATop = 120, int AWidth = 520, int AHeight = 320)
  {
    ShowFormAt(Form, ALeft, ATop, AWidth, AHeight);
  }
  template <class T>
  T* Item(const wchar_t* AName) const
  {
    return dynamic_cast<T*>(Form->FindComponent(AName));
  }
  TdxBarSubItem* Sub(const wchar_t* AName) const { return Item<TdxBarSubItem>(AName); }
  // The open menu window of a sub-item; nil while closed.
  TdxBarSubMenuControl* MenuOf(TCustomdxBarSubItem* AItem) const;
  // The control of a menu's shown link at AIndex.
  TdxBarItemControl* EntryOf(TdxBarSubMenuControl* AMenu, int AIndex) const;
  // Clicks inside the control, on its left and right quarter in turn: two clicks in a row at
  // one place would make a double click.
  bool ClickOn(TdxBarItemControl* AControl);
  // A real key stroke, waited for until the queue holds no key message (the hooks eat some).
  static void Key(WORD AKey) { EXPECT_TRUE(StrokeKey(AKey)); }
  void MoveAway();

  std::unique_ptr<TOwned<TSubItemsForm>> FormOwner;
  TSubItemsForm* Form = nullptr;
  TdxBarManager* Manager = nullptr;
  TdxBar* MainMenu = nullptr;

private:
  bool FClickLeft = false;
};
