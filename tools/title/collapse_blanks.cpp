#include "tools/title/collapse_blanks.h"

namespace bm {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

}  // namespace

std::u16string RemoveExcessiveSpaces(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  bool pendingSpace = false;
  for (char16_t c : text) {
    if (IsBlank(c)) {
      pendingSpace = !out.empty();
      continue;
    }
    if (pendingSpace) out += u' ';
    pendingSpace = false;
    out += c;
  }
  return out;
}

}  // namespace bm
