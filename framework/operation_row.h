// Everything the module says about one operation, in one row: its ids, the names of its Cab
// roots and settings item, its menu command, how the host lists it, its dialog and how to make
// it. The plug-in keeps the rows in one table and derives its registrations from them; an
// operation is made with its row and answers its id and roots from it.
#pragma once

#include <cstdint>
#include <string_view>

#include "host/cab.h"
#include "host/com.h"
#include "host/document.h"

namespace bm {

class BookmarkOperation;
class DialogBase;
struct PluginContext;
struct OperationRow;

using OperationMaker = zelta::ComPtr<BookmarkOperation> (*)(PluginContext* plugin,
                                                            const OperationRow& row);
// The options dialog over a working copy of the options.
using OptionsDialogMaker = zelta::ComPtr<DialogBase> (*)(PluginContext* plugin,
                                                         zelta::ICabItem* working,
                                                         zelta::IHostDocument* document);

// What a run may change. The run frame reads the inputs and checks the document's permissions
// for it before the run proper starts.
enum class RunChanges : uint8_t {
  kNoInput,         // nothing: the run works on its options alone and reads no document
  kNothing,         // nothing: reads the input document only
  kBookmarkTitles,  // rewrites existing bookmarks
  kNewBookmarks,    // adds bookmarks
  kBookmarkOrder,   // adds and arranges bookmarks
  kPagesAndLinks,   // inserts pages and link annotations
};

struct OperationRow {
  std::u16string_view id;            // "op.bookmarks.changeBookmarkCase"
  std::u16string_view abbreviation;  // the short name users give the operation; empty: none
  // The parameter Cab's template root ("CBCOperationRoot"), the dialog's working copy's
  // ("CBCOptionsRoot"; empty: no dialog over the options) and the settings item that keeps
  // the last used options ("CBCLastUsedOptions").
  std::u16string_view paramsRoot;
  std::u16string_view optionsRoot;
  std::u16string_view lastUsedItem;
  // The menu command that runs the operation (empty: none), its title string id and icon id
  // (empty: none), and its slot in the "Bookmarks" submenu (-1: not there).
  std::u16string_view command;
  std::u16string_view titleId;
  std::u16string_view iconId;
  int32_t submenuSlot;
  int32_t traits;  // zelta::OperationTraits
  RunChanges changes;
  OperationMaker create;
  // Null when the operation shows its own dialog or none.
  OptionsDialogMaker dialog;
};

// The maker of an operation class whose constructor takes the plug-in and the row.
template <class Operation>
zelta::ComPtr<BookmarkOperation> MakeOperation(PluginContext* plugin, const OperationRow& row) {
  return zelta::MakeCom<Operation>(plugin, row);
}

// The maker of a dialog class whose constructor takes the plug-in, the working options and
// the document.
template <class Dialog>
zelta::ComPtr<DialogBase> MakeOptionsDialog(PluginContext* plugin, zelta::ICabItem* working,
                                            zelta::IHostDocument* document) {
  return zelta::MakeCom<Dialog>(plugin, working, document);
}

}  // namespace bm
