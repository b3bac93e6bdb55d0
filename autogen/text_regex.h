// ECMAScript regular expressions over UTF-16 text, guarded against the standard library's
// recursive matcher: patterns without back-references use its non-recursive (polynomial)
// matcher; patterns with them only see subjects short enough for the recursive one. A
// pattern that does not compile, or a subject over the bound, is an error that names it.
#pragma once

#include <memory>
#include <regex>
#include <string>
#include <string_view>

#include "host/com.h"

namespace bm {

// Longest pattern accepted (the compiler itself recurses over nested groups).
inline constexpr size_t kMaxPatternLength = 4096;
// Longest subject for the non-recursive matcher, and for patterns with back-references.
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
  zelta::HRESULT Search(std::u16string_view text, size_t* start, size_t* length) const;
  // Whether the whole of text matches.
  zelta::HRESULT MatchWhole(std::u16string_view text, bool* matched) const;
  // Replaces every match by format ($&, $1, $$ ... as ECMAScript replace reads them).
  zelta::HRESULT ReplaceAll(std::u16string_view text, std::u16string_view format, std::u16string* out) const;

 private:
  zelta::HRESULT CheckSubject(size_t length) const;

  std::shared_ptr<const std::wregex> regex_;
  bool hasBackrefs_ = false;
  std::u16string error_;
};

// UTF-16 to the wide strings the regular expressions work on (wchar_t holds code points) and
// back. Lone surrogates pass through as they are.
std::wstring ToWide(std::u16string_view text);
std::u16string FromWide(std::wstring_view text);

}  // namespace bm
