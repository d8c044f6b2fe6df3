// Tasks: a small complete program on the bar library. A main form built in code holds a list of
// tasks; a main menu, a toolbar with glyphs and shortcuts, a popup menu on the list and a status
// bar drive it; the five looks are a menu away; the bars' layout and the look are kept in an ini
// file beside the program. Every step a program takes is here once: start-up and shut-down, the
// form, the manager, commands, bars, the popup, and the layout saved and restored.
#include "barextras/dxBarExtItems.h"
#include "bars/dxBar.h"
#include "platform/ExtCtrls.h"
#include "platform/Forms.h"
#include "platform/ImgList.h"
#include "platform/IniFiles.h"
#include "platform/Menus.h"
#include "platform/StdCtrls.h"

namespace {

// Glyph positions in the resource's picture strip (glyphs.bmp, 16 x 16 each).
enum { glyphAdd, glyphDelete, glyphSort, glyphDone };

class TTasksForm : public TForm {
  DECLARE_CLASS(TTasksForm, TForm)
public:
  explicit TTasksForm(TComponent* AOwner) : TForm(AOwner) {}

  void Build()
  {
    SetName(L"TasksForm");
    SetCaption(L"Tasks");
    SetBounds(120, 80, 560, 400);
    OnClose = TCloseEvent(this, &TTasksForm::FormClose);

    // The manager must exist before the items: an item joins the manager of its owner's form
    // when it is made.
    FManager = new TdxBarManager(this);
    FManager->GetCategories()->Add(L"Tasks");
    FManager->GetCategories()->Add(L"View");
    auto* glyphs = new TImageList(this);
    TBitmap strip;
    strip.LoadFromResourceName(uintptr_t(::GetModuleHandleW(nullptr)), L"GLYPHS");
    glyphs->AddMasked(&strip, clDefault);  // the bottom-left pixel's colour is see-through
    FManager->SetImages(glyphs);

    FList = new TListBox(this);
    FList->SetParent(this);
    FList->SetAlign(alClient);

    // Commands: each needs a name (the stored layout finds it by that) and a category (the
    // Customize dialog lists commands by category).
    TdxBarButton* add = Command(L"cmdAdd", L"&Add", glyphAdd, L"Ctrl+N", &TTasksForm::AddClick);
    TdxBarButton* remove = Command(L"cmdDelete", L"&Delete", glyphDelete, L"Del", &TTasksForm::DeleteClick);
    TdxBarButton* done = Command(L"cmdDone", L"&Mark Done", glyphDone, L"Ctrl+D", &TTasksForm::DoneClick);
    TdxBarButton* sort = Command(L"cmdSort", L"&Sort", glyphSort, L"Ctrl+S", &TTasksForm::SortClick);
    TdxBarButton* exit = Command(L"cmdExit", L"E&xit", -1, L"", &TTasksForm::ExitClick);
    FNewTask = new TdxBarEdit(this);
    FNewTask->SetName(L"edtNewTask");
    FNewTask->SetCaption(L"New task:");
    FNewTask->SetCategory(0);
    FNewTask->SetShowCaption(true);
    FNewTask->SetWidth(140);

    TdxBarSubItem* taskMenu = Menu(L"mnuTask", L"&Task", {add, remove, done, sort, exit});
    taskMenu->GetItemLinks()->Items(4)->SetBeginGroup(true);
    MakeLookCommands();
    TdxBarSubItem* viewMenu = Menu(L"mnuView", L"&View", {FLooks[0], FLooks[1], FLooks[2], FLooks[3], FLooks[4]});

    // Bars are hidden until made visible, so that a program can fill one before it shows.
    TdxBar* mainMenu = AddBar(L"Main Menu", 0, {taskMenu, viewMenu});
    mainMenu->SetIsMainMenu(true);
    TdxBar* toolbar = AddBar(L"Standard", 1, {FNewTask, add, remove, done, sort});
    toolbar->GetItemLinks()->Items(1)->SetBeginGroup(true);

    // A status bar is a bar without a border, docked at the bottom on a row of its own.
    FStatus = new TdxBarStatic(this);
    FStatus->SetName(L"stcCount");
    FStatus->SetAlignment(taLeftJustify);
    FStatus->SetWidth(200);
    TdxBar* status = AddBar(L"Status", 0, {FStatus});
    status->SetDockingStyle(dsBottom);
    status->SetBorderStyle(bbsNone);
    status->SetWholeRow(true);
    status->SetUseRestSpace(true);
    status->SetAllowClose(false);
    status->SetShowMark(false);

    // The popup menu opens on a right click in the list (or the Menu key while it has focus).
    auto* popup = new TdxBarPopupMenu(this);
    for (TdxBarItem* item : std::initializer_list<TdxBarItem*>{done, remove})
      popup->GetItemLinks()->AddItem(item);
    TdxBarPopupMenuLink* popupLink = FManager->GetPopupMenuLinks()->Add();
    popupLink->SetControl(FList);
    popupLink->SetPopupMenu(popup);

    LoadSettings();
    ShowCount();
  }

private:
  TdxBarButton* Command(const String& Name, const String& Caption, int Glyph, const String& Keys,
                        void (TTasksForm::*Handler)(TObject*))
  {
    auto* button = new TdxBarButton(this);
    button->SetName(Name);
    button->SetCaption(Caption);
    button->SetCategory(0);
    button->SetImageIndex(Glyph);
    button->SetHint(dxBarStripCaption(Caption));
    if (!Keys.empty())
      button->SetShortCut(TextToShortCut(Keys));
    button->SetOnClick(TNotifyEvent(this, Handler));
    return button;
  }

