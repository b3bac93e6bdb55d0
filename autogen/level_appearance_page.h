// "Resulting Appearance", the second page of a level's property sheet: the colour, style,
// open state and destination of the bookmarks the level makes.
#pragma once

#include "autogen/level_page.h"

namespace bm {

class LevelAppearancePage : public LevelPage {
 public:
  LevelAppearancePage(PluginContext* plugin, LevelOptions* level);

  // The zoom entry that shows a destination kind, and the kind an entry stores.
  static int32_t ZoomEntry(int32_t destType, uint32_t destFlags);
  static void ZoomChoice(int32_t entry, int32_t* destType, uint32_t* destFlags);

 protected:
  void OnInit() override;
};

}  // namespace bm
