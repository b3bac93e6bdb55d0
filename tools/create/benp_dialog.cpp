#include "tools/create/benp_dialog.h"

#include "framework/cab_access.h"
#include "macros/macro_menu.h"
#include "macros/macro_set.h"

namespace bm {

namespace {

constexpr std::u16string_view kStep = u"benp.numEdit.SelectN";
constexpr std::u16string_view kTemplate = u"benp.Edit.TitleTemplate";
constexpr double kMaxStep = 10000;

}  // namespace

BENPDialog::BENPDialog(PluginContext* plugin, zelta::ICabItem* options,
                       zelta::IHostDocument* document)
    : DialogBase(plugin, u"DlgBookmarkEveryNthPage", options, document) {
  OnControlEvent(u"benp.btn.Macroses", [this] {
    auto macro = ChooseMacro(Dialog(), Control(u"benp.btn.Macroses").Get(),
                             Plugin() ? Plugin()->App() : nullptr, kEveryNthPageMacros);
    if (macro) SetText(kTemplate, Text(kTemplate) + *macro);
  });
}

void BENPDialog::OnInit() {
  SetRange(kStep, 1, kMaxStep, 1);
  SetNumber(kStep, CabInt(Options(), u"Step", 1));
  SetText(kTemplate, CabText(Options(), u"TitleText", u""));
  if (Dialog()) Dialog()->LoadPageRange(CabItem(Options(), u"PagesRange").Get(), Document());
  Refresh();
}

void BENPDialog::Refresh() {
  zelta::OwnedString reason;
  const bool usableRange = Dialog() && Dialog()->GetPageRangeError(reason.Put()) == zelta::S_OK;
  Enable(u"btn.ok", usableRange && !Text(kTemplate).empty());
}

bool BENPDialog::Store() {
  zelta::ICabItem* options = Options();
  const std::u16string title = Text(kTemplate);
  if (!options || title.empty() || !Dialog()) return false;
  const auto step = CheckedNumber(kStep);
  if (!step) return false;
  if (Dialog()->StorePageRange(CabItem(options, u"PagesRange").Get()) != zelta::S_OK) return false;
  options->SetInt(u"Step", static_cast<int32_t>(*step + 0.5));
  options->SetText(u"TitleText", title.c_str(), static_cast<int32_t>(title.size()));
  return true;
}

}  // namespace bm
