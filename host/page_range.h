// Page ranges: which pages of a document an operation works on, from a "PagesRange" option
// dictionary, and the list of page indexes they give.
//
// The page-range service is the "AUX" component: QueryInterface the AUX object (which is also
// the ICabFactory) for IPageRangeService.
#pragma once

#include "host/com.h"

namespace zelta {

struct ICabItem;

// An ordered list of zero-based page indexes (duplicates allowed).
struct IHostPageIndexList : IUnknown {
  static constexpr Guid kIid{0x5A1E1201, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x81}};
  virtual HRESULT GetCount(int32_t* count) = 0;
  // E_INVALIDARG for an index outside [0, count).
  virtual HRESULT GetItem(int32_t index, int32_t* page) = 0;
  // The whole list in one call: a buffer the list owns, valid until the list changes or is
  // released; null when the list is empty.
  virtual HRESULT GetItems(const int32_t** pages, int32_t* count) = 0;
  // E_INVALIDARG for a negative page.
  virtual HRESULT Append(int32_t page) = 0;
  virtual HRESULT Clear() = 0;
};

// The pages a "PagesRange" dictionary selects in a document of a given page count.
//
// "PagesRange" items: "Type" -1 all pages; 0 the current page ("Current", zero-based);
// 1 the pages written in "Text": comma-separated 1-based numbers and ranges, "12-" runs to the
// last page, "-3" from the first, "9-7" lists 9, 8, 7 in that order; 2 the zero-based indexes
// of "Array", in their order. "Filter" 1 keeps every page, 2 only odd page numbers (1, 3, ...),
// 3 only even ones. "Reversed" lists the result backwards (after filtering). Blanks around
// numbers, dashes and commas are allowed; an empty item between commas is skipped.
struct IHostPageRange : IUnknown {
  static constexpr Guid kIid{0x5A1E1202, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x82}};
  // The page count of the document the range is for; must be set before Load. E_INVALIDARG
  // when negative.
  virtual HRESULT SetPageCount(int32_t count) = 0;
  // Reads a "PagesRange" dictionary (missing items take their defaults). `flags` is accepted
  // and not used (callers pass 0x72). E_INVALIDARG when "Text" does not parse, names a page
  // outside the document (0 included), when "Array" or "Current" holds an index outside it, or
  // when "Type" or "Filter" has an unknown value; GetError then says which input was wrong.
  // A failed Load leaves the range empty. E_POINTER for a null dictionary.
  virtual HRESULT Load(ICabItem* pagesRange, int32_t flags) = 0;
  // Why the last Load failed, naming the bad text or page ("" after a successful Load).
  virtual HRESULT GetError(BString* message) = 0;
  // Appends the selected page indexes, in range order, to `list` (which is not cleared first).
  // `reserved` is accepted and not used (callers pass -1). E_POINTER for a null list.
  virtual HRESULT Fill(IHostPageIndexList* list, int32_t reserved) = 0;
};

// The page-range service (QueryInterface on the "AUX" component).
struct IPageRangeService : IUnknown {
  static constexpr Guid kIid{0x5A1E1203, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x83}};
  // A new range for 0 pages (nothing loaded).
  virtual HRESULT CreatePageRange(IHostPageRange** range) = 0;
  // A new empty list.
  virtual HRESULT CreatePageIndexList(IHostPageIndexList** list) = 0;
};

}  // namespace zelta
