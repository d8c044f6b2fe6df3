// The accessibility bridge in this process: the checks every call goes through, the
// property bits, a helper whose owner is gone, navigation and the window parent.
#include <gtest/gtest.h>

#include <new>
#include <thread>
#include <vector>

#include "AccessClient.h"
#include "bars/accessibility/cxaccessibility.h"
#include "platform/Scope.h"
#include "support/Owned.h"
#include "support/UnexpectedExceptions.h"

namespace {

VARIANT Id(long AId)
{
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = AId;
  return v;
}

// Three children: 0 and 2 simple, 1 an object of its own.
class TTestHelper : public TcxAccessibilityHelper {
public:
  TTestHelper(TObject* AOwner, int ASupported, bool AWithChildren)
      : TcxAccessibilityHelper(AOwner), Supported(ASupported)
  {
    if (AWithChildren) {
      Child = TcxAccessibilityHelperRef(new TTestHelper(AOwner, ASupported, false));
      static_cast<TTestHelper*>(Child.Get())->Parent = this;
    }
  }
  bool ChildIsSimpleElement(int AIndex) override { return AIndex != 1; }
  TcxAccessibilityHelper* GetChild(int AIndex) override { return AIndex == 1 ? Child.Get() : nullptr; }
  int GetChildCount() override
  {
    ++OwnerReads;
    return Child ? 3 : 0;
  }
  int GetChildIndex(TcxAccessibilityHelper* AChild) override { return AChild == Child.Get() ? 1 : -1; }
  String GetName(int AChildID) override
  {
    ++OwnerReads;
    RaiseIfAsked();
    return AChildID == 0 ? String() : L"child " + IntToStr(AChildID);
  }
  String GetDefaultActionDescription(int) override { return DefaultAction; }
  void DoDefaultAction(int) override { RaiseIfAsked(); }
  String GetDescription(int) override { return L"described"; }
  TRect GetScreenBounds(int AChildID) override
  {
    RaiseIfAsked();
    return Rect(10 * AChildID, 20, 10 * AChildID + 30, 60);
  }
  // What the element's code raises: nothing, an error of the program, or out of memory.
  enum { RaiseNothing, RaiseError, RaiseOutOfMemory } Raise = RaiseNothing;
  void RaiseIfAsked()
  {
    if (Raise == RaiseError)
      throw EConvertError(L"element failed");
    if (Raise == RaiseOutOfMemory)
      throw std::bad_alloc();
  }
  int GetSupportedProperties(int) override
  {
    ++OwnerReads;
    return Supported;
  }
  String GetValue(int) override { return String(); }
  int GetNextChildIndex(int AIndex, TcxAccessibilityNavigationDirection ADirection) override
  {
    Asked.push_back({AIndex, int(ADirection)});
    return ADirection == andUp ? AIndex : AIndex == 1 ? 2 : 1;
  }
  HWND GetOwnerObjectWindow() override { return Window; }
  TcxAccessibilityHelper* GetParent() override { return Parent; }

