// The form the random input plays over: every kind of bar, menu and item the library has.
#include "RandomTestUtil.h"

#include <initializer_list>
#include <memory>
#include <vector>

#include "bars/model/bar.h"
#include "bars/itemcontrols/buttons.h"
#include "bars/itemcontrols/combos.h"
#include "bars/itemcontrols/labels.h"
#include "bars/itemcontrols/subitems.h"
#include "platform/Bitmap.h"
#include "platform/ExtCtrls.h"
#include "platform/ImgList.h"
#include "platform/Menus.h"
#include "platform/StdCtrls.h"

IMPLEMENT_CLASS(TRandomForm, TForm)

namespace {

// Sits beneath a control's popup-menu link in its window procedure and drops a context menu
// asked of the control while one is being shown for a control of the form: the road on which
// the link calls itself for ever today, kept out of runs that do not ask for it.
class TNestedContextMenuGate : public TObject {
public:
  explicit TNestedContextMenuGate(TControl* AControl) : FOriginal(AControl->GetWindowProc())
  {
    AControl->SetWindowProc(TWndMethod(this, &TNestedContextMenuGate::WndProc));
  }

private:
  void WndProc(TMessage& AMessage)
  {
    if (AMessage.Msg != WM_CONTEXTMENU) {
      FOriginal(AMessage);
      return;
    }
    if (Depth > 0) {
      LogEvent("  (kept out: a context menu asked while another one is shown)");
      return;
    }
    ++Depth;
    struct TLeave {
      ~TLeave() { --Depth; }
    } leave;
    FOriginal(AMessage);
  }

  static inline int Depth = 0;
  TWndMethod FOriginal;
};

// The gates of the form being played; a form's controls may call theirs until it is freed.
std::vector<std::unique_ptr<TNestedContextMenuGate>> Gates;

// Builds the form's components, each in the category it is listed under in the Customize dialog.
class TFormBuilder {
public:
  TFormBuilder(TRandomForm* AForm, TdxBarManager* AManager) : FForm(AForm), FManager(AManager) {}

  int Category(const String& AName)
  {
    FManager->GetCategories()->Add(AName);
    return FManager->GetCategories()->Count() - 1;
  }

  template <class T>
  T* Item(const String& ACaption, int ACategory)
  {
    auto* item = new T(FForm);
    item->SetCaption(ACaption);
    item->SetCategory(ACategory);
    return item;
  }

  TdxBarButton* Button(const String& ACaption, int ACategory, int AImage = -1, TShortCut AShortCut = 0)
  {
    auto* button = Item<TdxBarButton>(ACaption, ACategory);
    button->SetImageIndex(AImage);
    button->SetHint(ACaption + L"|Does what " + ACaption + L" says");
    if (AShortCut)
      button->SetShortCut(AShortCut);
    return button;
  }

  TdxBarSubItem* SubItem(const String& ACaption, int ACategory, std::initializer_list<TdxBarItem*> AItems)
  {
    auto* sub = Item<TdxBarSubItem>(ACaption, ACategory);
    Add(sub->GetItemLinks(), AItems);
    return sub;
  }

  // A null entry starts a group with the next item.
  static void Add(TdxBarItemLinks* ALinks, std::initializer_list<TdxBarItem*> AItems)
  {
    bool group = false;
    for (TdxBarItem* item : AItems) {
      if (!item) {
        group = true;
        continue;
      }
      ALinks->AddItem(item)->SetBeginGroup(group);
      group = false;
    }
  }

  TdxBar* Bar(const String& ACaption, TdxBarDockingStyle ADocking, int ARow, std::initializer_list<TdxBarItem*> AItems)
  {
    TdxBar* bar = FManager->GetBars()->Add();
    bar->SetCaption(ACaption);
    bar->SetDockingStyle(ADocking);
    bar->SetRow(ARow);
    Add(bar->GetItemLinks(), AItems);
    return bar;
  }

