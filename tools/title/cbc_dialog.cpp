#include "tools/title/cbc_dialog.h"

#include <algorithm>

#include "framework/cab_access.h"
#include "platform/locale_text.h"
#include "tools/title/cbc_operation.h"
#include "tools/title/change_case.h"
#include "tools/title/excluded_words_dialog.h"

namespace bm {

namespace {

constexpr std::u16string_view kList = u"cbc.list.CustomWordList";
constexpr std::u16string_view kAdd = u"cmd.addExcludedWord";
constexpr std::u16string_view kEdit = u"cmd.editExcludedWord";
constexpr std::u16string_view kRemove = u"cmd.removeExcludedWords";

struct CaseRadio {
  std::u16string_view id;
  int32_t mode;
};
// In the order their selection is decided: a set bit wins over Title Case.
constexpr CaseRadio kCaseRadios[] = {{u"cbc.rbtn.UpperCase", kUpperCase},
                                     {u"cbc.rbtn.LowerCase", kLowerCase},
                                     {u"cbc.rbtn.SentenceCase", kSentenceCase},
                                     {u"cbc.rbtn.TitleCase", kTitleCase}};

std::u16string Trim(std::u16string_view text) {
  auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return std::u16string(text);
}

}  // namespace

CBCDialog::CBCDialog(PluginContext* plugin, zelta::ICabItem* options,
                     zelta::IHostDocument* document)
    : DialogBase(plugin, u"DlgChangeBookmarkCase", options, document) {
  for (const CaseRadio& radio : kCaseRadios)
    OnControlEvent(radio.id,
                   [this, mode = radio.mode] { flags_ = (flags_ & ~kCaseModeMask) | mode; });
  BindFlag(u"cbc.chb.EnterCustomWordList", &flags_, kApplyExcludedWords);
  BindFlag(u"cbc.chb.IncludeChildrenBookmarks", &flags_, kCbcNoSubBookmarks, true);
  OnControlEvent(u"cbc.cb.UseBookmarksFrom", [this] {
    flags_ = (flags_ & ~(kCbcSourceDocument | kCbcSourceSelected)) |
             (State(u"cbc.cb.UseBookmarksFrom") == 1 ? kCbcSourceSelected : kCbcSourceDocument);
  });
  OnControlEvent(kAdd, [this] { AddWords(); });
  OnControlEvent(kEdit, [this] { EditWord(); });
  OnControlEvent(kRemove, [this] { RemoveWords(); });
}

void CBCDialog::OnInit() {
  flags_ = CabInt(Options(), u"Flags", 0);
  words_ = SortExcludedWords(CabStrings(CabItem(Options(), u"ExcludedWords").Get()));
  FillCombo(u"cbc.cb.UseBookmarksFrom",
            {u"bookmarksPlugin.cbc.cb.fromDocument", u"bookmarksPlugin.cbc.cb.fromBookmarks"});
  ShowWords(-1);
  Refresh();
}

void CBCDialog::Refresh() {
  for (const CaseRadio& radio : kCaseRadios)
    if (radio.mode == kTitleCase ? (flags_ & kCaseModeMask) == 0 : (flags_ & radio.mode) != 0) {
      SetState(radio.id, 1);
      break;
    }
  SetChecked(u"cbc.chb.EnterCustomWordList", flags_ & kApplyExcludedWords);
  SetChecked(u"cbc.chb.IncludeChildrenBookmarks", !(flags_ & kCbcNoSubBookmarks));
  SetState(u"cbc.cb.UseBookmarksFrom", (flags_ & kCbcSourceSelected) ? 1 : 0);
  Enable(u"cbc.chb.IncludeChildrenBookmarks", flags_ & kCbcSourceSelected);
  const bool on = ListCommandsOn();
  Enable(kList, on);
  Enable(kAdd, on);
  Enable(kEdit, on && State(kList) >= 0);
  Enable(kRemove, on && !SelectedEntries(kList).empty());
}

bool CBCDialog::ListCommandsOn() const { return flags_ & kApplyExcludedWords; }

int32_t CBCDialog::OnKey(zelta::IDialogControl* sender, intptr_t key) {
  zelta::OwnedString id;
  if (!sender || zelta::Failed(sender->GetId(id.Put())) || id.View() != kList) return 1;
  switch (key) {
    case zelta::kKeyInsert:
      AddWords();
      break;
    case zelta::kKeyF2:
      EditWord();
      break;
    case zelta::kKeyDelete:
      RemoveWords();
      break;
    default:
      return 1;
  }
  Refresh();
  return 0;
}

std::optional<size_t> CBCDialog::Insert(const std::u16string& word) {
  auto less = [](const std::u16string& a, const std::u16string& b) {
    return platform::CompareText(a, b, true) < 0;
  };
  auto at = std::lower_bound(words_.begin(), words_.end(), word, less);
  if (at != words_.end() && platform::CompareText(*at, word, true) == 0) return std::nullopt;
  return static_cast<size_t>(words_.insert(at, word) - words_.begin());
}

void CBCDialog::ShowWords(int32_t focus) {
  SetEntries(kList, words_);
  if (focus >= 0) SetState(kList, focus);
}

void CBCDialog::AddWords() {
  if (!ListCommandsOn()) return;
  auto dialog = zelta::MakeCom<ExcludedWordsDialog>(Plugin());
  int32_t result = 0;
  if (dialog->RunModal(Window(), &result) != zelta::S_OK || result != zelta::kDialogResultOk)
    return;
  std::u16string last;
  for (const std::u16string& word : dialog->Words())
    if (Insert(word)) last = word;
  if (last.empty()) return;
  const auto focus = std::find(words_.begin(), words_.end(), last) - words_.begin();
  ShowWords(static_cast<int32_t>(focus));
}

void CBCDialog::EditWord() {
  const int32_t focused = State(kList);
  if (!ListCommandsOn() || focused < 0 || focused >= static_cast<int32_t>(words_.size())) return;
  auto answer = Input(u"bookmarksPlugin.msg.cbc.excludedwords.edit.title",
                      u"bookmarksPlugin.msg.cbc.excludedwords.caption", words_[focused]);
  if (!answer) return;
  const std::u16string word = Trim(*answer);
  if (word.empty()) return;
  words_.erase(words_.begin() + focused);
  const std::optional<size_t> at = Insert(word);
  // A word already in the list takes the focus in place of the one that went.
  const auto same = std::find_if(words_.begin(), words_.end(), [&](const std::u16string& w) {
    return platform::CompareText(w, word, true) == 0;
  });
  ShowWords(static_cast<int32_t>(at ? *at : same - words_.begin()));
}

void CBCDialog::RemoveWords() {
  if (!ListCommandsOn()) return;
  std::vector<int32_t> selected = SelectedEntries(kList);
  if (selected.empty()) return;
  for (auto it = selected.rbegin(); it != selected.rend(); ++it) words_.erase(words_.begin() + *it);
  ShowWords(-1);
}

bool CBCDialog::Store() {
  zelta::ICabItem* options = Options();
  if (!options) return false;
  options->SetInt(u"Flags", flags_);
  SetCabStrings(CabItem(options, u"ExcludedWords").Get(), words_);
  return true;
}

bool CBCDialog::Validate() {
  if (!(flags_ & kCbcSourceSelected)) return true;
  return CheckSelection(!(flags_ & kCbcNoSubBookmarks));
}

}  // namespace bm
