// %[FirstLine]: the line of a page's text that a reader meets first at or below a height.
#pragma once

#include <cstdint>

#include "host/page_text.h"

namespace bm {

// The line (PageTextChar::line) whose top is the highest among the lines whose top is not
// above `limit` (points, PDF user space); on equal tops the first in text order. A line's top
// is the highest top of its characters. -1 when no line qualifies.
int32_t LineBelow(const zelta::PageTextChar* chars, int32_t count, double limit);

}  // namespace bm
