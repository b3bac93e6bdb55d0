#include "autogen/stop_words.h"

#include "autogen/title_formatter.h"
#include "platform/locale_text.h"

namespace bm {

using zelta::HRESULT;

StopWords::StopWords(std::vector<std::u16string> words, int32_t flags)
    : words_(std::move(words)), flags_(flags) {}

HRESULT StopWords::Prepare() {
  regexes_.clear();
  error_.clear();
  if (!(flags_ & kStopRegex)) return zelta::S_OK;
  regexes_.resize(words_.size());
  for (size_t i = 0; i < words_.size(); ++i) {
    if (words_[i].empty()) continue;
    HRESULT hr = regexes_[i].Compile(words_[i], !(flags_ & kStopMatchCase));
    if (zelta::Failed(hr)) {
      error_ = u"stop word: " + regexes_[i].Error();
      return hr;
    }
  }
  return zelta::S_OK;
}

bool StopWords::OccursPlain(std::u16string_view title, std::u16string_view word) const {
  const size_t at =
      (flags_ & kStopMatchCase) ? title.find(word) : platform::FindIgnoreCase(title, word);
  if (at == std::u16string_view::npos) return false;
  if (!(flags_ & kStopWholeWords)) return true;
  // Only the first occurrence counts, and only when blanks (or the title's ends) surround it.
  const size_t end = at + word.size();
  const bool endOk = end >= title.size() || IsBlank(title[end]);
  const bool startOk = at == 0 || IsBlank(title[at - 1]);
  return endOk && startOk;
}

HRESULT StopWords::Occurs(std::u16string_view title) const {
  for (size_t i = 0; i < words_.size(); ++i) {
    if (words_[i].empty()) continue;
    if (!(flags_ & kStopRegex)) {
      if (OccursPlain(title, words_[i])) return zelta::S_OK;
      continue;
    }
    if (i >= regexes_.size() || !regexes_[i].Compiled()) return zelta::E_FAIL;
    HRESULT hr;
    if (flags_ & kStopWholeWords) {
      bool whole = false;
      hr = regexes_[i].MatchWhole(title, &whole);
      if (zelta::Succeeded(hr) && whole) return zelta::S_OK;
    } else {
      hr = regexes_[i].Search(title, nullptr, nullptr);
      if (hr == zelta::S_OK) return zelta::S_OK;
    }
    if (zelta::Failed(hr)) return hr;
  }
  return zelta::S_FALSE;
}

}  // namespace bm
