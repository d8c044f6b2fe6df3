// The sub-menu editor: a caption-only window under which the menu of a popup menu's or a
// sub-item's links is opened for customising. The menu moves with it; closing either
// closes both. One editor exists at a time.
#pragma once

#include "platform/Forms.h"

class TdxBarItemLinks;
class TdxBarSubMenuControl;

class TdxBarSubMenuEditor : public TForm {
  DECLARE_CLASS(TdxBarSubMenuEditor, TForm)
public:
  explicit TdxBarSubMenuEditor(TComponent* AOwner) : TForm(AOwner) {}

  // Handlers bound by name from the form data.
  void FormActivate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDestroy(TObject* Sender);

  TdxBarItemLinks* GetItemLinks() const { return LinksAlive() ? FItemLinks : nullptr; }
  // Edits other links: the menu of the previous ones closes. Nil closes the editor.
  void SetItemLinks(TdxBarItemLinks* Value);
  // The open menu window of the links; nil when none.
  TdxBarSubMenuControl* GetMenuControl() const;
  // Opens the links' menu below the editor unless it is open, or an item being dragged
  // could not go into these links anyway.
  void OpenMenu();

protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  // Whether the links' owner still lives (an owner that is no component cannot tell when it goes).
  bool LinksAlive() const { return FItemLinks && FLinksOwnerRef.Alive(); }
  void CloseMenu();
  void FollowWithMenu();
  void WatchLinksOwner(TComponent* AOwner);

  TdxBarItemLinks* FItemLinks = nullptr;
  // The links live as long as their owner; its free notification says when they go.
  TComponent* FLinksOwner = nullptr;
  TWeakRef<TObject> FLinksOwnerRef;
  int FMenuWidth = 0;
};

// Opens the editor for AItemLinks (the links' manager starts customizing), making it when
// there is none; nil links close it.
void ShowSubMenuEditor(TdxBarItemLinks* AItemLinks);
// The editor now open; nil when none.
TdxBarSubMenuEditor* GetSubMenuEditorForm();
