// Item links and their collections: where and how an item appears on a bar or in a menu,
// the derived lists a bar window lays out, and the recent-use order of personalised menus.
#pragma once

#include "bars/itemtypes.h"
#include "platform/Collection.h"

class TdxBarItem;
class TdxBarItemControl;
class TdxBarItemLinks;

class TdxBarItemLink : public TCollectionItem {
  DECLARE_CLASS(TdxBarItemLink, TCollectionItem)
public:
  explicit TdxBarItemLink(TCollection* ACollection);
  ~TdxBarItemLink() override;
};
