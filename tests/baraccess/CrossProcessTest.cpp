// An accessibility client in this process walks the bars of another program on the library:
// names, roles, states and locations, the real pointer's hot element, the default action,
// an open menu and a floating toolbar; then the demo's toolbar.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "AccessClient.h"
#include "platform/Scope.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

class TComApartment {
public:
  TComApartment() : FResult(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~TComApartment()
  {
    if (SUCCEEDED(FResult))
      CoUninitialize();
  }

private:
  HRESULT FResult;
};

HWND HandleOf(const std::string& AText)
{
  return reinterpret_cast<HWND>(INT_PTR(std::atoll(AText.c_str())));
}

VARIANT Self()
{
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = CHILDID_SELF;
  return v;
}

long StateOf(const TComRef<IAccessible>& AObject)
{
  VARIANT v;
  VariantInit(&v);
  if (FAILED(AObject->get_accState(Self(), &v)) || v.vt != VT_I4)
    return -1;
  return v.lVal;
}

std::vector<std::wstring> Names(const TAccessibleNode& ANode)
{
  std::vector<std::wstring> result;
  for (const TAccessibleNode& child : ANode.Children)
    result.push_back(child.Name);
  return result;
}

bool Contains(const RECT& AOuter, const RECT& AInner)
{
  return AInner.left >= AOuter.left && AInner.top >= AOuter.top && AInner.right <= AOuter.right &&
         AInner.bottom <= AOuter.bottom && AInner.right > AInner.left && AInner.bottom > AInner.top;
}

int CountLines(TProgram& AProgram, const std::string& ALine)
{
  std::vector<std::string> lines = AProgram.Lines();
  return int(std::count(lines.begin(), lines.end(), ALine));
}

// The visible top-level windows of a process whose client object answers with a role.
HWND FindWindowWithRole(DWORD AProcessId, long ARole)
{
  struct TSearch {
    DWORD Pid;
    long Role;
    HWND Found;
  } search{AProcessId, ARole, nullptr};
  EnumWindows(
      [](HWND wnd, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<TSearch*>(data);
        DWORD pid = 0;
        GetWindowThreadProcessId(wnd, &pid);
        if (pid != s->Pid || !IsWindowVisible(wnd))
          return TRUE;
        if (TComRef<IAccessible> object = AccessibleOfWindow(wnd)) {
          VARIANT v;
          VariantInit(&v);
          if (SUCCEEDED(object->get_accRole(Self(), &v)) && v.vt == VT_I4 && v.lVal == s->Role) {
            s->Found = wnd;
            return FALSE;
          }
        }
        return TRUE;
      },
      LPARAM(&search));
  return search.Found;
}

class CrossProcessAccess : public testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(Host.Started()) << "error " << Host.StartError();
    ASSERT_TRUE(Host.WaitForLine("ready")) << "the host did not come up";
    Toolbar = HandleOf(Host.ValueOf("toolbar: "));
    Floating = HandleOf(Host.ValueOf("floating: "));
    ASSERT_TRUE(IsWindow(Toolbar));
    ASSERT_TRUE(IsWindow(Floating));
    // Both bars have laid out their items on screen.
    for (HWND bar : {Toolbar, Floating})
      ASSERT_TRUE(PumpUntil([&] {
        TAccessibleNode node = ReadAccessible(AccessibleOfWindow(bar), 1);
        return !node.Children.empty() && !IsRectEmpty(&node.Children[0].Location);
      }));
  }

  TComApartment Apartment;
  TProgram Host{L"baraccess_host.exe", L""};
  HWND Toolbar = nullptr;
  HWND Floating = nullptr;
};

