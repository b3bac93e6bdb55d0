// The document's undo history: undo items, change groups (one undo step each) and the history.
#pragma once

#include "host/com.h"

namespace zelta {

// A reversible change, implemented by whoever made the change (a plug-in's undo record or a
// host operation). Both calls must leave the document consistent even when they fail part way.
struct IUndoItem : IUnknown {
  static constexpr Guid kIid{0x5A1E0501, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 8}};
  virtual HRESULT Undo() = 0;
  virtual HRESULT Redo() = 0;
};

// A group of undo items that becomes one step of the history when committed. While a group
// is open on a document, the host operations run on that document add their own items to it.
struct IHostChangeGroup : IUnknown {
  static constexpr Guid kIid{0x5A1E0502, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 9}};
  // Appends an item (the group takes a reference).
  virtual HRESULT AddItem(IUndoItem* item) = 0;
  virtual HRESULT GetItemCount(int32_t* count) = 0;
  // Closes the group and records it as one undo step. A group without items records
  // nothing and answers S_FALSE.
  virtual HRESULT Commit() = 0;
  // Closes the group as failed: undoes its items in reverse order and records nothing.
  virtual HRESULT Rollback() = 0;
};

struct IHostUndoHistory : IUnknown {
  static constexpr Guid kIid{0x5A1E0503, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 10}};
  // Opens a change group labelled by a string id (for example
  // "bookmarksPlugin.DlgChangeBookmarkCase"). Groups nest: an inner group commits into the
  // outer one.
  virtual HRESULT BeginGroup(const char16_t* labelId, int32_t length, IHostChangeGroup** group) = 0;
  // Number of undo steps, and of steps that can be redone.
  virtual HRESULT GetUndoCount(int32_t* count) = 0;
  virtual HRESULT GetRedoCount(int32_t* count) = 0;
  // The label id of undo step index (0 the oldest).
  virtual HRESULT GetLabel(int32_t index, BString* labelId) = 0;
  // Undoes / redoes the latest step. S_FALSE when there is none.
  virtual HRESULT Undo() = 0;
  virtual HRESULT Redo() = 0;
};

}  // namespace zelta
