#include "autogen/text_regex.h"

#include "support/regex_numbers.h"

namespace bm {

using zelta::HRESULT;

namespace {

std::u16string Describe(std::regex_constants::error_type code) {
  using namespace std::regex_constants;
  switch (code) {
    case error_collate: return u"invalid collating element";
    case error_ctype: return u"invalid character class";
    case error_escape: return u"invalid escape";
    case error_backref: return u"invalid back-reference";
    case error_brack: return u"unbalanced [ ]";
    case error_paren: return u"unbalanced ( )";
    case error_brace: return u"unbalanced { }";
    case error_badbrace: return u"invalid range in { }";
    case error_range: return u"invalid character range";
    case error_space: return u"out of memory";
    case error_badrepeat: return u"nothing to repeat";
    case error_complexity: return u"too complex";
    case error_stack: return u"too deep";
    default: return u"invalid expression";
  }
}

}  // namespace

std::wstring ToWide(std::u16string_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      out.push_back(static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00)));
      ++i;
    } else {
      out.push_back(static_cast<wchar_t>(c));
    }
  }
  return out;
}

std::u16string FromWide(std::wstring_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (wchar_t w : text) {
    auto c = static_cast<uint32_t>(w);
    if (c >= 0x10000 && c <= 0x10FFFF) {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

HRESULT TextRegex::Compile(std::u16string_view pattern, bool ignoreCase) {
  regex_.reset();
  error_.clear();
  hasBackrefs_ = false;
  const std::u16string quoted = u"\"" + std::u16string(pattern.substr(0, 200)) + u"\"";
  if (pattern.size() > kMaxPatternLength) {
    error_ = u"regular expression too long: " + quoted;
    return zelta::E_INVALIDARG;
  }
  if (auto oversized = support::OversizedRegexNumber(pattern)) {
    error_ = u"invalid regular expression " + quoted + u": " + Describe(*oversized);
    return zelta::E_INVALIDARG;
  }
  auto flags = std::regex_constants::ECMAScript;
  if (ignoreCase) flags |= std::regex_constants::icase;
  const std::wstring wide = ToWide(pattern);
  try {
    try {
      regex_ = std::make_shared<const std::wregex>(wide, flags | std::regex_constants::__polynomial);
    } catch (const std::regex_error& e) {
      // The polynomial matcher refuses back-references: fall back to the recursive one.
      if (e.code() != std::regex_constants::error_complexity) throw;
      regex_ = std::make_shared<const std::wregex>(wide, flags);
      hasBackrefs_ = true;
    }
  } catch (const std::regex_error& e) {
    error_ = u"invalid regular expression " + quoted + u": " + Describe(e.code());
    return zelta::E_INVALIDARG;
  } catch (const std::bad_alloc&) {
    error_ = u"out of memory compiling " + quoted;
    return zelta::E_OUTOFMEMORY;
  }
  return zelta::S_OK;
}

HRESULT TextRegex::CheckSubject(size_t length) const {
  if (!regex_) return zelta::E_FAIL;
  if (length > (hasBackrefs_ ? kMaxBackrefSubjectLength : kMaxSubjectLength)) return zelta::E_INVALIDARG;
  return zelta::S_OK;
}

HRESULT TextRegex::Search(std::u16string_view text, size_t* start, size_t* length) const {
  HRESULT hr = CheckSubject(text.size());
  if (zelta::Failed(hr)) return hr;
  try {
    const std::wstring wide = ToWide(text);
    std::wsmatch match;
    if (!std::regex_search(wide, match, *regex_)) return zelta::S_FALSE;
    // Positions back in UTF-16 code units.
    const size_t wideStart = static_cast<size_t>(match.position(0));
    const size_t wideLength = static_cast<size_t>(match.length(0));
    const size_t before = FromWide(std::wstring_view(wide).substr(0, wideStart)).size();
    const size_t inside = FromWide(std::wstring_view(wide).substr(wideStart, wideLength)).size();
    if (start) *start = before;
    if (length) *length = inside;
    return zelta::S_OK;
  } catch (const std::bad_alloc&) {
    return zelta::E_OUTOFMEMORY;
  } catch (const std::regex_error&) {
    return zelta::E_FAIL;
  }
}

HRESULT TextRegex::MatchWhole(std::u16string_view text, bool* matched) const {
  HRESULT hr = CheckSubject(text.size());
  if (zelta::Failed(hr)) return hr;
  try {
    *matched = std::regex_match(ToWide(text), *regex_);
    return zelta::S_OK;
  } catch (const std::bad_alloc&) {
    return zelta::E_OUTOFMEMORY;
  } catch (const std::regex_error&) {
    return zelta::E_FAIL;
  }
}

HRESULT TextRegex::ReplaceAll(std::u16string_view text, std::u16string_view format, std::u16string* out) const {
  HRESULT hr = CheckSubject(text.size());
  if (zelta::Failed(hr)) return hr;
  try {
    *out = FromWide(std::regex_replace(ToWide(text), *regex_, ToWide(format)));
    return zelta::S_OK;
  } catch (const std::bad_alloc&) {
    return zelta::E_OUTOFMEMORY;
  } catch (const std::regex_error&) {
    return zelta::E_FAIL;
  }
}

}  // namespace bm
