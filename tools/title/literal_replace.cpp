#include "tools/title/literal_replace.h"

#include <new>

#include "platform/locale_text.h"

namespace bm {

ReplaceOutcome LiteralReplace(std::u16string& title, std::u16string_view find,
                              std::u16string_view replacement, bool matchCase, bool wholeWord,
                              size_t maxLength) {
  if (find.empty() || find.size() > title.size()) return ReplaceOutcome::kUnchanged;
  try {
    // Built in one pass: the text before each match is copied, the match replaced, and the
    // search goes on after the match in the original, so the replacement is never searched.
    std::u16string result;
    size_t from = 0;    // where the search goes on in title
    size_t copied = 0;  // how much of title is in result
    bool replaced = false;
    for (;;) {
      const size_t p =
          matchCase ? title.find(find, from) : platform::FindIgnoreCase(title, find, from);
      if (p == std::u16string::npos) break;
      const size_t end = p + find.size();
      if (wholeWord && ((p > 0 && platform::IsAlphaNumeric(title[p - 1])) ||
                        (end < title.size() && platform::IsAlphaNumeric(title[end])))) {
        from = end;
        continue;
      }
      result.append(title, copied, p - copied);
      result.append(replacement);
      if (result.size() > maxLength) return ReplaceOutcome::kTooLong;
      copied = end;
      from = end;
      replaced = true;
    }
    if (!replaced) return ReplaceOutcome::kUnchanged;
    result.append(title, copied, std::u16string::npos);
    if (result.size() > maxLength) return ReplaceOutcome::kTooLong;
    // A replacement by the same text leaves the title as it was: not a change.
    if (result == title) return ReplaceOutcome::kUnchanged;
    title = std::move(result);
    return ReplaceOutcome::kChanged;
  } catch (const std::bad_alloc&) {
    return ReplaceOutcome::kFailed;
  }
}

}  // namespace bm
