// Screen tips: bands, the tip, its collection and the repository with its fonts.
#include "bars/hints/screentips.h"

#include <cmath>

#include "platform/Controls.h"
#include "platform/Screen.h"

DEFINE_ENUM_INFO(TdxBarScreenTipBandType, L"stbHeader", L"stbDescription", L"stbFooter")
DEFINE_ENUM_INFO(TdxBarScreenTipBandTextAlign, L"stbtaLeft", L"stbtaRight")
IMPLEMENT_CLASS(TdxBarScreenTipBand, TdxBarCustomScreenTipBand)
IMPLEMENT_CLASS(TdxBarScreenTipFooterBand, TdxBarCustomScreenTipBand)
IMPLEMENT_CLASS(TdxBarScreenTipCollection, TcxComponentCollection)

namespace {

// The text colour of every screen tip font that the developer did not assign.
constexpr TColor ScreenTipTextColor = 0x4C4C4C;

}  // namespace

void dxBarSetDefaultScreenTipFont(TFont* AFont, TdxBarScreenTipBandType ABandType)
{
  if (Screen && Screen->GetHintFont())
    AFont->Assign(Screen->GetHintFont());
  AFont->SetColor(ScreenTipTextColor);
  if (ABandType != stbDescription)
    AFont->SetStyle(AFont->GetStyle() + fsBold);
}

// ---------------------------------------------------------------------------
// Bands

PUBLISHED(TdxBarCustomScreenTipBand, TPersistent)
{
  using B = TdxBarCustomScreenTipBand;
  p.Object(L"Glyph", &B::GetGlyph, &B::SetGlyph);
  p.Prop(L"Text", &B::GetText, &B::SetText);
  p.Prop(L"TextAlign", &B::GetTextAlign, &B::SetTextAlign).Default(stbtaRight);
}

TdxBarCustomScreenTipBand::TdxBarCustomScreenTipBand(TdxBarScreenTipBandType ABandType)
    : FBandType(ABandType), FGlyph(std::make_unique<TBitmap>())
{
  FGlyph->SetTransparent(true);
  FGlyph->OnChange = TNotifyEvent(this, &TdxBarCustomScreenTipBand::GlyphChanged);
}

TdxBarCustomScreenTipBand::~TdxBarCustomScreenTipBand() = default;

void TdxBarCustomScreenTipBand::Assign(TPersistent* Source)
{
  auto* source = dynamic_cast<TdxBarCustomScreenTipBand*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  FText = source->FText;
  FTextAlign = source->FTextAlign;
  FGlyph->Assign(source->FGlyph.get());
  Changed();
}

void TdxBarCustomScreenTipBand::SetGlyph(TBitmap* Value)
{
  FGlyph->Assign(Value);
}

void TdxBarCustomScreenTipBand::GlyphChanged(TObject* Sender)
{
  Changed();
}

void TdxBarCustomScreenTipBand::SetText(const String& Value)
{
  if (FText == Value)
    return;
  FText = Value;
  Changed();
}

void TdxBarCustomScreenTipBand::SetTextAlign(TdxBarScreenTipBandTextAlign Value)
{
  if (FTextAlign == Value)
    return;
  FTextAlign = Value;
  Changed();
}

void TdxBarCustomScreenTipBand::GetFont(TFont* AFont) const
{
  dxBarSetDefaultScreenTipFont(AFont, FBandType);
}

void TdxBarCustomScreenTipBand::Changed()
{
  CallEvent(OnChange, this);
}

TdxBarScreenTipBand::TdxBarScreenTipBand(TdxBarScreenTip* AScreenTip, TdxBarScreenTipBandType ABandType)
    : TdxBarCustomScreenTipBand(ABandType), FScreenTip(AScreenTip)
{
}

void TdxBarScreenTipBand::GetFont(TFont* AFont) const
{
  if (TdxBarScreenTipRepository* repository = FScreenTip ? FScreenTip->GetRepository() : nullptr)
    repository->GetFont(GetBandType(), AFont);
  else
    TdxBarCustomScreenTipBand::GetFont(AFont);
}

TPersistent* TdxBarScreenTipBand::GetOwner() const
{
  return FScreenTip;
}

