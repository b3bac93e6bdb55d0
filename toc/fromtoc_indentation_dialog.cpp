#include "toc/fromtoc_indentation_dialog.h"

namespace bm {

namespace {

constexpr std::u16string_view kTop = u"ftoc.e.top";
constexpr std::u16string_view kBottom = u"ftoc.e.bottom";
constexpr std::u16string_view kUnits = u"ftoc.cb.units";
// 200 inches.
constexpr double kMaxIndentPoints = 14400;

}  // namespace

FromTOCIndentationDialog::FromTOCIndentationDialog(PluginContext* plugin, double top, double bottom)
    : DialogBase(plugin, u"DlgFromTOCIndentation", nullptr, nullptr),
      top_(top),
      bottom_(bottom),
      units_(this, std::u16string(kUnits),
             {{std::u16string(kTop), 0, kMaxIndentPoints},
              {std::u16string(kBottom), 0, kMaxIndentPoints}}) {
  OnControlEvent(kUnits, [this] { units_.UnitChanged(); });
}

void FromTOCIndentationDialog::OnInit() {
  units_.Fill();
  units_.Show(kTop, top_);
  units_.Show(kBottom, bottom_);
}

bool FromTOCIndentationDialog::Store() {
  const auto top = units_.Points(kTop);
  if (!top) return false;
  const auto bottom = units_.Points(kBottom);
  if (!bottom) return false;
  top_ = *top;
  bottom_ = *bottom;
  return true;
}

}  // namespace bm
