// The outline as the command line prints it, built only through the host interfaces and
// without recursion (a 10,000-deep chain prints like any other tree).
//
// JSON: {"pages": N, "bookmarks": [NODE...]}, NODE = {"title", "page" (1-based target page or
// null), "open", "style", "color" ("#RRGGBB" or null), "actions": [{"type", ...}], "children"}.
// Action fields as they apply: "page" (1-based; for GoToR the page in the other file),
// "fit", "values" (the fit type's values, null where absent), "name", "file", "uri", "script".
// Text: one line per bookmark, two spaces per level: "Title  [p. N]" ("Title" without a page).
#pragma once

#include <functional>
#include <string>

#include "host/bookmark.h"
#include "host/document.h"

namespace zelta::pdf {

// The target page of a bookmark (0-based): its actions are searched from the last to the
// first for a GoTo action whose destination (named ones resolved) yields a page; -1 if none.
int32_t TargetPageOf(IHostBookmark* bookmark);

// Visits every bookmark below the root depth-first without recursion. `enter` gets the
// bookmark and its depth (0 for top level); `leave` is called after its children.
void WalkOutline(IHostDocument* document,
                 const std::function<void(IHostBookmark*, size_t depth)>& enter,
                 const std::function<void(IHostBookmark*, bool hasChildren)>& leave);

std::string OutlineToJson(IHostDocument* document);
std::string OutlineToText(IHostDocument* document);

}  // namespace zelta::pdf
