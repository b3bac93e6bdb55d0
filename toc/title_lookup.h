// Finds where titles stand on one page: the page's text is read once into one folded string
// with an index of its letter pairs, and each title is matched only where its first two
// letters occur. Case is ignored and blanks in a title match any run of blanks or a line
// break, as the host's text search does.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/document.h"
#include "host/page_text.h"

namespace bm {

class TitleLookup {
 public:
  // `chars` must outlive the lookup.
  TitleLookup(const zelta::PageTextChar* chars, int32_t count);

  // The box of the first place the title stands (over all its characters); none when the
  // page does not hold it.
  std::optional<zelta::PageBox> Find(std::u16string_view title) const;

 private:
  static uint32_t Pair(char16_t a, char16_t b) { return (uint32_t{a} << 16) | b; }

  const zelta::PageTextChar* chars_;
  std::u16string page_;
  std::vector<int32_t> from_;  // the character each position of page_ came from
  std::unordered_map<uint32_t, std::vector<uint32_t>> pairs_;
};

}  // namespace bm
