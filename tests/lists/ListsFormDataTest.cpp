// String lists and collections in form data: the "Strings" value, written only when it
// differs from the ancestor's, and collections read back under one update.
#include <gtest/gtest.h>

#include "platform/Classes.h"

namespace {

// Captures what DefineProperties offers without reading or writing anything.
class TProbeFiler : public TFiler {
  DECLARE_CLASS(TProbeFiler, TFiler)
public:
  void DefineProperty(const String& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                      bool HasData) override
  {
    Names.push_back(Name);
    Data.push_back(HasData);
  }
  void DefineBinaryProperty(const String& Name, const TStreamProc&, const TStreamProc&, bool HasData) override
  {
    Names.push_back(Name + L"{}");
    Data.push_back(HasData);
  }
  std::vector<String> Names;
  std::vector<bool> Data;
};

bool HasData(TStrings& strings, TPersistent* ancestor)
{
  TProbeFiler filer;
  filer.SetAncestor(ancestor);
  strings.DefineProperties(&filer);
  EXPECT_EQ(filer.Names, (std::vector<String>{L"Strings"}));
  return !filer.Data.empty() && filer.Data.front();
}

class TBand : public TCollectionItem {
  DECLARE_CLASS(TBand, TCollectionItem)
public:
  using TCollectionItem::TCollectionItem;
  String FText;
  int FSize = 0;
  void Assign(TPersistent* Source) override
  {
    if (auto* band = dynamic_cast<TBand*>(Source)) {
      FText = band->FText;
      FSize = band->FSize;
      return;
    }
    TCollectionItem::Assign(Source);
  }
};

class TBands : public TOwnedCollection {
  DECLARE_CLASS(TBands, TOwnedCollection)
public:
  explicit TBands(TPersistent* AOwner) : TOwnedCollection(AOwner, TBand::StaticClass()) {}
  TBand* Band(int Index) const { return static_cast<TBand*>(Items(Index)); }
  int AllItemUpdates = 0;

protected:
  void Update(TCollectionItem* Item) override
  {
    if (!Item)
      ++AllItemUpdates;
  }
};

class TListsForm : public TComponent {
  DECLARE_CLASS(TListsForm, TComponent)
public:
  explicit TListsForm(TComponent* AOwner) : TComponent(AOwner) {}
  ~TListsForm() override
  {
    delete FLines;
    delete FBands;
  }
  TStringList* Lines() const { return FLines; }
  void SetLines(TStringList* Value) { FLines->Assign(Value); }
  TBands* Bands() const { return FBands; }
  void SetBands(TBands* Value) { FBands->Assign(Value); }

private:
  TStringList* FLines = new TStringList;
  TBands* FBands = new TBands(this);
};

struct TFreeComponent {
  void operator()(TComponent* c) const { c->Free(); }
};
using TOwned = std::unique_ptr<TComponent, TFreeComponent>;

}  // namespace

PUBLISHED(TProbeFiler, TFiler) {}
PUBLISHED(TBand, TCollectionItem)
{
  p.Prop(L"Text", &TBand::FText, &TBand::FText);
  p.Prop(L"Size", &TBand::FSize, &TBand::FSize).Default(0);
}
PUBLISHED(TBands, TOwnedCollection) {}
PUBLISHED(TListsForm, TComponent)
{
  p.Object(L"Lines", &TListsForm::Lines, &TListsForm::SetLines);
  p.Object(L"Bands", &TListsForm::Bands, &TListsForm::SetBands);
}

TEST(StringsFormData, WrittenWhenNotEmptyOrWhenDifferentFromTheAncestor)
{
  TStringList list, equal, other;
  EXPECT_FALSE(HasData(list, nullptr));
  list.Add(L"a");
  EXPECT_TRUE(HasData(list, nullptr));

  equal.Add(L"a");
  EXPECT_FALSE(HasData(list, &equal));
  other.Add(L"A");
  EXPECT_TRUE(HasData(list, &other));
  list.Clear();
  EXPECT_TRUE(HasData(list, &equal));  // emptied against a filled ancestor must be written

  TBands notStrings(nullptr);
  EXPECT_TRUE(HasData(list, &notStrings));
}

TEST(StringsFormData, StringsAndCollectionsRoundTrip)
{
  RegisterClass(TListsForm::StaticClass());
  TListsForm form(nullptr);
  form.SetName(L"Form1");
  form.Lines()->AddStrings({L"plain", L"", L"it's", L"\u00e9\u65e5", L"  padded  "});
  auto* band = static_cast<TBand*>(form.Bands()->Add());
  band->FText = L"first";
  band->FSize = 3;
  form.Bands()->Add();

  String text = ComponentToText(&form);
  EXPECT_NE(text.find(L"Lines.Strings = ("), String::npos) << ToUtf8(text);

  TListsForm copy(nullptr);
  copy.Lines()->Add(L"stale");
  TextToComponent(text, &copy);
  EXPECT_TRUE(copy.Lines()->Equals(form.Lines()));
  ASSERT_EQ(copy.Bands()->Count(), 2);
  EXPECT_EQ(copy.Bands()->Band(0)->FText, L"first");
  EXPECT_EQ(copy.Bands()->Band(0)->FSize, 3);
  EXPECT_EQ(copy.Bands()->Band(1)->FText, L"");
  EXPECT_EQ(copy.Bands()->AllItemUpdates, 1);  // the whole collection is read under one update
  EXPECT_EQ(copy.Bands()->Band(1)->GetNamePath(), L"Form1.Bands[1]");
  EXPECT_EQ(ComponentToText(&copy), text);
}

TEST(StringsFormData, ReadingIntoASortedListAppliesItsRules)
{
  TListsForm form(nullptr);
  form.Lines()->SetSorted(true);
  form.Lines()->SetDuplicates(dupError);
  TextToComponent(L"object Form1: TListsForm\n  Lines.Strings = (\n    'b'\n    'a')\nend\n", &form);
  EXPECT_EQ(form.Lines()->CommaText(), L"a,b");

  try {
    TextToComponent(L"object Form1: TListsForm\n  Lines.Strings = (\n    'x'\n    'x')\nend\n", &form);
    FAIL() << "no error";
  } catch (const EReadError& e) {
    EXPECT_NE(e.Message().find(L"does not allow duplicates"), String::npos) << ToUtf8(e.Message());
  }
  EXPECT_EQ(form.Lines()->UpdateCount(), 0);  // the failed read left no update open
}