  TdxBarPopupMenu* PopupMenu(std::initializer_list<TdxBarItem*> AItems)
  {
    auto* menu = new TdxBarPopupMenu(FForm);
    Add(menu->GetItemLinks(), AItems);
    return menu;
  }

  void LinkPopup(TControl* AControl, TdxBarPopupMenu* AMenu)
  {
    TdxBarPopupMenuLink* link = FManager->GetPopupMenuLinks()->Add();
    link->SetControl(AControl);
    link->SetPopupMenu(AMenu);
  }

private:
  TRandomForm* FForm;
  TdxBarManager* FManager;
};

TImageList* SmallImages(TComponent* AOwner)
{
  auto* images = new TImageList(AOwner);
  images->SetSize(16, 16);
  for (TColor color :
       {TColor(RGB(40, 90, 200)), TColor(RGB(40, 160, 60)), TColor(RGB(200, 60, 40)), TColor(RGB(220, 180, 30))}) {
    TBitmap square;
    square.SetSize(16, 16);
    square.GetCanvas()->GetBrush()->SetColor(clFuchsia);
    square.GetCanvas()->FillRect(TRect{0, 0, 16, 16});
    square.GetCanvas()->GetBrush()->SetColor(color);
    square.GetCanvas()->FillRect(TRect{2, 2, 14, 14});
    images->AddMasked(&square, clFuchsia);
  }
  return images;
}

// The extra kinds: a toolbar of pickers, a toolbar of statics, lists and a hosted control,
// and the pickers again in the Format menu.
void AddExtras(TFormBuilder& ABuild, TRandomForm* AForm, TImageList* AImages, TdxBarSubItem* AFormatMenu,
               TdxBarSubItem* AViewMenu, TdxBarSubItem* AFileMenu)
{
  const int format = ABuild.Category(L"Format");
  auto* large = ABuild.Item<TdxBarLargeButton>(L"Large", format);
  large->SetImageIndex(2);
  auto* spin = ABuild.Item<TdxBarSpinEdit>(L"Size", format);
  spin->SetWidth(60);
  spin->SetMaxValue(72);
  spin->SetValue(12);
  auto* date = ABuild.Item<TdxBarDateCombo>(L"Date", format);
  date->SetWidth(100);
  auto* color = ABuild.Item<TdxBarColorCombo>(L"Colour", format);
  color->SetWidth(100);
  auto* font = ABuild.Item<TdxBarFontNameCombo>(L"Font", format);
  font->SetWidth(110);
  auto* tree = ABuild.Item<TdxBarTreeViewCombo>(L"Folder", format);
  tree->SetWidth(100);
  TTreeNode* root = tree->GetItems()->AddChild(nullptr, L"Songs");
  root->SetImageIndex(0);
  tree->GetItems()->AddChild(root, L"Imported")->SetImageIndex(1);
  tree->GetItems()->AddChild(root, L"Mixed")->SetImageIndex(2);
  tree->SetComboImages(AImages);
  auto* image = ABuild.Item<TdxBarImageCombo>(L"Mark", format);
  image->SetWidth(90);
  for (const wchar_t* text : {L"Blue", L"Green", L"Red"})
    image->GetItems()->Add(text);
  for (int i = 0; i < 3; ++i)
    image->SetImageIndexes(i, i);
  image->SetComboImages(AImages);
  image->SetItemIndex(0);
  ABuild.Bar(L"Pickers", dsTop, 2, {large, spin, date, color, font, tree, image})->SetVisible(true);
  ABuild.Add(AFormatMenu->GetItemLinks(), {nullptr, spin, date, color, font, tree, image});

  const int extras = ABuild.Category(L"Extras");
  auto* label = ABuild.Item<TdxBarStatic>(L"Ready", extras);
  label->SetBorderStyle(sbsLowered);
  auto* progress = ABuild.Item<TdxBarProgressItem>(L"Progress", extras);
  progress->SetWidth(80);
  progress->SetPosition(40);
  auto* check = new TCheckBox(AForm);
  check->SetCaption(L"Auto");
  check->SetBounds(0, 0, 54, 18);
  auto* host = ABuild.Item<TdxBarControlContainerItem>(L"Auto", extras);
  host->SetControl(check);
  auto* toolbars = ABuild.Item<TdxBarToolbarsListItem>(L"Toolbars", extras);
  auto* recent = ABuild.Item<TdxBarMRUListItem>(L"Recent", extras);
  for (const wchar_t* file : {L"C:\\Songs\\intro.mid", L"C:\\Songs\\chorus.mid", L"C:\\Songs\\bridge.mid"})
    recent->AddItem(file);
  auto* more = ABuild.Item<TdxBarInPlaceSubItem>(L"More", extras);
  ABuild.Add(more->GetItemLinks(), {ABuild.Button(L"Rescan", extras, 3), ABuild.Button(L"Forget", extras)});
  ABuild.Bar(L"Extras", dsTop, 3, {label, progress, host, toolbars, recent, more})->SetVisible(true);
  ABuild.Add(AViewMenu->GetItemLinks(), {nullptr, toolbars, more});
  ABuild.Add(AFileMenu->GetItemLinks(), {nullptr, recent});
}

}  // namespace

