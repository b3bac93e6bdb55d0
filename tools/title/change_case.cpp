#include "tools/title/change_case.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <new>

#include "platform/locale_text.h"

namespace bm {
namespace {

constexpr char16_t kApostrophe = u'\'';

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Code units of the character at i: 2 for a surrogate pair, else 1.
size_t CharLength(std::u16string_view text, size_t i) {
  return IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]) ? 2 : 1;
}

bool IsAsciiLetter(char16_t c) { return (c | 0x20) >= u'a' && (c | 0x20) <= u'z'; }

// Whether the character at i is a letter. Letters outside the basic plane come as surrogate
// pairs, which the per-unit class test cannot see, so they are classified as code points.
// In ASCII the letters are A-Z and a-z, which needs no character table.
bool IsLetterAt(std::u16string_view text, size_t i) {
  if (text[i] < 0x80) return IsAsciiLetter(text[i]);
  if (CharLength(text, i) == 2) {
    const char32_t cp = 0x10000 + ((static_cast<char32_t>(text[i]) - 0xD800) << 10) +
                        (static_cast<char32_t>(text[i + 1]) - 0xDC00);
    return u_isalpha(static_cast<UChar32>(cp));
  }
  return platform::IsAlpha(text[i]);
}

int CompareIgnoreCase(std::u16string_view a, std::u16string_view b) {
  return platform::CompareText(a, b, true);
}

// ASCII letters map among themselves; other text goes through the character tables.
bool IsAscii(const char16_t* text, size_t length) {
  return std::all_of(text, text + length, [](char16_t c) { return c < 0x80; });
}
bool Upper(char16_t* text, size_t length) {
  if (!IsAscii(text, length)) return platform::UpperCaseInPlace(text, length) > 0;
  for (size_t i = 0; i < length; ++i)
    if (text[i] >= u'a' && text[i] <= u'z') text[i] = static_cast<char16_t>(text[i] - 0x20);
  return length > 0;
}
bool Lower(char16_t* text, size_t length) {
  if (!IsAscii(text, length)) return platform::LowerCaseInPlace(text, length) > 0;
  for (size_t i = 0; i < length; ++i)
    if (text[i] >= u'A' && text[i] <= u'Z') text[i] = static_cast<char16_t>(text[i] + 0x20);
  return length > 0;
}

char32_t CodePointAt(std::u16string_view text, size_t i) {
  if (CharLength(text, i) == 1) return text[i];
  return 0x10000 + ((static_cast<char32_t>(text[i]) - 0xD800) << 10) +
         (static_cast<char32_t>(text[i + 1]) - 0xDC00);
}

// The blank-separated run of characters around position i, without the punctuation at its
// ends: "(UseMethod)," gives "UseMethod".
std::u16string_view TokenAround(std::u16string_view text, size_t i) {
  size_t start = i, end = i;
  while (start > 0 && !u_isUWhiteSpace(text[start - 1])) --start;
  while (end < text.size() && !u_isUWhiteSpace(text[end])) ++end;
  auto edge = [](char16_t c) { return !u_isalnum(c) && !IsHighSurrogate(c) && !IsLowSurrogate(c); };
  while (start < end && edge(text[start])) ++start;
  while (end > start && edge(text[end - 1])) --end;
  return text.substr(start, end - start);
}

// A name that carries its own capitals, digits or dots: an acronym, code, a version.
bool HasOwnCapitals(std::u16string_view token) {
  bool afterLetter = false;
  for (size_t i = 0; i < token.size(); i += CharLength(token, i)) {
    const char32_t c = CodePointAt(token, i);
    if (c == u'.' || u_isdigit(static_cast<UChar32>(c))) return true;
    if (afterLetter && (u_isupper(static_cast<UChar32>(c)) || u_istitle(static_cast<UChar32>(c))))
      return true;
    afterLetter = afterLetter || u_isalpha(static_cast<UChar32>(c));
  }
  return false;
}

}  // namespace

std::vector<std::u16string> SortExcludedWords(std::vector<std::u16string> words) {
  std::stable_sort(
      words.begin(), words.end(),
      [](const std::u16string& a, const std::u16string& b) { return CompareIgnoreCase(a, b) < 0; });
  auto last =
      std::unique(words.begin(), words.end(), [](const std::u16string& a, const std::u16string& b) {
        return CompareIgnoreCase(a, b) == 0;
      });
  words.erase(last, words.end());
  return words;
}

ChangeCaseEngine::ChangeCaseEngine(std::vector<std::u16string> excludedWords, int32_t flags)
    : mode_(flags & kCaseModeMask), keepCapitals_((flags & kKeepCapitals) != 0) {
  if (flags & kApplyExcludedWords) excluded_ = SortExcludedWords(std::move(excludedWords));
}

bool ChangeCaseEngine::IsExcluded(std::u16string_view word) const {
  auto it = std::lower_bound(excluded_.begin(), excluded_.end(), word,
                             [](const std::u16string& entry, std::u16string_view w) {
                               return CompareIgnoreCase(entry, w) < 0;
                             });
  return it != excluded_.end() && CompareIgnoreCase(*it, word) == 0;
}

zelta::HRESULT ChangeCaseEngine::Apply(std::u16string& title) const {
  if (title.empty()) return zelta::S_OK;
  zelta::HRESULT result = zelta::S_OK;
  bool firstWord = true;
  size_t i = 0;
  while (i < title.size()) {
    if (!IsLetterAt(title, i)) {
      i += CharLength(title, i);
      continue;
    }
    const size_t start = i;
    while (i < title.size() && (title[i] == kApostrophe || IsLetterAt(title, i)))
      i += CharLength(title, i);
    char16_t* word = title.data() + start;
    const size_t length = i - start;
    const size_t firstLength = CharLength(title, start);

    bool mapped = true;
    if (IsExcluded(std::u16string_view(word, length))) {
      // The title's own letters stay.
    } else if (keepCapitals_ && (mode_ == kTitleCase || mode_ == kSentenceCase) &&
               HasOwnCapitals(TokenAround(title, start))) {
      // So do those of a name that has its own capitals.
    } else if (mode_ == kTitleCase) {
      mapped = Lower(word, length) && Upper(word, firstLength);
    } else if (mode_ == kUpperCase) {
      mapped = Upper(word, length);
    } else if (mode_ == kLowerCase) {
      mapped = Lower(word, length);
    } else if (mode_ == kSentenceCase) {
      mapped = Lower(word, length) && (!firstWord || Upper(word, firstLength));
    } else {
      result = zelta::E_FAIL;
    }
    if (!mapped) return zelta::E_FAIL;
    firstWord = false;
  }
  return result;
}

}  // namespace bm
