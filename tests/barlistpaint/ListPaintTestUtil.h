// Shared pieces of the list painter tests: a form with a manager and a few commands, and a
// canvas over a memory picture that the painters draw into.
#pragma once

#include "barcustomize/listpainters.h"
#include <vector>

#include "bars/itemcontrols/buttons.h"
#include "bars/painters/painter.h"
#include "bars/itemcontrols/subitems.h"
#include "platform/Canvas.h"
#include "platform/ImgList.h"
#include "support/BarTestHost.h"
#include "support/Pixels.h"

using TListPaintTestForm = TTestHostForm;

// A container that stands for nothing but itself: its entry opens a menu like a sub item's.
class TUngroupedContainerItem : public TdxBarContainerItem {
  DECLARE_CLASS(TUngroupedContainerItem, TdxBarContainerItem)
public:
  using TdxBarContainerItem::TdxBarContainerItem;
  bool IsListedAsGroup() const override { return false; }
};

// A canvas over a 32-bit picture; the canvas lets go of the DC before the picture goes.
struct TPaintTarget {
  TPaintTarget(int AWidth, int AHeight, COLORREF AFill = RGB(255, 0, 255)) : Dib(AWidth, AHeight, AFill)
  {
    Canvas.SetHandle(Dib.DC());
  }
  ~TPaintTarget() { Canvas.SetHandle(nullptr); }
  COLORREF Pixel(int X, int Y)
  {
    ::GdiFlush();
    return Dib.Pixel(X, Y);
  }

  TDib32 Dib;
  TCanvas Canvas;
};

inline COLORREF ColorOf(TColor AColor)
{
  return COLORREF(ColorToRGB(AColor));
}

// A form with a manager, an image list of one green 16 x 16 image, and one item of each
// kind an entry of the commands list can show.
struct TListPaintHost : TBarHost<TListPaintTestForm> {
  TListPaintHost()
  {
    Images = new TImageList(Form());
    TBitmap image;
    image.SetSize(16, 16);
    image.GetCanvas()->GetBrush()->SetColor(TColor(RGB(0, 160, 0)));
    image.GetCanvas()->FillRect(Rect(0, 0, 16, 16));
    Images->AddMasked(&image, clFuchsia);
    Button = NewItem<TdxBarButton>(L"Open");
    DropDown = NewItem<TdxBarButton>(L"Paste");
    DropDown->SetButtonStyle(bsDropDown);
    SubItem = NewItem<TdxBarSubItem>(L"Recent");
    Container = NewItem<TdxBarContainerItem>(L"Windows");
    Ungrouped = NewItem<TUngroupedContainerItem>(L"Tools");
  }
  template <class T>
  T* NewItem(const String& ACaption)
  {
    auto* item = new T(Form());
    item->SetCaption(ACaption);
    return item;
  }
  void UseImages() { Manager->SetImages(Images); }

  TImageList* Images;
  TdxBarButton* Button;
  TdxBarButton* DropDown;
  TdxBarSubItem* SubItem;
  TdxBarContainerItem* Container;
  TUngroupedContainerItem* Ungrouped;
};

// A theme binding that opens every class and records what it is asked to draw, filling it
// in one colour so that the picture shows where.
struct TRecordingTheme {
  struct TCall {
    TdxThemedObjectType Kind;
    int Part, State;
    TRect R;
  };
  std::vector<TCall> Calls;
  TdxThemedObjectType LastOpened = totButton;
  bool Open = true;

  TdxBarThemeBinding Binding()
  {
    TdxBarThemeBinding b = dxBarThemeBinding();
    b.Open = [this](TdxThemedObjectType AKind) {
      LastOpened = AKind;
      return Open ? TdxTheme(1) : TdxTheme(0);
    };
    b.Draw = [this](TdxTheme, HDC DC, int APart, int AState, const TRect& R, const TRect*) {
      Calls.push_back({LastOpened, APart, AState, R});
      FillRectByColor(DC, R, TColor(RGB(1, 2, 3)));
      return true;
    };
    return b;
  }
};

// Visual styles off for the scope, as the bars' theme binding sees them.
class TThemeOff {
public:
  TThemeOff()
  {
    TdxBarThemeBinding binding = dxBarThemeBinding();
    binding.Open = [](TdxThemedObjectType) { return TdxTheme(0); };
    SetdxBarThemeBinding(&binding);
  }
  ~TThemeOff() { SetdxBarThemeBinding(nullptr); }
  TThemeOff(const TThemeOff&) = delete;
  TThemeOff& operator=(const TThemeOff&) = delete;
};

inline const TdxBarCustomizingFormPainter& PainterOf(TClass AClass)
{
  return GetCustomizingFormPainter(AClass);
}

// The four kinds, for tests that hold for each.
inline std::vector<TClass> AllListPainterKinds()
{
  return {TdxBarCustomizingFormStandardPainter::StaticClass(), TdxBarCustomizingFormFlatPainter::StaticClass(),
          TdxBarCustomizingFormOffice11Painter::StaticClass(), TdxBarCustomizingFormXPPainter::StaticClass()};
}
