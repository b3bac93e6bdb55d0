#include "autogen/text_regex.h"

#include <regex>

namespace bm {

using zelta::HRESULT;

namespace {

std::u16string Describe(int code) {
  using namespace std::regex_constants;
  switch (code) {
    case error_collate:
      return u"invalid collating element";
    case error_ctype:
      return u"invalid character class";
    case error_escape:
      return u"invalid escape";
    case error_backref:
      return u"invalid back-reference";
    case error_brack:
      return u"unbalanced [ ]";
    case error_paren:
      return u"unbalanced ( )";
    case error_brace:
      return u"unbalanced { }";
    case error_badbrace:
      return u"invalid range in { }";
    case error_range:
      return u"invalid character range";
    case error_space:
      return u"out of memory";
    case error_badrepeat:
      return u"nothing to repeat";
    case error_complexity:
      return u"too complex";
    case error_stack:
      return u"too deep";
    default:
      return u"invalid expression";
  }
}

HRESULT MatchFailure(int code) {
  return code == std::regex_constants::error_space ? zelta::E_OUTOFMEMORY : zelta::E_FAIL;
}

}  // namespace

HRESULT TextRegex::Compile(std::u16string_view pattern, bool ignoreCase) {
  regex_.reset();
  error_.clear();
  const std::u16string quoted = u"\"" + std::u16string(pattern.substr(0, 200)) + u"\"";
  if (pattern.size() > BoundedRegex::kMaxPatternLength) {
    error_ = u"regular expression too long: " + quoted;
    return zelta::E_INVALIDARG;
  }
  try {
    auto regex = std::make_shared<BoundedRegex>();
    if (auto code = regex->Compile(pattern, ignoreCase)) {
      if (*code == std::regex_constants::error_space) {
        error_ = u"out of memory compiling " + quoted;
        return zelta::E_OUTOFMEMORY;
      }
      error_ = u"invalid regular expression " + quoted + u": " + Describe(*code);
      return zelta::E_INVALIDARG;
    }
    regex_ = std::move(regex);
  } catch (const std::bad_alloc&) {
    error_ = u"out of memory compiling " + quoted;
    return zelta::E_OUTOFMEMORY;
  }
  return zelta::S_OK;
}

HRESULT TextRegex::CheckSubject(size_t length) const {
  if (!regex_) return zelta::E_FAIL;
  if (length > (regex_->HasBackReferences() ? kMaxBackrefSubjectLength : kMaxSubjectLength))
    return zelta::E_INVALIDARG;
  return zelta::S_OK;
}

HRESULT TextRegex::Search(std::u16string_view text, size_t* start, size_t* length) const {
  HRESULT hr = CheckSubject(text.size());
  if (zelta::Failed(hr)) return hr;
  int code = 0;
  switch (regex_->Search(text, start, length, &code)) {
    case BoundedRegex::Match::kFound:
      return zelta::S_OK;
    case BoundedRegex::Match::kNone:
      return zelta::S_FALSE;
    default:
      return MatchFailure(code);
  }
}

HRESULT TextRegex::MatchWhole(std::u16string_view text, bool* matched) const {
  HRESULT hr = CheckSubject(text.size());
  if (zelta::Failed(hr)) return hr;
  int code = 0;
  const BoundedRegex::Match match = regex_->MatchWhole(text, &code);
  if (match == BoundedRegex::Match::kFailed) return MatchFailure(code);
  *matched = match == BoundedRegex::Match::kFound;
  return zelta::S_OK;
}

HRESULT TextRegex::ReplaceAll(std::u16string_view text, std::u16string_view format,
                              std::u16string* out, size_t maxLength) const {
  HRESULT hr = CheckSubject(text.size());
  if (zelta::Failed(hr)) return hr;
  std::u16string result(text);
  int code = 0;
  const BoundedRegex::Outcome outcome = regex_->Replace(result, format, &code, maxLength);
  if (outcome == BoundedRegex::Outcome::kFailed) return MatchFailure(code);
  if (outcome == BoundedRegex::Outcome::kTooLong || result.size() > maxLength)
    return zelta::S_FALSE;
  *out = std::move(result);
  return zelta::S_OK;
}

}  // namespace bm
