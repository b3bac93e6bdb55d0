// One line of a bookmark text file as the parser reads it: where it goes (its indent), what
// it shows, and the actions it runs, before anything is made in a document.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/action.h"

namespace bm {

struct LineAction {
  enum class Kind { kGoTo, kGoToNamed, kGoToRemote, kGoToRemoteNamed, kUri, kLaunch, kJavaScript };
  Kind kind = Kind::kGoTo;
  zelta::PageDestination destination;  // kGoTo, kGoToRemote
  std::u16string file;                 // kGoToRemote, kGoToRemoteNamed
  std::u16string text;                 // the name, link, file to launch or script
};

struct BookmarkLine {
  uint32_t lineNumber = 0;  // 1-based, in the file
  size_t indent = 0;        // only compared with the indents of the open ancestors
  std::u16string title;
  int32_t style = 0;         // BookmarkStyle bits
  std::u16string colorText;  // from the "#" on; empty for no colour
  bool closed = false;
  std::vector<LineAction> actions;  // in field order
};

// Something the parser left out, and why.
struct ParseNote {
  uint32_t lineNumber = 0;
  std::u16string text;
};

}  // namespace bm
