// Image lists: adding and drawing images enabled and greyed, replacing and removing them,
// change links, the loading state and the images in form data.
#include <gtest/gtest.h>

#include "GdiCheck.h"
#include "support/Pixels.h"
#include "platform/Filer.h"
#include "platform/ImgList.h"
#include "platform/Streams.h"

namespace {

// A 16x16 glyph: a Square-coloured square 4..12 on fuchsia.
void MakeGlyph(TBitmap& Glyph, TColor Square, int Width = 16)
{
  Glyph.SetPixelFormat(pf24bit);
  Glyph.SetSize(Width, 16);
  Glyph.GetCanvas()->GetBrush()->SetColor(clFuchsia);
  Glyph.GetCanvas()->FillRect(Rect(0, 0, Width, 16));
  Glyph.GetCanvas()->GetBrush()->SetColor(Square);
  for (int x = 0; x < Width; x += 16)
    Glyph.GetCanvas()->FillRect(Rect(x + 4, 4, x + 12, 12));
}

// A surface of one colour to draw images on.
void MakeTarget(TBitmap& Target, TColor Background, int Width = 64, int Height = 32)
{
  Target.SetPixelFormat(pf32bit);
  Target.SetSize(Width, Height);
  Target.GetCanvas()->GetBrush()->SetColor(Background);
  Target.GetCanvas()->FillRect(Rect(0, 0, Width, Height));
}

struct TListener : TObject {
  int Count = 0;
  TObject* LastSender = nullptr;
  std::function<void()> Then;
  void Changed(TObject* Sender)
  {
    ++Count;
    LastSender = Sender;
    if (Then)
      Then();
  }
};

// A filer that only collects what DefineProperties offers.
}  // namespace

class ImageListTest : public TGdiLeakTest {
protected:
  void SetUp() override
  {
    TGdiLeakTest::SetUp();
    FList = std::make_unique<TImageList>(nullptr);
  }
  void TearDown() override
  {
    FList.reset();
    TGdiLeakTest::TearDown();
  }
  // Adds one masked glyph per colour and returns the count.
  int AddGlyphs(std::initializer_list<TColor> Colors)
  {
    for (TColor c : Colors) {
      TBitmap glyph;
      MakeGlyph(glyph, c);
      FList->AddMasked(&glyph, clFuchsia);
    }
    return FList->GetCount();
  }
  std::unique_ptr<TImageList> FList;
};

TEST_F(ImageListTest, AddMaskedDrawsWithTheBackgroundShowingThrough)
{
  TBitmap glyph;
  MakeGlyph(glyph, clRed);
  EXPECT_EQ(FList->AddMasked(&glyph, clFuchsia), 0);
  EXPECT_TRUE(ColorNear(At(glyph, 0, 0), RGB(255, 0, 255), 0)) << "the caller's bitmap is left alone";
  TBitmap target;
  MakeTarget(target, clLime);
  FList->Draw(target.GetCanvas(), 0, 0, 0);
  EXPECT_TRUE(ColorNear(At(target, 8, 8), RGB(255, 0, 0), 0));
  EXPECT_TRUE(ColorNear(At(target, 1, 1), RGB(0, 255, 0), 0));
  EXPECT_TRUE(ColorNear(At(target, 15, 15), RGB(0, 255, 0), 0));

  TBitmap strip;
  MakeGlyph(strip, clBlue, 32);
  EXPECT_EQ(FList->AddMasked(&strip, clDefault), 1) << "a wide bitmap adds several images";
  EXPECT_EQ(FList->GetCount(), 3);
  FList->Draw(target.GetCanvas(), 20, 0, 2);
  EXPECT_TRUE(ColorNear(At(target, 28, 8), RGB(0, 0, 255), 0));
  EXPECT_TRUE(ColorNear(At(target, 21, 1), RGB(0, 255, 0), 0));
  FList->Draw(target.GetCanvas(), 40, 0, 7);  // out of range: nothing
  EXPECT_TRUE(ColorNear(At(target, 48, 8), RGB(0, 255, 0), 0));
}

TEST_F(ImageListTest, DisabledImagesAreGreyAndKeepTheBackground)
{
  AddGlyphs({clRed});
  TBitmap target;
  MakeTarget(target, clLime);
  FList->Draw(target.GetCanvas(), 0, 0, 0, true);
  FList->Draw(target.GetCanvas(), 20, 0, 0, false);
  COLORREF enabled = At(target, 8, 8), disabled = At(target, 28, 8);
  EXPECT_TRUE(ColorNear(enabled, RGB(255, 0, 0), 0));
  EXPECT_GT(ColorDistance(enabled, disabled), 60) << ColorText(disabled);
  EXPECT_TRUE(IsGreyish(disabled)) << ColorText(disabled);
  EXPECT_TRUE(ColorNear(At(target, 21, 1), RGB(0, 255, 0), 0)) << "transparent pixels stay";
  EXPECT_TRUE(ColorNear(At(target, 35, 15), RGB(0, 255, 0), 0));
  EXPECT_TRUE(ColorNear(At(target, 37, 8), RGB(0, 255, 0), 0)) << "nothing drawn beyond the image";
}

