// ECMAScript regular expressions over UTF-16 text for the generation levels and stop words,
// run through the shared bounded matcher: no pattern and no title can exhaust the stack or
// run without end. A pattern that does not compile is an error that names it; a match that
// would exceed the matcher's bounds fails instead of crashing.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "host/com.h"
#include "support/bounded_regex.h"

namespace bm {

// Longest subject for the non-recursive matcher, and for patterns with back-references;
// longer titles count as not matching (E_INVALIDARG).
inline constexpr size_t kMaxSubjectLength = 200000;
inline constexpr size_t kMaxBackrefSubjectLength = 8000;

class TextRegex {
 public:
  TextRegex() = default;

  // Compiles pattern; ignoreCase folds case. On failure returns E_INVALIDARG and Error()
  // says why (the pattern is quoted).
  zelta::HRESULT Compile(std::u16string_view pattern, bool ignoreCase);
  bool Compiled() const { return regex_ != nullptr; }
  const std::u16string& Error() const { return error_; }

  // The first match in text: S_OK with its start and length (code units), S_FALSE when none.
  // A match beyond the matcher's bounds is E_FAIL, E_OUTOFMEMORY when memory ran out.
  zelta::HRESULT Search(std::u16string_view text, size_t* start, size_t* length) const;
  // Whether the whole of text matches.
  zelta::HRESULT MatchWhole(std::u16string_view text, bool* matched) const;
  // Replaces every match by format ($&, $1, $$ ... as ECMAScript replace reads them).
  // S_FALSE, *out untouched, when the result would be longer than maxLength (the work stops
  // there).
  zelta::HRESULT ReplaceAll(std::u16string_view text, std::u16string_view format,
                            std::u16string* out, size_t maxLength = std::u16string::npos) const;

 private:
  zelta::HRESULT CheckSubject(size_t length) const;

  std::shared_ptr<const BoundedRegex> regex_;
  std::u16string error_;
};

}  // namespace bm
