// The guard of an entry point that the other half calls (events, commands, operation
// factories, callbacks): no C++ exception crosses the boundary. std::bad_alloc and
// std::length_error become E_OUTOFMEMORY, anything else E_FAIL; the call's own result passes
// through.
#pragma once

#include <new>
#include <stdexcept>
#include <utility>

#include "host/com.h"

namespace zelta {

template <class Call>
HRESULT GuardCall(Call&& call) noexcept {
  try {
    return std::forward<Call>(call)();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const std::length_error&) {  // a container asked for more than it can hold
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

}  // namespace zelta
