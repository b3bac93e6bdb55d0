// "Title Formatting", the third page of a level's property sheet: letter case, replacement,
// text before and after, leading numbers, length and blanks of the level's titles.
#pragma once

#include "autogen/level_page.h"

namespace bm {

class TitleFormatPage : public LevelPage {
 public:
  TitleFormatPage(PluginContext* plugin, LevelOptions* level);

 protected:
  void OnInit() override;
  bool Store() override;
  void Refresh() override;
};

}  // namespace bm
