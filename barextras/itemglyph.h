// The glyph an extra item kind carries from its birth, read from the library's resources.
#pragma once

class TdxBarItem;

// Loads the bitmap resource AResourceName of the library's module as AItem's glyph; a
// module without it leaves the item without a glyph.
void dxBarLoadItemGlyph(TdxBarItem* AItem, const wchar_t* AResourceName);
