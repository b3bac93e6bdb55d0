// The title macros: their names, their availability bits (which tools offer which macro),
// and the number parser that reads macro parameters.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace bm {

enum class MacroId : int32_t {
  kLevel,
  kIndexInPar,
  kHierIndex,
  kSeqNum,
  kPagesCount,
  kPage,
  kDest,
  kLabel,
  kURI,
  kFile,
  kDocTitle,
  kDate,
  kTime,
  kEnv,
  kHierTitle,
  kTitle,
  kFirstLine,
};
inline constexpr int kMacroCount = 17;

struct MacroInfo {
  MacroId id;
  std::u16string_view name;
  uint32_t bit;
};

// The macros in bit order (0x1 Level ... 0x10000 FirstLine).
std::span<const MacroInfo> Macros();

// Availability masks of the tools.
inline constexpr uint32_t kAllMacros = 0xFFFFFFFFu;
inline constexpr uint32_t kNamedDestMacros = 0xC0AF;
inline constexpr uint32_t kEveryNthPageMacros = 0x100A8;

// Macro names compare without regard to (ASCII) case; every macro name is ASCII.
bool SameMacroName(std::u16string_view a, std::u16string_view b);
// The macro of a name; nullopt for a name that is none.
std::optional<MacroId> FindMacro(std::u16string_view name);

// A number read from a parameter: leading blanks (tab to carriage return, space), one optional
// sign, then decimal digits, at most 10 of them after the leading zeros. `used` counts the
// characters read; it is negative when no digit was read.
struct MacroNumber {
  int64_t value = 0;
  int32_t used = -1;
};
MacroNumber ParseMacroNumber(std::u16string_view text);

// A length in points from a parameter such as "36", "0.5in", "12 mm" or "2cm" (points when
// no unit is given); nullopt when the text is no length.
std::optional<double> ParseLengthInPoints(std::u16string_view text);

}  // namespace bm
