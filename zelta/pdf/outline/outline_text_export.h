// The outline in the bookmark text-file format that the text-file import reads back: UTF-8
// (a signature and CRLF line ends only when asked), one line a bookmark, a tab per level, then
// fields for the style, the closed state, the colour and every action in its keyword form (exact
// destinations with their fit type, flags and values). Whatever the format cannot hold (a title
// with the field delimiter, a line break or blanks at its ends; an action kind it lacks; a value
// with a closing brace) is named in a note, so that nothing imports differently unannounced.
#pragma once

#include <string>
#include <vector>

#include "host/document.h"

namespace zelta::pdf {

struct ExportNote {
  std::string position;  // 1-based hierarchical position, "2.3"
  std::string title;     // UTF-8
  std::string text;      // what does not fit
};

struct TextExportOptions {
  char16_t separator = u';';
  char16_t actionSeparator = u',';
  bool crlf = false;  // CR LF line ends instead of LF
  bool bom = false;   // the UTF-8 signature first
};

// The text, and in *notes every bookmark whose data the text does not carry exactly.
std::string OutlineToBookmarkText(IHostDocument* document, const TextExportOptions& options,
                                  std::vector<ExportNote>* notes);

// "2.3": the 1-based position of each level, from the top.
std::string PositionText(const std::vector<size_t>& path);

}  // namespace zelta::pdf
