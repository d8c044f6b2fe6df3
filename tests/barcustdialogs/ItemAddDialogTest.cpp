// The add-item dialog: the kinds and categories it lists, the item OK makes, and a name that
// cannot be given, which leaves the dialog open with a fresh proposal and no stray item.
#include "DialogTestUtil.h"
#include "barcustomize/itemadddialog.h"
#include "barextras/extitems.h"
#include "bars/model/customizing.h"
#include "bars/model/items.h"
#include "bars/model/registry.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

using TItemAddDialog = TDialogsFixture;

TdxBarItemAddEditor* AddDialog()
{
  return ActiveModalDialog<TdxBarItemAddEditor>();
}

template <class T>
T* AddDialogPart(const wchar_t* AName)
{
  return AddDialog() ? dynamic_cast<T*>(AddDialog()->FindComponent(AName)) : nullptr;
}

// The application's exception handler records the messages for a scope.
class TExceptionRecorder {
public:
  TExceptionRecorder() : FPrevious(Application->OnException)
  {
    Application->OnException = TExceptionEvent([this](TObject*, Exception* E) { Messages.push_back(E->Message()); });
  }
  ~TExceptionRecorder() { Application->OnException = FPrevious; }
  std::vector<String> Messages;

private:
  TExceptionEvent FPrevious;
};

TEST_F(TItemAddDialog, ListsTheKindsOfferedForCustomisingAndTheCategories)
{
  TOwned<TdxBarItemAddEditor> dialog(TCustomForm::Create<TdxBarItemAddEditor>(nullptr));
  dialog->Prepare(Manager, 1);
  EXPECT_EQ(dialog->GetCaption(), L"Add Item");
  // 263 wide or more: a wide font widens the form and keeps the right margin.
  const TRect client = dialog->GetClientRect();
  EXPECT_EQ(client.bottom, 150);
  EXPECT_GE(client.right, 263);
  auto* cancel = dynamic_cast<TControl*>(dialog->FindComponent(L"BCancel"));
  EXPECT_EQ(cancel->GetLeft() + cancel->GetWidth() + 6, client.right);
  auto* kinds = dynamic_cast<TComboBox*>(dialog->FindComponent(L"ComboBox1"));
  auto* categories = dynamic_cast<TComboBox*>(dialog->FindComponent(L"ComboBox2"));
  EXPECT_EQ(categories->GetItems()->Text(), L"File\r\nEdit\r\nEmpty\r\n");
  EXPECT_EQ(categories->GetItemIndex(), 1);
  EXPECT_EQ(kinds->GetItemIndex(), 0);

  // Every kind the register offers, in its order; the extra kinds among them in their table's.
  TdxBarItemList* registered = RegisteredBarItems();
  ASSERT_EQ(kinds->GetItems()->Count(), registered->GetVisibleCount());
  std::vector<String> extras;
  for (int i = 0; i < kinds->GetItems()->Count(); ++i) {
    EXPECT_EQ(kinds->GetItems()->Get(i), registered->GetVisibleItemClass(i)->ClassName());
    for (const TdxBarExtItemKind& kind : dxBarExtItemKinds())
      if (kind.ItemClass()->ClassName() == kinds->GetItems()->Get(i))
        extras.push_back(kinds->GetItems()->Get(i));
  }
  std::vector<String> table;
  for (const TdxBarExtItemKind& kind : dxBarExtItemKinds())
    table.push_back(kind.ItemClass()->ClassName());
  EXPECT_EQ(extras, table);
  EXPECT_EQ(table.size(), 13u);
  EXPECT_EQ(kinds->GetItems()->IndexOf(L"TdxBarButton"), 0) << "the bar library's kinds first";

  // A category that is not there selects the first.
  for (int index : {-1, 3, 1000}) {
    dialog->Prepare(Manager, index);
    EXPECT_EQ(categories->GetItemIndex(), 0) << index;
  }
}

TEST_F(TItemAddDialog, SpeaksInTheCustomizeDialogsFont)
{
  TOwned<TForm> customizing(TCustomForm::CreateNew<TForm>(nullptr));
  customizing->GetFont()->SetName(L"Tahoma");
  customizing->GetFont()->SetHeight(-13);
  customizing->HandleNeeded();
  TdxBarCustomizingServices services = dxBarCustomizingServices();
  services.GetCustomizingFormHandle = [&](const TdxBarManager*) { return customizing->GetHandle(); };
  const TdxBarCustomizingServices previous = SetdxBarCustomizingServices(services);
  TFinally restore([&]() noexcept { SetdxBarCustomizingServices(previous); });
  TOwned<TdxBarItemAddEditor> dialog(TCustomForm::Create<TdxBarItemAddEditor>(nullptr));
  dialog->Prepare(Manager, 0);
  EXPECT_EQ(dialog->GetFont()->GetName(), L"Tahoma");
  EXPECT_EQ(dialog->GetFont()->GetHeight(), -13);
}

