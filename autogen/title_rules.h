// The content rules that accept or drop a finished title: stop words, the letter-case rule,
// the text pattern (with the fallback to a deeper level of the same style), the formatting,
// and consecutive duplicates.
#pragma once

#include <string>

#include "autogen/level_chain.h"
#include "autogen/stop_words.h"
#include "host/com.h"

namespace bm {

// AGBOptions "Flags".
inline constexpr int32_t kAgbStopWords = 0x1;
inline constexpr int32_t kAgbIgnoreDuplicates = 0x2;

// AGBLevelDescription "MatchTextCase".
inline constexpr int32_t kTextCaseAny = 0;
inline constexpr int32_t kTextCaseAllCapital = 1;
inline constexpr int32_t kTextCaseFirstCapital = 2;
inline constexpr int32_t kTextCaseFirstDigit = 3;

class TitleRules {
 public:
  // The chain (prepared) and the stop words (prepared) must outlive the rules.
  TitleRules(LevelChain& chain, const StopWords& stopWords, int32_t optionFlags)
      : chain_(chain), stopWords_(stopWords), flags_(optionFlags) {}

  // Applies the rules to a title of the level at chain position *position. On S_OK the title
  // is formatted and *position may name the fallback level it now belongs to. S_FALSE drops
  // the title; a negative result is an error that ends the run.
  zelta::HRESULT Accept(std::u16string& title, size_t* position);
  // Why the last error result ended the run (the level and pattern that could not be applied).
  const std::u16string& Error() const { return error_; }

  // The title of the bookmark made last in the run, for the duplicate rule.
  void SetLastTitle(std::u16string title) { lastTitle_ = std::move(title); }

 private:
  zelta::HRESULT ApplyPattern(size_t position, std::u16string& title, size_t* final);

  LevelChain& chain_;
  const StopWords& stopWords_;
  int32_t flags_;
  std::u16string lastTitle_;
  std::u16string error_;
};

// Whether title passes the letter-case rule (a non-empty title).
bool PassesCaseRule(std::u16string_view title, int32_t rule);

}  // namespace bm
