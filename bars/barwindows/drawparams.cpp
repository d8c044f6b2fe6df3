// The draw parameters of item controls.
#include "bars/barwindows/drawparams.h"

#include "bars/itemcontrols/itemcontrol.h"

IMPLEMENT_CLASS(TdxBarItemControlDrawParams, TObject)

bool TdxBarItemControlDrawParams::IsMenu() const
{
  return BarControlKind == bkMenu;
}

bool TdxBarItemControlDrawParams::IsVertical() const
{
  return BarControlKind == bkVertical;
}

bool TdxBarItemControlDrawParams::HasGlyphPart() const
{
  return (ViewParts & ivpGlyph) != 0;
}

bool TdxBarItemControlDrawParams::HasCaptionPart() const
{
  return (ViewParts & ivpCaption) != 0;
}

void TdxBarItemControlDrawParams::Assign(const TdxBarItemControlDrawParams* ASource)
{
  if (!ASource || ASource == this)
    return;
  ItemControl = ASource->ItemControl;
  Canvas = ASource->Canvas;
  Caption = ASource->Caption;
  Description = ASource->Description;
  ShortCut = ASource->ShortCut;
  BarControlKind = ASource->BarControlKind;
  ViewSize = ASource->ViewSize;
  ViewParts = ASource->ViewParts;
  GlyphSize = ASource->GlyphSize;
  TextHeight = ASource->TextHeight;
  Enabled = ASource->Enabled;
  CanSelect = ASource->CanSelect;
  IsSelected = ASource->IsSelected;
  PaintedSelected = ASource->PaintedSelected;
  IsDropDown = ASource->IsDropDown;
  IsCustomizing = ASource->IsCustomizing;
  HotPartIndex = ASource->HotPartIndex;
  PressedPartIndex = ASource->PressedPartIndex;
  DescriptionVisible = ASource->DescriptionVisible;
  States = ASource->States;
}

IMPLEMENT_CLASS(TdxBarButtonLikeControlDrawParams, TdxBarItemControlDrawParams)

void TdxBarButtonLikeControlDrawParams::Assign(const TdxBarItemControlDrawParams* ASource)
{
  inherited::Assign(ASource);
  if (auto* source = dynamic_cast<const TdxBarButtonLikeControlDrawParams*>(ASource); source && source != this) {
    ArrowWidth = source->ArrowWidth;
    BarArrowSize = source->BarArrowSize;
    IsSplit = source->IsSplit;
    DropDownEnabled = source->DropDownEnabled;
    CaptionDrawnSelected = source->CaptionDrawnSelected;
    CaptionInFlatSelection = source->CaptionInFlatSelection;
    Lowered = source->Lowered;
    PaintsDroppedDown = source->PaintsDroppedDown;
    GrayScale = source->GrayScale;
    GlyphLayout = source->GlyphLayout;
  }
}

IMPLEMENT_CLASS(TdxBarEditLikeControlDrawParams, TdxBarItemControlDrawParams)

void TdxBarEditLikeControlDrawParams::Assign(const TdxBarItemControlDrawParams* ASource)
{
  inherited::Assign(ASource);
  if (auto* source = dynamic_cast<const TdxBarEditLikeControlDrawParams*>(ASource); source && source != this) {
    EditControl = source->EditControl;
    Focused = source->Focused;
    PainterDrawsText = source->PainterDrawsText;
    DroppedDown = source->DroppedDown;
    GlyphWidth = source->GlyphWidth;
    CaptionWidth = source->CaptionWidth;
    CaptionTextWidth = source->CaptionTextWidth;
    ButtonWidth = source->ButtonWidth;
    EditRect = source->EditRect;
    Parts = source->Parts;
    Text = source->Text;
  }
}

IMPLEMENT_CLASS(TdxBarColorComboControlDrawParams, TdxBarEditLikeControlDrawParams)

void TdxBarColorComboControlDrawParams::Assign(const TdxBarItemControlDrawParams* ASource)
{
  inherited::Assign(ASource);
  if (auto* source = dynamic_cast<const TdxBarColorComboControlDrawParams*>(ASource); source && source != this) {
    ShowCustomColorButton = source->ShowCustomColorButton;
    CustomColorButtonPressed = source->CustomColorButtonPressed;
    Color = source->Color;
  }
}

DEFINE_ENUM_INFO(TdxBarStaticBorderStyle, L"sbsNone", L"sbsLowered", L"sbsRaised", L"sbsEtched", L"sbsBump")

IMPLEMENT_CLASS(TdxBarStaticLikeControlDrawParams, TdxBarItemControlDrawParams)

void TdxBarStaticLikeControlDrawParams::Assign(const TdxBarItemControlDrawParams* ASource)
{
  inherited::Assign(ASource);
  if (auto* source = dynamic_cast<const TdxBarStaticLikeControlDrawParams*>(ASource); source && source != this) {
    Alignment = source->Alignment;
    BorderStyle = source->BorderStyle;
    LeftIndent = source->LeftIndent;
    RightIndent = source->RightIndent;
    HasOwnBrush = source->HasOwnBrush;
    Min = source->Min;
    Max = source->Max;
    Position = source->Position;
    Smooth = source->Smooth;
    Color = source->Color;
  }
}
