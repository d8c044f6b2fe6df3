// Scope guards: what a scope changes or opens is put back or ended however the scope is
// left. The one way the layer and the libraries above it undo state; docs/class-layer.md
// states the rule.
#pragma once

#include <exception>
#include <type_traits>
#include <utility>

#include "platform/System.h"

// A variable set for a scope and put back as it was when the scope ends. Putting back
// cannot fail; only taking the copy can, before anything changed.
template <class T>
class TRestore {
  static_assert(std::is_nothrow_move_assignable_v<T>, "putting a value back must not be able to fail");

public:
  explicit TRestore(T& target) : FTarget(target), FSaved(target) {}
  TRestore(T& target, const std::type_identity_t<T>& value) : FTarget(target), FSaved(target) { FTarget = value; }
  ~TRestore() { FTarget = std::move(FSaved); }
  TRestore(const TRestore&) = delete;
  TRestore& operator=(const TRestore&) = delete;

private:
  T& FTarget;
  T FSaved;
};

// A state flag set for a scope and cleared when it ends: an element of a set, or a bit of
// a mask. Cannot fail.
template <class S, class E>
class TStateFlag {
public:
  TStateFlag(S& state, E flag) noexcept : FState(state), FFlag(flag)
  {
    if constexpr (std::is_integral_v<S>)
      FState = S(FState | FFlag);
    else
      FState += FFlag;
  }
  ~TStateFlag()
  {
    if constexpr (std::is_integral_v<S>)
      FState = S(FState & ~FFlag);
    else
      FState -= FFlag;
  }
  TStateFlag(const TStateFlag&) = delete;
  TStateFlag& operator=(const TStateFlag&) = delete;

private:
  S& FState;
  E FFlag;
};

// Hands the exception in flight to HandleUnexpectedException (SysUtils.h); for ends that
// fail while the scope is already being left by another exception.
void HandleEndFailure() noexcept;

// Runs a scope's end; Exceptions is std::uncaught_exceptions() as the scope began, so that a
// guard made inside a destructor that runs while unwinding still tells the two ways apart.
template <class F>
void EndScope(F& End, int Exceptions) noexcept(std::is_nothrow_invocable_v<F&>)
{
  if constexpr (std::is_nothrow_invocable_v<F&>) {
    End();
  } else if (std::uncaught_exceptions() <= Exceptions) {
    End();
  } else {
    try {
      End();
    } catch (...) {
      HandleEndFailure();
    }
  }
}

// Runs End when the scope ends: an update ended, a lock released, a paint finished. When
// the scope ends normally End runs as its last statement would, and what it raises reaches
// the caller. When an exception leaves the scope, what End raises goes to
// HandleUnexpectedException and the first exception goes on: a failing end neither ends
// the process nor hides the error that left the scope.
template <class F>
class TFinally {
public:
  explicit TFinally(F end) : FEnd(std::move(end)), FExceptions(std::uncaught_exceptions()) {}
  ~TFinally() noexcept(std::is_nothrow_invocable_v<F&>) { EndScope(FEnd, FExceptions); }
  TFinally(const TFinally&) = delete;
  TFinally& operator=(const TFinally&) = delete;

private:
  F FEnd;
  int FExceptions;
};

// BeginUpdate for a scope and EndUpdate at its end, by the rule of TFinally. Nothing for a
// nil target, and no EndUpdate for a target the scope's work freed.
template <class T>
class TUpdateLock {
public:
  explicit TUpdateLock(T* target) : FTarget(target), FExceptions(std::uncaught_exceptions())
  {
    if (target)
      target->BeginUpdate();
  }
  ~TUpdateLock() noexcept(false)
  {
    auto end = [this] {
      if (T* target = FTarget.Get())
        target->EndUpdate();
    };
    EndScope(end, FExceptions);
  }
  TUpdateLock(const TUpdateLock&) = delete;
  TUpdateLock& operator=(const TUpdateLock&) = delete;

private:
  TWeakRef<T> FTarget;
  int FExceptions;
};
