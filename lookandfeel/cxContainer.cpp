#include "lookandfeel/cxContainer.h"

#include <atomic>

namespace {
std::atomic<bool> gContainerStateFlag{false};
}

bool GetContainerStateFlag()
{
  return gContainerStateFlag.load();
}

void SetContainerStateFlag(bool Value)
{
  gContainerStateFlag.store(Value);
}

void InitializecxContainer()
{
  gContainerStateFlag.store(false);
}

void FinalizecxContainer()
{
  gContainerStateFlag.store(false);
}
