// Changes system colours for one scope and puts the old ones back, whatever the test did.
#pragma once

#include <initializer_list>
#include <utility>
#include <vector>

#include "platform/Win.h"

class TSysColorsScope {
public:
  TSysColorsScope(std::initializer_list<std::pair<int, COLORREF>> Colors = {})
  {
    for (auto [index, color] : Colors)
      Set(index, color);
  }
  ~TSysColorsScope()
  {
    if (!FIndexes.empty())
      SetSysColors(int(FIndexes.size()), FIndexes.data(), FSaved.data());
  }
  TSysColorsScope(const TSysColorsScope&) = delete;
  TSysColorsScope& operator=(const TSysColorsScope&) = delete;

  void Set(int Index, COLORREF Color)
  {
    bool known = false;
    for (int i : FIndexes)
      known |= i == Index;
    if (!known) {
      FIndexes.push_back(Index);
      FSaved.push_back(GetSysColor(Index));
    }
    SetSysColors(1, &Index, &Color);
  }

private:
  std::vector<int> FIndexes;
  std::vector<COLORREF> FSaved;
};
