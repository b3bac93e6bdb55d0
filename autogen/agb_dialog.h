// "Generating Bookmarks From Page Text": the levels as a chain in a tree, the page range, stop
// words, duplicates and presets. Opened modeless by the generation command (one at a time; its
// OK starts a run on its document), or modal in options-only mode for a host that runs the
// operation itself (its OK only stores the options).
#pragma once

#include <string>
#include <vector>

#include "autogen/level_node.h"
#include "framework/dialog_base.h"
#include "host/events.h"

namespace bm {

class AGBDialog : public DialogBase {
 public:
  // options: an AGBOperationOptions dictionary the dialog edits.
  AGBDialog(PluginContext* plugin, zelta::ICabItem* options, zelta::IHostDocument* document,
            bool optionsOnly);

  // The modeless dialog that is open; null when there is none.
  static AGBDialog* Open() { return open_; }

  // Adds a level below the deepest one, with the Index of that depth.
  void AddDeepestLevel(LevelOptions level);
  // The levels in chain order, the shallowest first.
  const std::vector<LevelOptions>& Levels() const { return levels_; }

 protected:
  void OnInit() override;
  void OnControl(zelta::IDialogControl* sender) override;
  void OnDestroy() override;
  void OnItemActivated(zelta::IDialogControl* sender, intptr_t item) override;
  int32_t OnOk() override;
  bool Store() override;
  void Refresh() override;

 private:
  class Events;

  // Shows the options in the controls (at opening, and after a preset was taken).
  void Load();
  void ShowLevels(int32_t select);
  std::u16string ItemText(const LevelOptions& level) const;
  // The position of the selected level in the chain; -1 for none.
  int32_t SelectedLevel();
  void AddLevel();
  void EditLevel();
  void RemoveLevel();
  // The levels written into the options, so that a preset saved now holds them, and shown;
  // renumber sets every Index to its depth first (after a level came or went).
  void LevelsChanged(int32_t select, bool renumber);
  std::u16string CurrentPreset();
  void OnHostEvent(zelta::Atom event, zelta::IUnknown* object);
  void Subscribe(bool on);

  bool optionsOnly_;
  int32_t flags_ = 0;
  std::vector<LevelOptions> levels_;
  std::vector<int32_t> treeItems_;  // the tree item of each level, in chain order
  std::u16string shownPreset_;
  zelta::ComPtr<Events> events_;

  static AGBDialog* open_;
};

}  // namespace bm
