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

  // Gives an action list back to the item: its /Dest, /A and /Next chain are rewritten from
  // the list (one GoTo alone keeps the form it was read in; anything else becomes an /A
  // chain of copies, so no other item that shared an action is touched and no /Next loop
  // can form). Null or an empty list removes every action. The list's actions are then
  // views of what was written. E_FAIL on the root; E_INVALIDARG for a list of another
  // document, a foreign list, or an incomplete action (a GoTo without destination); on
  // failure the item keeps its actions. Raises "e.bookmarks.changed". The caller records
  // the undo (SetActions with the earlier list undoes it).
  virtual HRESULT SetActions(IHostActionList* actions) = 0;
  // Appends one action to the item's actions (GetActions, Append, SetActions in one call);
  // the same errors.
  virtual HRESULT AppendAction(IHostAction* action) = 0;
};

}  // namespace zelta

namespace zelta {

// The host's bookmark operations (IHostApp::CreateOperation, then IHostApp::RunOperation or
// IHostOperation::Do). Parameters are in the operation's Cab:
//   "Input"   Array of IUnknown: bookmarks, or object lists (IHostObjectList) of bookmarks,
//             which count as their items in order. Every bookmark must belong to one
//             document; the root, a null element or anything else gives E_INVALIDARG.
//   "Options" Dictionary, per operation below.
// Each records one undo item: into the document's open change group when there is one,
// otherwise as an undo step of its own (with kDoNoChangeGroup and no open group nothing is
// recorded). Do answers 0 after a change, 1 when there was nothing to do (empty input),
// and a failure with the document as it was.
//
// "op.bookmarks.delete": takes the input bookmarks, each with its subtree, out of the
//   outline (a bookmark inside another listed one goes with it). Undo puts them back where
//   they were. The bookmark objects stay valid, detached, and may be inserted again.
// "op.bookmarks.addNew.simple": records input bookmarks that the caller has already
//   inserted (or moved) as added at their present places: undo takes them out, redo puts
//   them back at those places. A detached bookmark gives E_INVALIDARG. Sorting a group of
//   children is: delete the list, insert each as last child, addNew.simple the list.
// "op.bookmarks.setProps": sets properties of every input bookmark, chosen by the bits of
//   "Mask" (Int): kPropTitle "Title" (String), kPropStyle "Style" (Int 0-3), kPropColor
//   "Color" (Int, packed 0xAARRGGBB; with "HasColor" (Bool, default true) false the colour
//   is removed), kPropOpen "Open" (Bool), kPropActions "Actions" (IUnknown: an
//   IHostActionList given to each bookmark; null removes the actions). Mask 0: result 1.
// "op.bookmarks.move": moves the input bookmarks, in input order and each with its subtree,
//   under "Parent" (IUnknown: a bookmark or the root; null means the outline root) in front
//   of "InsertBefore" (IUnknown: a child of Parent; null appends after the last child).
//   E_INVALIDARG when a bookmark would move into its own subtree, or InsertBefore is not a
//   child of Parent (or is itself moved).
enum BookmarkPropMask : int32_t {
  kPropTitle = 0x1,
  kPropStyle = 0x2,
  kPropColor = 0x4,
  kPropOpen = 0x8,
  kPropActions = 0x10,
};

}  // namespace zelta
