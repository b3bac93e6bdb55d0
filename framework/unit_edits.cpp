#include "framework/unit_edits.h"

#include <algorithm>
#include <cmath>

#include "framework/host_strings.h"
#include "host/page_content.h"

namespace bm {

namespace {

// Lengths in units other than points are shown to a thousandth.
constexpr double kShownFraction = 1000;

}  // namespace

UnitEdits::UnitEdits(DialogBase* dialog, std::u16string comboId, std::vector<Field> fields)
    : dialog_(dialog),
      combo_(std::move(comboId)),
      fields_(std::move(fields)),
      shown_(fields_.size()) {}

std::vector<std::pair<std::u16string, double>> UnitEdits::HostUnits(PluginContext* plugin) {
  std::vector<std::pair<std::u16string, double>> units;
  if (auto list = GetHostComponent<zelta::IHostUnitList>(plugin ? plugin->App() : nullptr, "UNT")) {
    int32_t count = 0;
    list->GetCount(&count);
    for (int32_t i = 0; i < count; ++i) {
      zelta::OwnedString name;
      double points = 0;
      if (list->GetUnit(i, name.Put(), &points) == zelta::S_OK && points > 0)
        units.emplace_back(name.Str(), points);
    }
  }
  // Lengths are stored in points, so points are always offered.
  if (units.empty() || units.front().second != 1)
    units.insert(
        units.begin(),
        {plugin ? LoadHostString(plugin->App(), u"units.points") : std::u16string(u"Points"), 1});
  return units;
}

void UnitEdits::Fill() {
  units_ = HostUnits(dialog_->Plugin());
  std::vector<std::u16string> names;
  for (const auto& unit : units_) names.push_back(unit.first);
  dialog_->SetEntries(combo_, names);
  unit_ = 0;
  dialog_->SetState(combo_, 0);
}

double UnitEdits::UnitSize() const { return unit_ < units_.size() ? units_[unit_].second : 1; }

const UnitEdits::Field* UnitEdits::FieldOf(std::u16string_view id) const {
  for (const Field& field : fields_)
    if (field.id == id) return &field;
  return nullptr;
}

void UnitEdits::Show(std::u16string_view id, double points) {
  const Field* field = FieldOf(id);
  if (!field) return;
  const double size = UnitSize();
  dialog_->SetRange(id, field->minPoints / size, field->maxPoints / size, 1);
  const double value =
      size == 1 ? points : std::round(points / size * kShownFraction) / kShownFraction;
  dialog_->SetNumber(id, value);
  shown_[field - fields_.data()] = {dialog_->Text(id), points};
}

std::optional<double> UnitEdits::Points(std::u16string_view id) {
  const Field* field = FieldOf(id);
  if (!field) return std::nullopt;
  const Shown& shown = shown_[field - fields_.data()];
  if (dialog_->Text(id) == shown.text) return shown.points;
  const auto value = dialog_->CheckedNumber(id);
  if (!value) return std::nullopt;
  return std::clamp(*value * UnitSize(), field->minPoints, field->maxPoints);
}

void UnitEdits::UnitChanged() {
  // The edits are read in the unit they were shown in; one that holds no number keeps the
  // length it was last shown with.
  std::vector<double> lengths;
  for (size_t i = 0; i < fields_.size(); ++i) {
    const auto value = dialog_->Number(fields_[i].id);
    lengths.push_back(dialog_->Text(fields_[i].id) == shown_[i].text || !value
                          ? shown_[i].points
                          : *value * UnitSize());
  }
  const int32_t chosen = dialog_->State(combo_);
  if (chosen >= 0 && static_cast<size_t>(chosen) < units_.size()) unit_ = chosen;
  for (size_t i = 0; i < fields_.size(); ++i) Show(fields_[i].id, lengths[i]);
}

}  // namespace bm
