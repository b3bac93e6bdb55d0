// "Edit Stop Words": the phrases that keep text from becoming a bookmark, and how they match.
#pragma once

#include <string>
#include <vector>

#include "framework/dialog_base.h"

namespace bm {

class StopWordsDialog : public DialogBase {
 public:
  // stopWordsData is an "AGBStopWordsData" dictionary ("StopWords", "StopWordsFlags").
  StopWordsDialog(PluginContext* plugin, zelta::ICabItem* stopWordsData);

 protected:
  void OnInit() override;
  bool Store() override;
  void Refresh() override;

 private:
  void Add();
  void Edit();
  void Remove();

  int32_t flags_ = 0;
  std::vector<std::u16string> words_;
};

}  // namespace bm
