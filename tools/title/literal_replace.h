// Replacing a literal text in a title: every occurrence, optionally matching case and whole
// words only, never searching again in text it has just put in.
#pragma once

#include <string>
#include <string_view>

namespace bm {

enum class ReplaceOutcome { kUnchanged, kChanged, kFailed, kTooLong };

// With matchCase the search is exact, otherwise under simple case folding (for texts of any
// length). With wholeWord an occurrence counts only when the characters around it are not
// letters or digits (an underscore is a boundary). An empty find text finds nothing.
// kFailed (title unchanged) when memory runs out; kTooLong (title unchanged) as soon as the
// result would be longer than maxLength, so that a growing title costs no more than that.
ReplaceOutcome LiteralReplace(std::u16string& title, std::u16string_view find,
                              std::u16string_view replacement, bool matchCase, bool wholeWord,
                              size_t maxLength = std::u16string::npos);

}  // namespace bm
