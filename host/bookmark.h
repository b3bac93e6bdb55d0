// Outline items. The host hands out one object per outline item, so two references name the
// same bookmark exactly when they are the same pointer. The outline root is a bookmark too
// (level 0): it has no title, no actions and no parent.
#pragma once

#include "host/action.h"
#include "host/com.h"

namespace zelta {

struct IHostDocument;

// Text style bits of a bookmark (/F).
enum BookmarkStyle : int32_t { kStyleItalic = 1, kStyleBold = 2 };

struct IHostBookmark : IUnknown {
  static constexpr Guid kIid{0x5A1E0301, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 6}};

  // The document this bookmark belongs to (never null while the document is open).
  virtual HRESULT GetDocument(IHostDocument** document) = 0;
  // True for the outline root.
  virtual HRESULT IsRoot(bool* root) = 0;
  // False once the item was deleted from the outline (its object stays usable but detached).
  virtual HRESULT IsAttached(bool* attached) = 0;

  // Navigation: S_FALSE and null when there is none. A damaged link (loop, broken reference)
  // reads as "none".
  virtual HRESULT GetParent(IHostBookmark** parent) = 0;
  virtual HRESULT GetFirstChild(IHostBookmark** child) = 0;
  virtual HRESULT GetLastChild(IHostBookmark** child) = 0;
  virtual HRESULT GetNextSibling(IHostBookmark** sibling) = 0;
  virtual HRESULT GetPrevSibling(IHostBookmark** sibling) = 0;
  virtual HRESULT GetChildCount(int32_t* count) = 0;

  // The title as UTF-16. Setting it writes the shortest faithful PDF encoding; E_FAIL on the
  // root. SetTitle raises "e.bookmarks.changed".
  virtual HRESULT GetTitle(BString* title) = 0;
  virtual HRESULT SetTitle(const char16_t* title, int32_t length) = 0;
  // BookmarkStyle bits, 0 to 3.
  virtual HRESULT GetStyle(int32_t* style) = 0;
  virtual HRESULT SetStyle(int32_t style) = 0;
  // Packed 0xAARRGGBB; S_FALSE and 0xFF000000 when the item has no /C. hasColor false removes
  // /C.
  virtual HRESULT GetColor(uint32_t* color) = 0;
  virtual HRESULT SetColor(uint32_t color, bool hasColor) = 0;
  // Whether the item shows its children (positive /Count).
  virtual HRESULT GetOpen(bool* open) = 0;
  virtual HRESULT SetOpen(bool open) = 0;

  // The ordered action list (empty for the root and for items without /Dest or /A).
  virtual HRESULT GetActions(IHostActionList** actions) = 0;

  // Structure. Positions count children from 0; -1 means after the last child.
  // Creates a new empty child (title "", no action) at position.
  virtual HRESULT InsertNewChild(int32_t position, IHostBookmark** child) = 0;
  // Moves a bookmark of the same document (with its subtree) to become this item's child at
  // position. E_INVALIDARG when it would become its own descendant.
  virtual HRESULT InsertChild(int32_t position, IHostBookmark* child) = 0;
  // Takes this item (with its subtree) out of the outline; it stays valid, detached, and can
  // be inserted again. E_FAIL on the root.
  virtual HRESULT Remove() = 0;
};

}  // namespace zelta
