// Screen tips (model): the larger tooltips of items and caption buttons, with a bold
// header, a description with an optional glyph and an optional footer, kept in a
// repository component that streams them as its children. The hint window
// (bars/hints/hintwindow.h) shows them.
#pragma once

#include <memory>

#include "lookandfeel/cxClasses.h"
#include "platform/Bitmap.h"
#include "platform/GraphicsObjects.h"

class TdxBarScreenTip;
class TdxBarScreenTipRepository;

enum TdxBarScreenTipBandType { stbHeader, stbDescription, stbFooter };
DECLARE_ENUM_INFO(TdxBarScreenTipBandType)
using TdxBarScreenTipBandTypes = TSet<TdxBarScreenTipBandType>;
// Where the band's text stands beside its glyph.
enum TdxBarScreenTipBandTextAlign { stbtaLeft, stbtaRight };
DECLARE_ENUM_INFO(TdxBarScreenTipBandTextAlign)

// The three font values a screen tip band draws with when the repository's own font of
// the band is not assigned.
void dxBarSetDefaultScreenTipFont(TFont* AFont, TdxBarScreenTipBandType ABandType);

class TdxBarCustomScreenTipBand : public TPersistent {
  DECLARE_CLASS(TdxBarCustomScreenTipBand, TPersistent)
public:
  explicit TdxBarCustomScreenTipBand(TdxBarScreenTipBandType ABandType = stbHeader);
  ~TdxBarCustomScreenTipBand() override;
  void Assign(TPersistent* Source) override;

  TdxBarScreenTipBandType GetBandType() const { return FBandType; }
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  bool HasGlyph() const { return FGlyph && !FGlyph->Empty(); }
  const String& GetText() const { return FText; }
  void SetText(const String& Value);
  TdxBarScreenTipBandTextAlign GetTextAlign() const { return FTextAlign; }
  void SetTextAlign(TdxBarScreenTipBandTextAlign Value);

  // The font the band draws with: a copy, so that no caller sees another band's font.
  virtual void GetFont(TFont* AFont) const;
  virtual void Changed();
  TNotifyEvent OnChange;

private:
  void GlyphChanged(TObject* Sender);
  TdxBarScreenTipBandType FBandType;
  std::unique_ptr<TBitmap> FGlyph;
  String FText;
  TdxBarScreenTipBandTextAlign FTextAlign = stbtaRight;
};

// A band of a screen tip: asks the tip's repository for its font.
class TdxBarScreenTipBand : public TdxBarCustomScreenTipBand {
  DECLARE_CLASS(TdxBarScreenTipBand, TdxBarCustomScreenTipBand)
public:
  TdxBarScreenTipBand(TdxBarScreenTip* AScreenTip = nullptr, TdxBarScreenTipBandType ABandType = stbHeader);
  void GetFont(TFont* AFont) const override;
  TPersistent* GetOwner() const override;

private:
  TdxBarScreenTip* FScreenTip;
};

// The repository's standard footer.
class TdxBarScreenTipFooterBand : public TdxBarCustomScreenTipBand {
  DECLARE_CLASS(TdxBarScreenTipFooterBand, TdxBarCustomScreenTipBand)
public:
  explicit TdxBarScreenTipFooterBand(TdxBarScreenTipRepository* ARepository = nullptr);
  void GetFont(TFont* AFont) const override;
  TPersistent* GetOwner() const override;

private:
  TdxBarScreenTipRepository* FRepository;
};

class TdxBarScreenTip : public TcxComponentCollectionItem {
  DECLARE_CLASS(TdxBarScreenTip, TcxComponentCollectionItem)
public:
  explicit TdxBarScreenTip(TComponent* AOwner);
  ~TdxBarScreenTip() override;
  void Assign(TPersistent* Source) override;
  // The header follows a rename while it still equals the old name.
  void SetName(const String& NewName) override;

  TdxBarScreenTipBand* GetHeader() const { return FHeader.get(); }
  void SetHeader(TdxBarScreenTipBand* Value) { FHeader->Assign(Value); }
  TdxBarScreenTipBand* GetDescription() const { return FDescription.get(); }
  void SetDescription(TdxBarScreenTipBand* Value) { FDescription->Assign(Value); }
  TdxBarScreenTipBand* GetFooter() const { return FFooter.get(); }
  void SetFooter(TdxBarScreenTipBand* Value) { FFooter->Assign(Value); }
  bool GetUseHintAsHeader() const { return FUseHintAsHeader; }
  void SetUseHintAsHeader(bool Value) { FUseHintAsHeader = Value; }
  bool GetUseStandardFooter() const { return FUseStandardFooter; }
  void SetUseStandardFooter(bool Value) { FUseStandardFooter = Value; }
  int32_t GetWidth() const { return FWidth; }
  void SetWidth(int32_t Value) { FWidth = Value; }

