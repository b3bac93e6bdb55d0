#include "tools/title/frt_dialog.h"

#include "framework/cab_access.h"
#include "tools/title/frt_operation.h"
#include "tools/title/regex_error_text.h"

namespace bm {

namespace {

constexpr std::u16string_view kFind = u"frbt.cmb.FindWhat";
constexpr std::u16string_view kReplace = u"frbt.cmb.ReplaceWith";
constexpr std::u16string_view kWarning = u"frbt.info1";
constexpr uint32_t kPatternTimer = 1;
constexpr uint32_t kPatternDelayMs = 200;
// The code shown when a pattern fails without a code of its own.
constexpr int kSyntaxError = 14;

}  // namespace

FRTDialog::FRTDialog(PluginContext* plugin, zelta::ICabItem* options,
                     zelta::IHostDocument* document)
    : DialogBase(plugin, u"DlgFindReplaceBookmarkText", options, document) {
  BindFlag(u"frbt.chb.MatchCase", &flags_, kFrtMatchCase);
  BindFlag(u"frbt.chb.MatchWholeWord", &flags_, kFrtWholeWord);
  BindFlag(u"frbt.chb.UseRegex", &flags_, kFrtRegex);
  BindFlag(u"frbt.chb.IncludeChildBookmarks", &flags_, kFrtIncludeSubBookmarks);
  OnControlEvent(u"frbt.cmb.SelectSource", [this] {
    flags_ = State(u"frbt.cmb.SelectSource") == 1 ? flags_ | kFrtSourceSelected
                                                  : flags_ & ~kFrtSourceSelected;
  });
  // Typing restarts the one-shot check.
  OnControlEvent(kFind, [this] {
    typing_ = true;
    if (Dialog()) Dialog()->SetTimer(kPatternTimer, kPatternDelayMs);
  });
}

void FRTDialog::OnInit() {
  flags_ = CabInt(Options(), u"Flags", 0);
  findWords_ = CabStrings(CabItem(Options(), u"FindWords").Get());
  replaceWords_ = CabStrings(CabItem(Options(), u"ReplaceWords").Get());
  SetEntries(kFind, findWords_);
  SetEntries(kReplace, replaceWords_);
  if (!findWords_.empty()) SetState(kFind, 0);
  if (!replaceWords_.empty()) SetState(kReplace, 0);
  FillCombo(u"frbt.cmb.SelectSource",
            {u"bookmarksPlugin.cbc.cb.fromDocument", u"bookmarksPlugin.cbc.cb.fromBookmarks"});
  Refresh();
}

void FRTDialog::OnTimer(intptr_t id) {
  if (id != kPatternTimer) return;
  if (Dialog()) Dialog()->KillTimer(kPatternTimer);
  CheckPattern();
}

bool FRTDialog::CheckPattern() {
  const std::u16string find = Text(kFind);
  std::optional<int> error;
  if (flags_ & kFrtRegex) error = CheckFindPattern(find, flags_ & kFrtMatchCase);
  if (error) {
    SetText(kWarning, RegexErrorText(Plugin() ? Plugin()->App() : nullptr,
                                     *error >= 0 ? *error : kSyntaxError));
  }
  Show(kWarning, error.has_value());
  Enable(u"btn.ok", !error && !find.empty());
  return !error;
}

void FRTDialog::Refresh() {
  SetChecked(u"frbt.chb.MatchCase", flags_ & kFrtMatchCase);
  SetChecked(u"frbt.chb.MatchWholeWord", flags_ & kFrtWholeWord);
  SetChecked(u"frbt.chb.UseRegex", flags_ & kFrtRegex);
  SetChecked(u"frbt.chb.IncludeChildBookmarks", flags_ & kFrtIncludeSubBookmarks);
  SetState(u"frbt.cmb.SelectSource", (flags_ & kFrtSourceSelected) ? 1 : 0);
  Enable(u"frbt.chb.MatchWholeWord", !(flags_ & kFrtRegex));
  Enable(u"frbt.chb.IncludeChildBookmarks", flags_ & kFrtSourceSelected);
  // The check runs at once on every change but typing, which waits for its timer.
  if (!typing_) CheckPattern();
  typing_ = false;
}

bool FRTDialog::Store() {
  if (!CheckPattern() || Text(kFind).empty()) return false;
  PushHistory(findWords_, Text(kFind));
  PushHistory(replaceWords_, Text(kReplace));
  zelta::ICabItem* options = Options();
  if (!options) return false;
  options->SetInt(u"Flags", flags_);
  SetCabStrings(CabItem(options, u"FindWords").Get(), findWords_);
  SetCabStrings(CabItem(options, u"ReplaceWords").Get(), replaceWords_);
  return true;
}

bool FRTDialog::Validate() {
  if (!(flags_ & kFrtSourceSelected)) return true;
  return CheckSelection(flags_ & kFrtIncludeSubBookmarks);
}

}  // namespace bm