TEST_F(CrossProcessAccess, ToolbarNamesRolesStatesAndLocations)
{
  TComRef<IAccessible> bar = AccessibleOfWindow(Toolbar);
  ASSERT_TRUE(bar) << "no object answered WM_GETOBJECT";
  TAccessibleNode node = ReadAccessible(bar, 2);
  EXPECT_EQ(node.Name, L"Commands");
  EXPECT_EQ(node.Role, ROLE_SYSTEM_TOOLBAR);
  RECT window{};
  GetWindowRect(Toolbar, &window);
  ASSERT_EQ(node.LocationResult, S_OK);
  EXPECT_TRUE(EqualRect(&node.Location, &window));

  // The items in order, the mark (named by its hint, as a reader announces it), then the
  // caption-button group (empty on a docked bar).
  ASSERT_EQ(node.Children.size(), 7u);
  EXPECT_EQ(Names(node), (std::vector<std::wstring>{L"Add", L"Add Folder", L"Remove", L"Start", L"More",
                                                    L"Add or Remove Buttons", L""}));
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(node.Children[size_t(i)].Role, ROLE_SYSTEM_PUSHBUTTON) << i;
  EXPECT_EQ(node.Children[4].Role, ROLE_SYSTEM_BUTTONMENU);
  EXPECT_EQ(node.Children[6].Role, ROLE_SYSTEM_GROUPING);
  EXPECT_TRUE(node.Children[6].State & STATE_SYSTEM_INVISIBLE);
  // The docked mark closes the bar, after its last item.
  const TAccessibleNode& mark = node.Children[5];
  EXPECT_EQ(mark.Role, ROLE_SYSTEM_BUTTONMENU);
  EXPECT_FALSE(mark.State & STATE_SYSTEM_INVISIBLE);
  EXPECT_TRUE(Contains(window, mark.Location));
  EXPECT_GE(mark.Location.left, node.Children[4].Location.right);
  EXPECT_FALSE(node.Children[0].State & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_PRESSED | STATE_SYSTEM_INVISIBLE));
  EXPECT_TRUE(node.Children[2].State & STATE_SYSTEM_UNAVAILABLE);
  EXPECT_TRUE(node.Children[3].State & STATE_SYSTEM_PRESSED);
  EXPECT_TRUE(node.Children[3].State & STATE_SYSTEM_CHECKED);
  EXPECT_TRUE(node.Children[4].State & STATE_SYSTEM_HASPOPUP);
  for (int i = 0; i < 5; ++i) {
    const RECT& r = node.Children[size_t(i)].Location;
    EXPECT_TRUE(Contains(window, r)) << i;
    if (i > 0) {
      EXPECT_GE(r.left, node.Children[size_t(i - 1)].Location.right) << i;
    }
  }

  // The pointer on an item's location makes that item hot in the other process, and hit
  // testing there finds the same item.
  const RECT& add = node.Children[0].Location;
  const POINT centre{(add.left + add.right) / 2, (add.top + add.bottom) / 2};
  MoveMouseTo(centre);
  EXPECT_TRUE(PumpUntil([&] { return (StateOf(node.Children[0].Object) & STATE_SYSTEM_HOTTRACKED) != 0; }));
  EXPECT_FALSE(StateOf(node.Children[1].Object) & STATE_SYSTEM_HOTTRACKED);
  VARIANT hit;
  VariantInit(&hit);
  ASSERT_EQ(bar->accHitTest(centre.x, centre.y, &hit), S_OK);
  ASSERT_EQ(hit.vt, VT_DISPATCH);
  TComRef<IAccessible> hitObject;
  hit.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(hitObject.Put()));
  VariantClear(&hit);
  ASSERT_TRUE(hitObject);
  EXPECT_EQ(ReadAccessible(hitObject, 0).Name, L"Add");
  MoveMouseTo(POINT{window.right + 40, window.bottom + 120});
  EXPECT_TRUE(PumpUntil([&] { return (StateOf(node.Children[0].Object) & STATE_SYSTEM_HOTTRACKED) == 0; }));
}

