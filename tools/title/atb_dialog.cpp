#include "tools/title/atb_dialog.h"

#include "framework/cab_access.h"
#include "macros/macro_menu.h"
#include "macros/macro_set.h"
#include "tools/title/atb_operation.h"

namespace bm {

namespace {

constexpr std::u16string_view kPrefix = u"atb.edit.Prefix";
constexpr std::u16string_view kSuffix = u"atb.edit.Suffix";
constexpr std::u16string_view kLevel = u"atb.numEdit.SelectLevel";
constexpr double kMaxLevel = 256;

}  // namespace

ATBDialog::ATBDialog(PluginContext* plugin, zelta::ICabItem* options,
                     zelta::IHostDocument* document)
    : DialogBase(plugin, u"DlgAddTextToBookmark", options, document), lastEdit_(kPrefix) {
  OnControlEvent(kPrefix, [this] { lastEdit_ = kPrefix; });
  OnControlEvent(kSuffix, [this] { lastEdit_ = kSuffix; });
  BindFlag(u"atb.chb.IncludeChildren", &flags_, kAtbIncludeSubLevels);
  BindFlag(u"atb.chb.RemoveSpaces", &flags_, kAtbRemoveSpaces);
  BindFlag(u"atb.chb.ProcessAllLevels", &flags_, kAtbOneLevel, true);
  OnControlEvent(u"atb.cb.UseBookmarksFrom", [this] {
    flags_ = State(u"atb.cb.UseBookmarksFrom") == 1 ? flags_ | kAtbSourceSelected
                                                    : flags_ & ~kAtbSourceSelected;
  });
  OnControlEvent(u"atb.btn.Macroses", [this] { InsertMacro(); });
}

void ATBDialog::OnInit() {
  flags_ = CabInt(Options(), u"Flags", 0);
  SetText(kPrefix, CabText(Options(), u"Prefix", u""));
  SetText(kSuffix, CabText(Options(), u"Suffix", u""));
  SetRange(kLevel, 1, kMaxLevel, 1);
  SetNumber(kLevel, CabInt(Options(), u"StartLevel", 1));
  FillCombo(u"atb.cb.UseBookmarksFrom",
            {u"bookmarksPlugin.cbc.cb.fromDocument", u"bookmarksPlugin.cbc.cb.fromBookmarks"});
  Refresh();
}

void ATBDialog::InsertMacro() {
  auto macro = ChooseMacro(Dialog(), Control(u"atb.btn.Macroses").Get(),
                           Plugin() ? Plugin()->App() : nullptr, kAllMacros);
  if (macro) SetText(lastEdit_, Text(lastEdit_) + *macro);
}

void ATBDialog::Refresh() {
  const bool selected = flags_ & kAtbSourceSelected;
  const bool oneLevel = (flags_ & kAtbOneLevel) && !selected;
  SetChecked(u"atb.chb.IncludeChildren", flags_ & kAtbIncludeSubLevels);
  SetChecked(u"atb.chb.RemoveSpaces", flags_ & kAtbRemoveSpaces);
  SetChecked(u"atb.chb.ProcessAllLevels", !(flags_ & kAtbOneLevel));
  SetState(u"atb.cb.UseBookmarksFrom", selected ? 1 : 0);
  Enable(u"atb.chb.IncludeChildren", flags_ & (kAtbOneLevel | kAtbSourceSelected));
  Enable(u"atb.chb.ProcessAllLevels", !selected);
  Enable(kLevel, oneLevel);
  Enable(u"atb.lbl.SelectLevel", oneLevel);
  Enable(u"btn.ok", !Text(kPrefix).empty() || !Text(kSuffix).empty());
}

bool ATBDialog::Store() {
  zelta::ICabItem* options = Options();
  if (!options) return false;
  const std::u16string prefix = Text(kPrefix), suffix = Text(kSuffix);
  if (prefix.empty() && suffix.empty()) return false;
  int32_t level = CabInt(options, u"StartLevel", 1);
  if ((flags_ & kAtbOneLevel) && !(flags_ & kAtbSourceSelected)) {
    const auto number = CheckedNumber(kLevel);
    if (!number) return false;
    level = static_cast<int32_t>(*number + 0.5);
  }
  options->SetText(u"Prefix", prefix.c_str(), static_cast<int32_t>(prefix.size()));
  options->SetText(u"Suffix", suffix.c_str(), static_cast<int32_t>(suffix.size()));
  options->SetInt(u"StartLevel", level);
  options->SetInt(u"Flags", flags_);
  return true;
}

bool ATBDialog::Validate() {
  if (!(flags_ & kAtbSourceSelected)) return true;
  return CheckSelection(flags_ & kAtbIncludeSubLevels);
}

}  // namespace bm
