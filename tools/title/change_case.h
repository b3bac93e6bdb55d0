// The change-case engine: rewrites the words of a title in Title Case, UPPERCASE, lowercase
// or Sentence case, leaving excluded words exactly as the title has them. A pure text
// function over the platform's locale text services.
#pragma once

#include <string>
#include <vector>

#include "host/com.h"

namespace bm {

// Bits of the CBCOptions Flags that the engine reads.
inline constexpr int32_t kCaseModeMask = 0x0F;
inline constexpr int32_t kTitleCase = 0;
inline constexpr int32_t kUpperCase = 1;
inline constexpr int32_t kLowerCase = 2;
inline constexpr int32_t kSentenceCase = 4;
inline constexpr int32_t kApplyExcludedWords = 0x10;
// Title and Sentence case leave alone a word that already has a capital after its first letter,
// or a digit or dot inside it (NULL, UseMethod, macOS, x86_64, on.exit, v1.2).
inline constexpr int32_t kKeepCapitals = 0x20;

// Sorts words with the locale's case-insensitive comparison and keeps each word once (the
// first of a run of equal ones).
std::vector<std::u16string> SortExcludedWords(std::vector<std::u16string> words);

class ChangeCaseEngine {
 public:
  // The excluded words apply only when flags has kApplyExcludedWords; they need not be
  // sorted.
  ChangeCaseEngine(std::vector<std::u16string> excludedWords, int32_t flags);

  // Rewrites title in place. A word starts at an alphabetic character and goes on over
  // letters and apostrophes; everything else separates words and is never changed. E_FAIL
  // for a case mode that is none of the four (the title stays as it is) or when the case
  // mapping refuses a word; E_OUTOFMEMORY when memory runs out.
  zelta::HRESULT Apply(std::u16string& title) const;

  bool IsExcluded(std::u16string_view word) const;

 private:
  std::vector<std::u16string> excluded_;  // sorted, case-insensitively unique
  int32_t mode_;
  bool keepCapitals_;
};

}  // namespace bm
