// Windows of controls: made on demand, destroyed with it, remade
// by RecreateWnd with their state, and native classes subclassed as our own.
#include "ControlTestUtil.h"

#include "platform/StdCtrls.h"

namespace {

std::wstring WindowClassName(HWND h)
{
  wchar_t name[256] = {};
  ::GetClassNameW(h, name, 256);
  return name;
}

std::wstring WindowText(HWND h)
{
  wchar_t text[256] = {};
  ::GetWindowTextW(h, text, 256);
  return text;
}

}  // namespace

TEST(WindowLifecycle, WindowsAreMadeOnFirstUseParentFirst)
{
  auto* host = new THostWindow(nullptr);
  auto* child = new TProbeControl(host);
  child->SetParent(host);
  EXPECT_FALSE(host->HandleAllocated());
  EXPECT_FALSE(child->HandleAllocated());
  HWND h = child->GetHandle();
  ASSERT_TRUE(::IsWindow(h));
  EXPECT_TRUE(host->HandleAllocated());
  EXPECT_EQ(::GetParent(h), host->GetHandle());
  EXPECT_EQ(child->GetHandle(), h) << "a second read must not make another window";
  EXPECT_EQ(WindowClassName(h), L"TProbeControl") << "the window class is named after the class";
  EXPECT_EQ(WindowClassName(host->GetHandle()), L"THostWindow");
  auto* second = new TProbeControl(host);
  second->SetParent(host);
  EXPECT_EQ(WindowClassName(second->GetHandle()), L"TProbeControl") << "the registered class is reused";
  host->Free();
  TProbeControl orphan(nullptr);
  EXPECT_THROW(orphan.HandleNeeded(), EInvalidOperation) << "a child without a parent window makes none";
  EXPECT_FALSE(orphan.HandleAllocated());
}

TEST(WindowLifecycle, FreeingDestroysTheWindowAndChildrenAndLeavesTheParent)
{
  auto* host = new THostWindow(nullptr);
  auto* child = new TProbeControl(nullptr);  // not owned: the parent still frees it
  child->SetParent(host);
  TWeakRef<TProbeControl> childRef(child);
  HWND hostWindow = host->GetHandle();
  HWND childWindow = child->GetHandle();
  auto* freed = new TProbeControl(nullptr);
  freed->SetParent(host);
  HWND freedWindow = freed->GetHandle();
  freed->Free();
  EXPECT_EQ(host->GetControlCount(), 1) << "a freed child leaves its parent";
  EXPECT_FALSE(::IsWindow(freedWindow));
  host->Free();
  EXPECT_FALSE(::IsWindow(hostWindow));
  EXPECT_FALSE(::IsWindow(childWindow));
  EXPECT_FALSE(childRef.Alive());
}

TEST(WindowLifecycle, ParentWindowHostsAControlInAForeignWindow)
{
  HWND foreign =
      ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 50, 50, 200, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(foreign);
  {
    TProbeControl probe(nullptr);
    probe.SetParentWindow(foreign);
    ASSERT_TRUE(probe.HandleAllocated()) << "a visible control in a foreign window shows at once";
    EXPECT_EQ(::GetParent(probe.GetHandle()), foreign);
    EXPECT_TRUE(::IsWindowVisible(probe.GetHandle()));
  }
  ::DestroyWindow(foreign);
}

TEST(WindowLifecycle, RecreateWndMakesANewWindowWithTheSameState)
{
  THostWindow host(nullptr);
  auto* child = new TProbeControl(&host);
  child->SetParent(&host);
  ShowTopLevel(&host);
  child->SetBounds(7, 8, 90, 50);
  child->SetText(L"kept text");
  HWND before = child->GetHandle();
  HWND hostBefore = host.GetHandle();
  child->RecreateWnd();
  ASSERT_TRUE(child->HandleAllocated());
  EXPECT_NE(child->GetHandle(), before);
  EXPECT_FALSE(::IsWindow(before));
  EXPECT_EQ(WindowText(child->GetHandle()), L"kept text");
  EXPECT_EQ(child->GetBoundsRect(), Bounds(7, 8, 90, 50));
  EXPECT_TRUE(::IsWindowVisible(child->GetHandle()));
  EXPECT_EQ(host.GetHandle(), hostBefore) << "the parent keeps its window";
  // Remaking the parent remakes the children it shows.
  host.RecreateWnd();
  EXPECT_NE(host.GetHandle(), hostBefore);
  ASSERT_TRUE(child->HandleAllocated());
  EXPECT_EQ(::GetParent(child->GetHandle()), host.GetHandle());
}

TEST(WindowLifecycle, NativeClassIsSubclassedWithItsProcedureAsDefault)
{
  THostWindow host(nullptr);
  auto* edit = new TEdit(&host);
  edit->SetParent(&host);
  edit->SetText(L"native");
  HWND h = edit->GetHandle();
  EXPECT_EQ(WindowClassName(h), L"TEdit");
  EXPECT_NE(edit->GetDefWndProc(), reinterpret_cast<WNDPROC>(::DefWindowProcW));
  EXPECT_EQ(WindowText(h), L"native");
  // Messages we do not handle reach the edit's own procedure.
  ::SendMessageW(h, EM_SETSEL, 1, 4);
  EXPECT_EQ(edit->GetSelStart(), 1);
  EXPECT_EQ(edit->GetSelLength(), 3);
  EXPECT_EQ(edit->GetSelText(), L"ati");
  edit->SetMaxLength(3);
  EXPECT_EQ(::SendMessageW(h, EM_GETLIMITTEXT, 0, 0), 3);
}

TEST(WindowLifecycle, EditReportsChangesOnce)
{
  THostWindow host(nullptr);
  auto* edit = new TEdit(&host);
  edit->SetParent(&host);
  int changes = 0;
  edit->OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  edit->HandleNeeded();
  changes = 0;
  edit->SetText(L"abc");
  EXPECT_EQ(changes, 1);
  edit->SetText(L"abc");
  EXPECT_EQ(changes, 1) << "setting the same text is no change";
}

// The window-to-control lookup every message goes through: it follows a window's whole life,
// whoever ends it, and knows nothing of windows it did not make.
TEST(WindowLifecycle, FindControlFollowsWindowsMadeRemadeAndDestroyedElsewhere)
{
  THostWindow host(nullptr);
  auto* child = new TProbeControl(&host);
  child->SetParent(&host);
  HWND first = child->GetHandle();
  EXPECT_EQ(FindControl(first), child);
  EXPECT_EQ(FindControl(host.GetHandle()), &host);
  child->RecreateWnd();
  HWND second = child->GetHandle();
  EXPECT_EQ(FindControl(first), nullptr) << "the old window's handle left the lookup";
  EXPECT_EQ(FindControl(second), child);
  ::DestroyWindow(second);
  EXPECT_FALSE(child->HandleAllocated()) << "a window destroyed behind the control's back unbinds it";
  EXPECT_EQ(FindControl(second), nullptr);
  HWND foreign = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(foreign);
  EXPECT_EQ(FindControl(foreign), nullptr);
  ::DestroyWindow(foreign);
  EXPECT_EQ(FindControl(nullptr), nullptr);
  EXPECT_NE(child->GetHandle(), nullptr) << "the control makes a new window on demand";
  EXPECT_EQ(FindControl(child->GetHandle()), child);
}
