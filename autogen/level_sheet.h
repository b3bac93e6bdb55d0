// The property sheet of one generation level ("Bookmark Generation Properties"): text
// matching, appearance and title formatting on three pages, over a copy of the level.
#pragma once

#include "autogen/level_node.h"
#include "framework/plugin_context.h"
#include "host/document.h"

namespace bm {

// S_OK after OK: *level holds the edits. S_FALSE when the user did not confirm (or no one can
// answer): *level is unchanged. A failure when the sheet could not be shown. styleOnOpen takes
// the style of the document's text selection as the text-matching page opens.
zelta::HRESULT RunLevelSheet(PluginContext* plugin, zelta::WindowHandle owner,
                             zelta::IHostDocument* document, LevelOptions* level, bool styleOnOpen);

}  // namespace bm
