// Scope guards: a restored value, and an end that raises on either way out of its scope.
#include <gtest/gtest.h>

#include "platform/Scope.h"
#include "platform/SysUtils.h"

namespace {

// Routes unexpected exceptions into a list for the life of the scope.
class THandledLog {
public:
  THandledLog()
  {
    FPrevious = SetUnexpectedExceptionHandler([this](TObject*) { Messages.push_back(CurrentExceptionMessage()); });
  }
  ~THandledLog() { SetUnexpectedExceptionHandler(FPrevious); }
  std::vector<String> Messages;

private:
  TUnexpectedExceptionHandler FPrevious;
};

class TCounted : public TObject {
public:
  void BeginUpdate() { ++LockCount; }
  void EndUpdate()
  {
    --LockCount;
    if (RaiseOnEnd)
      throw Exception(L"end");
  }
  int LockCount = 0;
  bool RaiseOnEnd = false;
};

// What leaves a scope run by Body; empty when nothing does.
template <class F>
String Leaving(F&& Body)
{
  try {
    Body();
  } catch (const Exception& e) {
    return e.Message();
  }
  return L"";
}

TEST(Scope, RestorePutsTheValueBackOnEitherWayOut)
{
  for (bool raise : {false, true}) {
    int value = 1;
    String left = Leaving([&] {
      TRestore keep(value, 2);
      EXPECT_EQ(value, 2);
      value = 3;
      if (raise)
        throw Exception(L"body");
    });
    EXPECT_EQ(value, 1) << raise;
    EXPECT_EQ(left, raise ? L"body" : L"") << raise;
  }
}

TEST(Scope, AFailingEndReachesTheCallerUnlessAnErrorIsAlreadyLeaving)
{
  struct TRow {
    bool BodyRaises, EndRaises;
    const wchar_t* Caller;   // what the caller sees
    const wchar_t* Handler;  // what HandleUnexpectedException sees
  };
  const TRow rows[] = {
      {false, false, L"", L""},
      {false, true, L"end", L""},
      {true, false, L"body", L""},
      {true, true, L"body", L"end"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(testing::Message() << row.BodyRaises << row.EndRaises);
    for (bool viaLock : {false, true}) {
      TCounted target;
      target.RaiseOnEnd = row.EndRaises;
      THandledLog log;
      String left = Leaving([&] {
        if (viaLock) {
          TUpdateLock lock(&target);
          if (row.BodyRaises)
            throw Exception(L"body");
        } else {
          target.BeginUpdate();
          TFinally end([&] { target.EndUpdate(); });
          if (row.BodyRaises)
            throw Exception(L"body");
        }
      });
      EXPECT_EQ(left, row.Caller);
      EXPECT_EQ(log.Messages.empty() ? String() : log.Messages[0], row.Handler);
      EXPECT_LE(log.Messages.size(), 1u);
      EXPECT_EQ(target.LockCount, 0);
    }
  }
}

}  // namespace
