// "Build Table of Contents": title, place, page size and margins, the levels to include, the
// page-number style, the chain of level formats, and the presets of whole option sets.
#pragma once

#include <vector>

#include "framework/dialog_base.h"

namespace bm {

class ToTOCDialog : public DialogBase {
 public:
  ToTOCDialog(PluginContext* plugin, zelta::ICabItem* options, zelta::IHostDocument* document);

 protected:
  void OnInit() override;
  void OnControl(zelta::IDialogControl* sender) override;
  bool Store() override;
  void Refresh() override;

 private:
  // Shows the options in the controls (at opening, and after a preset was taken).
  void Load();
  void ShowLevels(int32_t select);
  // The position in "Levels" of the selected tree item; -1 for none.
  int32_t SelectedLevel();
  void AddLevel();
  void RemoveLevel();

  int32_t flags_ = 0;
  int32_t paperType_ = 1;
  std::vector<int32_t> treeItems_;  // the tree item of each level, in chain order
};

}  // namespace bm
