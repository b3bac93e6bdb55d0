// The extracted text of one page: the characters as the host hands them out, and where each
// line starts. Made once by the extractor and shared read-only afterwards, so that a page
// prepared on the prefetch thread can be handed to the caller's thread without a copy.
#pragma once

#include <cstdint>
#include <vector>

#include "host/page_text.h"

namespace zelta::pdf {

struct PageTextData {
  int32_t page = -1;
  std::vector<PageTextChar> chars;
  std::vector<int32_t> lineStarts;  // index of the first character of line n at n
};

}  // namespace zelta::pdf
