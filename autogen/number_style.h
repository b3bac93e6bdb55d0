// Numbers that the title formatting puts before titles: decimal, letters (a ... z, aa ...)
// and upper-case Roman numerals.
#pragma once

#include <cstdint>
#include <string>

namespace bm {

// AGBTitleFormat "NumType".
inline constexpr int32_t kNumDecimal = 0;
inline constexpr int32_t kNumLetters = 1;
inline constexpr int32_t kNumRoman = 2;

// The counter n (1 or more) in the style; unknown styles give decimal numbers.
std::u16string FormatNumber(uint32_t n, int32_t style);

std::u16string DecimalNumber(uint32_t n);
// Bijective base 26: 1 a, 26 z, 27 aa, 702 zz, 703 aaa.
std::u16string LetterNumber(uint32_t n);
// Greedy Roman numerals without an upper limit (4000 is MMMM).
std::u16string RomanNumber(uint32_t n);

}  // namespace bm
