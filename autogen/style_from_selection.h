// "Get Style from Selected Text": takes a level's font names, size, tolerance and colour from
// the text the user selected. The first usable character of each selected part counts: the
// first part gives the size and colour, every part adds its font name and widens the
// tolerance to cover its size.
#pragma once

#include "autogen/level_node.h"
#include "host/app.h"
#include "host/document.h"

namespace bm {

// Fills the level from the document's text selection. S_OK when the level was changed;
// S_FALSE (level unchanged) without a selection or without a usable character; a negative
// result when a host call fails.
zelta::HRESULT StyleFromSelection(zelta::IHostApp* app, zelta::IHostDocument* document,
                                  LevelOptions* level);

}  // namespace bm
