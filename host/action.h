// PDF actions of bookmarks and links, their ordered list, and explicit destinations.
#pragma once

#include "host/com.h"

namespace zelta {

// Fit types of an explicit destination.
enum FitType : int32_t {
  kFitXYZ = 0,
  kFit = 1,
  kFitH = 2,
  kFitV = 3,
  kFitR = 4,
  kFitB = 5,
  kFitBH = 6,
  kFitBV = 7,
};

// An explicit destination. `flags` marks absent (null) values: 0x1 value 1 ... 0x8 value 4.
// Values follow the fit type: XYZ left, top, zoom; FitR left, bottom, right, top; FitH and
// FitBH top; FitV and FitBV left; Fit and FitB none. Coordinates are PDF user space.
struct PageDestination {
  int32_t page = 0;  // zero-based page index
  int32_t fitType = kFitXYZ;
  uint32_t flags = 15;
  double values[4] = {0, 0, 0, 0};
};

// Action types as reported by IHostAction::GetType.
enum ActionType : int32_t {
  kActionOther = 0,  // any other /S; its name comes from GetTypeName
  kActionGoTo = 1,
  kActionGoToR = 2,
  kActionGoToE = 3,
  kActionLaunch = 4,
  kActionURI = 5,
  kActionJavaScript = 6,
};

// One action. Views are live: they read the PDF object each time.
struct IHostAction : IUnknown {
  static constexpr Guid kIid{0x5A1E0201, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 4}};
  virtual HRESULT GetType(int32_t* type) = 0;
  // The PDF /S name ("GoTo", "URI", "SubmitForm", ...).
  virtual HRESULT GetTypeName(BString* name) = 0;
  // GoTo / GoToR / GoToE: the explicit destination. For a named destination of a GoTo action
  // the name is resolved through the document's names; S_FALSE when it does not resolve or
  // the action has no destination. For GoToR the page is the remote page index.
  virtual HRESULT GetDestination(PageDestination* dest) = 0;
  // The destination name when the destination is given by name (S_FALSE and empty otherwise).
  virtual HRESULT GetDestinationName(BString* name) = 0;
  // GoToR, GoToE, Launch: the file specification (S_FALSE and empty when none).
  virtual HRESULT GetFile(BString* file) = 0;
  // URI: the URI.
  virtual HRESULT GetUri(BString* uri) = 0;
  // JavaScript: the script text.
  virtual HRESULT GetScript(BString* script) = 0;
};

// The ordered action list of a bookmark or link (/Dest or /A followed by its /Next chain).
struct IHostActionList : IUnknown {
  static constexpr Guid kIid{0x5A1E0202, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 5}};
  virtual HRESULT GetCount(int32_t* count) = 0;
  // S_FALSE and null out of range.
  virtual HRESULT GetItem(int32_t index, IHostAction** action) = 0;
};

}  // namespace zelta
