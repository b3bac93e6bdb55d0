#include "framework/bookmark_list_operation.h"

#include "framework/bookmark_source.h"
#include "host/document.h"

namespace bm {

void BookmarkListOperation::TakeSelectedBookmarks(BookmarkList list) {
  bookmarks_ = std::move(list);
  listFromDialog_ = true;
}

zelta::HRESULT BookmarkListOperation::CollectInput(zelta::IUnknown* element) {
  if (zelta::QueryAs<zelta::IHostDocument>(element)) return zelta::S_OK;
  auto bookmark = zelta::QueryAs<zelta::IHostBookmark>(element);
  if (!bookmark) return zelta::E_INVALIDARG;
  zelta::ComPtr<zelta::IHostDocument> document;
  bookmark->GetDocument(document.Put());
  if (!document || document.Get() != Document()) return zelta::E_INVALIDARG;
  if (listFromDialog_ || !CollectsInputBookmarks()) return zelta::S_OK;
  return AddBookmark(bookmarks_, bookmark.Get(), IncludeSubBookmarks());
}

}  // namespace bm
