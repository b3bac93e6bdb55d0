#include "support/result_text.h"

#include <cstdio>

namespace bm::support {

zelta::ComPtr<zelta::IResultTexts> ResultTexts(zelta::IHostApp* app) {
  zelta::ComPtr<zelta::IUnknown> component;
  if (!app || app->GetComponent("RTX", component.Put()) != zelta::S_OK || !component)
    return nullptr;
  return zelta::QueryAs<zelta::IResultTexts>(component.Get());
}

std::u16string DescribeResult(zelta::IHostApp* app, zelta::HRESULT code) {
  if (auto texts = ResultTexts(app)) {
    zelta::OwnedString text;
    if (texts->DescribeResult(code, 0, text.Put()) == zelta::S_OK) return text.Str();
  }
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "Error 0x%08X.", static_cast<uint32_t>(code));
  return std::u16string(buffer, buffer + std::char_traits<char>::length(buffer));
}

}  // namespace bm::support
