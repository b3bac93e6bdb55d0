#include "support/bookmarks_facility.h"

#include <iterator>

#include "support/result_text.h"

namespace bm::support {

void RegisterBookmarksFacility() {
  static constexpr FacilityMessage kMessages[] = {
      {0x04C7, u"Operation was canceled by user"},
      {0x1001, u"No permissions for this operation"},
  };
  RegisterFacility(kBookmarksFacility, kMessages, std::size(kMessages), u"Bookmarks");
}

}  // namespace bm::support
