// Which pages a "PagesRange" option dictionary selects, as plain values (the COM objects of
// the page-range service wrap this).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/com.h"

namespace zelta {
struct ICabItem;
}

namespace zelta::app {

struct PageRange {
  // "Type": -1 all pages, 0 the current page, 1 the pages in `text`, 2 the indexes in `array`.
  int32_t type = -1;
  // "Filter": 1 every page, 2 odd page numbers only, 3 even page numbers only.
  int32_t filter = 1;
  std::u16string text;
  bool reversed = false;
  std::vector<int32_t> array;  // zero-based indexes
  int32_t current = 0;         // zero-based index

  // The most pages a range may list (a text such as "1-,1-,1-,..." could otherwise ask for
  // billions).
  static constexpr size_t kMaxPages = 1'000'000;

  // Reads the items of a "PagesRange" dictionary; missing items keep their defaults.
  static PageRange FromCab(ICabItem* pagesRange);

  // The zero-based page indexes, in range order, for a document of `pageCount` pages.
  // E_INVALIDARG with a message naming the bad input for text that does not parse, a page
  // outside the document, an unknown type or filter, or too many pages.
  HRESULT Select(int32_t pageCount, std::vector<int32_t>* pages, std::string* error) const;

  // Parses "1-5, 8, 12-" (1-based numbers; "12-" to the last page, "-3" from the first,
  // "9-7" descending) into zero-based indexes.
  static HRESULT ParseText(std::u16string_view text, int32_t pageCount, std::vector<int32_t>* pages,
                           std::string* error);
};

}  // namespace zelta::app
