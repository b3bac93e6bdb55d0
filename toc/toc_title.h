// The bookmark title of a table-of-contents entry: its lines joined with one space, blanks
// tidied and a leading section number removed when the options ask for it.
#pragma once

#include <string>
#include <vector>

namespace bm {

inline constexpr int32_t kFromTocTidySpaces = 0x200;
inline constexpr int32_t kFromTocRemoveNumbers = 0x400;

class TocTitle {
 public:
  static std::u16string Make(const std::vector<std::u16string>& pieces, int32_t flags);
  // Removes a leading run of digits, blanks and . , _ / \ ~ that holds a digit ("1.2.3  Setup"
  // gives "Setup"); a title that would be left empty, or has no digit there, stays as it is.
  static void RemovePrefixNumber(std::u16string& title);
  // Trims blanks at both ends and makes every run of blanks one space.
  static void TidySpaces(std::u16string& text);
};

}  // namespace bm