TEST_F(CrossProcessAccess, DefaultActionClicksEnabledItemsOnly)
{
  TAccessibleNode node = ReadAccessible(AccessibleOfWindow(Toolbar), 1);
  ASSERT_GE(node.Children.size(), 3u);
  BSTR action = nullptr;
  ASSERT_EQ(node.Children[0].Object->get_accDefaultAction(Self(), &action), S_OK);
  EXPECT_STREQ(action, L"Press");
  SysFreeString(action);
  EXPECT_EQ(node.Children[2].Object->accDoDefaultAction(Self()), S_OK);
  EXPECT_EQ(node.Children[0].Object->accDoDefaultAction(Self()), S_OK);
  ASSERT_TRUE(Host.WaitForLine("clicked: Add")) << testing::PrintToString(Host.Lines());
  PumpFor(200);
  EXPECT_EQ(CountLines(Host, "clicked: Remove"), 0);
  EXPECT_EQ(CountLines(Host, "clicked: Add"), 1);
}

TEST_F(CrossProcessAccess, OpenMenuIsWalkedAndItsItemRuns)
{
  TAccessibleNode node = ReadAccessible(AccessibleOfWindow(Toolbar), 1);
  ASSERT_GE(node.Children.size(), 5u);
  TComRef<IAccessible> more = node.Children[4].Object;
  ASSERT_EQ(more->accDoDefaultAction(Self()), S_OK);
  HWND menu = nullptr;
  ASSERT_TRUE(PumpUntil([&] {
    return (menu = FindWindowWithRole(Host.ProcessId(), ROLE_SYSTEM_MENUPOPUP)) != nullptr;
  })) << "no menu window opened";
  EXPECT_TRUE(StateOf(more) & STATE_SYSTEM_EXPANDED);
  TAccessibleNode popup = ReadAccessible(AccessibleOfWindow(menu), 1);
  EXPECT_EQ(popup.Role, ROLE_SYSTEM_MENUPOPUP);
  ASSERT_EQ(Names(popup), (std::vector<std::wstring>{L"One", L"Two"}));
  RECT window{};
  GetWindowRect(menu, &window);
  for (const TAccessibleNode& item : popup.Children) {
    EXPECT_EQ(item.Role, ROLE_SYSTEM_MENUITEM);
    EXPECT_TRUE(Contains(window, item.Location));
  }
  EXPECT_LE(popup.Children[0].Location.bottom, popup.Children[1].Location.top);
  ASSERT_EQ(popup.Children[1].Object->accDoDefaultAction(Self()), S_OK);
  EXPECT_TRUE(Host.WaitForLine("clicked: Two"));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(menu); })) << "the menu stayed open";
}

