#include "autogen/stop_words_dialog.h"

#include "framework/cab_access.h"

namespace bm {

namespace {

constexpr std::u16string_view kList = u"esw.list";

}  // namespace

StopWordsDialog::StopWordsDialog(PluginContext* plugin, zelta::ICabItem* stopWordsData)
    : DialogBase(plugin, u"DlgEditStopWords", stopWordsData, nullptr) {
  BindFlag(u"esw.chb.matchCase", &flags_, 0x1);
  BindFlag(u"esw.chb.matchWhole", &flags_, 0x2);
  BindFlag(u"esw.chb.useRegExp", &flags_, 0x4);
  OnControlEvent(u"cmd.addStopWords", [this] { Add(); });
  OnControlEvent(u"cmd.editStopWords", [this] { Edit(); });
  OnControlEvent(u"cmd.removeStopWords", [this] { Remove(); });
}

void StopWordsDialog::OnInit() {
  flags_ = CabInt(Options(), u"StopWordsFlags", 0);
  words_ = CabStrings(CabItem(Options(), u"StopWords").Get());
  SetEntries(kList, words_);
  Refresh();
}

void StopWordsDialog::Refresh() {
  SetChecked(u"esw.chb.matchCase", flags_ & 0x1);
  SetChecked(u"esw.chb.matchWhole", flags_ & 0x2);
  SetChecked(u"esw.chb.useRegExp", flags_ & 0x4);
  Enable(u"cmd.editStopWords", State(kList) >= 0);
  Enable(u"cmd.removeStopWords", !SelectedEntries(kList).empty());
}

void StopWordsDialog::Add() {
  // An entry already in the list is added again: the list is the user's, as typed.
  auto phrase = Input(u"bookmarksPlugin.msg.stopWords.add.title",
                      u"bookmarksPlugin.msg.stopWords.caption", u"");
  if (!phrase || phrase->empty()) return;
  words_.push_back(*phrase);
  SetEntries(kList, words_);
  SetState(kList, static_cast<int32_t>(words_.size()) - 1);
}

void StopWordsDialog::Edit() {
  const int32_t focused = State(kList);
  if (focused < 0 || focused >= static_cast<int32_t>(words_.size())) return;
  auto phrase = Input(u"bookmarksPlugin.msg.stopWords.edit.title",
                      u"bookmarksPlugin.msg.stopWords.caption", words_[focused]);
  if (!phrase || phrase->empty()) return;
  words_[focused] = *phrase;
  SetEntries(kList, words_);
  SetState(kList, focused);
}

void StopWordsDialog::Remove() {
  const std::vector<int32_t> selected = SelectedEntries(kList);
  for (auto it = selected.rbegin(); it != selected.rend(); ++it) words_.erase(words_.begin() + *it);
  SetEntries(kList, words_);
}

bool StopWordsDialog::Store() {
  zelta::ICabItem* data = Options();
  if (!data) return false;
  data->SetInt(u"StopWordsFlags", flags_);
  SetCabStrings(CabItem(data, u"StopWords").Get(), words_);
  return true;
}

}  // namespace bm