  TdxBarSubItem* Menu(const String& Name, const String& Caption, std::initializer_list<TdxBarItem*> Items)
  {
    auto* menu = new TdxBarSubItem(this);
    menu->SetName(Name);
    menu->SetCaption(Caption);
    menu->SetCategory(0);
    for (TdxBarItem* item : Items)
      menu->GetItemLinks()->AddItem(item);
    return menu;
  }

  TdxBar* AddBar(const String& Caption, int Row, std::initializer_list<TdxBarItem*> Items)
  {
    TdxBar* bar = FManager->GetBars()->Add();
    bar->SetCaption(Caption);
    bar->SetDockingStyle(dsTop);
    bar->SetRow(Row);
    for (TdxBarItem* item : Items)
      bar->GetItemLinks()->AddItem(item);
    bar->SetVisible(true);
    return bar;
  }

  // One checked button per look, grouped so that one is down at a time.
  void MakeLookCommands()
  {
    static const wchar_t* const names[] = {L"Standard", L"Enhanced", L"Flat", L"XP", L"Office 2003"};
    for (int i = 0; i < 5; ++i) {
      auto* look = new TdxBarButton(this);
      look->SetName(L"cmdLook" + IntToStr(i));
      look->SetCaption(names[i]);
      look->SetCategory(1);
      look->SetButtonStyle(bsChecked);
      look->SetGroupIndex(1);
      look->SetTag(i);
      look->SetOnClick(TNotifyEvent(this, &TTasksForm::LookClick));
      FLooks[i] = look;
    }
  }

  void ShowCount() { FStatus->SetCaption(IntToStr(FList->GetItems()->Count()) + L" tasks"); }

  void AddClick(TObject*)
  {
    String text = FNewTask->GetText();
    if (text.empty())
      text = L"Task " + IntToStr(FList->GetItems()->Count() + 1);
    FList->GetItems()->Add(text);
    FNewTask->SetText(String());
    ShowCount();
  }

  void DeleteClick(TObject*)
  {
    int index = FList->GetItemIndex();
    if (index >= 0)
      FList->GetItems()->Delete(index);
    ShowCount();
  }

  void DoneClick(TObject*)
  {
    int index = FList->GetItemIndex();
    if (index >= 0 && FList->GetItems()->Strings(index).rfind(L"(done) ", 0) != 0)
      FList->GetItems()->SetStrings(index, L"(done) " + FList->GetItems()->Strings(index));
  }

  void SortClick(TObject*)
  {
    TStringList sorted;
    sorted.Assign(FList->GetItems());
    sorted.Sort();
    FList->GetItems()->Assign(&sorted);
  }
  void ExitClick(TObject*) { Close(); }

  void LookClick(TObject* Sender)
  {
    auto* look = static_cast<TdxBarButton*>(Sender);
    look->SetDown(true);
    FManager->SetStyle(TdxBarManagerStyle(look->Tag()));
  }

  // The menu's place of the manager's look (a look the menu does not offer shows as the first).
  int LookIndex() const
  {
    int style = int(FManager->GetStyle());
    return style >= 0 && style <= 4 ? style : 0;
  }

  String SettingsFile() const { return ChangeFileExt(Application->GetExeName(), L".ini"); }

  // The layout first, the look after it: loading a layout keeps the manager's style.
  void LoadSettings()
  {
    if (!FileExists(SettingsFile()))
      return FLooks[LookIndex()]->SetDown(true);  // the manager's own look until one is chosen
    FManager->LoadFromIniFile(SettingsFile());
    TMemIniFile ini(SettingsFile());
    int look = ini.ReadInteger(L"Tasks", L"Look", LookIndex());
    if (look < 0 || look > 4)
      look = LookIndex();
    FLooks[look]->Click();
    TStringList tasks;
    ini.ReadSectionValues(L"Tasks.List", &tasks);
    for (int i = 0; i < tasks.Count(); ++i)
      FList->GetItems()->Add(tasks.ValueFromIndex(i));
  }

  void FormClose(TObject*, TCloseAction&)
  {
    FManager->SaveToIniFile(SettingsFile());
    TMemIniFile ini(SettingsFile());
    ini.WriteInteger(L"Tasks", L"Look", int(FManager->GetStyle()));
    ini.EraseSection(L"Tasks.List");
    for (int i = 0; i < FList->GetItems()->Count(); ++i)
      ini.WriteString(L"Tasks.List", IntToStr(i), FList->GetItems()->Strings(i));
    ini.UpdateFile();
  }

  TdxBarManager* FManager = nullptr;
  TListBox* FList = nullptr;
  TdxBarEdit* FNewTask = nullptr;
  TdxBarStatic* FStatus = nullptr;
  TdxBarButton* FLooks[5] = {};
};

IMPLEMENT_CLASS(TTasksForm, TForm)

}  // namespace

int main()
{
  // The class layer first, then the bar library; shut down in the reverse order.
  InitializeForms();
  dxBarInitialize();
  int result = 0;
  try {
    Application->Initialize();
    Application->SetTitle(L"Tasks");
    TTasksForm* form = nullptr;
    Application->CreateNewForm(form);  // a form built in code, with no form data
    form->Build();
    Application->Run();
  } catch (const Exception& e) {
    ::MessageBoxW(nullptr, e.Message().c_str(), L"Tasks", MB_ICONERROR);
    result = 1;
  }
  dxBarFinalize();
  FinalizeForms();
  return result;
}
