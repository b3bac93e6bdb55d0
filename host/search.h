// Text search on a document's pages: the host operation "op.search".
//
// Parameters: "Input" (String) is the text to find. "Options": "Flags" (below), "PageSet" (a
// dictionary: "Document", the IHostDocument; "First" and "Last", zero-based pages, both
// included, clipped to the document) and "Callback" (an ISearchHitCallback). Do reports the
// hits page by page, each page's in reading order; it changes nothing and records no undo
// step. S_FALSE when nothing was found; E_INVALIDARG without a document, a callback or text.
#pragma once

#include "host/com.h"
#include "host/document.h"

namespace zelta {

// Letters match whatever their case.
inline constexpr int32_t kSearchIgnoreCase = 0x10;
// Every run of blanks in the text to find matches any run of blanks or a line break, and
// blanks at its ends are ignored.
inline constexpr int32_t kSearchLooseBlanks = 0x40000;

struct ISearchHitCallback : IUnknown {
  static constexpr Guid kIid{0x5A1E1301, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x91}};
  // One hit: its page and the box around its characters (PDF user space). S_FALSE ends the
  // search after this hit.
  virtual HRESULT OnHit(int32_t page, const PageBox* box) = 0;
};

}  // namespace zelta