// The application menu from outside: its links and the row's buttons as menu items, then its
// pane, whose list holds the pane's entries; what it runs closes it.
TEST_F(CrossProcessAccess, ApplicationMenuIsWalkedWithItsPaneAndButtonRow)
{
  const HWND appBar = HandleOf(Host.ValueOf("appbar: "));
  ASSERT_TRUE(IsWindow(appBar));
  auto open = [&](HWND& AMenu) {
    TAccessibleNode bar = ReadAccessible(AccessibleOfWindow(appBar), 1);
    ASSERT_FALSE(bar.Children.empty());
    ASSERT_EQ(bar.Children[0].Name, L"File");
    ASSERT_EQ(bar.Children[0].Object->accDoDefaultAction(Self()), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return (AMenu = FindWindowWithRole(Host.ProcessId(), ROLE_SYSTEM_MENUPOPUP)); }))
        << "no menu window opened";
  };
  HWND menu = nullptr;
  ASSERT_NO_FATAL_FAILURE(open(menu));
  TAccessibleNode popup = ReadAccessible(AccessibleOfWindow(menu), 3);
  EXPECT_EQ(popup.Role, ROLE_SYSTEM_MENUPOPUP);
  ASSERT_EQ(Names(popup), (std::vector<std::wstring>{L"New", L"Open", L"Options", L"Exit", L""}));
  RECT window{};
  GetWindowRect(menu, &window);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(popup.Children[i].Role, i < 2 ? ROLE_SYSTEM_MENUITEM : ROLE_SYSTEM_PUSHBUTTON) << i;
    EXPECT_TRUE(Contains(window, popup.Children[i].Location)) << i;
  }
  // The row's buttons lie side by side below the links.
  const RECT& options = popup.Children[2].Location;
  const RECT& exit = popup.Children[3].Location;
  EXPECT_GE(options.top, popup.Children[1].Location.bottom);
  EXPECT_LE(options.right, exit.left);
  EXPECT_EQ(options.top, exit.top);

  // The pane: the last child, right of the links, holding the list of its entries.
  const TAccessibleNode& pane = popup.Children[4];
  EXPECT_EQ(pane.Role, ROLE_SYSTEM_PANE);
  EXPECT_TRUE(Contains(window, pane.Location));
  EXPECT_GE(pane.Location.left, popup.Children[0].Location.right);
  EXPECT_LE(pane.Location.bottom, options.top);
  ASSERT_EQ(pane.Children.size(), 1u);
  const TAccessibleNode& list = pane.Children[0];
  EXPECT_EQ(list.Role, ROLE_SYSTEM_LIST);
  ASSERT_EQ(Names(list), (std::vector<std::wstring>{L"Recent A", L"Recent B"}));
  for (const TAccessibleNode& entry : list.Children)
    EXPECT_TRUE(Contains(pane.Location, entry.Location));
  EXPECT_LE(list.Children[0].Location.bottom, list.Children[1].Location.top);
  // Up from the pane is the menu.
  TComRef<IDispatch> parent;
  ASSERT_EQ(pane.Object->get_accParent(parent.Put()), S_OK);
  TComRef<IAccessible> parentObject;
  ASSERT_TRUE(parent);
  parent->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(parentObject.Put()));
  ASSERT_TRUE(parentObject);
  EXPECT_EQ(ReadAccessible(parentObject, 0).Role, ROLE_SYSTEM_MENUPOPUP);

  ASSERT_EQ(list.Children[1].Object->accDoDefaultAction(Self()), S_OK);
  EXPECT_TRUE(Host.WaitForLine("clicked: Recent B"));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); })) << "the pane's entry left it open";

  ASSERT_NO_FATAL_FAILURE(open(menu));
  popup = ReadAccessible(AccessibleOfWindow(menu), 1);
  ASSERT_EQ(popup.Children.size(), 5u);
  ASSERT_EQ(popup.Children[3].Object->accDoDefaultAction(Self()), S_OK);
  EXPECT_TRUE(Host.WaitForLine("clicked: Exit"));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); })) << "the row's button left it open";
  EXPECT_EQ(CountLines(Host, "clicked: Options"), 0);
}

struct TWinEvent {
  DWORD Event;
  HWND Window;
  LONG Object;
  LONG Child;
};
std::vector<TWinEvent> GWinEvents;

void CALLBACK RecordWinEvent(HWINEVENTHOOK, DWORD AEvent, HWND AWnd, LONG AObject, LONG AChild, DWORD, DWORD)
{
  if (AEvent == EVENT_SYSTEM_MENUPOPUPSTART || AEvent == EVENT_SYSTEM_MENUPOPUPEND || AEvent == EVENT_OBJECT_FOCUS)
    GWinEvents.push_back({AEvent, AWnd, AObject, AChild});
}

