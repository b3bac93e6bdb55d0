// The link annotations already on a document's pages, with what they do (QueryInterface of
// IHostDocument).
#pragma once

#include "host/action.h"
#include "host/document.h"

namespace zelta {

struct IHostPageLinks : IUnknown {
  static constexpr Guid kIid{0x5A1E1302, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x92}};
  // The number of Link annotations on a page (0 for none). E_INVALIDARG for a page outside
  // the document; E_POINTER for a null count.
  virtual HRESULT GetLinkCount(int32_t page, int32_t* count) = 0;
  // One link of the page, in the page's annotation order: its rectangle (PDF user space,
  // normalised so that left < right and bottom < top) and its actions as a new list (a /Dest
  // as a go-to, then /A and its /Next chain), which the caller owns; an empty list for a link
  // that does nothing. E_INVALIDARG for a page or index out of range; `rect` or `actions` may
  // be null.
  virtual HRESULT GetLink(int32_t page, int32_t index, PageBox* rect,
                          IHostActionList** actions) = 0;
};

}  // namespace zelta
