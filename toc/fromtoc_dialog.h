// "Bookmark Table of Contents": what the run adds (bookmarks, links), how it reads the
// entries (separator, indents, page offset) and how it tidies the titles.
#pragma once

#include "framework/dialog_base.h"

namespace bm {

class FromTOCDialog : public DialogBase {
 public:
  FromTOCDialog(PluginContext* plugin, zelta::ICabItem* options, zelta::IHostDocument* document);

 protected:
  void OnInit() override;
  bool Store() override;
  void Refresh() override;

 private:
  void ChangeIndents();

  int32_t flags_ = 0;
  double top_ = 0, bottom_ = 0;
};

}  // namespace bm
