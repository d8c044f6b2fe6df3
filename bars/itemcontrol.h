// The visual object of one shown item link: it measures itself for its bar window's layout,
// keeps its hot, selected and pressed state, draws through the painter and turns the
// user's clicks into item clicks. A plain object, not a window.
#pragma once

#include "bars/itemtypes.h"
#include "platform/System.h"

class TCustomdxBarControl;
class TdxBarItem;
class TdxBarItemLink;
class TdxBarManager;

class TdxBarItemControl : public TObject {
  DECLARE_CLASS(TdxBarItemControl, TObject)
public:
  // Built through the class the item-kind register names for the link's item.
  using TFactoryOwner = TdxBarItemLink;
  explicit TdxBarItemControl(TdxBarItemLink* AItemLink);
  ~TdxBarItemControl() override;

  TdxBarItemLink* GetItemLink() const { return FItemLink; }
  TdxBarItem* GetItem() const;
  TCustomdxBarControl* GetParent() const { return FParent; }
  TdxBarManager* GetBarManager() const;
  // The item's alignment when the bar window aligns this control, else iaLeft.
  TdxBarItemAlign GetAlignment() const;
  // The control is its bar window's selected control.
  bool GetSelected() const;

  // What the item and the link tell the control.
  virtual void BeginGroupChanged();
  virtual void CaptionChanged();
  virtual void EnabledChanged();
  virtual void GlyphChanged();
  virtual void HotGlyphChanged() {}
  virtual void LargeGlyphChanged();
  virtual void PaintStyleChanged() {}
  virtual void VisibleChanged();
  virtual void WidthChanged();
  virtual void RecalcAndRepaint();
  virtual void Repaint();
  // The link asks the control to bring itself up to date.
  virtual void Update();
  // Re-reads the item's style (colour brush, font height).
  virtual void ApplyStyle();
  // The prepared image is stale (enabling or glyph changed).
  void DropCachedImage();
  // The sizes measured per view level are stale (glyph changed).
  void ClearCachedSizes();
  // Recomputes the draw parameters (all of them with Full) and the part rectangles.
  virtual void CalcDrawParams(bool AFull = true);
  virtual void CalcParts();
  virtual bool CanSelect() const;

private:
  TdxBarItemLink* FItemLink;
  TCustomdxBarControl* FParent;
};
