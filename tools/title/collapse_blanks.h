// Tidying the white space of a title. Blanks are space, tab, carriage return and line feed
// only (not every Unicode space), so other spacing characters a title holds stay.
#pragma once

#include <string>
#include <string_view>

namespace bm {

// Drops the blanks at both ends and turns every inner run of blanks into one space.
std::u16string RemoveExcessiveSpaces(std::u16string_view text);

}  // namespace bm
