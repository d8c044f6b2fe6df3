// Shared pieces of the customizing tests: a form with two toolbars and a menu, customizing
// switched on, real right clicks that open the customizing popup and its entries found by
// their commands.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "barcustomize/designcontroller.h"
#include "bars/dxBar.h"
#include "support/BarProbe.h"
#include "support/BarTestHost.h"
#include "support/Input.h"
#include "support/MessageBoxAnswerer.h"

class TDesignForm : public TForm {
  DECLARE_CLASS(TDesignForm, TForm)
public:
  explicit TDesignForm(TComponent* AOwner) : TForm(AOwner) {}
};

// "Standard" (top, row 0): btnOpen, btnSave, btnShared, FileItem; "Tools" (top, row 1):
// btnShared, btnFind. FileItem's menu: btnNew, btnClose (btnClose begins a group).
String DesignFormText();

class TDesignFixture : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  TdxBarItem* Item(const wchar_t* AName) const;
  TdxBar* Bar(const wchar_t* ACaption) const;
  TdxBarItemLink* LinkOf(const wchar_t* ABar, int AIndex) const;
  // A real right click on the link; true once the customizing popup is open.
  bool RightClick(TdxBarItemLink* ALink);
  TdxBarSubMenuControl* Popup() const;
  // The entry of the open popup (or of one of its open menus) with the command's tag.
  TdxBarItemLink* Entry(int ACommand, int AEntry = 0) const;
  std::vector<int> PopupCommands() const;
  // Clicks the popup's entry; for an entry of a submenu, opens the submenu first.
  bool ClickEntry(int ACommand, int AEntry = 0);
  // Opens the menu of FileItem by a real click; its window, nil when it did not open.
  TdxBarSubMenuControl* OpenFileMenu();
  // A real key stroke with modifiers, waited for until no key message is queued.
  static void Key(WORD AKey, std::initializer_list<WORD> AModifiers = {})
  {
    EXPECT_TRUE(StrokeKey(AKey, AModifiers, 3000));
  }
  // Saves the layout to a file, lets AChange spoil it, loads it back.
  void SaveChangeAndLoad(const std::function<void()>& AChange);

  std::unique_ptr<TOwned<TDesignForm>> FormOwner;
  TDesignForm* Form = nullptr;
  TdxBarManager* Manager = nullptr;
  TdxBarDesignController* Controller = nullptr;
};
