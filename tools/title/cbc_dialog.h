// "Change Bookmark Case": the case radios, the bookmark source, and the list of excluded
// words with its add, edit and remove commands (also on the keys Insert, F2 and Delete).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "framework/dialog_base.h"

namespace bm {

class CBCDialog : public DialogBase {
 public:
  CBCDialog(PluginContext* plugin, zelta::ICabItem* options, zelta::IHostDocument* document);

 protected:
  void OnInit() override;
  int32_t OnKey(zelta::IDialogControl* sender, intptr_t key) override;
  bool Store() override;
  bool Validate() override;
  void Refresh() override;

 private:
  bool ListCommandsOn() const;
  void AddWords();
  void EditWord();
  void RemoveWords();
  // Puts a word at its sorted place; nullopt when it is there already (case-insensitively).
  std::optional<size_t> Insert(const std::u16string& word);
  void ShowWords(int32_t focus);

  int32_t flags_ = 0;
  std::vector<std::u16string> words_;  // sorted, each once
};

}  // namespace bm
