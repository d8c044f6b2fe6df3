// A scope guard for components and forms.
#pragma once

#include "platform/System.h"

// Frees a component at the end of a scope unless it is gone already.
template <class T>
class TOwned {
public:
  explicit TOwned(T* Object = nullptr) : FRef(Object) {}
  ~TOwned()
  {
    if (T* object = FRef.Get())
      object->Free();
  }
  TOwned(const TOwned&) = delete;
  TOwned& operator=(const TOwned&) = delete;
  T* Get() const { return FRef.Get(); }
  T* operator->() const { return FRef.Get(); }

private:
  TWeakRef<T> FRef;
};
