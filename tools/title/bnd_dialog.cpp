#include "tools/title/bnd_dialog.h"

#include "framework/cab_access.h"
#include "macros/macro_menu.h"
#include "macros/macro_set.h"
#include "tools/title/bnd_operation.h"

namespace bm {

namespace {

constexpr std::u16string_view kMask = u"bnd.edit.NamedDestTitle";

}  // namespace

BNDDialog::BNDDialog(PluginContext* plugin, zelta::ICabItem* options,
                     zelta::IHostDocument* document)
    : DialogBase(plugin, u"DlgBookmarksToNamedDests", options, document) {
  BindFlag(u"bnd.chb.IncludeSubBookmarks", &flags_, kBndIncludeSubBookmarks);
  OnControlEvent(u"bnd.cb.SelectSource", [this] {
    flags_ = State(u"bnd.cb.SelectSource") == 1 ? flags_ | kBndSourceSelected
                                                : flags_ & ~kBndSourceSelected;
  });
  OnControlEvent(u"bnd.btn.Macroses", [this] {
    auto macro = ChooseMacro(Dialog(), Control(u"bnd.btn.Macroses").Get(),
                             Plugin() ? Plugin()->App() : nullptr, kNamedDestMacros);
    if (macro) SetText(kMask, Text(kMask) + *macro);
  });
}

void BNDDialog::OnInit() {
  flags_ = CabInt(Options(), u"Flags", 0);
  SetText(kMask, CabText(Options(), u"EditText", u"%[Title]"));
  FillCombo(u"bnd.cb.SelectSource",
            {u"bookmarksPlugin.cbc.cb.fromDocument", u"bookmarksPlugin.cbc.cb.fromBookmarks"});
  Refresh();
}

void BNDDialog::Refresh() {
  SetChecked(u"bnd.chb.IncludeSubBookmarks", flags_ & kBndIncludeSubBookmarks);
  SetState(u"bnd.cb.SelectSource", (flags_ & kBndSourceSelected) ? 1 : 0);
  Enable(u"bnd.chb.IncludeSubBookmarks", flags_ & kBndSourceSelected);
  Enable(u"btn.ok", !Text(kMask).empty());
}

bool BNDDialog::Store() {
  zelta::ICabItem* options = Options();
  const std::u16string mask = Text(kMask);
  if (!options || mask.empty()) return false;
  options->SetText(u"EditText", mask.c_str(), static_cast<int32_t>(mask.size()));
  options->SetInt(u"Flags", flags_);
  return true;
}

bool BNDDialog::Validate() {
  if (!(flags_ & kBndSourceSelected)) return true;
  return CheckSelection(flags_ & kBndIncludeSubBookmarks);
}

}  // namespace bm
