// An open PDF document as the plug-in sees it.
#pragma once

#include "host/action.h"
#include "host/bookmark.h"
#include "host/com.h"

namespace zelta {

struct IHostUndoHistory;

// What a permission query is about (the first argument of IsPermitted).
enum PermissionKind : int32_t {
  kPermPrint = 1,
  kPermCopy = 2,
  kPermAnnotate = 3,
  kPermModify = 4,
};

// What a permission query asks about within its kind (the second argument of IsPermitted).
enum PermissionChange : int32_t {
  kPermAnyChange = 0,       // the kind as a whole
  kPermAddItems = 2,        // new bookmarks, annotations or links
  kPermArrangeItems = 3,    // moving or reordering existing items
  kPermEditItems = 4,       // changing existing items (titles, destinations)
  kPermInsertPages = 0x10,  // new pages
};
// The third argument of IsPermitted: no value but this one is defined.
inline constexpr int32_t kPermReserved = 0;

// Page box kinds of GetPageBox.
enum PageBoxKind : int32_t {
  kBoxMedia = 1,
  kBoxBleed = 2,
  kBoxTrim = 3,
  kBoxArt = 4,
  kBoxContents = 5,  // bounding box of the page's contents
  kBoxCrop = 6,      // the box the page is shown with
};

// (left, bottom, right, top) in PDF user space.
struct PageBox {
  double left = 0, bottom = 0, right = 0, top = 0;
};

struct IHostDocument : IUnknown {
  static constexpr Guid kIid{0x5A1E0401, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 7}};

  // The outline root (level 0). Always present; a document without an outline has a root
  // without children, and the /Outlines dictionary is made on the first insertion.
  virtual HRESULT GetOutlineRoot(IHostBookmark** root) = 0;

  // Permission query: *answer is 1 when a change of `kind` (PermissionKind) and `change`
  // (PermissionChange) is permitted, 0 when the document's permissions forbid it. `reserved`
  // is kPermReserved.
  virtual HRESULT IsPermitted(int32_t kind, int32_t change, int32_t reserved, int32_t* answer) = 0;

  // Pages.
  virtual HRESULT GetPageCount(int32_t* count) = 0;
  // E_INVALIDARG for a page outside the document.
  virtual HRESULT GetPageBox(int32_t page, int32_t kind, PageBox* box) = 0;
  // The page's /Rotate in degrees, normalised to 0, 90, 180 or 270.
  virtual HRESULT GetPageRotation(int32_t page, int32_t* degrees) = 0;
  // The page label from /PageLabels; the decimal page number (page + 1) when the document
  // has no labels.
  virtual HRESULT GetPageLabel(int32_t page, BString* label) = 0;

  // Named destinations (/Names /Dests and the legacy /Dests dictionary).
  // S_FALSE when the name is unknown or does not resolve to a page of this document.
  virtual HRESULT ResolveNamedDest(const char16_t* name, int32_t length, PageDestination* dest) = 0;
  // Adds or replaces a name in the /Names /Dests tree. Raises "e.pdfNamedDests.inserted".
  virtual HRESULT AddNamedDest(const char16_t* name, int32_t length,
                               const PageDestination* dest) = 0;
  // Removes a name from both stores. S_FALSE when it was not there. Raises
  // "e.pdfNamedDests.deleted".
  virtual HRESULT RemoveNamedDest(const char16_t* name, int32_t length) = 0;
  // All names, in the trees' order (names tree first, then legacy dictionary).
  virtual HRESULT GetNamedDestCount(int32_t* count) = 0;
  virtual HRESULT GetNamedDestName(int32_t index, BString* name) = 0;

  // The document's file path as opened, and its /Info /Title (empty when none).
  virtual HRESULT GetFilePath(BString* path) = 0;
  virtual HRESULT GetInfoTitle(BString* title) = 0;

  // The document's undo history.
  virtual HRESULT GetUndoHistory(IHostUndoHistory** history) = 0;

  // The document's action factory (one reference; the factory keeps the document alive).
  virtual HRESULT GetActionFactory(IHostActionFactory** factory) = 0;
  // A new, empty action list of this document, to fill and give to a bookmark.
  virtual HRESULT CreateActionList(IHostActionList** actions) = 0;
};

}  // namespace zelta
