// "Convert To Named Destinations": the name mask with its macro button and the bookmark
// source.
#pragma once

#include "framework/dialog_base.h"

namespace bm {

class BNDDialog : public DialogBase {
 public:
  BNDDialog(PluginContext* plugin, zelta::ICabItem* options, zelta::IHostDocument* document);

 protected:
  void OnInit() override;
  bool Store() override;
  bool Validate() override;
  void Refresh() override;

 private:
  int32_t flags_ = 0;
};

}  // namespace bm