TRandomForm* BuildRandomForm(TdxBarManagerStyle ALook, const TRandomOptions& AOptions)
{
  // The previous form is freed, and its gates with it.
  Gates.clear();
  auto* form = TCustomForm::CreateNew<TRandomForm>(nullptr);
  form->SetCaption(L"Random input");
  form->SetBounds(60, 40, 760, 480);
  auto* manager = new TdxBarManager(form);
  manager->SetStyle(ALook);
  manager->SetCanCustomize(AOptions.Customize);
  manager->SetShowHint(true);
  TImageList* images = SmallImages(form);
  manager->SetImages(images);
  TFormBuilder build(form, manager);

  const int file = build.Category(L"File");
  const int edit = build.Category(L"Edit");
  const int view = build.Category(L"View");
  TdxBarButton* newFile = build.Button(L"&New", file, 0, ShortCut('N', {ssCtrl}));
  TdxBarButton* open = build.Button(L"&Open...", file, 1, ShortCut('O', {ssCtrl}));
  TdxBarButton* save = build.Button(L"&Save", file, 2, ShortCut('S', {ssCtrl}));
  TdxBarSubItem* recentFiles =
      build.SubItem(L"&Recent", file, {build.Button(L"intro.mid", file), build.Button(L"chorus.mid", file)});
  TdxBarSubItem* fileMenu = build.SubItem(L"&File", file, {newFile, open, save, nullptr, recentFiles});

  TdxBarButton* cut = build.Button(L"Cu&t", edit, 3, ShortCut('X', {ssCtrl}));
  TdxBarButton* copy = build.Button(L"&Copy", edit, 0, ShortCut('C', {ssCtrl}));
  TdxBarButton* paste = build.Button(L"&Paste", edit, 1, ShortCut('V', {ssCtrl}));
  paste->SetEnabled(false);
  TdxBarSubItem* replace =
      build.SubItem(L"&Replace", edit, {build.Button(L"&Once", edit), build.Button(L"&All", edit)});
  TdxBarSubItem* find = build.SubItem(L"&Find", edit, {build.Button(L"Find &Next", edit), replace});
  auto* heading = build.Item<TdxBarSeparator>(L"Clipboard", edit);
  TdxBarSubItem* editMenu = build.SubItem(L"&Edit", edit, {heading, cut, copy, paste, nullptr, find});

  auto* ruler = build.Button(L"&Ruler", view);
  ruler->SetButtonStyle(bsChecked);
  ruler->SetDown(true);
  auto* grid = build.Button(L"&Grid", view);
  grid->SetButtonStyle(bsChecked);
  auto* left = build.Button(L"Align &Left", view, 2);
  left->SetButtonStyle(bsChecked);
  left->SetGroupIndex(1);
  left->SetDown(true);
  auto* right = build.Button(L"Align &Right", view, 3);
  right->SetButtonStyle(bsChecked);
  right->SetGroupIndex(1);
  TdxBarSubItem* viewMenu = build.SubItem(L"&View", view, {ruler, grid, nullptr, left, right});
  TdxBarSubItem* formatMenu = build.SubItem(L"F&ormat", view, {left, right});

  auto* name = build.Item<TdxBarEdit>(L"Name", edit);
  name->SetWidth(90);
  name->SetText(L"Song");
  auto* kind = build.Item<TdxBarCombo>(L"Kind", edit);
  kind->SetWidth(90);
  for (const wchar_t* text : {L"Melody", L"Rhythm", L"Bass", L"Drums"})
    kind->GetItems()->Add(text);
  kind->SetItemIndex(0);
  auto* list = build.Item<TdxBarListItem>(L"Windows", view);
  for (const wchar_t* text : {L"Score", L"Mixer", L"Lyrics"})
    list->GetItems()->Add(text);
  list->SetShowCheck(true);
  auto* container = build.Item<TdxBarContainerItem>(L"Clipboard", edit);
  build.Add(container->GetItemLinks(), {cut, copy, paste});

  // A drop-down button whose menu is a popup menu of its own.
  auto* drop = build.Button(L"Insert", edit, 1);
  drop->SetButtonStyle(bsDropDown);
  drop->SetDropDownMenu(
      build.PopupMenu({build.Button(L"Note", edit), build.Button(L"Rest", edit), nullptr,
                       build.SubItem(L"Chord", edit, {build.Button(L"Major", edit), build.Button(L"Minor", edit)})}));

  TdxBar* mainMenu = build.Bar(L"Main Menu", dsTop, 0, {fileMenu, editMenu, viewMenu, formatMenu, list, container});
  mainMenu->SetIsMainMenu(true);
  mainMenu->SetWholeRow(true);
  mainMenu->SetVisible(true);
  build.Bar(L"Standard", dsTop, 1, {newFile, open, save, nullptr, cut, copy, paste, nullptr, drop, ruler, name, kind})
      ->SetVisible(true);
  build.Bar(L"Views", dsLeft, 0, {left, right, nullptr, find, recentFiles})->SetVisible(true);
  TdxBar* floating = build.Bar(L"Tools", dsNone, 0, {grid, build.Button(L"Tune", view, 0), name});
  floating->SetFloatLeft(form->GetLeft() + 480);
  floating->SetFloatTop(form->GetTop() + 300);
  if (AOptions.Extras)
    AddExtras(build, form, images, formatMenu, viewMenu, fileMenu);

  // A panel with its own popup menu, an edit beside it, and the form's popup menu over the rest.
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(140, 260, 220, 110);
  panel->SetCaption(L"Panel");
  auto* field = new TEdit(form);
  field->SetParent(form);
  field->SetBounds(400, 300, 150, 24);
  if (!AOptions.NestedContextMenus)
    for (TControl* control : std::initializer_list<TControl*>{panel, form})
      Gates.push_back(std::make_unique<TNestedContextMenuGate>(control));
  TdxBarPopupMenu* panelMenu = build.PopupMenu(
      {cut, copy, paste, nullptr,
       build.SubItem(L"Arrange", view, {left, right, build.SubItem(L"Order", view, {ruler, grid})}), name});
  build.LinkPopup(panel, panelMenu);
  TdxBarPopupMenu* formMenu = build.PopupMenu({newFile, open, nullptr, viewMenu, kind});
  build.LinkPopup(form, formMenu);
  floating->SetVisible(true);
  return form;
}