  TdxBarScreenTipRepository* GetRepository() const;
  // "Name - 'Header'".
  String GetDisplayName() const;
  // Width when set; otherwise 318 with a description glyph and 210 without, scaled from
  // 96 dots per inch to the screen's.
  int GetTipWidth() const;
  // Value scaled from 96 dots per inch to APixelsPerInch, halves rounded to even.
  static int ScaleTipWidth(int Value, int APixelsPerInch);

protected:
  TcxComponentCollection* GetCollectionFromParent(TComponent* AParent) override;

private:
  void BandChanged(TObject* Sender);
  std::unique_ptr<TdxBarScreenTipBand> FHeader;
  std::unique_ptr<TdxBarScreenTipBand> FDescription;
  std::unique_ptr<TdxBarScreenTipBand> FFooter;
  bool FUseHintAsHeader = false;
  bool FUseStandardFooter = false;
  int32_t FWidth = 0;
};

class TdxBarScreenTipCollection : public TcxComponentCollection {
  DECLARE_CLASS(TdxBarScreenTipCollection, TcxComponentCollection)
public:
  explicit TdxBarScreenTipCollection(TdxBarScreenTipRepository* ARepository = nullptr);
  TdxBarScreenTip* GetItem(int Index) const
  {
    return static_cast<TdxBarScreenTip*>(TcxComponentCollection::GetItem(Index));
  }
  TdxBarScreenTip* Add() { return static_cast<TdxBarScreenTip*>(TcxComponentCollection::Add()); }
  TdxBarScreenTipRepository* GetRepository() const { return FRepository; }
  String GetItemPrefixName() const override { return L"TdxBar"; }

private:
  TdxBarScreenTipRepository* FRepository;
};

class TdxBarScreenTipRepository : public TComponent {
  DECLARE_CLASS(TdxBarScreenTipRepository, TComponent)
public:
  explicit TdxBarScreenTipRepository(TComponent* AOwner);
  ~TdxBarScreenTipRepository() override;
  void Assign(TPersistent* Source) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

  TdxBarScreenTipBandTypes GetAssignedFonts() const { return FAssignedFonts; }
  void SetAssignedFonts(TdxBarScreenTipBandTypes Value) { FAssignedFonts = Value; }
  TFont* GetHeaderFont() const { return FFonts[stbHeader].get(); }
  void SetHeaderFont(TFont* Value) { FFonts[stbHeader]->Assign(Value); }
  TFont* GetDescriptionFont() const { return FFonts[stbDescription].get(); }
  void SetDescriptionFont(TFont* Value) { FFonts[stbDescription]->Assign(Value); }
  TFont* GetFooterFont() const { return FFonts[stbFooter].get(); }
  void SetFooterFont(TFont* Value) { FFonts[stbFooter]->Assign(Value); }
  TdxBarScreenTipCollection* GetItems() const { return FItems.get(); }
  void SetItems(TdxBarScreenTipCollection* Value);
  bool GetShowDescription() const { return FShowDescription; }
  void SetShowDescription(bool Value) { FShowDescription = Value; }
  TdxBarScreenTipFooterBand* GetStandardFooter() const { return FStandardFooter.get(); }
  void SetStandardFooter(TdxBarScreenTipFooterBand* Value) { FStandardFooter->Assign(Value); }

  // The band type's own font when assigned, else the hint font in 0x4C4C4C (bold for
  // the header and footer); copied into AFont.
  virtual void GetFont(TdxBarScreenTipBandType ABandType, TFont* AFont) const;

protected:
  virtual std::unique_ptr<TdxBarScreenTipCollection> CreateItems();

private:
  bool IsHeaderFontStored() const { return FAssignedFonts.Contains(stbHeader); }
  bool IsDescriptionFontStored() const { return FAssignedFonts.Contains(stbDescription); }
  bool IsFooterFontStored() const { return FAssignedFonts.Contains(stbFooter); }
  void FontChanged(TObject* Sender);

  TdxBarScreenTipBandTypes FAssignedFonts;
  std::unique_ptr<TFont> FFonts[3];
  std::unique_ptr<TdxBarScreenTipCollection> FItems;
  bool FShowDescription = true;
  std::unique_ptr<TdxBarScreenTipFooterBand> FStandardFooter;
};
