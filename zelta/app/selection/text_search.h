// Finding a text in a page's characters, in reading order: optionally whatever the case of
// its letters, and with the blanks of the text matching any blanks or line break.
#pragma once

#include <string>
#include <vector>

#include "host/document.h"
#include "host/page_text.h"

namespace zelta::app {

class TextSearch {
 public:
  TextSearch(std::u16string_view text, int32_t flags);

  // The boxes of the hits on one page, in reading order; hits do not overlap.
  std::vector<PageBox> Find(const PageTextChar* chars, int32_t count) const;
  bool Empty() const { return pattern_.empty(); }

 private:
  char16_t Fold(char16_t c) const;

  std::u16string pattern_;
  int32_t flags_;
};

}  // namespace zelta::app
