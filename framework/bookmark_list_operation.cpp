#include "framework/bookmark_list_operation.h"

#include "framework/bookmark_source.h"
#include "framework/bookmark_walker.h"
#include "framework/host_strings.h"
#include "host/document.h"

namespace bm {

namespace {

std::u16string HexText(uint32_t value) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), u"0123456789ABCDEF"[value & 0xF]);
    value >>= 4;
  } while (value);
  return u"0x" + digits;
}

}  // namespace

zelta::HRESULT BookmarkListOperation::InputFailed(zelta::HRESULT hr) {
  const int32_t sourceBit = SelectedSourceBit();
  if (hr != zelta::E_INVALIDARG || !Document() || !bookmarks_.empty() ||
      !(optionFlags_ & sourceBit))
    return hr;
  ReportFailureDetail(u"Flags " + HexText(static_cast<uint32_t>(optionFlags_)) +
                      u" asks for the selected bookmarks (bit " +
                      HexText(static_cast<uint32_t>(sourceBit)) +
                      u"), but no bookmark is selected");
  return zelta::E_INVALIDARG;
}

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

zelta::HRESULT BookmarkListOperation::CountListed(zelta::ComPtr<zelta::IHostBookmark>* root,
                                                  uint32_t* total) {
  *total = 0;
  if (bookmarks_.empty()) {
    if (Document()->GetOutlineRoot(root->Put()) != zelta::S_OK || !*root) return zelta::E_FAIL;
    *total = CountBookmarks(root->Get(), -1, 0, true);
    return zelta::S_OK;
  }
  for (const auto& bookmark : bookmarks_)
    *total += 1 + (IncludeSubBookmarks() ? CountBookmarks(bookmark.Get(), -1, 0, true) : 0);
  return zelta::S_OK;
}

zelta::HRESULT BookmarkListOperation::VisitListed(
    zelta::IHostBookmark* root,
    const std::function<zelta::HRESULT(zelta::IHostBookmark*)>& process) {
  auto visit = [&](zelta::IHostBookmark* bookmark, int32_t) { return process(bookmark); };
  if (root) return WalkBookmarks(root, 0, false, visit);
  for (const auto& bookmark : bookmarks_) {
    zelta::HRESULT hr = IncludeSubBookmarks() ? WalkBookmarks(bookmark.Get(), 0, true, visit)
                                              : process(bookmark.Get());
    if (zelta::Failed(hr)) return hr;
  }
  return zelta::S_OK;
}

}  // namespace bm
