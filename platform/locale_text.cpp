#include "platform/locale_text.h"

#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <climits>

#include "platform/collator_cache.h"

namespace bm::platform {
namespace {

// ICU takes int32_t lengths; longer text is compared on its first INT32_MAX units and then
// by length, which no real title comes near.
int32_t IcuLength(size_t length) {
  return static_cast<int32_t>(std::min<size_t>(length, INT32_MAX));
}

// Applies a code point mapping to text in place, keeping the UTF-16 length.
template <class Map>
void MapInPlace(char16_t* text, size_t length, Map map) {
  size_t i = 0;
  while (i < length) {
    char16_t unit = text[i];
    if (U16_IS_LEAD(unit) && i + 1 < length && U16_IS_TRAIL(text[i + 1])) {
      UChar32 mapped = map(U16_GET_SUPPLEMENTARY(unit, text[i + 1]));
      if (U16_LENGTH(mapped) == 2) {
        text[i] = U16_LEAD(mapped);
        text[i + 1] = U16_TRAIL(mapped);
      }
      i += 2;
      continue;
    }
    if (!U16_IS_SURROGATE(unit)) {
      UChar32 mapped = map(unit);
      if (U16_LENGTH(mapped) == 1) text[i] = static_cast<char16_t>(mapped);
    }
    ++i;
  }
}

UChar32 Fold(UChar32 c) { return u_foldCase(c, U_FOLD_CASE_DEFAULT); }

}  // namespace

int CompareText(std::u16string_view a, std::u16string_view b, bool ignoreCase) {
  const UCollator* collator =
      CollatorCache::Instance().Get(CollatorCache::LocaleFromEnvironment(), ignoreCase);
  if (!collator) return a.compare(b);
  UCollationResult result =
      ucol_strcoll(collator, reinterpret_cast<const UChar*>(a.data()), IcuLength(a.size()),
                   reinterpret_cast<const UChar*>(b.data()), IcuLength(b.size()));
  if (result == UCOL_EQUAL && (a.size() > INT32_MAX || b.size() > INT32_MAX))
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
  return result == UCOL_LESS ? -1 : (result == UCOL_GREATER ? 1 : 0);
}

size_t UpperCaseInPlace(char16_t* text, size_t length) {
  if (!text) return 0;
  MapInPlace(text, length, [](UChar32 c) { return u_toupper(c); });
  return length;
}

size_t LowerCaseInPlace(char16_t* text, size_t length) {
  if (!text) return 0;
  MapInPlace(text, length, [](UChar32 c) { return u_tolower(c); });
  return length;
}

bool IsAlpha(char16_t c) { return !U16_IS_SURROGATE(c) && u_isalpha(c); }
bool IsAlphaNumeric(char16_t c) { return !U16_IS_SURROGATE(c) && u_isalnum(c); }
bool IsUpper(char16_t c) { return !U16_IS_SURROGATE(c) && u_isupper(c); }
bool IsLower(char16_t c) { return !U16_IS_SURROGATE(c) && u_islower(c); }

size_t FindIgnoreCase(std::u16string_view text, std::u16string_view what, size_t from) {
  if (from > text.size()) return std::u16string_view::npos;
  if (what.empty()) return from;
  // Simple folding keeps every code point's UTF-16 length, so indexes in the folded copies
  // are indexes in the originals.
  std::u16string foldedText(text), foldedWhat(what);
  MapInPlace(foldedText.data(), foldedText.size(), Fold);
  MapInPlace(foldedWhat.data(), foldedWhat.size(), Fold);
  size_t at = from;
  while ((at = std::u16string_view(foldedText).find(foldedWhat, at)) != std::u16string_view::npos) {
    bool insidePair = at > 0 && U16_IS_TRAIL(text[at]) && U16_IS_LEAD(text[at - 1]);
    if (!insidePair) return at;
    ++at;
  }
  return std::u16string_view::npos;
}

}  // namespace bm::platform
