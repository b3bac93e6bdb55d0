// "Add Text To Bookmark Title": prefix and suffix edits on either side of the title, the
// macro button that inserts into whichever of the two was used last, the level and the
// bookmark source.
#pragma once

#include <string>

#include "framework/dialog_base.h"

namespace bm {

class ATBDialog : public DialogBase {
 public:
  ATBDialog(PluginContext* plugin, zelta::ICabItem* options, zelta::IHostDocument* document);

 protected:
  void OnInit() override;
  bool Store() override;
  bool Validate() override;
  void Refresh() override;

 private:
  void InsertMacro();

  int32_t flags_ = 0;
  std::u16string_view lastEdit_;
};

}  // namespace bm
