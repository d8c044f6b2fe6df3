// MDI: a real client window in the MDI form, children made inside it from form data, the
// active child and the child list, Ctrl+F6, and closing children.
#include "FormsTestUtil.h"

namespace {

const wchar_t* const kChild =
    L"object Child: TTestForm\n"
    L"  FormStyle = fsMDIChild\n"
    L"  Width = 200\n"
    L"  Height = 150\n"
    L"  OnActivate = FormActivate\n"
    L"  OnDeactivate = FormDeactivate\n"
    L"  OnClose = FormClose\n"
    L"  OnCloseQuery = FormCloseQuery\n"
    L"end\n";

class MDI : public testing::Test {
protected:
  void SetUp() override
  {
    frame = TCustomForm::CreateNew<TTestForm>(nullptr);
    frameGuard = std::make_unique<TOwned<TTestForm>>(frame);
    frame->SetBounds(100, 100, 640, 480);
    frame->SetFormStyle(fsMDIForm);
    bar = new TTile(frame);
    bar->SetHeight(30);
    bar->SetAlign(alTop);
    bar->SetParent(frame);
    frame->Show();
  }
  void TearDown() override
  {
    for (auto& c : children)
      c.reset();
    frameGuard.reset();
  }
  TTestForm* NewChild()
  {
    auto* child = FormFromText(kChild);
    children.push_back(std::make_unique<TOwned<TTestForm>>(child));
    return child;
  }

  TTestForm* frame = nullptr;
  TTile* bar = nullptr;
  std::unique_ptr<TOwned<TTestForm>> frameGuard;
  std::vector<std::unique_ptr<TOwned<TTestForm>>> children;
};

TEST_F(MDI, TheFormHasARealClientWindowBelowItsAlignedControls)
{
  HWND client = frame->GetClientHandle();
  ASSERT_NE(client, nullptr);
  wchar_t name[64] = {};
  ::GetClassNameW(client, name, 64);
  EXPECT_TRUE(SameText(name, L"MDICLIENT")) << ToUtf8(name);
  EXPECT_EQ(::GetParent(client), frame->GetHandle());
  RECT r{};
  ::GetWindowRect(client, &r);
  ::MapWindowPoints(HWND_DESKTOP, frame->GetHandle(), reinterpret_cast<POINT*>(&r), 2);
  TRect area = frame->GetClientRect();
  EXPECT_EQ(r.top, 30) << "the client starts below the top-aligned bar";
  EXPECT_EQ(r.bottom, area.bottom);
  EXPECT_EQ(r.right - r.left, RectWidth(area));
  // It follows the form's size.
  frame->SetBounds(100, 100, 500, 400);
  ::GetWindowRect(client, &r);
  ::MapWindowPoints(HWND_DESKTOP, frame->GetHandle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.bottom, frame->GetClientRect().bottom);
}

TEST_F(MDI, ChildrenLiveInTheClientAndTheLastOneIsActive)
{
  TTestForm* first = NewChild();
  TTestForm* second = NewChild();
  EXPECT_EQ(first->Name(), L"Child");
  EXPECT_NE(second->Name(), first->Name()) << "a second form of the same data gets a name of its own";
  EXPECT_TRUE(first->GetVisible());
  EXPECT_EQ(::GetParent(first->GetHandle()), frame->GetClientHandle());
  EXPECT_TRUE(::GetWindowLongPtrW(first->GetHandle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
  EXPECT_EQ(frame->GetMDIChildCount(), 2);
  EXPECT_EQ(frame->GetActiveMDIChild(), second);
  EXPECT_EQ(frame->GetMDIChildren(0), second);
  EXPECT_EQ(frame->GetMDIChildren(1), first);
  EXPECT_EQ(frame->GetMDIChildren(2), nullptr);
  EXPECT_TRUE(second->GetActive());
  EXPECT_FALSE(first->GetActive());
}

TEST_F(MDI, AChildClosesToAnIconByDefaultAndCanBeFreed)
{
  TTestForm* first = NewChild();
  TTestForm* second = NewChild();
  second->Close();
  EXPECT_TRUE(::IsIconic(second->GetHandle()));
  EXPECT_EQ(frame->GetMDIChildCount(), 2);
  TWeakRef<TTestForm> alive(first);
  first->CloseAction = caFree;
  first->Close();
  EXPECT_TRUE(PumpUntil([&] { return !alive; }));
  EXPECT_EQ(frame->GetMDIChildCount(), 1);
  EXPECT_EQ(frame->GetMDIChildren(0), second);
}

TEST_F(MDI, TheFormAsksEveryChildBeforeClosing)
{
  TTestForm* child = NewChild();
  child->AllowClose = false;
  EXPECT_FALSE(frame->CloseQuery());
  child->AllowClose = true;
  EXPECT_TRUE(frame->CloseQuery());
}

TEST_F(MDI, FreeingTheFormFirstLeavesItsChildrenSafeToFree)
{
  TTestForm* child = NewChild();
  frameGuard.reset();
  EXPECT_FALSE(child->HandleAllocated());
  children.clear();  // frees the child without a window
}

TEST(MDIMainForm, CtrlF6InTheApplicationLoopMovesToTheNextChild)
{
  ASSERT_EQ(Application->GetMainForm(), nullptr);
  TMDIFrameForm* frame = nullptr;
  Application->CreateForm(frame);
  TOwned<TMDIFrameForm> frameGuard(frame);
  ASSERT_EQ(Application->GetMainForm(), frame);
  ASSERT_TRUE(ShowAndActivate(frame));
  TOwned<TTestForm> first(FormFromText(kChild));
  TOwned<TTestForm> second(FormFromText(kChild));
  ASSERT_EQ(frame->GetActiveMDIChild(), second.Get());
  ASSERT_TRUE(ActivateWindow(frame->GetHandle()));
  // Real keys, read by the application's own loop (the MDI keys are translated there).
  INPUT keys[4]{};
  for (INPUT& k : keys)
    k.type = INPUT_KEYBOARD;
  keys[0].ki.wVk = VK_CONTROL;
  keys[1].ki.wVk = VK_F6;
  keys[2].ki.wVk = VK_F6;
  keys[2].ki.dwFlags = KEYEVENTF_KEYUP;
  keys[3].ki.wVk = VK_CONTROL;
  keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(4, keys, sizeof(INPUT));
  DWORD start = ::GetTickCount();
  while (frame->GetActiveMDIChild() != first.Get() && ::GetTickCount() - start < 3000) {
    Application->ProcessMessages();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  EXPECT_EQ(frame->GetActiveMDIChild(), first.Get());
}

TEST(MDIWithoutParent, AChildNeedsAnMDIForm)
{
  int forms = Screen->GetCustomFormCount();
  EXPECT_THROW(FormFromText(kChild), EInvalidOperation);
  EXPECT_EQ(Screen->GetCustomFormCount(), forms);
}

}  // namespace