TEST_F(ImageListTest, BkColorFillsTransparentPixelsUnlessDrawnTransparent)
{
  AddGlyphs({clRed});
  FList->SetBkColor(clYellow);
  TBitmap target;
  MakeTarget(target, clLime);
  FList->Draw(target.GetCanvas(), 0, 0, 0);
  EXPECT_TRUE(ColorNear(At(target, 1, 1), RGB(255, 255, 0), 0));
  EXPECT_TRUE(ColorNear(At(target, 8, 8), RGB(255, 0, 0), 0));
  FList->Draw(target.GetCanvas(), 20, 0, 0, false);
  EXPECT_TRUE(ColorNear(At(target, 21, 1), RGB(255, 255, 0), 0)) << "disabled too";
  FList->SetDrawingStyle(dsTransparent);
  FList->Draw(target.GetCanvas(), 40, 0, 0);
  EXPECT_TRUE(ColorNear(At(target, 41, 1), RGB(0, 255, 0), 0));
}

TEST_F(ImageListTest, UnmaskedListsAndBitmapsWithMasks)
{
  FList->SetMasked(false);
  TBitmap glyph;
  MakeGlyph(glyph, clNavy);
  EXPECT_EQ(FList->Add(&glyph, nullptr), 0);
  TBitmap target;
  MakeTarget(target, clLime);
  FList->Draw(target.GetCanvas(), 0, 0, 0);
  EXPECT_TRUE(ColorNear(At(target, 1, 1), RGB(255, 0, 255), 0)) << "no mask: every pixel drawn";
  FList->Draw(target.GetCanvas(), 20, 0, 0, false);
  EXPECT_TRUE(IsGreyish(At(target, 21, 1)));

  TImageList masked(nullptr);
  TBitmap mask;
  mask.SetPixelFormat(pf1bit);
  mask.SetSize(16, 16);  // white: all transparent ...
  mask.GetCanvas()->GetBrush()->SetColor(clBlack);
  mask.GetCanvas()->FillRect(Rect(0, 0, 8, 16));  // ... but the left half
  TBitmap solid;
  MakeTarget(solid, clRed, 16, 16);
  EXPECT_EQ(masked.Add(&solid, &mask), 0);
  masked.Draw(target.GetCanvas(), 40, 0, 0);
  EXPECT_TRUE(ColorNear(At(target, 42, 8), RGB(255, 0, 0), 0));
  EXPECT_FALSE(ColorNear(At(target, 53, 8), RGB(255, 0, 0), 0));
}

TEST_F(ImageListTest, ReplaceDeleteClearAndBadIndexes)
{
  ASSERT_EQ(AddGlyphs({clRed, clLime, clBlue}), 3);
  TBitmap yellow;
  MakeGlyph(yellow, clYellow);
  FList->ReplaceMasked(1, &yellow, clFuchsia);
  TBitmap target;
  MakeTarget(target, clWhite);
  FList->Draw(target.GetCanvas(), 0, 0, 1);
  EXPECT_TRUE(ColorNear(At(target, 8, 8), RGB(255, 255, 0), 0));
  EXPECT_TRUE(ColorNear(At(target, 1, 1), RGB(255, 255, 255), 0)) << "replaced with its mask";
  FList->Replace(0, &yellow, nullptr);
  EXPECT_THROW(FList->Replace(3, &yellow, nullptr), EInvalidOperation);
  EXPECT_THROW(FList->ReplaceMasked(-1, &yellow, clFuchsia), EInvalidOperation);

  FList->Delete(0);
  EXPECT_EQ(FList->GetCount(), 2);
  FList->Draw(target.GetCanvas(), 20, 0, 0);
  EXPECT_TRUE(ColorNear(At(target, 28, 8), RGB(255, 255, 0), 0)) << "the others moved up";
  EXPECT_THROW(FList->Delete(2), EInvalidOperation);
  EXPECT_THROW(FList->Delete(-1), EInvalidOperation);
  FList->Clear();
  EXPECT_EQ(FList->GetCount(), 0);
}

