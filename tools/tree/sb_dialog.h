// "Sort Bookmarks": the sorting method, the levels to sort and the direction.
#pragma once

#include "framework/dialog_base.h"

namespace bm {

class SBDialog : public DialogBase {
 public:
  SBDialog(PluginContext* plugin, zelta::ICabItem* options, zelta::IHostDocument* document);

 protected:
  void OnInit() override;
  bool Store() override;
  void Refresh() override;

 private:
  int32_t flags_ = 0;
};

}  // namespace bm
