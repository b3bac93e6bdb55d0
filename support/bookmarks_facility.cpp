#include "support/bookmarks_facility.h"

#include <iterator>

#include "support/result_text.h"

namespace bm::support {

void RegisterBookmarksFacility(zelta::IResultTexts* texts) {
  static constexpr zelta::FacilityMessage kMessages[] = {
      {0x04C7, u"Operation was canceled by user"},
      {0x1001, u"No permissions for this operation"},
  };
  if (texts)
    texts->RegisterFacility(kBookmarksFacility, u"Bookmarks", -1, kMessages,
                            static_cast<uint32_t>(std::size(kMessages)));
}

void RegisterBookmarksFacility(zelta::IHostApp* app) {
  RegisterBookmarksFacility(ResultTexts(app).Get());
}

}  // namespace bm::support
