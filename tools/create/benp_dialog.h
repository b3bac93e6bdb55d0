// "Bookmark Every N-th Page": the step, the title template with its macro button, and the
// host's page-range group.
#pragma once

#include "framework/dialog_base.h"

namespace bm {

class BENPDialog : public DialogBase {
 public:
  BENPDialog(PluginContext* plugin, zelta::ICabItem* options, zelta::IHostDocument* document);

 protected:
  void OnInit() override;
  bool Store() override;
  void Refresh() override;
};

}  // namespace bm
