// File services (component "AFS").
#pragma once

#include "host/com.h"

namespace zelta {

struct IFileService : IUnknown {
  static constexpr Guid kIid{0x5A1E0E01, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 33}};
  // *exists is true when path (UTF-16) names an existing file or folder.
  virtual HRESULT FileExists(const char16_t* path, int32_t length, bool* exists) = 0;
};

}  // namespace zelta