TEST_F(ImageListTest, ChangeLinksAreToldOfEveryChange)
{
  TListener a, b, own;
  TChangeLink linkA, linkB;
  linkA.OnChange = TNotifyEvent(&a, &TListener::Changed);
  linkB.OnChange = TNotifyEvent(&b, &TListener::Changed);
  FList->OnChange = TNotifyEvent(&own, &TListener::Changed);
  FList->RegisterChanges(&linkA);
  FList->RegisterChanges(&linkB);
  FList->RegisterChanges(&linkB);  // once only
  EXPECT_EQ(linkA.GetSender(), FList.get());
  AddGlyphs({clRed});
  EXPECT_EQ(a.Count, 1);
  EXPECT_EQ(b.Count, 1);
  EXPECT_EQ(own.Count, 1);
  EXPECT_EQ(a.LastSender, FList.get());

  FList->BeginUpdate();
  AddGlyphs({clRed, clBlue});
  FList->SetBkColor(clWhite);
  EXPECT_EQ(a.Count, 1) << "held back while updating";
  FList->EndUpdate();
  EXPECT_EQ(a.Count, 2) << "one notification for the whole update";
  EXPECT_EQ(own.Count, 2);
  FList->BeginUpdate();
  FList->EndUpdate();
  EXPECT_EQ(a.Count, 2) << "no change, no notification";

  FList->UnRegisterChanges(&linkA);
  EXPECT_EQ(linkA.GetSender(), nullptr);
  FList->Clear();
  EXPECT_EQ(a.Count, 2);
  EXPECT_EQ(b.Count, 3);
}

TEST_F(ImageListTest, LinksAndListsFreedInEitherOrder)
{
  TListener listener;
  auto* early = new TChangeLink;
  early->OnChange = TNotifyEvent(&listener, &TListener::Changed);
  FList->RegisterChanges(early);
  delete early;  // unregisters itself
  AddGlyphs({clRed});
  EXPECT_EQ(listener.Count, 0);

  TChangeLink late;
  late.OnChange = TNotifyEvent(&listener, &TListener::Changed);
  {
    TImageList other(nullptr);
    other.RegisterChanges(&late);
    EXPECT_EQ(late.GetSender(), &other);
  }
  EXPECT_EQ(late.GetSender(), nullptr) << "the freed list let go of its links";

  // A link that leaves while being told, and takes another with it.
  TChangeLink first, second;
  TListener one, two;
  one.Then = [&] {
    FList->UnRegisterChanges(&first);
    FList->UnRegisterChanges(&second);
  };
  first.OnChange = TNotifyEvent(&one, &TListener::Changed);
  second.OnChange = TNotifyEvent(&two, &TListener::Changed);
  FList->RegisterChanges(&first);
  FList->RegisterChanges(&second);
  FList->Clear();
  EXPECT_EQ(one.Count, 1);
  EXPECT_EQ(two.Count, 0) << "an unregistered link is not told";
}

TEST_F(ImageListTest, NothingIsToldWhileLoading)
{
  TListener listener;
  TChangeLink link;
  link.OnChange = TNotifyEvent(&listener, &TListener::Changed);
  FList->RegisterChanges(&link);
  FList->IncludeState(csLoading);
  FList->SetWidth(20);
  AddGlyphs({clRed});
  EXPECT_EQ(listener.Count, 0);
  FList->ExcludeState(csLoading);
  FList->Loaded();
  EXPECT_EQ(listener.Count, 1);
}

TEST_F(ImageListTest, DamagedBinaryDataRaisesAndKeepsTheImages)
{
  AddGlyphs({clRed, clBlue});
  TMemoryStream good;
  FList->WriteData(&good);
  auto* bytes = static_cast<uint8_t*>(good.Memory());
  std::vector<uint8_t> original(bytes, bytes + good.GetSize());
  auto damaged = [&](const std::function<void(std::vector<uint8_t>&)>& change) {
    std::vector<uint8_t> b = original;
    change(b);
    TMemoryStream s;
    s.Write(b.data(), int64_t(b.size()));
    s.SetPosition(0);
    FList->ReadData(&s);
  };
  EXPECT_THROW(damaged([](auto& b) { b[0] ^= 0xFF; }), EReadError) << "magic";
  EXPECT_THROW(damaged([](auto& b) { b[4] = 9; }), EReadError) << "version";
  EXPECT_THROW(damaged([](auto& b) { b[8] = 3; }), EReadError) << "count disagrees with the picture";
  EXPECT_THROW(damaged([](auto& b) { b[12] = 0; }), EReadError) << "zero width";
  EXPECT_THROW(damaged([](auto& b) { b.resize(b.size() / 2); }), EReadError) << "truncated";
  EXPECT_THROW(damaged([](auto& b) { b[24 + 4] = 'X'; }), EReadError) << "picture not a BMP";
  EXPECT_THROW(damaged([](auto& b) { b.resize(10); }), EReadError);
  EXPECT_EQ(FList->GetCount(), 2);
}

