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
  // GoToR, GoToE, Launch: the file reference (S_FALSE and empty when none).
  virtual HRESULT GetFile(BString* file) = 0;
  // URI: the URI.
  virtual HRESULT GetUri(BString* uri) = 0;
  // JavaScript: the script text.
  virtual HRESULT GetScript(BString* script) = 0;

  // --- The destination view of GoTo and GoToR actions (GoToE reads, but is not written).
  // Edits change this action object only: the document sees them when a list holding the
  // action is given to a bookmark (IHostBookmark::SetActions). An action read from a
  // bookmark is copied on its first edit, so other items sharing its PDF object keep theirs.

  // True when the destination is given by name. E_POINTER for null.
  virtual HRESULT IsDestinationNamed(bool* named) = 0;
  // The explicit destination as written, without resolving names and without checking the
  // page: a page reference that is not a page of this document gives page -1; a GoToR page
  // is the remote index as written (may be past this document's end). S_FALSE (and *dest
  // untouched) when the destination is named, missing or not a destination array, or the
  // action has no destination.
  virtual HRESULT GetExplicitDestination(PageDestination* dest) = 0;
  // Makes the destination the name (written as a PDF text string). E_INVALIDARG for an
  // empty name; E_FAIL for an action without a destination view (not GoTo or GoToR).
  virtual HRESULT SetDestinationName(const char16_t* name, int32_t length) = 0;
  // Makes the destination explicit. For GoTo the page must be a page of this document, for
  // GoToR it is the remote index (>= 0); E_INVALIDARG otherwise or for an unknown fit type.
  // E_POINTER for null; E_FAIL for an action without a destination view.
  virtual HRESULT SetDestination(const PageDestination* dest) = 0;
  // Removes the destination. A GoTo or GoToR without destination is incomplete: a bookmark
  // refuses it (SetActions answers E_INVALIDARG) until a destination is set again.
  virtual HRESULT ClearDestination() = 0;

  // --- Checks (the validation tool relays these).
  // Whether the action is well-formed for its type: GoTo/GoToR/GoToE have a destination
  // (GoToR/GoToE also a file), Launch a file, URI a non-empty URI string, JavaScript a
  // script string or stream, Named a name /N, SubmitForm a /F, Hide a /T, Sound a /Sound,
  // Movie /Annotation or /T, Thread /D; other types need only their /S.
  virtual HRESULT IsValid(bool* valid) = 0;
  // True when the file of a GoToR, GoToE or Launch action is a file-reference
  // dictionary (rather than a plain string); false for every other type.
  virtual HRESULT HasFileSpecification(bool* has) = 0;
};

// The ordered action list of a bookmark or link (/Dest or /A followed by its /Next chain).
struct IHostActionList : IUnknown {
  static constexpr Guid kIid{0x5A1E0202, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 5}};
  virtual HRESULT GetCount(int32_t* count) = 0;
  // S_FALSE and null out of range.
  virtual HRESULT GetItem(int32_t index, IHostAction** action) = 0;

  // --- Editing. A list is the caller's own snapshot: its edits reach a bookmark only when
  // the list is given to it (IHostBookmark::SetActions). The list holds a reference to each
  // action; an action may appear more than once (each place is written as its own copy).
  // Actions must be the host's own (from an action list or the document's action factory)
  // and of the list's document: E_INVALIDARG otherwise, and for a null action.

  // Adds the action at the end.
  virtual HRESULT Append(IHostAction* action) = 0;
  // Inserts at index (0..count; -1 appends). E_INVALIDARG for another index.
  virtual HRESULT Insert(int32_t index, IHostAction* action) = 0;
  // E_INVALIDARG for an index outside the list.
  virtual HRESULT RemoveAt(int32_t index) = 0;
  virtual HRESULT Replace(int32_t index, IHostAction* action) = 0;

  // Appends a new action made by the document's action factory (see IHostActionFactory for
  // the arguments and errors) and hands it out through `action` (may be null: then no
  // reference is given). On failure the list is unchanged and *action is null.
  virtual HRESULT AppendGoTo(const PageDestination* dest, IHostAction** action) = 0;
  virtual HRESULT AppendGoToNamed(const char16_t* name, int32_t length, IHostAction** action) = 0;
  virtual HRESULT AppendGoToRemote(const char16_t* file, int32_t fileLength,
                                   const PageDestination* dest, IHostAction** action) = 0;
  virtual HRESULT AppendGoToRemoteNamed(const char16_t* file, int32_t fileLength,
                                        const char16_t* name, int32_t nameLength,
                                        IHostAction** action) = 0;
  virtual HRESULT AppendUri(const char16_t* uri, int32_t length, IHostAction** action) = 0;
  virtual HRESULT AppendLaunch(const char16_t* file, int32_t length, IHostAction** action) = 0;
  virtual HRESULT AppendJavaScript(const char16_t* script, int32_t length,
                                   IHostAction** action) = 0;
};

// The document's action factory (IHostDocument::GetActionFactory). Each call makes a new,
// free-standing action (one reference to *action) that no item uses until it is put into a
// list that is given to a bookmark. Errors: E_POINTER for a null out (or a null dest);
// E_INVALIDARG for an empty name, file, URI or script, for a GoTo page outside the document,
// a negative GoToR page or an unknown fit type; E_OUTOFMEMORY. *action is null on failure.
struct IHostActionFactory : IUnknown {
  static constexpr Guid kIid{0x5A1E0203, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 40}};
  // GoTo to an explicit destination in this document.
  virtual HRESULT CreateGoTo(const PageDestination* dest, IHostAction** action) = 0;
  // GoTo to a named destination (the name need not exist yet).
  virtual HRESULT CreateGoToNamed(const char16_t* name, int32_t length, IHostAction** action) = 0;
  // GoToR: the file as written (a path or URL relative to this document), and the remote
  // page index with its view, or a name in that file.
  virtual HRESULT CreateGoToRemote(const char16_t* file, int32_t fileLength,
                                   const PageDestination* dest, IHostAction** action) = 0;
  virtual HRESULT CreateGoToRemoteNamed(const char16_t* file, int32_t fileLength,
                                        const char16_t* name, int32_t nameLength,
                                        IHostAction** action) = 0;
  // URI: the text is stored as written (UTF-8 for characters beyond ASCII).
  virtual HRESULT CreateUri(const char16_t* uri, int32_t length, IHostAction** action) = 0;
  // Launch: the file (or program) to open.
  virtual HRESULT CreateLaunch(const char16_t* file, int32_t length, IHostAction** action) = 0;
  // JavaScript: the script text.
  virtual HRESULT CreateJavaScript(const char16_t* script, int32_t length,
                                   IHostAction** action) = 0;
};

}  // namespace zelta
