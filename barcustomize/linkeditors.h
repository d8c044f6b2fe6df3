// The link editors: small class-level commands that make a new item of one kind in the
// manager and link it into a bar or menu beside the link they were asked from. Model layer
// of the customizing units.
#pragma once

#include <vector>

#include "platform/Classes.h"

class TdxBarItem;
class TdxBarItemLink;
class TdxBarItemLinks;

class TdxBarControlEditor : public TObject {
  DECLARE_CLASS(TdxBarControlEditor, TObject)
public:
  TdxBarControlEditor() = default;
  // The kind of item made, the entry's caption, and the kind a new sub-item's own links
  // offer in turn.
  virtual TClass GetItemClass() const;
  virtual String GetCaption() const;
  virtual TClass GetInnerItemClass() const;
  // Called with the new link before the manager's update ends.
  virtual void PrepareLink(TdxBarItemLink* ALink) const {}
  // Makes an item of AItemClass (nil: the editor's own) in the "Default" category and links
  // it right after ATargetLink (at the end when it is nil or not in ALinks). The new item,
  // or nil when nothing could be made.
  TdxBarItem* Execute(TdxBarItemLinks* ALinks, TdxBarItemLink* ATargetLink, TClass AItemClass = nullptr) const;
};

class TdxAddSubItemEditor : public TdxBarControlEditor {
  DECLARE_CLASS(TdxAddSubItemEditor, TdxBarControlEditor)
public:
  TdxAddSubItemEditor() = default;
  TClass GetItemClass() const override;
  String GetCaption() const override;
};

class TdxAddButtonEditor : public TdxBarControlEditor {
  DECLARE_CLASS(TdxAddButtonEditor, TdxBarControlEditor)
public:
  TdxAddButtonEditor() = default;
  TClass GetItemClass() const override;
  String GetCaption() const override;
};

class TdxAddSeparatorEditor : public TdxBarControlEditor {
  DECLARE_CLASS(TdxAddSeparatorEditor, TdxBarControlEditor)
public:
  TdxAddSeparatorEditor() = default;
  TClass GetItemClass() const override;
  String GetCaption() const override;
};

// One entry per registered item kind, captioned with the kind's class name.
class TdxItemsEditorEx : public TdxBarControlEditor {
  DECLARE_CLASS(TdxItemsEditorEx, TdxBarControlEditor)
public:
  TdxItemsEditorEx() = default;
  String GetCaption() const override;
  TClass GetInnerItemClass() const override;
  // The kinds the Customize dialog lists, in registration order.
  static std::vector<TClass> ItemClasses();
};