TdxBarScreenTipFooterBand::TdxBarScreenTipFooterBand(TdxBarScreenTipRepository* ARepository)
    : TdxBarCustomScreenTipBand(stbFooter), FRepository(ARepository)
{
}

void TdxBarScreenTipFooterBand::GetFont(TFont* AFont) const
{
  if (FRepository)
    FRepository->GetFont(stbFooter, AFont);
  else
    TdxBarCustomScreenTipBand::GetFont(AFont);
}

TPersistent* TdxBarScreenTipFooterBand::GetOwner() const
{
  return FRepository;
}

// ---------------------------------------------------------------------------
// The screen tip

PUBLISHED(TdxBarScreenTip, TcxComponentCollectionItem)
{
  using S = TdxBarScreenTip;
  p.Object(L"Header", &S::GetHeader, &S::SetHeader);
  p.Object(L"Description", &S::GetDescription, &S::SetDescription);
  p.Object(L"Footer", &S::GetFooter, &S::SetFooter);
  p.Prop(L"UseHintAsHeader", &S::GetUseHintAsHeader, &S::SetUseHintAsHeader).Default(false);
  p.Prop(L"UseStandardFooter", &S::GetUseStandardFooter, &S::SetUseStandardFooter).Default(false);
  p.Prop(L"Width", &S::GetWidth, &S::SetWidth).Default(0);
}

TdxBarScreenTip::TdxBarScreenTip(TComponent* AOwner)
    : TcxComponentCollectionItem(AOwner),
      FHeader(std::make_unique<TdxBarScreenTipBand>(this, stbHeader)),
      FDescription(std::make_unique<TdxBarScreenTipBand>(this, stbDescription)),
      FFooter(std::make_unique<TdxBarScreenTipBand>(this, stbFooter))
{
  for (TdxBarScreenTipBand* band : {FHeader.get(), FDescription.get(), FFooter.get()})
    band->OnChange = TNotifyEvent(this, &TdxBarScreenTip::BandChanged);
}

TdxBarScreenTip::~TdxBarScreenTip() = default;

void TdxBarScreenTip::BandChanged(TObject* Sender)
{
  Changed(false);
}

void TdxBarScreenTip::Assign(TPersistent* Source)
{
  auto* source = dynamic_cast<TdxBarScreenTip*>(Source);
  if (!source) {
    TcxComponentCollectionItem::Assign(Source);
    return;
  }
  FHeader->Assign(source->FHeader.get());
  FDescription->Assign(source->FDescription.get());
  FFooter->Assign(source->FFooter.get());
  FUseHintAsHeader = source->FUseHintAsHeader;
  FUseStandardFooter = source->FUseStandardFooter;
  FWidth = source->FWidth;
}

void TdxBarScreenTip::SetName(const String& NewName)
{
  const String oldName = Name();
  auto* ownerControl = dynamic_cast<TControl*>(Owner());
  const bool follow = !ComponentState().Contains(csLoading) && FHeader->GetText() == oldName &&
                      (!ownerControl || !ownerControl->ComponentState().Contains(csLoading));
  TcxComponentCollectionItem::SetName(NewName);
  if (follow)
    FHeader->SetText(NewName);
}

TdxBarScreenTipRepository* TdxBarScreenTip::GetRepository() const
{
  auto* collection = dynamic_cast<TdxBarScreenTipCollection*>(Collection());
  return collection ? collection->GetRepository() : nullptr;
}

String TdxBarScreenTip::GetDisplayName() const
{
  return Name() + L" - '" + FHeader->GetText() + L"'";
}

int TdxBarScreenTip::ScaleTipWidth(int Value, int APixelsPerInch)
{
  // The default rounding mode rounds halves to even.
  return int(std::nearbyint(double(APixelsPerInch) * Value / 96.0));
}

int TdxBarScreenTip::GetTipWidth() const
{
  if (FWidth != 0)
    return FWidth;
  const int width = FDescription->HasGlyph() ? 318 : 210;
  return ScaleTipWidth(width, Screen ? Screen->GetPixelsPerInch() : 96);
}

TcxComponentCollection* TdxBarScreenTip::GetCollectionFromParent(TComponent* AParent)
{
  auto* repository = dynamic_cast<TdxBarScreenTipRepository*>(AParent);
  return repository ? repository->GetItems() : nullptr;
}

