// The helpers that clear a variable and free what it held, object links, bitmaps that report
// their changes, and the device-context origin helpers, on memory DCs and real windows.
#include <gtest/gtest.h>

#include "bars/utils/utils.h"
#include "lookandfeel/cxClasses.h"
#include "platform/Bitmap.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "support/Owned.h"
#include "support/Pixels.h"

namespace {

// Looks at the variable that held it while it goes.
class TWatcher : public TObject {
public:
  explicit TWatcher(TWatcher** AHolder) : FHolder(AHolder) {}
  ~TWatcher() override { HolderAtDeath = *FHolder; }
  static inline TWatcher* HolderAtDeath = nullptr;

private:
  TWatcher** FHolder;
};

TEST(ObjectHelpers, EachClearsItsVariableBeforeFreeingAndAcceptsNil)
{
  TWatcher* watcher = nullptr;
  watcher = new TWatcher(&watcher);
  TWeakRef<TWatcher> alive(watcher);
  TWatcher::HolderAtDeath = watcher;
  FreeAndNilObject(watcher);
  EXPECT_EQ(watcher, nullptr);
  EXPECT_FALSE(alive);
  EXPECT_EQ(TWatcher::HolderAtDeath, nullptr) << "the object saw its own pointer while it went";
  FreeAndNilObject(watcher);  // nil: nothing

  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HBRUSH copy = brush;
  DeleteAndClearGDIObject(brush);
  EXPECT_EQ(brush, nullptr);
  EXPECT_EQ(GetObjectType(copy), 0u) << "the brush was not deleted";
  DeleteAndClearGDIObject(brush);

  TDib32 dib(4, 4);
  HPEN temporary = CreatePen(PS_SOLID, 1, RGB(9, 9, 9));
  HGDIOBJ old = SelectObject(dib.DC(), temporary);
  SelectAndDeleteGDIObject(dib.DC(), old);
  EXPECT_EQ(old, nullptr);
  EXPECT_EQ(GetObjectType(temporary), 0u) << "the temporary pen was left selected or alive";
  EXPECT_NE(GetCurrentObject(dib.DC(), OBJ_PEN), temporary);
  SelectAndDeleteGDIObject(dib.DC(), old);  // nothing held: the DC keeps its pen
  EXPECT_NE(GetObjectType(GetCurrentObject(dib.DC(), OBJ_PEN)), 0u);
}

TEST(ObjectHelpers, ObjectLinksReadTheirObjectUntilItGoesAndClearWhenRemoved)
{
  auto* object = new TObject;
  TcxObjectLink* link = AddObjectLink(object);
  TcxObjectLink* second = AddObjectLink(object);
  EXPECT_EQ(GetObjectLinkRef(link), object);
  EXPECT_EQ(GetObjectLinkRef(nullptr), nullptr);
  object->Free();
  EXPECT_EQ(GetObjectLinkRef(link), nullptr) << "a link to a freed object";
  RemoveAndClearObjectLink(link);
  EXPECT_EQ(link, nullptr);
  RemoveAndClearObjectLink(link);
  RemoveAndClearObjectLink(second);
  EXPECT_EQ(second, nullptr);
}

TEST(ObjectHelpers, ANotifyingBitmapReportsEachChangeToItsHandler)
{
  int changes = 0;
  TObject* sender = nullptr;
  std::unique_ptr<TBitmap> bitmap(CreateNotifyingBitmap(TNotifyEvent([&](TObject* ASender) {
    ++changes;
    sender = ASender;
  })));
  ASSERT_NE(bitmap, nullptr);
  bitmap->SetSize(8, 8);
  EXPECT_GT(changes, 0);
  EXPECT_EQ(sender, bitmap.get());
  const int afterSize = changes;
  bitmap->GetCanvas()->SetPixel(1, 1, clRed);
  EXPECT_GT(changes, afterSize) << "drawing on the bitmap is a change too";
}

TEST(DeviceContextOrigins, AControlsOwnCoordinatesApplyOnItsParentsDC)
{
  TOwned<TForm> form(TCustomForm::CreateNew<TForm>(nullptr));
  form->SetBounds(100, 100, 300, 200);
  // A plain windowed control: no border, so its client origin is its place.
  auto* child = new TWinControl(form.Get());
  child->SetParent(form.Get());
  child->SetBounds(30, 20, 100, 24);
  HWND formWnd = form->GetHandle();
  HDC dc = GetDC(formWnd);
  ASSERT_NE(dc, nullptr);
  OffsetDCToControl(dc, formWnd, child->GetHandle());
  POINT p{0, 0};
  LPtoDP(dc, &p, 1);
  EXPECT_EQ(p.x, 30);
  EXPECT_EQ(p.y, 20) << "the control's origin must land on its place in the form";
  // A second shift adds up, as a nested control would need.
  OffsetDCToControl(dc, formWnd, child->GetHandle());
  p = POINT{0, 0};
  LPtoDP(dc, &p, 1);
  EXPECT_EQ(p.x, 60);
  SetWindowOrigin(dc, TPoint{-5, -7});
  p = POINT{0, 0};
  LPtoDP(dc, &p, 1);
  EXPECT_EQ(p.x, 5);
  EXPECT_EQ(p.y, 7);
  // No control or no DC: the origin stays and nothing fails.
  OffsetDCToControl(dc, formWnd, nullptr);
  OffsetDCToControl(nullptr, formWnd, child->GetHandle());
  SetWindowOrigin(nullptr, TPoint{1, 1});
  POINT org{};
  GetWindowOrgEx(dc, &org);
  EXPECT_EQ(org.x, -5);
  ReleaseDC(formWnd, dc);
}

}  // namespace
