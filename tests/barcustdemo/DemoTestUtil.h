// Shared pieces of the tests on the demo's window: the form made from its own form data, the
// lines its handlers report, and the places a user points at.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "barcustomize/customizeform.h"
#include "demo/MainForm.h"
#include "support/BarProbe.h"
#include "support/Owned.h"

// The lines the demo's handlers reported ("clicked: Add", ...), oldest first.
std::vector<String>& DemoOutputLines();

class TDemoFixture : public testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  TdxBarItemLinks* Links() const;
  // The link of the toolbar whose command has the caption; nil when it has none.
  TdxBarItemLink* LinkOf(const String& ACaption) const;
  // Clicks a link with the real pointer; true when a "clicked:" line for its caption came.
  bool ClickReports(const String& ACaption);
  // Clicks the dialog's tab with the real pointer.
  bool ClickTab(TTabSheet* APage);
  // Presses at AFrom, glides to ATo and releases there, while this thread runs the drag.
  bool Drag(POINT AFrom, POINT ATo);

  std::unique_ptr<TOwned<TMainForm>> FormOwner;
  TMainForm* Form = nullptr;
  TdxBarManager* Manager = nullptr;
  TdxBar* Bar = nullptr;
};
