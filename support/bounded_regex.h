// A user's regular expression (ECMAScript, the standard library's engine on wide strings),
// compiled and run within bounds, so that no pattern and no title can exhaust the stack or
// run without end:
// - patterns longer than kMaxPatternLength, nested deeper than kMaxNesting or estimated to
//   need more than kMaxStates matcher states (counted repeats multiply) are refused with
//   error_complexity before the engine sees them (its compiler recurses on the pattern);
// - patterns without back-references run on the engine's non-recursive matcher;
// - every step a match takes counts against kStepBudget per subject (error_complexity when
//   spent), and the recursive matcher that back-references need stops with error_stack before
//   it comes near the end of the thread's stack.
// Text is UTF-16 outside and UTF-32 inside, so "." matches a whole character.
#pragma once

#include <cstdint>
#include <optional>
#include <regex>
#include <string>
#include <string_view>

namespace bm {

class BoundedRegex {
 public:
  static constexpr size_t kMaxPatternLength = 4096;
  static constexpr int kMaxNesting = 128;
  static constexpr double kMaxStates = 10000;
  static constexpr int64_t kStepBudget = 10'000'000;

  // Compiles the pattern; nullopt on success, else the std::regex_constants::error_type code.
  std::optional<int> Compile(std::u16string_view pattern, bool ignoreCase);
  bool Compiled() const { return compiled_; }
  bool HasBackReferences() const { return backReferences_; }

  enum class Outcome { kUnchanged, kChanged, kFailed, kTooLong };
  // Replaces every match in text by the ECMAScript format ("$&", "$1", "$$"). On kFailed the
  // text is unchanged and *error holds the error code (error_space when memory ran out); on
  // kTooLong it is unchanged because the result grew past maxLength UTF-32 characters (the
  // replacing stops there).
  Outcome Replace(std::u16string& text, std::u16string_view format, int* error,
                  size_t maxLength = std::u16string::npos) const;

  enum class Match { kNone, kFound, kFailed };
  // The first match in text (start and length in UTF-16 code units; either may be null). On
  // kFailed *error holds the error code, as for Replace.
  Match Search(std::u16string_view text, size_t* start, size_t* length, int* error) const;
  // Whether the whole of text matches.
  Match MatchWhole(std::u16string_view text, int* error) const;

  // The matcher states a pattern is estimated to need, and its deepest group nesting.
  struct SizeEstimate {
    double states = 0;
    int nesting = 0;
  };
  static SizeEstimate Estimate(std::u16string_view pattern);

  // UTF-16 <-> UTF-32 (a lone surrogate stays one unit).
  static std::wstring ToWide(std::u16string_view text);
  static std::u16string FromWide(std::wstring_view text);

 private:
  std::wregex regex_;
  bool compiled_ = false;
  bool backReferences_ = false;
};

}  // namespace bm
