// "Change Indentation": the top and bottom indents of a table of contents, shown in the unit
// the user picks and kept in points.
#pragma once

#include "framework/dialog_base.h"
#include "framework/unit_edits.h"

namespace bm {

class FromTOCIndentationDialog : public DialogBase {
 public:
  FromTOCIndentationDialog(PluginContext* plugin, double top, double bottom);

  // The indents in points (after OK, what the user gave).
  double Top() const { return top_; }
  double Bottom() const { return bottom_; }

 protected:
  void OnInit() override;
  bool Store() override;

 private:
  double top_, bottom_;
  UnitEdits units_;
};

}  // namespace bm
