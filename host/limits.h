// The limits every bookmark entering a document keeps to, whichever way it comes (an import,
// an option, an edit): the module's readers and the host's read the same numbers here.
#pragma once

#include <cstdint>

#include "host/action.h"

namespace zelta {

// The longest bookmark title, in UTF-16 code units: the longest string PDF readers have
// historically been built to accept.
inline constexpr uint32_t kMaxBookmarkTitle = 32767;
// The most bookmarks one import (a text file, JSON, pdftk data) may hold, counted before
// anything is built: it bounds the memory and time of an import whatever the file holds.
inline constexpr uint32_t kMaxImportedBookmarks = 1000000;
// The deepest nesting an import may make: as deep as the host reads an outline back (deeper
// items would be cut from the written file when it is opened again).
inline constexpr uint32_t kMaxBookmarkDepth = 100000;

// The values a destination may hold. PDF pages are at most 14,400 units wide, so 100,000
// leaves room for any origin, and the file's reals (single precision) still hold two
// decimals there; larger values come back rounded, or as integers other readers overflow
// on. A zoom is a factor (0: keep the viewer's); 100 is 10,000 %.
inline constexpr double kMaxDestinationCoordinate = 100000;
inline constexpr double kMaxDestinationZoom = 100;

// Whether value `index` (0-3) of a destination of `fitType` is in range: the zoom of XYZ
// (index 2) from 0 to kMaxDestinationZoom, any other value from -kMaxDestinationCoordinate
// to kMaxDestinationCoordinate. NaN and infinities are out.
inline bool DestinationValueInRange(int32_t fitType, int index, double value) {
  if (fitType == kFitXYZ && index == 2) return value >= 0 && value <= kMaxDestinationZoom;
  return value >= -kMaxDestinationCoordinate && value <= kMaxDestinationCoordinate;
}

}  // namespace zelta
