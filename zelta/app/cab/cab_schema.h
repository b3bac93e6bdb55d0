// A parsed Cab template: its item sets and roots. Parsed once per distinct template text and
// shared (immutably) by every Cab made from that text.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "host/com.h"
#include "zelta/app/cab/cab_item_desc.h"

namespace zelta::app {

class CabSchema {
 public:
  // The schema for `text`, from the cache or freshly parsed. E_INVALIDARG for an empty text,
  // E_FAIL for a malformed template (the reason goes to *error when given), E_OUTOFMEMORY.
  static HRESULT FromText(std::u16string_view text, std::shared_ptr<const CabSchema>* schema,
                          std::string* error = nullptr);

  // The root description (a Dictionary) for a root id, or null when the template has none.
  const CabItemDesc* Root(std::u16string_view id) const;

 private:
  friend class CabSchemaParser;

  // Deques keep the addresses that descriptions and sets hand out to each other.
  std::deque<CabItemDesc> descs_;
  std::deque<CabItemSet> sets_;
  std::map<std::u16string, const CabItemDesc*, std::less<>> roots_;
};

}  // namespace zelta::app
