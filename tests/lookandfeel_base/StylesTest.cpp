// Styles: assigned values, listeners (once each, removed in callbacks, told of removal),
// update batching, copying and form data.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "lookandfeel/cxStyles.h"

namespace {

class TListener : public IcxStyleChangeListener {
public:
  void StyleChanged(TcxStyle* Sender) override
  {
    ++Changes;
    LastSender = Sender;
    if (OnChanged)
      OnChanged(Sender);
  }
  void StyleRemoved(TcxStyle* Sender) override
  {
    ++Removals;
    LastSender = Sender;
  }
  int Changes = 0;
  int Removals = 0;
  TcxStyle* LastSender = nullptr;
  std::function<void(TcxStyle*)> OnChanged;
};

// A root that writes the components it owns, as a form does.
class TStyleHost : public TComponent {
  DECLARE_CLASS(TStyleHost, TComponent)
public:
  using TComponent::TComponent;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override
  {
    for (int i = 0; i < ComponentCount(); ++i)
      Proc(Components(i));
  }
};

}  // namespace

IMPLEMENT_CLASS(TStyleHost, TComponent)

TEST(Style, ListenersAreToldOnceEachAndOnlyOfRealChanges)
{
  TListener a, b;  // made first, so they outlive the style that calls them
  std::unique_ptr<TcxStyle> style(new TcxStyle(nullptr));
  style->AddListener(&a);
  style->AddListener(&a);
  style->AddListener(&b);
  style->AddListener(nullptr);
  EXPECT_EQ(style->ListenerCount(), 2);
  style->SetColor(clGreen);
  EXPECT_EQ(a.Changes, 1);
  EXPECT_EQ(b.Changes, 1);
  EXPECT_EQ(a.LastSender, style.get());
  style->SetColor(clGreen);
  EXPECT_EQ(a.Changes, 1) << "the same value again changes nothing";
  style->RemoveListener(&b);
  style->RemoveListener(&b);
  style->SetTextColor(clYellow);
  EXPECT_EQ(a.Changes, 2);
  EXPECT_EQ(b.Changes, 1);
}

TEST(Style, AListenerMayLeaveDuringTheCall)
{
  TListener first, second, third;
  std::unique_ptr<TcxStyle> style(new TcxStyle(nullptr));
  first.OnChanged = [&](TcxStyle* s) {
    s->RemoveListener(&first);
    s->RemoveListener(&second);
  };
  style->AddListener(&first);
  style->AddListener(&second);
  style->AddListener(&third);
  style->SetColor(clNavy);
  EXPECT_EQ(first.Changes, 1);
  EXPECT_EQ(second.Changes, 0) << "removed before its turn";
  EXPECT_EQ(third.Changes, 1);
  EXPECT_EQ(style->ListenerCount(), 1);
}

TEST(Style, FreeingTellsEveryListenerOnce)
{
  auto* style = new TcxStyle(nullptr);
  TListener a, b;
  style->AddListener(&a);
  style->AddListener(&b);
  style->Free();
  EXPECT_EQ(a.Removals, 1);
  EXPECT_EQ(b.Removals, 1);
  EXPECT_EQ(a.Changes, 0);
  EXPECT_EQ(a.LastSender, style);

  auto* deleted = new TcxStyle(nullptr);
  TListener c;
  deleted->AddListener(&c);
  delete deleted;  // without Free: still told
  EXPECT_EQ(c.Removals, 1);
}

TEST(Style, UpdatesBatchChangesAndAssignCopies)
{
  TListener listener, copyListener;
  std::unique_ptr<TcxStyle> style(new TcxStyle(nullptr));
  style->AddListener(&listener);
  style->BeginUpdate();
  style->SetColor(clRed);
  style->SetTextColor(clWhite);
  style->GetFont()->SetName(L"Courier New");
  EXPECT_EQ(listener.Changes, 0);
  style->EndUpdate();
  EXPECT_EQ(listener.Changes, 1);
  style->BeginUpdate();
  style->EndUpdate();
  EXPECT_EQ(listener.Changes, 1) << "an update without changes reports nothing";

  std::unique_ptr<TcxStyle> copy(new TcxStyle(nullptr));
  copy->AddListener(&copyListener);
  copy->Assign(style.get());
  EXPECT_EQ(copyListener.Changes, 1);
  EXPECT_TRUE(copy->GetAssignedValues() == style->GetAssignedValues());
  EXPECT_EQ(copy->GetColor(), clRed);
  EXPECT_EQ(copy->GetTextColor(), clWhite);
  EXPECT_EQ(copy->GetFont()->GetName(), L"Courier New");
}

TEST(Style, FormDataKeepsOnlyAssignedValues)
{
  static bool registered = false;
  if (!registered) {
    RegisterClasses({TStyleHost::StaticClass(), TcxStyle::StaticClass()});
    registered = true;
  }
  std::unique_ptr<TStyleHost> host(new TStyleHost(nullptr));
  host->SetName(L"Host");
  auto* style = new TcxStyle(host.get());
  style->SetName(L"Style1");
  style->SetColor(clRed);
  style->SetTextColor(clBtnFace);
  style->SetTextColor(clBtnFace);
  style->SetAssignedValues(TcxStyleValues{svColor});
  String text = ComponentToText(host.get());
  EXPECT_NE(text.find(L"Color = clRed"), String::npos) << ToUtf8(text);
  EXPECT_EQ(text.find(L"TextColor"), String::npos) << "an unassigned value is not written";
  EXPECT_EQ(text.find(L"Font."), String::npos);

  std::unique_ptr<TComponent> copy(TextToComponent(text));
  auto* read = dynamic_cast<TcxStyle*>(copy->FindComponent(L"Style1"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->GetColor(), clRed);
  EXPECT_TRUE(read->GetAssignedValues() == TcxStyleValues{svColor});
}