TEST_F(CrossProcessAccess, MenuAndFocusEventsReachAWinEventClientInOrder)
{
  GWinEvents.clear();
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_SYSTEM_MENUPOPUPSTART, EVENT_OBJECT_FOCUS, nullptr, &RecordWinEvent,
                                       Host.ProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  TFinally unhook([&]() noexcept { UnhookWinEvent(hook); });
  TAccessibleNode node = ReadAccessible(AccessibleOfWindow(Toolbar), 1);
  ASSERT_GE(node.Children.size(), 5u);
  ASSERT_EQ(node.Children[4].Object->accDoDefaultAction(Self()), S_OK);
  HWND menu = nullptr;
  ASSERT_TRUE(
      PumpUntil([&] { return (menu = FindWindowWithRole(Host.ProcessId(), ROLE_SYSTEM_MENUPOPUP)) != nullptr; }));
  TAccessibleNode popup = ReadAccessible(AccessibleOfWindow(menu), 1);
  ASSERT_EQ(popup.Children.size(), 2u);
  ASSERT_EQ(popup.Children[1].Object->accDoDefaultAction(Self()), S_OK);
  ASSERT_TRUE(Host.WaitForLine("clicked: Two"));
  auto has = [&](DWORD AEvent, HWND AWnd) {
    for (const TWinEvent& e : GWinEvents)
      if (e.Event == AEvent && e.Window == AWnd)
        return true;
    return false;
  };
  EXPECT_TRUE(PumpUntil([&] { return has(EVENT_SYSTEM_MENUPOPUPEND, menu); }));

  // Each event names its window and the child there: the toolbar's fifth (More), the
  // menu, the menu's first entry as it opens by key, then the menu's end.
  std::vector<std::string> seen;
  for (const TWinEvent& e : GWinEvents) {
    const std::string where = e.Window == Toolbar ? "toolbar" : e.Window == menu ? "menu" : "other";
    const std::string kind = e.Event == EVENT_OBJECT_FOCUS            ? "focus"
                             : e.Event == EVENT_SYSTEM_MENUPOPUPSTART ? "start"
                                                                      : "end";
    seen.push_back(kind + " " + where + " " + std::to_string(e.Object) + " " + std::to_string(e.Child));
  }
  const std::string client = std::to_string(LONG(OBJID_CLIENT));
  EXPECT_EQ(seen, (std::vector<std::string>{"focus toolbar " + client + " 5", "start menu " + client + " 0",
                                            "focus menu " + client + " 1", "end menu " + client + " 0"}));
  // The focus event leads a client to the element it names.
  ASSERT_FALSE(GWinEvents.empty());
  IAccessible* object = nullptr;
  VARIANT child;
  VariantInit(&child);
  ASSERT_EQ(AccessibleObjectFromEvent(GWinEvents[0].Window, DWORD(GWinEvents[0].Object), DWORD(GWinEvents[0].Child),
                                      &object, &child),
            S_OK);
  TAccessibleNode more = ReadAccessible(TComRef<IAccessible>(object), 0);
  EXPECT_EQ(more.Name, L"More");
  VariantClear(&child);
}

