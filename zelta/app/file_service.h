// The file service (component "AFS").
#pragma once

#include "host/files.h"

namespace zelta::app {

class FileService : public ComObject<IFileService> {
 public:
  // E_INVALIDARG for an empty path or one with an embedded NUL (it would name another file).
  HRESULT FileExists(const char16_t* path, int32_t length, bool* exists) override;
};

}  // namespace zelta::app
