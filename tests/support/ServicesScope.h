// A scope guard for the bar library's customizing services: tests install their own entries
// and the previous ones come back at the end of the scope.
#pragma once

#include <utility>

#include "bars/model/customizing.h"

class TServicesScope {
public:
  explicit TServicesScope(TdxBarCustomizingServices AServices) : FPrevious(SetdxBarCustomizingServices(AServices)) {}
  ~TServicesScope() { SetdxBarCustomizingServices(std::move(FPrevious)); }
  TServicesScope(const TServicesScope&) = delete;
  TServicesScope& operator=(const TServicesScope&) = delete;

private:
  TdxBarCustomizingServices FPrevious;
};
