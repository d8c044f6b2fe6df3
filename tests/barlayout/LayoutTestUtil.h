// Shared pieces of the stored-layout tests: a form with four toolbars whose manager records
// what it sees while it loads, where each bar's window shows, and the stores the tests use.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

#include "bars/model/bar.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/barwindows/dockcontrol.h"
#include "bars/barwindows/toolbar.h"
#include "support/BarTestHost.h"

class TLayoutForm : public TForm {
  DECLARE_CLASS(TLayoutForm, TForm)
public:
  explicit TLayoutForm(TComponent* AOwner) : TForm(AOwner) {}
};

// A manager that tells the test what happens while it loads: each bar shown or hidden or
// docked elsewhere and each stored layout loaded, with the loading flag as it stood then.
class TWatchedManager : public TdxBarManager {
  DECLARE_CLASS(TWatchedManager, TdxBarManager)
public:
  explicit TWatchedManager(TComponent* AOwner);
  struct TSeen {
    String What;
    bool LoadingLayout = false;
  };
  // Every watched manager made from now on records here; cleared by the test.
  static std::vector<TSeen>& Seen();
};

enum class TLayoutStoreKind { IniFile, Registry };

// Where the tests keep their layouts.
String LayoutIniPath();
inline const String LayoutRegistryPath = L"Software\\BarLayoutPlaces\\";

// The form: "Standard" on the top row, "Edit" on the second top row at DockedLeft 60,
// "Side" on the left, "Tools" on the top row after "Standard". AStore, when given, is
// where its manager keeps its layout (loaded when the form is made, saved when it goes).
String LayoutFormText(const TLayoutStoreKind* AStore = nullptr);
// Made from that text and shown; the caller owns it.
TLayoutForm* NewLayoutForm(const TLayoutStoreKind* AStore = nullptr);
TdxBarManager* ManagerOf(TForm* AForm);
TdxBar* BarOf(TForm* AForm, const String& ACaption);

// Saves or loads AForm's layout explicitly.
void SaveLayout(TForm* AForm, TLayoutStoreKind AStore);
void LoadLayout(TForm* AForm, TLayoutStoreKind AStore);
// Removes both stores; a scope guard keeps a failed test from leaving them behind.
void DeleteLayoutStores();
struct TLayoutStoresGuard {
  TLayoutStoresGuard() { DeleteLayoutStores(); }
  ~TLayoutStoresGuard() { DeleteLayoutStores(); }
};

// Where a bar's window is, as the user sees it: the site it shows in ("float" when it
// floats, else its side), its rectangle (in the site's client area, or on the screen when
// it floats), its row and whether it stands upright, and a floating bar's title.
struct TBarPlace {
  String Caption;
  bool Visible = false;
  String Site;
  RECT Rect{};
  int Row = -1;
  bool Vertical = false;
  String Title;
  bool operator==(const TBarPlace& A) const;
};
std::ostream& operator<<(std::ostream& AStream, const TBarPlace& APlace);
std::vector<TBarPlace> BarPlaces(TForm* AForm);

// Drags the bar by its grip with the real pointer to the screen point ATo and drops it.
bool DragBarTo(TdxBar* ABar, POINT ATo);
