#include "tools/tree/file_exists.h"

#include <filesystem>
#include <system_error>

#include "platform/locale_text.h"

namespace bm {
namespace {

constexpr std::u16string_view kLongPathPrefix = u"\\\\?\\";

bool IsSlash(char16_t c) { return c == u'/' || c == u'\\'; }
bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

bool IsBareDrive(std::u16string_view path) {
  return (path.size() == 2 || (path.size() == 3 && IsSlash(path[2]))) && IsAsciiLetter(path[0]) &&
         path[1] == u':';
}

}  // namespace

bool HasForbiddenPathCharacters(std::u16string_view path) {
  size_t start = path.starts_with(kLongPathPrefix) ? kLongPathPrefix.size() : 0;
  for (size_t i = start; i < path.size(); ++i) {
    switch (path[i]) {
      case u'"':
      case u'*':
      case u'<':
      case u'>':
      case u'|':
      case u'?':
        return true;
      case u':':
        if (i + 1 < path.size() && IsSlash(path[i + 1])) break;
        if (i + 1 == path.size() && IsBareDrive(path.substr(start))) break;
        return true;
      default:
        break;
    }
  }
  return false;
}

bool FileExists(std::u16string_view path, const std::string& baseFolder) {
  if (path.empty() || HasForbiddenPathCharacters(path)) return false;
  if (path.starts_with(kLongPathPrefix)) path.remove_prefix(kLongPathPrefix.size());
  if (path.empty() || IsBareDrive(path)) return false;

  std::u16string normal(path);
  for (char16_t& c : normal)
    if (c == u'\\') c = u'/';
  std::filesystem::path file(platform::Utf16ToUtf8(normal));
  if (file.is_relative() && !baseFolder.empty()) file = std::filesystem::path(baseFolder) / file;
  std::error_code ec;
  return std::filesystem::exists(file, ec);
}

}  // namespace bm
