#include "support/regex_numbers.h"

#include <algorithm>

namespace bm::support {
namespace {

size_t DigitsAt(std::u16string_view text, size_t at) {
  size_t end = at;
  while (end < text.size() && text[end] >= u'0' && text[end] <= u'9') ++end;
  return end - at;
}

}  // namespace

std::optional<std::regex_constants::error_type> OversizedRegexNumber(std::u16string_view pattern) {
  size_t i = 0;
  while (i < pattern.size()) {
    const char16_t c = pattern[i];
    if (c == u'\\') {
      const size_t digits = DigitsAt(pattern, i + 1);
      if (digits > kMaxRegexNumberDigits) return std::regex_constants::error_backref;
      i += 1 + std::max<size_t>(digits, 1);
    } else if (c == u'[') {
      for (++i; i < pattern.size() && pattern[i] != u']'; ++i)
        if (pattern[i] == u'\\') ++i;
      ++i;
    } else if (c == u'{') {
      const size_t low = DigitsAt(pattern, i + 1);
      const size_t next = i + 1 + low;
      const size_t high =
          next < pattern.size() && pattern[next] == u',' ? DigitsAt(pattern, next + 1) : 0;
      if (low > kMaxRegexNumberDigits || high > kMaxRegexNumberDigits)
        return std::regex_constants::error_badbrace;
      ++i;
    } else {
      ++i;
    }
  }
  return std::nullopt;
}

}  // namespace bm::support