  int Supported;
  TcxAccessibilityHelperRef Child;
  std::vector<std::pair<int, int>> Asked;
  int OwnerReads = 0;
  HWND Window = nullptr;
  TcxAccessibilityHelper* Parent = nullptr;
  String DefaultAction;
};

struct TTestTree {
  explicit TTestTree(int ASupported) : Owner(new TObject), Helper(new TTestHelper(Owner.Get(), ASupported, true)) {}
  TTestHelper* operator->() const { return static_cast<TTestHelper*>(Helper.Get()); }
  TOwned<TObject> Owner;
  TcxAccessibilityHelperRef Helper;
};

TEST(AccessibilityBridge, ChildIdsAreCheckedBeforeAnyAnswer)
{
  TTestTree tree(cxAccessibleLocation);
  BSTR name = nullptr;
  EXPECT_EQ(tree->get_accName(Id(3), &name), S_OK);
  EXPECT_STREQ(name, L"child 3");
  SysFreeString(name);
  // The object child answers through its own object, never by id.
  for (long id : {2L, 4L, -1L}) {
    EXPECT_EQ(tree->get_accName(Id(id), &name), E_INVALIDARG) << id;
    EXPECT_EQ(name, nullptr);
  }
  VARIANT text;
  VariantInit(&text);
  text.vt = VT_BSTR;
  text.bstrVal = nullptr;
  EXPECT_EQ(tree->get_accName(text, &name), E_INVALIDARG);

  IDispatch* child = nullptr;
  ASSERT_EQ(tree->get_accChild(Id(2), &child), S_OK);
  EXPECT_EQ(child, static_cast<IDispatch*>(tree->Child->GetIAccessible()));
  child->Release();
  EXPECT_EQ(tree->get_accChild(Id(1), &child), S_FALSE);
  EXPECT_EQ(child, nullptr);
  EXPECT_EQ(tree->get_accChild(Id(0), &child), E_INVALIDARG);
  // An empty name is no name.
  EXPECT_EQ(tree->get_accName(Id(0), &name), S_FALSE);
}

TEST(AccessibilityBridge, PropertiesOutsideTheSupportedBitsAreNotFound)
{
  TTestTree tree(cxAccessibleLocation);
  BSTR text = nullptr;
  EXPECT_EQ(tree->get_accDescription(Id(0), &text), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(tree->get_accDefaultAction(Id(0), &text), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(tree->get_accValue(Id(0), &text), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(tree->get_accHelp(Id(0), &text), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(tree->accDoDefaultAction(Id(0)), DISP_E_MEMBERNOTFOUND);
  long l = 0, t = 0, w = 0, h = 0;
  ASSERT_EQ(tree->accLocation(&l, &t, &w, &h, Id(3)), S_OK);
  EXPECT_EQ(std::vector<long>({l, t, w, h}), std::vector<long>({30, 20, 30, 40}));
  // No type information, which is an answer, not a missing method.
  UINT count = 7;
  EXPECT_EQ(tree->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(tree->GetTypeInfoCount(nullptr), E_POINTER);
  EXPECT_EQ(tree->Invoke(0, IID_NULL, 0, 0, nullptr, nullptr, nullptr, nullptr), E_NOTIMPL);

  TTestTree described(cxAccessibleDescription);
  ASSERT_EQ(described->get_accDescription(Id(1), &text), S_OK);
  EXPECT_STREQ(text, L"described");
  SysFreeString(text);
  long x = 0;
  EXPECT_EQ(described->accLocation(&x, &x, &x, &x, Id(0)), DISP_E_MEMBERNOTFOUND);
}

// A client may hold an element past its owner: every call then says the object is gone,
// with its results cleared, and never reaches the owner.
TEST(AccessibilityBridge, AHelperWhoseOwnerWentAnswersGoneWithoutAskingIt)
{
  TTestTree tree(cxAccessibleLocation | cxAccessibleDescription | cxAccessibleDefaultAction | cxAccessibleValue);
  tree->Window = GetDesktopWindow();
  tree->OwnerObjectDestroyed();
  tree->OwnerReads = 0;
  BSTR text = reinterpret_cast<BSTR>(1);
  EXPECT_EQ(tree->get_accName(Id(3), &text), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(text, nullptr);
  text = reinterpret_cast<BSTR>(1);
  EXPECT_EQ(tree->get_accDescription(Id(0), &text), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(text, nullptr);
  long count = 5;
  EXPECT_EQ(tree->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(count, 0);
  IDispatch* child = reinterpret_cast<IDispatch*>(1);
  EXPECT_EQ(tree->get_accChild(Id(2), &child), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(child, nullptr);
  VARIANT found;
  EXPECT_EQ(tree->accNavigate(NAVDIR_FIRSTCHILD, Id(0), &found), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(found.vt, VT_EMPTY);
  EXPECT_EQ(tree->get_accState(Id(0), &found), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(found.vt, VT_EMPTY);
  EXPECT_EQ(tree->accHitTest(20, 30, &found), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(found.vt, VT_EMPTY);
  long l = 1, t = 1, w = 1, h = 1;
  EXPECT_EQ(tree->accLocation(&l, &t, &w, &h, Id(0)), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(std::vector<long>({l, t, w, h}), std::vector<long>({0, 0, 0, 0}));
  EXPECT_EQ(tree->accDoDefaultAction(Id(0)), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(tree->put_accValue(Id(0), nullptr), CO_E_OBJNOTCONNECTED);
  IDispatch* parent = reinterpret_cast<IDispatch*>(1);
  EXPECT_EQ(tree->get_accParent(&parent), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(parent, nullptr);
  HWND window = GetDesktopWindow();
  EXPECT_EQ(tree->GetWindow(&window), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(window, nullptr);
  EXPECT_EQ(tree->OwnerReads, 0);
  // Its object child still lives and answers.
  EXPECT_EQ(tree->Child->get_accName(Id(0), &text), S_FALSE);
}

TEST(AccessibilityBridge, NavigationMapsDirectionsAndAnswersTheTarget)
{
  TTestTree tree(cxAccessibleLocation);
  VARIANT found;
  ASSERT_EQ(tree->accNavigate(NAVDIR_FIRSTCHILD, Id(0), &found), S_OK);
  EXPECT_EQ(found.vt, VT_I4);
  EXPECT_EQ(found.lVal, 1);
  ASSERT_EQ(tree->accNavigate(NAVDIR_LASTCHILD, Id(0), &found), S_OK);
  EXPECT_EQ(found.lVal, 3);
  EXPECT_EQ(tree->accNavigate(NAVDIR_FIRSTCHILD, Id(1), &found), E_INVALIDARG);

  tree->Asked.clear();
  ASSERT_EQ(tree->accNavigate(NAVDIR_LEFT, Id(1), &found), S_OK);
  // The target is the object child: it comes as its object.
  ASSERT_EQ(found.vt, VT_DISPATCH);
  VariantClear(&found);
  tree->accNavigate(NAVDIR_PREVIOUS, Id(1), &found);
  VariantClear(&found);
  EXPECT_EQ(tree->accNavigate(NAVDIR_UP, Id(1), &found), S_FALSE) << "the same child is no move";
  EXPECT_EQ(tree->Asked, (std::vector<std::pair<int, int>>{{0, andLeft}, {0, andPrev}, {0, andUp}}));
  ASSERT_EQ(tree->accNavigate(NAVDIR_DOWN, Id(3), &found), S_OK);
  EXPECT_EQ(found.vt, VT_DISPATCH);
  VariantClear(&found);
  EXPECT_EQ(tree->accNavigate(NAVDIR_NEXT, Id(4), &found), E_INVALIDARG);
  // A direction the system does not define is no direction at all, from a child or the element.
  tree->Asked.clear();
  for (long direction : {0L, long(NAVDIR_MAX), 100L, -1L}) {
    EXPECT_EQ(tree->accNavigate(direction, Id(1), &found), E_INVALIDARG) << direction;
    EXPECT_EQ(found.vt, VT_EMPTY);
    EXPECT_EQ(tree->Child->accNavigate(direction, Id(0), &found), E_INVALIDARG) << direction;
  }
  EXPECT_TRUE(tree->Asked.empty());

  // The object child navigates through its parent, which takes its id.
  tree->Asked.clear();
  ASSERT_EQ(tree->Child->accNavigate(NAVDIR_NEXT, Id(0), &found), S_OK);
  EXPECT_EQ(found.vt, VT_I4);
  EXPECT_EQ(found.lVal, 3);
  EXPECT_EQ(tree->Asked, (std::vector<std::pair<int, int>>{{1, andNext}}));
}

TEST(AccessibilityBridge, TheWindowParentComesFromTheSystemLibraryWhenBound)
{
  TOwned<TObject> owner(new TObject);
  TcxAccessibilityHelperRef helper(new TTestHelper(owner.Get(), 0, false));
  auto* test = static_cast<TTestHelper*>(helper.Get());
  test->Window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  TFinally destroy([&]() noexcept { DestroyWindow(test->Window); });
  {
    cxAccessibilityUnbind();
    TFinally rebind([]() noexcept { cxAccessibilityBind(); });
    IDispatch* parent = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(helper->get_accParent(&parent), S_FALSE);
    EXPECT_EQ(parent, nullptr);
  }
  ASSERT_NE(cxAccessibleObjectFromWindow, nullptr);
  // The element's own window object: what a client finds one level up from the window's
  // client area, so that it comes back down to the element.
  for (bool child : {false, true}) {
    SCOPED_TRACE(child ? "child window" : "top-level window");
    if (child) {
      HWND top = test->Window;
      test->Window =
          CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, top, nullptr, nullptr, nullptr);
    }
    TComRef<IDispatch> parent;
    ASSERT_EQ(helper->get_accParent(parent.Put()), S_OK);
    ASSERT_TRUE(parent);
    TComRef<IOleWindow> window;
    ASSERT_EQ(parent->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(window.Put())), S_OK);
    HWND found = nullptr;
    ASSERT_EQ(window->GetWindow(&found), S_OK);
    EXPECT_EQ(found, test->Window);
  }
  HWND top = GetParent(test->Window);
  DestroyWindow(test->Window);
  test->Window = top;

  HWND window = nullptr;
  EXPECT_EQ(helper->GetWindow(&window), S_OK);
  EXPECT_EQ(window, test->Window);
  IcxAccessibilityHelper* own = nullptr;
  ASSERT_EQ(helper->QueryInterface(IID_IcxAccessibilityHelper, reinterpret_cast<void**>(&own)), S_OK);
  EXPECT_EQ(own->GetHelper(), helper.Get());
  own->Release();
}

// No exception leaves a call: a client in another process would unwind through the system's
// frames. An error of the element's code reaches the program's handler and answers E_FAIL;
// out of memory answers E_OUTOFMEMORY, which the client can act on.
TEST(AccessibilityBridge, AnExceptionInsideACallIsAnsweredNotThrown)
{
  TTestTree tree(cxAccessibleLocation | cxAccessibleDefaultAction);
  TUnexpectedExceptions seen;
  tree->Raise = TTestHelper::RaiseError;
  BSTR name = reinterpret_cast<BSTR>(1);
  EXPECT_EQ(tree->get_accName(Id(3), &name), E_FAIL);
  EXPECT_EQ(name, nullptr);
  long l = 1, t = 1, w = 1, h = 1;
  EXPECT_EQ(tree->accLocation(&l, &t, &w, &h, Id(0)), E_FAIL);
  EXPECT_EQ(std::vector<long>({l, t, w, h}), std::vector<long>({0, 0, 0, 0}));
  VARIANT found;
  EXPECT_EQ(tree->accHitTest(20, 30, &found), E_FAIL);
  EXPECT_EQ(found.vt, VT_EMPTY);
  EXPECT_EQ(tree->accDoDefaultAction(Id(0)), E_FAIL);
  EXPECT_EQ(seen.Messages, std::vector<String>(4, L"element failed"));

  tree->Raise = TTestHelper::RaiseOutOfMemory;
  EXPECT_EQ(tree->get_accName(Id(3), &name), E_OUTOFMEMORY);
  EXPECT_EQ(name, nullptr);
  EXPECT_EQ(tree->accNavigate(NAVDIR_LEFT, Id(1), &found), S_OK) << "a call that reads nothing raising still works";
  VariantClear(&found);
  EXPECT_EQ(tree->accDoDefaultAction(Id(0)), E_OUTOFMEMORY);
  EXPECT_EQ(seen.Messages.size(), 4u) << "out of memory is the client's to handle";

  tree->Raise = TTestHelper::RaiseNothing;
  EXPECT_EQ(tree->get_accName(Id(3), &name), S_OK);
  SysFreeString(name);
}

// Only an empty name, description or keyboard shortcut is "no answer"; an element that
// supports a default action with no words for it answers S_OK with none.
TEST(AccessibilityBridge, AnEmptyDefaultActionIsAnAnswer)
{
  TTestTree tree(cxAccessibleDefaultAction);
  BSTR text = reinterpret_cast<BSTR>(1);
  EXPECT_EQ(tree->get_accDefaultAction(Id(0), &text), S_OK);
  EXPECT_EQ(text, nullptr);
  tree->DefaultAction = L"Press";
  ASSERT_EQ(tree->get_accDefaultAction(Id(0), &text), S_OK);
  EXPECT_STREQ(text, L"Press");
  SysFreeString(text);
}

// The first object handed to a client sets COM up on the thread when the program did not;
// the bridge's shut-down on that thread undoes it, so the thread can choose its apartment
// again.
TEST(AccessibilityBridge, COMSetUpForAClientIsUndoneOnItsThread)
{
  TTestTree tree(cxAccessibleLocation);
  HRESULT afterFirstObject = E_FAIL;
  HRESULT afterShutDown = E_FAIL;
  LRESULT answered = 0;
  std::thread([&] {
    answered = cxAccessibilityAnswerGetObject(tree.Helper.Get(), 0, LPARAM(LONG(OBJID_CLIENT)));
    afterFirstObject = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(afterFirstObject))
      CoUninitialize();
    cxAccessibilityUnbind();
    afterShutDown = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(afterShutDown))
      CoUninitialize();
  }).join();
  cxAccessibilityBind();
  EXPECT_GT(answered, 0);
  EXPECT_EQ(afterFirstObject, RPC_E_CHANGED_MODE) << "the object went out from a single-threaded apartment";
  EXPECT_EQ(afterShutDown, S_OK) << "the apartment was left behind";
}

}  // namespace
