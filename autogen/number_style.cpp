#include "autogen/number_style.h"

#include <algorithm>

namespace bm {

std::u16string DecimalNumber(uint32_t n) {
  std::u16string text;
  do {
    text.push_back(static_cast<char16_t>(u'0' + n % 10));
    n /= 10;
  } while (n);
  std::reverse(text.begin(), text.end());
  return text;
}

std::u16string LetterNumber(uint32_t n) {
  std::u16string text;
  if (n == 0) return text;
  int64_t k = static_cast<int64_t>(n) - 1;
  while (k >= 0) {
    text.push_back(static_cast<char16_t>(u'a' + k % 26));
    k = k / 26 - 1;
  }
  std::reverse(text.begin(), text.end());
  return text;
}

std::u16string RomanNumber(uint32_t n) {
  struct Entry {
    uint32_t value;
    const char16_t* text;
  };
  static constexpr Entry kTable[] = {
      {1000, u"M"}, {900, u"CM"}, {500, u"D"}, {400, u"CD"}, {100, u"C"}, {90, u"XC"}, {50, u"L"},
      {40, u"XL"},  {10, u"X"},   {9, u"IX"},  {5, u"V"},    {4, u"IV"},  {1, u"I"}};
  std::u16string text;
  for (const Entry& entry : kTable) {
    while (n >= entry.value) {
      text += entry.text;
      n -= entry.value;
    }
  }
  return text;
}

std::u16string FormatNumber(uint32_t n, int32_t style) {
  switch (style) {
    case kNumLetters:
      return LetterNumber(n);
    case kNumRoman:
      return RomanNumber(n);
    default:
      return DecimalNumber(n);
  }
}

}  // namespace bm
