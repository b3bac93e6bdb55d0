// Lengths a dialog keeps in points and shows in the measurement unit chosen in a combo box:
// the combo offers the host's units (points alone when the host has none), and changing it
// shows the same lengths in the new unit. What the options hold stays in points.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "framework/dialog_base.h"

namespace bm {

class UnitEdits {
 public:
  struct Field {
    std::u16string id;
    double minPoints, maxPoints;
  };

  // The dialog owns this object; the combo's change event calls UnitChanged.
  UnitEdits(DialogBase* dialog, std::u16string comboId, std::vector<Field> fields);

  // Fills the combo with the units (at the dialog's opening) and chooses the first.
  void Fill();
  // Shows a length, in points, in the edit of a field.
  void Show(std::u16string_view id, double points);
  // The length an edit holds, in points; nullopt, after the message that names the range,
  // when its text is no number in range. An edit the user did not change gives back exactly
  // the length it was shown with, whatever rounding the display needed.
  std::optional<double> Points(std::u16string_view id);
  // After the user chose another unit: every edit shows the length it held, in that unit.
  void UnitChanged();
  // The points of one unit of the chosen unit.
  double UnitSize() const;
  // The host's units: names and points per unit, points first.
  static std::vector<std::pair<std::u16string, double>> HostUnits(PluginContext* plugin);

 private:
  struct Shown {
    std::u16string text;
    double points;
  };
  const Field* FieldOf(std::u16string_view id) const;

  DialogBase* dialog_;
  std::u16string combo_;
  std::vector<Field> fields_;
  std::vector<std::pair<std::u16string, double>> units_;
  size_t unit_ = 0;
  std::vector<Shown> shown_;  // per field
};

}  // namespace bm
