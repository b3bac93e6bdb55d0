// Right-to-left text for writers that place glyphs left to right: the bidirectional
// algorithm (ICU's ubidi) gives the order the characters are seen in.
#pragma once

#include <string>
#include <string_view>

namespace bm::platform {

struct VisualText {
  std::u16string text;       // the characters left to right as they are seen, mirrored
  bool rightToLeft = false;  // the paragraph reads right to left (its first strong letter)
};

// The visual order of one line of logical text. Text without right-to-left characters comes
// back unchanged; text the algorithm cannot take comes back unchanged too.
VisualText VisualOrder(std::u16string_view logical);

}  // namespace bm::platform
