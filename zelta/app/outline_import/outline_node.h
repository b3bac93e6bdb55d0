// An outline as the host's import formats (JSON, pdftk data) describe it, before it is built
// into a document: the bookmarks in pre-order, each with its depth, so that no step needs
// recursion however deep the tree.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/action.h"

namespace zelta::app {

struct NodeAction {
  int32_t type = kActionGoTo;                  // ActionType: GoTo, GoToR, Launch, URI or JavaScript
  std::optional<PageDestination> destination;  // explicit (GoTo, GoToR)
  std::u16string name;                         // named destination (GoTo, GoToR)
  std::u16string file, uri, script;
  int64_t givenPage = 0;  // the 1-based page as the file wrote it (pdftk data), for messages
};

struct OutlineNode {
  std::u16string title;
  int32_t style = 0;
  bool open = false;
  std::optional<uint32_t> color;  // packed 0xAARRGGBB
  std::vector<NodeAction> actions;
  size_t depth = 0;         // 0 for a top-level bookmark; at most one more than the one before
  uint32_t sourceLine = 0;  // where the node was read (pdftk data), for messages
};

}  // namespace zelta::app
