#include "toc/fromtoc_indentation_dialog.h"

#include <algorithm>
#include <cmath>

namespace bm {

namespace {

constexpr std::u16string_view kTop = u"ftoc.e.top";
constexpr std::u16string_view kBottom = u"ftoc.e.bottom";
constexpr std::u16string_view kUnits = u"ftoc.cb.units";
// 200 inches.
constexpr double kMaxIndentPoints = 14400;

struct Unit {
  std::u16string_view stringId;
  double points;
};
constexpr Unit kUnitList[] = {{u"units.points", 1},
                              {u"units.inches", 72},
                              {u"units.millimetres", 72 / 25.4},
                              {u"units.centimetres", 72 / 2.54},
                              {u"units.picas", 12}};

}  // namespace

FromTOCIndentationDialog::FromTOCIndentationDialog(PluginContext* plugin, double top, double bottom)
    : DialogBase(plugin, u"DlgFromTOCIndentation", nullptr, nullptr), top_(top), bottom_(bottom) {
  // A new unit shows the same lengths: what the edits hold is read in the old unit first.
  OnControlEvent(kUnits, [this] {
    const double size = UnitSize();
    if (auto top = Number(kTop)) top_ = *top * size;
    if (auto bottom = Number(kBottom)) bottom_ = *bottom * size;
    unit_ = std::max(0, State(kUnits));
    ShowValues();
  });
}

double FromTOCIndentationDialog::UnitSize() { return kUnitList[unit_].points; }

void FromTOCIndentationDialog::OnInit() {
  FillCombo(kUnits, {kUnitList[0].stringId, kUnitList[1].stringId, kUnitList[2].stringId,
                     kUnitList[3].stringId, kUnitList[4].stringId});
  SetState(kUnits, unit_);
  ShowValues();
}

void FromTOCIndentationDialog::ShowValues() {
  const double size = UnitSize();
  for (auto [id, value] : {std::pair{kTop, top_}, std::pair{kBottom, bottom_}}) {
    SetRange(id, 0, kMaxIndentPoints / size, 1);
    SetNumber(id, value / size);
  }
}

bool FromTOCIndentationDialog::Store() {
  const auto top = CheckedNumber(kTop);
  if (!top) return false;
  const auto bottom = CheckedNumber(kBottom);
  if (!bottom) return false;
  const double size = UnitSize();
  top_ = std::min(*top * size, kMaxIndentPoints);
  bottom_ = std::min(*bottom * size, kMaxIndentPoints);
  return true;
}

}  // namespace bm
