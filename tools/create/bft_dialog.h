// "Generate Bookmarks From Text File": the file, with a browse button, and the two delimiters.
#pragma once

#include "framework/dialog_base.h"

namespace bm {

class BFTDialog : public DialogBase {
 public:
  BFTDialog(PluginContext* plugin, zelta::ICabItem* options, zelta::IHostDocument* document);

 protected:
  void OnInit() override;
  bool Store() override;
  void Refresh() override;
};

}  // namespace bm
