#include "bars/itemlinks.h"

IMPLEMENT_CLASS(TdxBarItemLink, TCollectionItem)

TdxBarItemLink::TdxBarItemLink(TCollection* ACollection) : TCollectionItem(ACollection) {}

TdxBarItemLink::~TdxBarItemLink() = default;