TEST_F(CrossProcessAccess, FloatingToolbarIsWalked)
{
  ASSERT_TRUE(IsWindowVisible(Floating));
  TAccessibleNode node = ReadAccessible(AccessibleOfWindow(Floating), 3);
  EXPECT_EQ(node.Name, L"Floating");
  EXPECT_EQ(node.Role, ROLE_SYSTEM_TOOLBAR);
  ASSERT_EQ(node.Children.size(), 4u);
  EXPECT_EQ(node.Children[0].Name, L"Alpha");
  EXPECT_EQ(node.Children[1].Name, L"Beta");
  RECT window{};
  GetWindowRect(Floating, &window);
  EXPECT_TRUE(Contains(window, node.Children[0].Location));
  EXPECT_TRUE(Contains(window, node.Children[1].Location));
  ASSERT_EQ(node.Children[1].Object->accDoDefaultAction(Self()), S_OK);
  EXPECT_TRUE(Host.WaitForLine("clicked: Beta"));
  // The mark sits in the caption, above the items.
  const TAccessibleNode& mark = node.Children[2];
  EXPECT_FALSE(mark.State & STATE_SYSTEM_INVISIBLE);
  EXPECT_TRUE(Contains(window, mark.Location));
  EXPECT_LE(mark.Location.bottom, node.Children[0].Location.top);
  // The caption's buttons: a group in the caption with the one button, which presses, and
  // the close button.
  const TAccessibleNode& group = node.Children[3];
  EXPECT_EQ(group.Role, ROLE_SYSTEM_GROUPING);
  EXPECT_FALSE(group.State & STATE_SYSTEM_INVISIBLE);
  EXPECT_TRUE(Contains(window, group.Location));
  EXPECT_LT(group.Location.bottom, node.Children[0].Location.bottom) << "above the items, in the caption";
  ASSERT_EQ(group.Children.size(), 2u);
  EXPECT_EQ(group.Children[0].Name, L"Pin");
  EXPECT_EQ(group.Children[0].Role, ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_TRUE(Contains(group.Location, group.Children[0].Location));
  EXPECT_EQ(group.Children[1].Name, L"Close");
  EXPECT_EQ(group.Children[1].Role, ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_TRUE(Contains(group.Location, group.Children[1].Location));
  EXPECT_GE(group.Children[1].Location.left, group.Children[0].Location.right) << "at the caption's end";
  ASSERT_EQ(group.Children[0].Object->accDoDefaultAction(Self()), S_OK);
  EXPECT_TRUE(Host.WaitForLine("caption button: Pin"));
  // A bar window's object hangs under its own window's object.
  TComRef<IDispatch> parent;
  ASSERT_EQ(node.Object->get_accParent(parent.Put()), S_OK);
  ASSERT_TRUE(parent);
  TComRef<IOleWindow> parentObject;
  ASSERT_EQ(parent->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(parentObject.Put())), S_OK);
  HWND parentWindow = nullptr;
  ASSERT_EQ(parentObject->GetWindow(&parentWindow), S_OK);
  EXPECT_EQ(parentWindow, Floating);
}

// A click run for a client whose handler raises is reported as a click by the pointer would
// be, and the program goes on: its bars still answer and click.
TEST_F(CrossProcessAccess, ADefaultActionWhoseClickRaisesLeavesTheProgramRunning)
{
  TAccessibleNode node = ReadAccessible(AccessibleOfWindow(Floating), 1);
  ASSERT_EQ(node.Children.size(), 4u);
  ASSERT_EQ(node.Children[0].Name, L"Alpha");
  ASSERT_EQ(node.Children[0].Object->accDoDefaultAction(Self()), S_OK);
  ASSERT_TRUE(Host.WaitForLine("unexpected: validation failed")) << testing::PrintToString(Host.Lines());
  EXPECT_EQ(CountLines(Host, "clicked: Alpha"), 1);
  ASSERT_EQ(node.Children[1].Object->accDoDefaultAction(Self()), S_OK);
  EXPECT_TRUE(Host.WaitForLine("clicked: Beta")) << testing::PrintToString(Host.Lines());
  EXPECT_EQ(ReadAccessible(AccessibleOfWindow(Toolbar), 0).Name, L"Commands");
}

// A client may hold elements past the bar they belong to: once it is freed in the other
// process every call on them answers that the object is gone, and that program goes on
// answering for its other bars.
TEST_F(CrossProcessAccess, ElementsOfAFreedBarAnswerThatTheyAreGone)
{
  const HWND doomed = HandleOf(Host.ValueOf("doomed: "));
  ASSERT_TRUE(IsWindow(doomed));
  TAccessibleNode node = ReadAccessible(AccessibleOfWindow(doomed), 1);
  ASSERT_EQ(node.Name, L"Doomed");
  // The button, the mark and the caption-button group.
  ASSERT_EQ(node.Children.size(), 3u);
  ASSERT_EQ(node.Children[0].Name, L"Drop");
  TComRef<IAccessible> bar = node.Object;
  TComRef<IAccessible> item = node.Children[0].Object;
  TComRef<IAccessible> mark = node.Children[1].Object;
  TComRef<IAccessible> group = node.Children[2].Object;
  ASSERT_EQ(item->accDoDefaultAction(Self()), S_OK);
  ASSERT_TRUE(Host.WaitForLine("dropped")) << testing::PrintToString(Host.Lines());
  EXPECT_FALSE(IsWindow(doomed));

  for (const TComRef<IAccessible>& gone : {bar, item, mark, group}) {
    BSTR name = nullptr;
    EXPECT_EQ(gone->get_accName(Self(), &name), CO_E_OBJNOTCONNECTED);
    SysFreeString(name);
    long x = 0, y = 0, w = 0, h = 0;
    EXPECT_EQ(gone->accLocation(&x, &y, &w, &h, Self()), CO_E_OBJNOTCONNECTED);
    VARIANT state;
    VariantInit(&state);
    EXPECT_EQ(gone->get_accState(Self(), &state), CO_E_OBJNOTCONNECTED);
    VariantClear(&state);
    long count = 0;
    EXPECT_EQ(gone->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
    TComRef<IDispatch> parent;
    EXPECT_EQ(gone->get_accParent(parent.Put()), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(gone->accDoDefaultAction(Self()), CO_E_OBJNOTCONNECTED);
  }
  PumpFor(100);
  EXPECT_EQ(CountLines(Host, "clicked: Drop"), 1);
  EXPECT_EQ(ReadAccessible(AccessibleOfWindow(Toolbar), 0).Name, L"Commands");
}

TEST(CrossProcessDemo, DemoToolbarMatchesItsOwnDescription)
{
  TComApartment apartment;
  TProgram demo{L"" BARACCESS_DEMO_PATH, L"--describe"};
  ASSERT_TRUE(demo.Started()) << "error " << demo.StartError();
  ASSERT_TRUE(demo.WaitForLine("ready", 90000));
  long l, t, r, b;
  ASSERT_EQ(std::sscanf(demo.ValueOf("toolbar: ").c_str(), "%ld %ld %ld %ld", &l, &t, &r, &b), 4);
  HWND toolbar = WindowFromPoint(POINT{(l + r) / 2, (t + b) / 2});
  TComRef<IAccessible> bar = AccessibleOfWindow(toolbar);
  ASSERT_TRUE(bar);
  TAccessibleNode node = ReadAccessible(bar, 1);
  EXPECT_EQ(node.Name, L"Commands");
  ASSERT_EQ(node.Children.size(), 6u);
  std::vector<std::string> buttons;
  for (const std::string& line : demo.Lines())
    if (line.rfind("button: ", 0) == 0)
      buttons.push_back(line.substr(8));
  ASSERT_EQ(buttons.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    long bl, bt, br, bb;
    char caption[64] = {};
    ASSERT_EQ(std::sscanf(buttons[i].c_str(), "%ld %ld %ld %ld %63[^\n]", &bl, &bt, &br, &bb, caption), 5);
    const TAccessibleNode& child = node.Children[i];
    EXPECT_EQ(Narrow(child.Name), caption);
    EXPECT_EQ(child.Role, ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(child.Location.left, bl);
    EXPECT_EQ(child.Location.top, bt);
    EXPECT_EQ(child.Location.right, br);
    EXPECT_EQ(child.Location.bottom, bb);
    // All four are enabled and none is checked.
    EXPECT_FALSE(child.State & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_PRESSED | STATE_SYSTEM_INVISIBLE)) << i;
  }
  EXPECT_EQ(node.Children[4].Role, ROLE_SYSTEM_BUTTONMENU);
  EXPECT_FALSE(node.Children[4].Name.empty()) << "the mark has a name to announce";
  // The real pointer over a button makes it the hot one.
  const RECT& add = node.Children[0].Location;
  MoveMouseTo(POINT{(add.left + add.right) / 2, (add.top + add.bottom) / 2});
  EXPECT_TRUE(PumpUntil([&] { return (StateOf(node.Children[0].Object) & STATE_SYSTEM_HOTTRACKED) != 0; }));
  EXPECT_FALSE(StateOf(node.Children[1].Object) & STATE_SYSTEM_HOTTRACKED);
  ASSERT_EQ(node.Children[0].Object->accDoDefaultAction(Self()), S_OK);
  EXPECT_TRUE(demo.WaitForLine("clicked: Add"));
}

}  // namespace
