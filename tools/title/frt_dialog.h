// "Find And Replace Bookmark Text": the find and replace boxes with their histories, the
// search flags and the bookmark source. With regular expressions on, the find text is checked
// 200 ms after the last keystroke and at once when the option is switched; an error shows the
// warning button beside the box and keeps OK disabled.
#pragma once

#include <string>
#include <vector>

#include "framework/dialog_base.h"

namespace bm {

class FRTDialog : public DialogBase {
 public:
  FRTDialog(PluginContext* plugin, zelta::ICabItem* options, zelta::IHostDocument* document);

 protected:
  void OnInit() override;
  void OnTimer(intptr_t id) override;
  bool Store() override;
  bool Validate() override;
  void Refresh() override;

 private:
  // Runs the pattern check; false when the find text does not compile.
  bool CheckPattern();

  int32_t flags_ = 0;
  bool typing_ = false;
  std::vector<std::u16string> findWords_, replaceWords_;
};

}  // namespace bm
