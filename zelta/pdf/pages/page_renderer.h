// Pages drawn to pixels for a viewer: one page at a time, at the scale the view asks for, so
// that a long document never has more than the pages on screen in memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/com.h"

namespace zelta::pdf {

class HostDocument;

// An RGB image, 3 bytes a pixel, rows `stride` bytes apart, top row first.
struct PagePixels {
  int width = 0;
  int height = 0;
  int stride = 0;
  std::vector<uint8_t> rgb;
};

// The size of a page as shown (crop box, its /Rotate and the view rotation applied), in points.
struct PageSize {
  double width = 0;
  double height = 0;
};

// Maps a page's PDF user space to the page as shown, in points from its top-left corner:
// x' = a x + c y + e, y' = b x + d y + f.
struct PageTransform {
  double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
};

class PageRenderer {
 public:
  // Images with more pixels than this are refused: a page of 200 x 200 inches at a high zoom
  // would otherwise ask for gigabytes.
  static constexpr int64_t kMaxPixels = int64_t{64} << 20;

  explicit PageRenderer(HostDocument& document) : document_(document) {}

  // The page (0-based) as shown; a page whose boxes cannot be read is letter-sized.
  PageSize Size(int page, int viewRotation) const;
  // Every page's size in one pass, through the page map: a page-tree lookup per page made
  // this take half a second on a 2,415-page manual.
  std::vector<PageSize> Sizes(int viewRotation) const;
  // The sizes of the pages from `first` (0-based) up to, not including, `end`.
  std::vector<PageSize> Sizes(int viewRotation, int first, int end) const;

  // Draws the page (0-based) at `scale` pixels per point, turned clockwise by viewRotation
  // degrees on top of its own /Rotate, annotations included. On failure (a page outside the
  // document, broken content, too many pixels) *error says why and *pixels is left empty;
  // the document stays usable.
  // The page's user space as shown (its /Rotate and the view rotation applied); the
  // identity and a failure for a page outside the document.
  HRESULT Transform(int page, int viewRotation, PageTransform* transform) const;

  HRESULT Render(int page, double scale, int viewRotation, PagePixels* pixels,
                 std::string* error) const;

 private:
  HostDocument& document_;
};

}  // namespace zelta::pdf
