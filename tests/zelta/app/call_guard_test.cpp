#include "host/call_guard.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace zelta {
namespace {

TEST(GuardCall, TurnsExceptionsIntoResults) {
  struct Case {
    const char* name;
    std::function<HRESULT()> call;
    HRESULT expected;
  };
  const Case cases[] = {
      {"result passes", [] { return S_FALSE; }, S_FALSE},
      {"failure passes", [] { return E_INVALIDARG; }, E_INVALIDARG},
      {"bad_alloc", []() -> HRESULT { throw std::bad_alloc(); }, E_OUTOFMEMORY},
      {"other exception", []() -> HRESULT { throw std::runtime_error("x"); }, E_FAIL},
      {"not an exception class", []() -> HRESULT { throw 7; }, E_FAIL},
  };
  for (const Case& c : cases) EXPECT_EQ(GuardCall(c.call), c.expected) << c.name;
}

}  // namespace
}  // namespace zelta
