#include "zelta/app/file_service.h"

#include <sys/stat.h>

#include "zelta/base/text_codec.h"

namespace zelta::app {

HRESULT FileService::FileExists(const char16_t* path, int32_t length, bool* exists) {
  if (!exists) return E_POINTER;
  *exists = false;
  if (length < -1) return E_INVALIDARG;
  auto text = InString(path, length);
  if (text.empty() || text.find(u'\0') != std::u16string_view::npos) return E_INVALIDARG;
  struct stat info {};
  *exists = ::stat(base::LossyUtf8(text).c_str(), &info) == 0;
  return S_OK;
}

}  // namespace zelta::app
