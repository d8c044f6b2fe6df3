#include "support/TestApplicationMenu.h"

IMPLEMENT_CLASS(TTestApplicationMenu, TdxBarPopupMenu)

TTestApplicationMenu::TTestApplicationMenu(TComponent* AOwner)
    : TdxBarPopupMenu(AOwner), FButtons(std::make_unique<TdxBarApplicationMenuButtons>(this))
{
}
