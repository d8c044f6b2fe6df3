// Groups of a bar manager: named bundles of items and other groups whose Enabled and
// Visible act on every member. They stream as children of the manager, their members as
// the stored list of names "Items".
#pragma once

#include <memory>
#include <vector>

#include "bars/model/components.h"

class TdxBarGroup : public TdxBarComponent {
  DECLARE_CLASS(TdxBarGroup, TdxBarComponent)
public:
  explicit TdxBarGroup(TComponent* AOwner);
  ~TdxBarGroup() override;

  // Appends a member; nil or a present member is ignored. Raises "You cannot create
  // recursive groups" for the group itself or a group that contains it at any depth, and
  // the members stay as they were.
  void Add(TdxBarComponent* AComponent);
  void Remove(TdxBarComponent* AComponent);
  // Moves the member at ACurIndex to ANewIndex; indexes out of range change nothing.
  void Move(int ACurIndex, int ANewIndex);
  // -1 when absent.
  int IndexOf(TdxBarComponent* AComponent) const;
  // While form data is still loading: the number of member names read.
  int GetCount() const;
  // Nil out of range.
  TdxBarComponent* GetItem(int Index) const;
  // Whether AComponent is a member, directly or through member groups.
  bool Contains(TdxBarComponent* AComponent) const;

  // Setting them sets every member's too, under the manager's update lock.
  bool GetEnabled() const override { return FEnabled; }
  void SetEnabled(bool Value) override;
  TdxBarItemVisible GetVisible() const override { return FVisible; }
  void SetVisible(TdxBarItemVisible Value) override;

  // The position in the manager's group register (-1 without a manager); setting moves it.
  int GetIndex() const;
  void SetIndex(int Value);

  // Streaming: a child of its manager.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  void DefineProperties(TFiler* Filer) override;
  void Loaded() override;
  void SetName(const String& NewName) override;

private:
  friend class TdxBarManager;
  // Joins the manager's group register (leaving another manager's).
  void SetManager(TdxBarManager* AManager);
  bool IsInternalChange() const;
  // The component a member name stands for; nil when none or not a bar component.
  TdxBarComponent* FindMember(const String& AName) const;
  // Adds the components the names stand for, skipping unknown names and members that
  // would make the groups recursive.
  void AddByNames(const std::vector<String>& Names);
  std::vector<String> MemberNames() const;
  void ReadItems(TReader* Reader);
  void WriteItems(TWriter* Writer);

  bool FEnabled = true;
  TdxBarItemVisible FVisible = ivAlways;
  std::unique_ptr<TdxBarComponentList> FItems;
  // Member names read from form data, resolved in Loaded.
  std::unique_ptr<std::vector<String>> FLoadedNames;
};
