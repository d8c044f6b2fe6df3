// Weak object links: a process-wide controller keeps every link so that ClearObjectLinks
// can find those of an object; it lives exactly as long as there are links.
#include <algorithm>
#include <mutex>
#include <unordered_map>

#include "lookandfeel/cxClasses.h"

namespace {

class TcxObjectLinkController {
public:
  void Add(TObject* AObject, TcxObjectLink* ALink) { FLinks[AObject].push_back(ALink); }
  // True when the controller has no links left.
  bool Remove(TcxObjectLink* ALink)
  {
    for (auto it = FLinks.begin(); it != FLinks.end(); ++it) {
      auto& links = it->second;
      auto found = std::find(links.begin(), links.end(), ALink);
      if (found != links.end()) {
        links.erase(found);
        if (links.empty())
          FLinks.erase(it);
        break;
      }
    }
    return FLinks.empty();
  }
  std::vector<TcxObjectLink*>* Find(TObject* AObject)
  {
    auto it = FLinks.find(AObject);
    return it == FLinks.end() ? nullptr : &it->second;
  }

private:
  // Keyed by the address the object had when linked; a link of a dead object whose
  // address was reused already reads nil through its weak cell, so clearing it again
  // with the new object does no harm.
  std::unordered_map<TObject*, std::vector<TcxObjectLink*>> FLinks;
};

std::mutex gLinkLock;
TcxObjectLinkController* gController = nullptr;
int gGeneration = 0;

}  // namespace

TcxObjectLink* AddObjectLink(TObject* AObject)
{
  if (!AObject)
    return nullptr;
  auto* link = new TcxObjectLink;
  link->Object.FRef = TWeakRef<TObject>(AObject);
  std::lock_guard<std::mutex> guard(gLinkLock);
  if (!gController) {
    gController = new TcxObjectLinkController;
    ++gGeneration;
  }
  gController->Add(AObject, link);
  return link;
}

void RemoveObjectLink(TcxObjectLink* ALink)
{
  if (!ALink)
    return;
  {
    std::lock_guard<std::mutex> guard(gLinkLock);
    if (gController && gController->Remove(ALink)) {
      delete gController;
      gController = nullptr;
    }
  }
  delete ALink;
}

void ClearObjectLinks(TObject* AObject)
{
  if (!AObject)
    return;
  std::lock_guard<std::mutex> guard(gLinkLock);
  if (!gController)
    return;
  if (auto* links = gController->Find(AObject))
    for (TcxObjectLink* link : *links)
      link->Object.FCleared = true;
}

bool ObjectLinkControllerExists()
{
  std::lock_guard<std::mutex> guard(gLinkLock);
  return gController != nullptr;
}

int ObjectLinkControllerGeneration()
{
  std::lock_guard<std::mutex> guard(gLinkLock);
  return gGeneration;
}