TEST_F(TItemAddDialog, MakesAnItemOfTheChosenKindInTheChosenCategory)
{
  ShowForm();
  const int components = Form->ComponentCount();
  TdxBarItem* item = nullptr;
  TClass chosen = nullptr;
  String proposed;
  PlayInModalLoop([&] { item = ShowItemAddEditor(Manager, 1); }, {[&] {
                    auto* name = AddDialogPart<TEdit>(L"Edit1");
                    EXPECT_TRUE(name->Focused());
                    EXPECT_EQ(name->GetText(), L"dxBarButton1");
                    EXPECT_EQ(AddDialogPart<TEdit>(L"Edit2")->GetText(), L"New Item");
                    // To the kind list and one kind down: its name is proposed.
                    PressKey(VK_TAB, {VK_SHIFT});
                    PressKey(VK_TAB, {VK_SHIFT});
                    EXPECT_TRUE(AddDialogPart<TComboBox>(L"ComboBox1")->Focused());
                    PressKey(VK_DOWN);
                    chosen = AddDialog()->GetKinds().at(1);
                    proposed = Manager->GetUniqueItemName(chosen);
                    PumpUntil([&] { return AddDialogPart<TEdit>(L"Edit1")->GetText() == proposed; }, 2000);
                    EXPECT_EQ(AddDialogPart<TEdit>(L"Edit1")->GetText(), proposed);
                    ClickAt(ScreenCentreOf(AddDialogPart<TEdit>(L"Edit2")));
                    AddDialogPart<TEdit>(L"Edit2")->SelectAll();
                    TypeText(L"Print");
                    ClickAt(ScreenCentreOf(AddDialogPart<TButton>(L"BOk")));
                  }});
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->ClassType(), chosen);
  EXPECT_EQ(item->Name(), proposed);
  EXPECT_EQ(item->GetCategory(), 1);
  EXPECT_EQ(item->GetCaption(), L"Print");
  EXPECT_EQ(item->Owner(), Form) << "owned by the manager's form";
  EXPECT_EQ(item->GetBarManager(), Manager);
  EXPECT_EQ(Form->ComponentCount(), components + 1);
}

TEST_F(TItemAddDialog, StaysOpenWithAFreshNameWhenTheNameCannotBeGiven)
{
  ShowForm();
  TExceptionRecorder errors;
  const int components = Form->ComponentCount();
  const int items = Manager->GetItemCount();
  TdxBarItem* item = reinterpret_cast<TdxBarItem*>(1);
  auto typeNameAndConfirm = [](const wchar_t* AName) {
    return [AName] {
      AddDialogPart<TEdit>(L"Edit1")->SelectAll();
      TypeText(AName);
      PressKey(VK_RETURN);
    };
  };
  auto expectOpenWithFreshName = [&](size_t AErrors) {
    return [&, AErrors] {
      ASSERT_NE(AddDialog(), nullptr);
      EXPECT_EQ(AddDialog()->GetModalResult(), mrNone);
      EXPECT_EQ(errors.Messages.size(), AErrors) << "the error goes to the application's handler";
      EXPECT_EQ(AddDialogPart<TEdit>(L"Edit1")->GetText(), L"dxBarButton1");
      EXPECT_EQ(Form->ComponentCount(), components) << "no stray item";
      EXPECT_EQ(Manager->GetItemCount(), items);
      if (AErrors == 2)
        PressKey(VK_ESCAPE);
    };
  };
  PlayInModalLoop([&] { item = ShowItemAddEditor(Manager, 0); },
                  {typeNameAndConfirm(L"OpenItem"), expectOpenWithFreshName(1), typeNameAndConfirm(L"not a name"),
                   expectOpenWithFreshName(2)});
  EXPECT_EQ(item, nullptr) << "cancelled";
  ASSERT_EQ(errors.Messages.size(), 2u);
  EXPECT_NE(errors.Messages[1].find(L"not a name"), String::npos) << errors.Messages[1];
  EXPECT_EQ(Form->ComponentCount(), components);
}

TEST_F(TItemAddDialog, ShowsEachLabelWholeBesideItsField)
{
  ShowForm();
  PlayInModalLoop(
      [&] { ShowItemAddEditor(Manager, 0); }, {[&] {
        // Each label's whole text stands left of its field, level with it.
        const wchar_t* pairs[][2] = {
            {L"LType", L"ComboBox1"}, {L"LCategory", L"ComboBox2"}, {L"LName", L"Edit1"}, {L"LCaption", L"Edit2"}};
        for (const auto& pair : pairs) {
          auto* label = AddDialogPart<TLabel>(pair[0]);
          auto* field = AddDialogPart<TWinControl>(pair[1]);
          EXPECT_GT(label->GetWidth(), 20) << "sized to its text";
          EXPECT_LT(label->GetLeft() + label->GetWidth(), field->GetLeft()) << pair[0];
          EXPECT_GT(label->GetTop() + label->GetHeight(), field->GetTop()) << pair[0];
          EXPECT_LT(label->GetTop(), field->GetTop() + field->GetHeight()) << pair[0];
        }
        PressKey(VK_ESCAPE);
      }});
}

}  // namespace
