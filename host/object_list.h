// The host's object list: an ordered list of references to host objects, used as the input
// of host operations ("op.bookmarks.delete", "op.bookmarks.addNew.simple", ...).
#pragma once

#include "host/com.h"

namespace zelta {

struct IHostObjectList : IUnknown {
  static constexpr Guid kIid{0x5A1E0E01, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 41}};
  virtual HRESULT GetCount(int32_t* count) = 0;
  // The item at index with a reference added; S_FALSE and null out of range.
  virtual HRESULT GetItem(int32_t index, IUnknown** item) = 0;
  // Inserts an item at index (0..count; -1 appends); the list takes a reference. E_POINTER
  // for a null item, E_INVALIDARG for another index, E_OUTOFMEMORY. The same object may be
  // listed more than once.
  virtual HRESULT Insert(int32_t index, IUnknown* item) = 0;
  // E_INVALIDARG for an index outside the list.
  virtual HRESULT RemoveAt(int32_t index) = 0;
  virtual HRESULT Clear() = 0;
};

// The host component "LST" (IHostApp::GetComponent): makes object lists.
struct IObjectListFactory : IUnknown {
  static constexpr Guid kIid{0x5A1E0E02, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 42}};
  // A new, empty list (one reference).
  virtual HRESULT CreateObjectList(IHostObjectList** list) = 0;
};

}  // namespace zelta
