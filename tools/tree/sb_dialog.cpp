#include "tools/tree/sb_dialog.h"

#include "framework/cab_access.h"
#include "tools/tree/sb_operation.h"

namespace bm {

namespace {

constexpr std::u16string_view kLevel = u"sb.e.sortLevel";
constexpr std::u16string_view kSortType = u"sb.cb.sortType";
constexpr int32_t kSortTypeMask = 0xF0;

}  // namespace

SBDialog::SBDialog(PluginContext* plugin, zelta::ICabItem* options, zelta::IHostDocument* document)
    : DialogBase(plugin, u"DlgSortBookmarks", options, document) {
  OnControlEvent(u"sb.rb.sortByPage", [this] { flags_ &= ~kSbAlphabetical; });
  OnControlEvent(u"sb.rb.sortAlpha", [this] { flags_ |= kSbAlphabetical; });
  BindFlag(u"sb.chb.sortAll", &flags_, kSbOneLevel, true);
  BindFlag(u"sb.chb.sortChildren", &flags_, kSbWithLevelsBelow);
  BindFlag(u"sb.chb.ignoreCase", &flags_, kSbIgnoreCase);
  OnControlEvent(kSortType, [this] {
    flags_ = (flags_ & ~kSortTypeMask) | (State(kSortType) == 1 ? kSbDescending : 0);
  });
}

void SBDialog::OnInit() {
  flags_ = CabInt(Options(), u"Flags", 0);
  FillCombo(kSortType, {u"bookmarksPlugin.sb.ascending", u"bookmarksPlugin.sb.descending"});
  SetRange(kLevel, 1, 100, 1);
  SetNumber(kLevel, CabInt(Options(), u"Level", 1));
  Refresh();
}

void SBDialog::Refresh() {
  SetChecked(u"sb.chb.sortAll", !(flags_ & kSbOneLevel));
  SetChecked(u"sb.chb.sortChildren", flags_ & kSbWithLevelsBelow);
  SetState((flags_ & kSbAlphabetical) ? u"sb.rb.sortAlpha" : u"sb.rb.sortByPage", 1);
  SetChecked(u"sb.chb.ignoreCase", flags_ & kSbIgnoreCase);
  Enable(u"sb.chb.ignoreCase", flags_ & kSbAlphabetical);
  Enable(u"sb.chb.sortChildren", flags_ & kSbOneLevel);
  Enable(kLevel, flags_ & kSbOneLevel);
  Enable(u"sb.l.selectLevel", flags_ & kSbOneLevel);
  SetState(kSortType, (flags_ & kSbDescending) ? 1 : 0);
}

bool SBDialog::Store() {
  zelta::ICabItem* options = Options();
  if (!options) return false;
  if (flags_ & kSbOneLevel) {
    const auto level = CheckedNumber(kLevel);
    if (!level) return false;
    options->SetInt(u"Level", static_cast<int32_t>(*level + 0.5));
  }
  options->SetInt(u"Flags", flags_);
  return true;
}

}  // namespace bm
