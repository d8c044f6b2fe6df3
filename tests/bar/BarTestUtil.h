// Shared pieces of the bar tests: a form class form data can name, a fixture with a form and
// a manager, and a recorder of the manager's bar events.
#pragma once

#include <vector>

#include "support/BarProbe.h"
#include "support/BarTestHost.h"

class TBarAreaForm : public TForm {
  DECLARE_CLASS(TBarAreaForm, TForm)
public:
  explicit TBarAreaForm(TComponent* AOwner) : TForm(AOwner) {}
};

// Counts the manager's bar events and keeps what a handler saw.
struct TBarEventLog : TObject {
  int Added = 0;
  int Deleted = 0;
  int VisibleChanges = 0;
  int DockingChanges = 0;
  std::vector<String> VisibleCaptions;
  std::vector<TdxBarDockingStyle> VisibleStyles;
  std::vector<int> VisibleLinkCounts;

  void Attach(TdxBarManager* M)
  {
    M->OnBarAdd = TdxBarEvent(this, &TBarEventLog::BarAdd);
    M->OnBarDelete = TdxBarEvent(this, &TBarEventLog::BarDelete);
    M->OnBarVisibleChange = TdxBarVisibleChangeEvent(this, &TBarEventLog::BarVisible);
    M->OnBarDockingStyleChange = TdxBarEvent(this, &TBarEventLog::BarDocking);
  }
  void BarAdd(TObject*, TdxBar*) { ++Added; }
  void BarDelete(TObject*, TdxBar*) { ++Deleted; }
  void BarVisible(TObject*, TdxBar* B)
  {
    ++VisibleChanges;
    VisibleCaptions.push_back(B->GetCaption());
    VisibleStyles.push_back(B->GetDockingStyle());
    VisibleLinkCounts.push_back(B->GetItemLinks()->Count());
  }
  void BarDocking(TObject*, TdxBar*) { ++DockingChanges; }
};

class TBarFixture : public testing::Test {
protected:
  TBarFixture() : Host(), Manager(Host.Manager) { Manager->SetName(L"dxBarManager1"); }
  TdxBars* Bars() const { return Manager->GetBars(); }

  TBarHost<TBarAreaForm> Host;
  TdxBarManager* Manager;
};