TdxBarScreenTipCollection::TdxBarScreenTipCollection(TdxBarScreenTipRepository* ARepository)
    : TcxComponentCollection(ARepository, TdxBarScreenTip::StaticClass()), FRepository(ARepository)
{
}

// ---------------------------------------------------------------------------
// The repository

PUBLISHED(TdxBarScreenTipRepository, TComponent)
{
  using R = TdxBarScreenTipRepository;
  p.Prop(L"AssignedFonts", &R::GetAssignedFonts, &R::SetAssignedFonts).Default(TdxBarScreenTipBandTypes{});
  p.Object(L"Items", &R::GetItems, &R::SetItems);
  p.Object(L"DescriptionFont", &R::GetDescriptionFont, &R::SetDescriptionFont).Stored(&R::IsDescriptionFontStored);
  p.Object(L"FooterFont", &R::GetFooterFont, &R::SetFooterFont).Stored(&R::IsFooterFontStored);
  p.Object(L"HeaderFont", &R::GetHeaderFont, &R::SetHeaderFont).Stored(&R::IsHeaderFontStored);
  p.Object(L"StandardFooter", &R::GetStandardFooter, &R::SetStandardFooter);
  p.Prop(L"ShowDescription", &R::GetShowDescription, &R::SetShowDescription).Default(true);
}

TdxBarScreenTipRepository::TdxBarScreenTipRepository(TComponent* AOwner) : TComponent(AOwner)
{
  // The starting values are set before the change handlers: they are not the developer's.
  for (TdxBarScreenTipBandType type : {stbHeader, stbDescription, stbFooter}) {
    FFonts[type] = std::make_unique<TFont>();
    dxBarSetDefaultScreenTipFont(FFonts[type].get(), type);
    FFonts[type]->OnChange = TNotifyEvent(this, &TdxBarScreenTipRepository::FontChanged);
  }
  FItems = CreateItems();
  FStandardFooter = std::make_unique<TdxBarScreenTipFooterBand>(this);
}

TdxBarScreenTipRepository::~TdxBarScreenTipRepository()
{
  // The tips are owned by the form; they leave the collection before it goes.
  if (FItems)
    FItems->Clear();
}

std::unique_ptr<TdxBarScreenTipCollection> TdxBarScreenTipRepository::CreateItems()
{
  return std::make_unique<TdxBarScreenTipCollection>(this);
}

void TdxBarScreenTipRepository::FontChanged(TObject* Sender)
{
  if (ComponentState().Contains(csLoading))
    return;
  for (TdxBarScreenTipBandType type : {stbHeader, stbDescription, stbFooter})
    if (FFonts[type].get() == Sender)
      FAssignedFonts += type;
}

void TdxBarScreenTipRepository::GetFont(TdxBarScreenTipBandType ABandType, TFont* AFont) const
{
  if (FAssignedFonts.Contains(ABandType))
    AFont->Assign(FFonts[ABandType].get());
  else
    dxBarSetDefaultScreenTipFont(AFont, ABandType);
}

void TdxBarScreenTipRepository::SetItems(TdxBarScreenTipCollection* Value)
{
  if (!Value || Value == FItems.get())
    return;
  FItems->BeginUpdate();
  TFinally end([this] { FItems->EndUpdate(); });
  FItems->Clear();
  for (int i = 0; i < Value->GetCount(); ++i)
    FItems->Add()->Assign(Value->GetItem(i));
}

void TdxBarScreenTipRepository::Assign(TPersistent* Source)
{
  auto* source = dynamic_cast<TdxBarScreenTipRepository*>(Source);
  if (!source) {
    TComponent::Assign(Source);
    return;
  }
  SetItems(source->GetItems());
  SetStandardFooter(source->GetStandardFooter());
  SetDescriptionFont(source->GetDescriptionFont());
  SetFooterFont(source->GetFooterFont());
  SetHeaderFont(source->GetHeaderFont());
  FAssignedFonts = source->FAssignedFonts;
  FShowDescription = source->FShowDescription;
}

void TdxBarScreenTipRepository::GetChildren(const TGetChildProc& Proc, TComponent* Root)
{
  for (int i = 0; i < FItems->GetCount(); ++i)
    if (FItems->GetItem(i)->Owner() == Root)
      Proc(FItems->GetItem(i));
}
