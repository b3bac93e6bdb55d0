// "Build Table of Contents": title, place, page size and margins, the levels to include, the
// page-number style, the chain of level formats, and the presets of whole option sets.
#pragma once

#include <vector>

#include "framework/dialog_base.h"
#include "framework/unit_edits.h"
#include "host/editors.h"

namespace bm {

class ToTOCDialog : public DialogBase {
 public:
  ToTOCDialog(PluginContext* plugin, zelta::ICabItem* options, zelta::IHostDocument* document);

 protected:
  void OnInit() override;
  void OnControl(zelta::IDialogControl* sender) override;
  bool Store() override;
  void Refresh() override;
  // A preset takes what the controls show, without touching the last used options.
  bool OnSavingPreset() override { return StoreControls(); }

 private:
  // Shows the options in the controls (at opening, and after a preset was taken).
  void Load();
  bool StoreControls();
  void ShowLevels(int32_t select);
  // The position in "Levels" of the selected tree item; -1 for none.
  int32_t SelectedLevel();
  void AddLevel();
  // The host's font dialog over the selected level.
  void EditLevel();
  zelta::ComPtr<zelta::IHostEditors> FontEditor() const;
  void RemoveLevel();

  int32_t flags_ = 0;
  int32_t paperType_ = 1;
  // The custom page size, shown in the unit of its combo.
  UnitEdits pageSize_;
  std::vector<int32_t> treeItems_;  // the tree item of each level, in chain order
};

}  // namespace bm
