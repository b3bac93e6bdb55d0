#include "zelta/app/cab/cab_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace zelta::app {

bool ParseCabInt(std::string_view text, int32_t* value) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    uint64_t wide = 0;
    auto digits = text.substr(2);
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), wide, 16);
    if (ec != std::errc() || end != digits.data() + digits.size() || wide > 0xFFFFFFFFu)
      return false;
    *value = static_cast<int32_t>(static_cast<uint32_t>(wide));
    return true;
  }
  int64_t wide = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), wide, 10);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return false;
  if (wide < INT32_MIN || wide > INT32_MAX) return false;
  *value = static_cast<int32_t>(wide);
  return true;
}

bool ParseCabDouble(std::string_view text, double* value) {
  double parsed = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(parsed))
    return false;
  *value = parsed;
  return true;
}

}  // namespace zelta::app
