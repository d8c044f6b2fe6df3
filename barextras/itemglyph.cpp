#include "barextras/itemglyph.h"

#include "bars/model/items.h"
#include "bars/model/startup.h"
#include "platform/Bitmap.h"

void dxBarLoadItemGlyph(TdxBarItem* AItem, const wchar_t* AResourceName)
{
  if (!AItem || !AResourceName)
    return;
  TBitmap glyph;
  try {
    glyph.LoadFromResourceName(uintptr_t(dxBarResourceInstance()), AResourceName);
  } catch (const Exception&) {
    // The kind works as well without its picture.
    return;
  }
  AItem->SetGlyph(&glyph);
}
