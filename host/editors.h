// Editors the host shows for values whose form is the host's business: the font and look of
// a line of text, and the actions of a bookmark. Component "EDT" (IHostApp::GetComponent,
// then QueryInterface). Each runs modally over the owner window, on the host's user-interface
// thread, and changes nothing when the user cancels.
#pragma once

#include "host/com.h"

namespace zelta {

struct ICabItem;
struct IHostActionList;
struct IHostDocument;

struct IHostEditors : IUnknown {
  static constexpr Guid kIid{0x5A1E1306, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 0x96}};

  // Edits a font-parameter dictionary in place: "Name" (font name), "Size" (points),
  // "FColor" (the host's colour text), "Underline" and "StrikeOut" (0 or 1), and "Indent"
  // (points) when the dictionary has it. S_OK when the user confirmed: the items hold what
  // the user gave. S_FALSE when the user cancelled: nothing changed. E_POINTER for null
  // params; E_FAIL when nobody can answer a dialog.
  virtual HRESULT EditFontParams(ICabItem* params, WindowHandle owner) = 0;

  // Edits an action list in place: the user removes actions, and adds go-to-page, web link,
  // launch and JavaScript actions; the list's other actions are kept as they are. The list
  // changes only when the user confirms (S_OK); S_FALSE when the user cancelled. document
  // gives the pages a go-to action may name. E_POINTER for a null list or document; E_FAIL
  // when nobody can answer a dialog.
  virtual HRESULT EditActions(IHostActionList* actions, IHostDocument* document,
                              WindowHandle owner) = 0;
};

}  // namespace zelta
