// Stop words: words, phrases or regular expressions whose presence in a finished title
// rejects it (for example the entries of an index or a contents page).
#pragma once

#include <string>
#include <vector>

#include "autogen/text_regex.h"
#include "host/com.h"

namespace bm {

// AGBStopWordsData "StopWordsFlags".
inline constexpr int32_t kStopMatchCase = 0x1;
inline constexpr int32_t kStopWholeWords = 0x2;
inline constexpr int32_t kStopRegex = 0x4;

class StopWords {
 public:
  StopWords() = default;
  StopWords(std::vector<std::u16string> words, int32_t flags);

  // Compiles regular-expression stop words. E_INVALIDARG for one that does not compile, with
  // Error() naming it.
  zelta::HRESULT Prepare();
  const std::u16string& Error() const { return error_; }

  // S_OK when some stop word occurs in title, S_FALSE when none does; a negative result when
  // a regular expression cannot be applied to it (out of memory, a title over the bound).
  zelta::HRESULT Occurs(std::u16string_view title) const;

 private:
  bool OccursPlain(std::u16string_view title, std::u16string_view word) const;

  std::vector<std::u16string> words_;
  std::vector<TextRegex> regexes_;
  int32_t flags_ = 0;
  std::u16string error_;
};

}  // namespace bm