TEST_F(ImageListTest, FormDataRoundTrip)
{
  RegisterClass(TImageList::StaticClass());
  FList->SetName(L"Images");
  FList->SetBkColor(clBtnFace);
  FList->SetDrawingStyle(dsTransparent);
  EXPECT_EQ(ComponentToText(FList.get()).find(L"Bitmap"), String::npos) << "an empty list stores no pictures";
  AddGlyphs({clRed, clBlue});
  String text = ComponentToText(FList.get());
  EXPECT_NE(text.find(L"BkColor = clBtnFace"), String::npos) << ToUtf8(text);
  EXPECT_NE(text.find(L"DrawingStyle = dsTransparent"), String::npos);
  EXPECT_NE(text.find(L"Bitmap = {"), String::npos);
  EXPECT_EQ(text.find(L"Width"), String::npos) << "defaults are not written";

  // Read into a list of another size: the data brings its own, in one change.
  TImageList copy(nullptr);
  copy.SetWidth(32);
  TListener listener;
  copy.OnChange = TNotifyEvent(&listener, &TListener::Changed);
  TextToComponent(text, &copy);
  EXPECT_EQ(listener.Count, 1);
  EXPECT_EQ(copy.GetWidth(), 16);
  std::unique_ptr<TComponent> read(TextToComponent(text));
  auto* list = dynamic_cast<TImageList*>(read.get());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->GetBkColor(), clBtnFace);
  EXPECT_EQ(list->GetDrawingStyle(), dsTransparent);
  ASSERT_EQ(list->GetCount(), 2);
  TBitmap target;
  MakeTarget(target, clLime, 40, 16);
  list->Draw(target.GetCanvas(), 20, 0, 1);
  EXPECT_TRUE(ColorNear(At(target, 28, 8), RGB(0, 0, 255), 0));
  EXPECT_TRUE(ColorNear(At(target, 21, 1), RGB(0, 255, 0), 0));
  read.reset();
  UnRegisterClass(TImageList::StaticClass());
}

class BitmapFormDataTest : public TGdiLeakTest {};

// A bitmap published by a component streams as its "Data" value.
class TGlyphHolder : public TComponent {
  DECLARE_CLASS(TGlyphHolder, TComponent)
public:
  explicit TGlyphHolder(TComponent* AOwner) : TComponent(AOwner) {}
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value) { FGlyph->Assign(Value); }

private:
  std::unique_ptr<TBitmap> FGlyph = std::make_unique<TBitmap>();
};

PUBLISHED(TGlyphHolder, TComponent)
{
  p.Object(L"Glyph", &TGlyphHolder::GetGlyph, &TGlyphHolder::SetGlyph);
}

TEST_F(BitmapFormDataTest, GlyphRoundTrip)
{
  RegisterClass(TGlyphHolder::StaticClass());
  {
    TGlyphHolder holder(nullptr);
    holder.SetName(L"Holder");
    String empty = ComponentToText(&holder);
    EXPECT_EQ(empty.find(L"Glyph.Data"), String::npos) << "an empty bitmap stores nothing";
    MakeGlyph(*holder.GetGlyph(), clGreen);
    String text = ComponentToText(&holder);
    EXPECT_NE(text.find(L"Glyph.Data = {"), String::npos) << ToUtf8(text);
    std::unique_ptr<TComponent> read(TextToComponent(text));
    auto* back = dynamic_cast<TGlyphHolder*>(read.get());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetGlyph()->GetWidth(), 16);
    EXPECT_EQ(back->GetGlyph()->GetPixelFormat(), pf24bit);
    EXPECT_TRUE(ColorNear(At(*back->GetGlyph(), 8, 8), RGB(0, 0x80, 0), 0));
  }
  UnRegisterClass(TGlyphHolder::StaticClass());
}

TEST_F(BitmapFormDataTest, DamagedGlyphDataIsAReadingError)
{
  RegisterClass(TGlyphHolder::StaticClass());
  const wchar_t* texts[] = {
      L"object Holder: TGlyphHolder\n  Glyph.Data = {0400000001020304}\nend\n",
      L"object Holder: TGlyphHolder\n  Glyph.Data = {FFFFFF7F424D}\nend\n",
      L"object Holder: TGlyphHolder\n  Glyph.Data = {01}\nend\n",
  };
  for (const wchar_t* text : texts)
    EXPECT_THROW(TextToComponent(text), Exception) << ToUtf8(text);
  UnRegisterClass(TGlyphHolder::StaticClass());
}
