// The image combo: a list combo whose entries each show an image of an image list, with or
// without their text, and a modal select window when the item is clicked instead of edited.
// Model (TdxBarImageCombo) and item control (TdxBarImageComboControl).
#pragma once

#include <memory>

#include "barextras/extitems.h"  // the unit starts with any of its kinds
#include "bars/itemcontrols/combos.h"
#include "platform/ImgList.h"

// The room a combo control leaves around the images of its edit area: its frame.
inline constexpr int dxBarComboControlImagePadding = 6;

class TdxBarImageCombo : public TdxBarCustomCombo {
  DECLARE_CLASS(TdxBarImageCombo, TdxBarCustomCombo)
public:
  explicit TdxBarImageCombo(TComponent* AOwner);
  ~TdxBarImageCombo() override;

  // "ImageIndexes": one integer per entry, always written; extra values are ignored.
  void DefineProperties(TFiler* Filer) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Without a handler or a read-only text, the select window picks the entry.
  void DoClick() override;

  // --- Entries: the image beside (or instead of) the text; without Images, or with an
  // OnDrawItem handler, the plain combo's drawing.
  void DrawItem(TCanvas* ACanvas, int AIndex, const TRect& R, TOwnerDrawState AState) override;
  void MeasureItem(int AIndex, int& AHeight) override;
  void MeasureItemWidth(int AIndex, int& AWidth) override;
  // The closed combo shows its current entry as the list does.
  void DrawInterior(TcxCanvas* ACanvas, const TRect& R, const TdxBarItemLink* ALink) override;

  // The image of entry AIndex: -1 for an entry without one or an index out of range.
  int GetImageIndexes(int AIndex) const;
  // Ignored for an index out of range; values below -1 mean no image.
  void SetImageIndexes(int AIndex, int Value);

  // Shows the modal select window; true when the user chose an entry with OK.
  bool SelectItem();

  // --- Properties. Images is published under its own name; the accessors keep apart from
  // the item's GetImages, the manager's list its glyph is drawn from.
  TCustomImageList* GetComboImages() const { return FImages; }
  void SetComboImages(TCustomImageList* Value);
  bool GetShowText() const { return FShowText; }
  void SetShowText(bool Value);

private:
  void ImagesChanged(TObject* Sender);
  void RefreshControls();
  void ReadImageIndexes(TReader* Reader);
  void WriteImageIndexes(TWriter* Writer);
  // The image's place in R: centred vertically; left or centred horizontally.
  TRect ImageRect(const TRect& R) const;

  std::unique_ptr<TChangeLink> FImageChangeLink;
  TCustomImageList* FImages = nullptr;
  bool FShowText = true;
};

class TdxBarImageComboControl : public TdxBarComboControl {
  DECLARE_CLASS(TdxBarImageComboControl, TdxBarComboControl)
public:
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarImageComboControl(TdxBarItemLink* AItemLink) : TdxBarComboControl(AItemLink) {}

  TdxBarImageCombo* GetImageCombo() const;
  // Tall enough for an image and the edit's frame.
  int GetHeight() override;
  // Re-measures and repaints through the bar window (the images changed).
  void Refresh();
};
