// The extra items unit's start-up and shut-down, in the order the rest of the library relies
// on: the font marks, the first day of week, then the item kinds; shut-down unregisters the
// kinds and frees what exists, newest first.
#include "barextras/extitems.h"

#include "barextras/colorcombo.h"
#include "barextras/containeritem.h"
#include "barextras/datecombo.h"
#include "barextras/fontcombo.h"
#include "barextras/imagecombo.h"
#include "barextras/largebutton.h"
#include "barextras/listitems.h"
#include "barextras/spinedit.h"
#include "barextras/statics.h"
#include "barextras/treeviewcombo.h"
#include "bars/model/registry.h"
#include "bars/model/startup.h"
#include "platform/Win.h"

namespace {

int GStartCount = 0;
TBitmap* GTrueTypeMark = nullptr;
TBitmap* GNonTrueTypeMark = nullptr;
int GFirstWeekDay = dxBarDefaultFirstWeekDay;
TColorDialog* GColorDialog = nullptr;
TFontDialog* GFontDialog = nullptr;

const wchar_t* const TrueTypeMarkResource = L"DXBARTRUETYPEFONT";
const wchar_t* const NonTrueTypeMarkResource = L"DXBARNONTRUETYPEFONT";

// A mark the module does not hold stays empty: the font list then draws names without it,
// which beats refusing to start the whole library. The picture waits in memory, without
// GDI objects, until a font list first draws it.
TBitmap* LoadMark(const wchar_t* ResourceName)
{
  auto* mark = new TBitmap;
  try {
    mark->LoadFromResourceName(uintptr_t(dxBarResourceInstance()), ResourceName);
    mark->Dormant();
  } catch (const Exception&) {
    mark->SetSize(0, 0);
  }
  return mark;
}

void RegisterExtItemKinds()
{
  for (const TdxBarExtItemKind& kind : dxBarExtItemKinds())
    RegisterBarItem(kind.ItemClass(), kind.ControlClass(), true);
}

void UnregisterExtItemKinds()
{
  for (const TdxBarExtItemKind& kind : dxBarExtItemKinds())
    UnregisterBarItem(kind.ItemClass());
}

template <class T>
void FreeShared(T*& Object)
{
  T* object = Object;
  Object = nullptr;
  if (object)
    object->Free();
}

}  // namespace

const std::vector<TdxBarExtItemKind>& dxBarExtItemKinds()
{
  static const std::vector<TdxBarExtItemKind> kinds = {
      {&TdxBarStatic::StaticClass, &TdxBarStaticControl::StaticClass},
      {&TdxBarLargeButton::StaticClass, &TdxBarLargeButtonControl::StaticClass},
      {&TdxBarColorCombo::StaticClass, &TdxBarColorComboControl::StaticClass},
      {&TdxBarFontNameCombo::StaticClass, &TdxBarComboControl::StaticClass},
      {&TdxBarDateCombo::StaticClass, &TdxBarDateComboControl::StaticClass},
      {&TdxBarTreeViewCombo::StaticClass, &TdxBarTreeViewComboControl::StaticClass},
      {&TdxBarImageCombo::StaticClass, &TdxBarImageComboControl::StaticClass},
      {&TdxBarToolbarsListItem::StaticClass, &TdxBarToolbarsListItemControl::StaticClass},
      {&TdxBarSpinEdit::StaticClass, &TdxBarSpinEditControl::StaticClass},
      {&TdxBarControlContainerItem::StaticClass, &TdxBarControlContainerControl::StaticClass},
      {&TdxBarProgressItem::StaticClass, &TdxBarProgressControl::StaticClass},
      {&TdxBarMRUListItem::StaticClass, &TdxBarContainerItemControl::StaticClass},
      {&TdxBarInPlaceSubItem::StaticClass, &TdxBarInPlaceSubItemControl::StaticClass},
  };
  return kinds;
}

void InitializedxBarExtItems()
{
  if (GStartCount++ > 0)
    return;
  GTrueTypeMark = LoadMark(TrueTypeMarkResource);
  GNonTrueTypeMark = LoadMark(NonTrueTypeMarkResource);
  GFirstWeekDay = dxBarReadFirstWeekDay();
  RegisterExtItemKinds();
}

void FinalizedxBarExtItems()
{
  if (GStartCount == 0 || --GStartCount > 0)
    return;
  UnregisterExtItemKinds();
  FreeShared(GFontDialog);
  FreeShared(GColorDialog);
  delete GNonTrueTypeMark;
  GNonTrueTypeMark = nullptr;
  delete GTrueTypeMark;
  GTrueTypeMark = nullptr;
  GFirstWeekDay = dxBarDefaultFirstWeekDay;
}

bool dxBarExtItemsIsInitialized()
{
  return GStartCount > 0;
}

TBitmap* dxBarTrueTypeFontMark()
{
  return GTrueTypeMark;
}

TBitmap* dxBarNonTrueTypeFontMark()
{
  return GNonTrueTypeMark;
}

int dxBarFirstWeekDay()
{
  return GFirstWeekDay;
}

int dxBarFirstWeekDayFromLocaleText(const String& LocaleText)
{
  if (LocaleText.size() != 1 || LocaleText[0] < L'0' || LocaleText[0] > L'6')
    return dxBarDefaultFirstWeekDay;
  // The locale counts from Monday; one step on, with Sunday wrapping round to 0.
  return (LocaleText[0] - L'0' + 1) % 7;
}

int dxBarReadFirstWeekDay()
{
  wchar_t text[8] = {};
  int length = GetLocaleInfoW(GetThreadLocale(), LOCALE_IFIRSTDAYOFWEEK, text, int(std::size(text)));
  // The length counts the terminating zero; a failed call answers 0.
  return length > 0 ? dxBarFirstWeekDayFromLocaleText(String(text, size_t(length - 1))) : dxBarDefaultFirstWeekDay;
}

TColorDialog* dxBarColorDialog()
{
  if (!GColorDialog && GStartCount > 0)
    GColorDialog = new TColorDialog(nullptr);
  return GColorDialog;
}

TFontDialog* dxBarFontDialog()
{
  if (!GFontDialog && GStartCount > 0)
    GFontDialog = new TFontDialog(nullptr);
  return GFontDialog;
}

bool dxBarColorDialogExists()
{
  return GColorDialog != nullptr;
}

bool dxBarFontDialogExists()
{
  return GFontDialog != nullptr;
}
