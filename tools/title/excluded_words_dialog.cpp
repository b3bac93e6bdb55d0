#include "tools/title/excluded_words_dialog.h"

namespace bm {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

}  // namespace

ExcludedWordsDialog::ExcludedWordsDialog(PluginContext* plugin)
    : DialogBase(plugin, u"DlgAddExcludedWords", nullptr, nullptr) {}

bool ExcludedWordsDialog::Store() {
  words_.clear();
  std::u16string text = Text(u"cbc.aew.edit");
  for (char16_t& c : text)
    if (c == u'\r') c = u'\n';
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(u'\n', start);
    if (end == std::u16string::npos) end = text.size();
    size_t first = start, last = end;
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    if (last > first) words_.push_back(text.substr(first, last - first));
    start = end + 1;
  }
  return true;
}

}  // namespace bm
