#include "toc/fromtoc_dialog.h"

#include <cmath>

#include "framework/cab_access.h"
#include "toc/fromtoc_indentation_dialog.h"

namespace bm {

namespace {

constexpr std::u16string_view kSeparator = u"ftoc.cb.separator";
constexpr std::u16string_view kOffset = u"ftoc.e.offset";
constexpr int32_t kSeparatorMask = 0x0F;
// The separator entries and their values, in list order.
constexpr std::pair<std::u16string_view, int32_t> kSeparators[] = {
    {u"bookmarksPlugin.ftoc.separator.all", 0},
    {u"bookmarksPlugin.toc.leader.dots", 1},
    {u"bookmarksPlugin.toc.leader.underscores", 2},
    {u"bookmarksPlugin.toc.leader.spaces", 4}};
constexpr double kMaxOffset = 999999;

}  // namespace

FromTOCDialog::FromTOCDialog(PluginContext* plugin, zelta::ICabItem* options,
                             zelta::IHostDocument* document)
    : DialogBase(plugin, u"DlgFromTOC", options, document) {
  // The first three are shown checked while their bit is clear.
  BindFlag(u"ftoc.chb.addBookmarks", &flags_, 0x10, true);
  BindFlag(u"ftoc.chb.addLinks", &flags_, 0x20, true);
  BindFlag(u"ftoc.chb.useExistingLinks", &flags_, 0x40, true);
  BindFlag(u"ftoc.chb.improveDest", &flags_, 0x80);
  BindFlag(u"ftoc.chb.createLevels", &flags_, 0x100);
  BindFlag(u"ftoc.chb.trimSpaces", &flags_, 0x200);
  BindFlag(u"ftoc.chb.trimNumbers", &flags_, 0x400);
  OnControlEvent(kSeparator, [this] {
    const int32_t entry = State(kSeparator);
    if (entry >= 0 && entry < static_cast<int32_t>(std::size(kSeparators)))
      flags_ = (flags_ & ~kSeparatorMask) | kSeparators[entry].second;
  });
  OnControlEvent(u"ftoc.b.indents", [this] { ChangeIndents(); });
}

void FromTOCDialog::OnInit() {
  flags_ = CabInt(Options(), u"Flags", 0);
  top_ = CabDouble(Options(), u"TopIndent", 0);
  bottom_ = CabDouble(Options(), u"BottomIndent", 0);
  std::vector<std::u16string> entries;
  for (const auto& [id, value] : kSeparators) entries.push_back(LoadString(id));
  SetEntries(kSeparator, entries);
  SetRange(kOffset, -kMaxOffset, kMaxOffset, 1);
  SetNumber(kOffset, CabInt(Options(), u"PageOffset", 0));
  Refresh();
}

void FromTOCDialog::Refresh() {
  const std::pair<std::u16string_view, int32_t> checks[] = {
      {u"ftoc.chb.addBookmarks", !(flags_ & 0x10)},     {u"ftoc.chb.addLinks", !(flags_ & 0x20)},
      {u"ftoc.chb.useExistingLinks", !(flags_ & 0x40)}, {u"ftoc.chb.improveDest", flags_ & 0x80},
      {u"ftoc.chb.createLevels", flags_ & 0x100},       {u"ftoc.chb.trimSpaces", flags_ & 0x200},
      {u"ftoc.chb.trimNumbers", flags_ & 0x400}};
  for (const auto& [id, on] : checks) SetChecked(id, on);
  int32_t entry = -1;
  for (size_t i = 0; i < std::size(kSeparators); ++i)
    if (kSeparators[i].second == (flags_ & kSeparatorMask)) entry = static_cast<int32_t>(i);
  SetState(kSeparator, entry);
}

void FromTOCDialog::ChangeIndents() {
  auto dialog = zelta::MakeCom<FromTOCIndentationDialog>(Plugin(), top_, bottom_);
  int32_t result = 0;
  if (dialog->RunModal(Window(), &result) == zelta::S_OK && result == zelta::kDialogResultOk) {
    top_ = dialog->Top();
    bottom_ = dialog->Bottom();
  }
}

bool FromTOCDialog::Store() {
  zelta::ICabItem* options = Options();
  if (!options) return false;
  const auto offset = CheckedNumber(kOffset);
  if (!offset) return false;
  options->SetInt(u"Flags", flags_);
  options->SetInt(u"PageOffset", static_cast<int32_t>(std::lround(*offset)));
  options->SetDouble(u"TopIndent", top_);
  options->SetDouble(u"BottomIndent", bottom_);
  return true;
}

}  // namespace bm
