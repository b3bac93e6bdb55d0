#include "autogen/title_format_page.h"

#include <cmath>
#include <iterator>

namespace bm {

namespace {

constexpr std::u16string_view kCaseRadios[] = {u"btf.rb.doNotChange", u"btf.rb.sentenceCase",
                                               u"btf.rb.uppercase", u"btf.rb.lowercase",
                                               u"btf.rb.titleCase"};
constexpr std::u16string_view kLeading = u"btf.cb.leadingNumbers";
constexpr std::u16string_view kUse = u"btf.cb.use";
constexpr std::u16string_view kMaxLength = u"btf.e.maxLength";
constexpr double kLongestTitle = 100000;
// "LeadingNum": numbers are added.
constexpr int32_t kAddNumbers = 1;

struct FlagCheck {
  std::u16string_view id;
  int32_t bit;
};
constexpr FlagCheck kFlagChecks[] = {{u"btf.chb.replaceTitle", kFormatReplace},
                                     {u"btf.chb.matchTextCase", kFormatReplaceCase},
                                     {u"btf.chb.insertBefore", kFormatPrefix},
                                     {u"btf.chb.insertAfter", kFormatSuffix},
                                     {u"btf.chb.removeDuplicateSpaces", kFormatCollapseBlanks}};

}  // namespace

TitleFormatPage::TitleFormatPage(PluginContext* plugin, LevelOptions* level)
    : LevelPage(plugin, u"DlgBookmarkTitleFormatting", nullptr, level) {
  for (const FlagCheck& check : kFlagChecks) BindFlag(check.id, &level_->format.flags, check.bit);
  for (int32_t value = 0; value < static_cast<int32_t>(std::size(kCaseRadios)); ++value)
    OnControlEvent(kCaseRadios[value], [this, value] { level_->format.textCase = value; });
  OnControlEvent(kLeading, [this] {
    if (State(kLeading) >= 0) level_->format.leadingNum = State(kLeading);
  });
  OnControlEvent(kUse, [this] {
    if (State(kUse) >= 0) level_->format.numType = State(kUse);
  });
}

void TitleFormatPage::OnInit() {
  const TitleFormat& f = level_->format;
  FillCombo(kLeading,
            {u"bookmarksPlugin.btf.leadingNumbers.noChange", u"bkm.Act.B.Add", u"btn.remove"});
  FillCombo(kUse, {u"bookmarksPlugin.btf.use.numbers", u"bookmarksPlugin.btf.use.letters",
                   u"bookmarksPlugin.btf.use.romanLetters"});
  SetRange(kMaxLength, 1, kLongestTitle, 1);
  if (f.textCase >= 0 && f.textCase < static_cast<int32_t>(std::size(kCaseRadios)))
    SetChecked(kCaseRadios[f.textCase], true);
  SetText(u"btf.e.searchPattern", f.searchPattern);
  SetText(u"btf.e.replacePattern", f.replacePattern);
  SetText(u"btf.e.insertBefore", f.prefix);
  SetText(u"btf.e.insertAfter", f.suffix);
  // Values the combos do not list stay as they are unless the user picks one.
  SetState(kLeading, f.leadingNum >= 0 && f.leadingNum <= 2 ? f.leadingNum : -1);
  SetState(kUse, f.numType >= 0 && f.numType <= 2 ? f.numType : -1);
  SetNumber(kMaxLength, f.titleLength);
  Refresh();
}

void TitleFormatPage::Refresh() {
  const int32_t flags = level_->format.flags;
  for (const FlagCheck& check : kFlagChecks) SetChecked(check.id, flags & check.bit);
  Enable(u"btf.e.insertBefore", flags & kFormatPrefix);
  Enable(u"btf.e.insertAfter", flags & kFormatSuffix);
  for (std::u16string_view id :
       {u"btf.e.searchPattern", u"btf.e.replacePattern", u"btf.chb.matchTextCase"})
    Enable(id, flags & kFormatReplace);
  Enable(kUse, level_->format.leadingNum == kAddNumbers);
}

bool TitleFormatPage::Store() {
  const auto length = CheckedNumber(kMaxLength);
  if (!length) return false;
  TitleFormat& f = level_->format;
  f.titleLength = static_cast<int32_t>(std::lround(*length));
  f.searchPattern = Text(u"btf.e.searchPattern");
  f.replacePattern = Text(u"btf.e.replacePattern");
  f.prefix = Text(u"btf.e.insertBefore");
  f.suffix = Text(u"btf.e.insertAfter");
  return true;
}

}  // namespace bm
