#include "tools/tree/link_check.h"

namespace bm {
namespace {

// Longest scheme read before giving up on finding one (the text is then plain text).
constexpr size_t kMaxSchemeLength = 16;

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsSlash(char16_t c) { return c == u'/' || c == u'\\'; }

bool StartsWithIgnoreCase(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

bool IsDrivePath(std::u16string_view text) {
  return text.size() >= 2 && IsAsciiLetter(text[0]) && text[1] == u':' &&
         (text.size() == 2 || IsSlash(text[2]));
}

bool IsNetworkPath(std::u16string_view text) {
  return text.size() > 2 && text[0] == u'\\' && text[1] == u'\\';
}

// "/home/x" but not "//host": a doubled slash is a scheme-less network reference, not a path.
bool IsAbsolutePosixPath(std::u16string_view text) {
  return text.size() >= 2 && text[0] == u'/' && text[1] != u'/';
}

// A "file:" link that names a local or network path: "file:///C:/x", "file:///home/x",
// "file://server/share".
bool IsFileLinkToPath(std::u16string_view text) {
  if (!StartsWithIgnoreCase(text, u"file:")) return false;
  std::u16string_view rest = text.substr(5);
  if (rest.size() < 3 || !IsSlash(rest[0]) || !IsSlash(rest[1])) return false;
  rest.remove_prefix(2);
  if (IsSlash(rest[0])) {
    rest.remove_prefix(1);
    return IsDrivePath(rest) || (!rest.empty() && !IsSlash(rest[0]));
  }
  return IsAsciiLetter(rest[0]) || IsDigit(rest[0]);  // a server name
}

bool IsSchemeCharacter(char16_t c, bool first) {
  if (IsAsciiLetter(c)) return true;
  if (first) return false;
  return IsDigit(c) || c == u'+' || c == u'-' || c == u'.';
}

// The first character of a host or address: a letter or digit, or a letter of the scripts
// from U+00C0 on, leaving out the modifier letters, combining marks and Greek tonos signs.
bool CanStartHost(char16_t c) {
  if (IsDigit(c) || IsAsciiLetter(c)) return true;
  return c >= 0x00C0 && (c < 0x02B0 || c > 0x0385);
}

}  // namespace

bool IsLocalPath(std::u16string_view text) {
  return IsDrivePath(text) || IsNetworkPath(text) || IsAbsolutePosixPath(text) ||
         IsFileLinkToPath(text);
}

bool IsPossibleLink(std::u16string_view text) {
  if (text.empty()) return false;
  if (IsLocalPath(text)) return true;
  // Relative paths are fine; a path from the root that is not a local path ("//x", "\x") is
  // neither a path of this machine nor a link.
  if (text[0] == u'.') return true;
  if (IsSlash(text[0])) return false;

  size_t i = 0;
  while (i < text.size() && (text[i] < 0x21 || text[i] == 0x00A0)) ++i;
  if (i == text.size()) return false;

  const size_t schemeStart = i;
  while (i < text.size() && i - schemeStart < kMaxSchemeLength &&
         IsSchemeCharacter(text[i], i == schemeStart))
    ++i;
  if (i == text.size() || text[i] != u':') return true;  // no scheme: plain text
  const std::u16string_view scheme = text.substr(schemeStart, i - schemeStart);
  if (scheme.empty()) return false;
  ++i;  // the ':'

  if (i + 1 < text.size() && IsSlash(text[i]) && IsSlash(text[i + 1])) {
    i += 2;
  } else if (!(scheme.size() == 6 && StartsWithIgnoreCase(scheme, u"mailto"))) {
    return false;
  }
  return i < text.size() && CanStartHost(text[i]);
}

}  // namespace bm
