// Undoable operations: the host's own ("op.bookmarks.delete", ...) and the plug-in's, which
// the host's operation runner can run without a user interface.
#pragma once

#include "host/cab.h"
#include "host/com.h"

namespace zelta {

// Flags of IHostOperation::Do.
enum OperationFlags : int32_t {
  kDoNoProgress = 0x1,     // no progress window
  kDoNoProgressAlt = 0x2,  // no progress window (the runner's own silent mode)
  kDoNoChangeGroup = 0x4,  // do not open a change group (the caller owns the undo step)
};

// What the host may rely on about a registered operation without running it.
enum OperationTraits : int32_t {
  kOperationReadsOnly = 0x1,  // never changes the document: a run leaves nothing to save
  // Describes the style of the document's text selection: Do is not run; GetObject with the
  // id "selection.text" gives the description (an ICabItem), S_FALSE when the selection has
  // no usable text.
  kOperationDescribesSelectionStyle = 0x2,
  // "Output" is a list of validation records in the format of host/validation.h.
  kOperationOutputsValidationRecords = 0x4,
  // Proposes the options of another operation from the document's own content, reading the
  // document only. After a successful Do, "Output" is a dictionary: "Operation" (String) the
  // id of the operation the options are for; "Options" (Dictionary) options that operation
  // takes as its own "Options"; "Found" (Bool) false when the document gave nothing worth a
  // run (the options then do nothing); "Explanation" (String) what was found and what was
  // left out and why, one finding a line.
  kOperationSuggestsOptions = 0x8,
  // Appends to its Input document the outline of a bookmark text file: Options "FileName"
  // (String) is the file's path, "Separator" and "ActionSeparator" (Int) the field and action
  // delimiters as UTF-16 code units.
  kOperationImportsOutlineText = 0x10,
  // May insert or remove pages or Link annotations: a host that reports such changes counts
  // them around a run of this operation only.
  kOperationChangesPages = 0x20,
};

struct IHostOperation : IUnknown {
  static constexpr Guid kIid{0x5A1E0901, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 17}};
  // The operation id atom.
  virtual HRESULT GetOperationId(Atom* id) = 0;
  // The parameter Cab (root items "Input", "Output", "Options"), with a reference added.
  virtual HRESULT GetParams(ICab** params) = 0;
  // The operation kind (2 for the plug-in's operations).
  virtual HRESULT GetKind(int32_t* kind) = 0;
  // Runs the operation on its "Input" with its "Options". 0 success with changes, 1 success
  // without change, negative on failure (the document is left as it was).
  virtual HRESULT Do(int32_t flags, intptr_t extra) = 0;
  // Shows the operation's dialog over a copy of "Options"; 0 when confirmed.
  virtual HRESULT ShowDialog(WindowHandle owner, intptr_t extra) = 0;
  // An object the operation keeps under an id; S_FALSE and null when none.
  virtual HRESULT GetObject(Atom id, IUnknown** object) = 0;
};

// Makes operation objects by id; a plug-in registers one with the host for each of its
// operations so that the host's operation runner can run them without a user interface.
struct IOperationFactory : IUnknown {
  static constexpr Guid kIid{0x5A1E0903, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 35}};
  // A new operation object (one reference) for the id; E_INVALIDARG for an id it does not
  // make.
  virtual HRESULT CreateOperation(Atom id, IHostOperation** operation) = 0;
};

// What an operation tells about its last run, for a host that shows the outcome itself (a
// command line) rather than through the operation's own message boxes.
struct IRunReport : IUnknown {
  static constexpr Guid kIid{0x5A1E0904, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 36}};
  // Whether some items failed in the last run while the rest of it stands.
  virtual HRESULT HadProblems(bool* problems) = 0;
  // The message the operation closes a successful run that ended with result by (a warning
  // about problems, a notice that nothing changed); S_FALSE and an empty text when none.
  virtual HRESULT GetClosingMessage(HRESULT result, BString* text) = 0;
};

// The callback interface of the plug-in's operations.
struct IOperationCallback : IUnknown {
  static constexpr Guid kIid{0x5A1E0902, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 18}};
  virtual HRESULT Notify() = 0;
};

}  // namespace zelta
