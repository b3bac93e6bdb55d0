// Document selections ("selection.bookmarks", "selection.text").
#pragma once

#include "host/com.h"

namespace zelta {

// A selection of host objects, in the order the user selected them.
struct IHostSelection : IUnknown {
  static constexpr Guid kIid{0x5A1E0801, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 15}};
  virtual HRESULT GetCount(int32_t* count) = 0;
  // S_FALSE and null out of range. For "selection.bookmarks" the items are IHostBookmark.
  virtual HRESULT GetItem(int32_t index, IUnknown** item) = 0;
};

struct IHostDocument;

// The selection service (component "ZLK").
struct ISelectionService : IUnknown {
  static constexpr Guid kIid{0x5A1E0802, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 16}};
  // The named selection of a document; S_FALSE and null when the document has none or it is
  // empty.
  virtual HRESULT GetSelection(IHostDocument* document, Atom selection, IHostSelection** out) = 0;
  // Shorthand for the text selection; S_FALSE and null when no text is selected.
  virtual HRESULT GetTextSelection(IHostDocument* document, IUnknown** out) = 0;
  // Makes count items (borrowed; the service keeps its own references) the document's named
  // selection, as the user would select them in the host's view ("selection.bookmarks":
  // the bookmarks view shows them). count 0 clears it. E_INVALIDARG for a null document, a
  // negative count, a null items array with a count, or items that do not belong to the
  // selection or the document (the selection is then left as it was).
  virtual HRESULT Select(IHostDocument* document, Atom selection, IUnknown* const* items,
                         int32_t count) = 0;
};

}  // namespace zelta
