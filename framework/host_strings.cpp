#include "framework/host_strings.h"

namespace bm {

std::u16string LoadHostString(zelta::IHostApp* app, std::u16string_view id) {
  if (!app || id.empty()) return std::u16string(id);
  // The host takes a NUL-terminated id.
  std::u16string key(id);
  zelta::OwnedString text;
  if (zelta::Failed(app->LoadString(key.c_str(), static_cast<int32_t>(key.size()), text.Put())))
    return key;
  return text.Str();
}

std::u16string FormatInserts(std::u16string_view pattern, std::u16string_view first,
                             std::u16string_view second) {
  std::u16string out;
  out.reserve(pattern.size() + first.size() + second.size());
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == u'%' && i + 1 < pattern.size() &&
        (pattern[i + 1] == u'1' || pattern[i + 1] == u'2')) {
      out.append(pattern[i + 1] == u'1' ? first : second);
      ++i;
    } else {
      out.push_back(pattern[i]);
    }
  }
  return out;
}

std::u16string NumberText(uint64_t value) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value);
  return digits;
}

}  // namespace bm
