// Numbers inside a regular expression. The standard library's compiler reads a repeat count
// ("{n,m}") or a back-reference number ("\n") into a long without checking for overflow, which
// is undefined behaviour; patterns with a number longer than any meaningful count are refused
// before they reach it.
#pragma once

#include <cstddef>
#include <optional>
#include <regex>
#include <string_view>

namespace bm::support {

inline constexpr size_t kMaxRegexNumberDigits = 9;

// error_badbrace for a repeat count, error_backref for a back-reference number with more than
// kMaxRegexNumberDigits digits; nullopt when every number is short enough. Character classes
// hold no numbers the compiler reads.
std::optional<std::regex_constants::error_type> OversizedRegexNumber(std::u16string_view pattern);

}  // namespace bm::support
