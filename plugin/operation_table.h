// The plug-in's operations, one row each (see framework/operation_row.h), and what is derived
// from the rows: the commands it registers, the content of the "Bookmarks" submenu, and the
// operation a command or an id makes.
#pragma once

#include <span>
#include <string_view>

#include "framework/bookmark_operation.h"
#include "framework/operation_row.h"
#include "framework/plugin_context.h"
#include "host/com.h"

namespace bm {

// The submenu command; registered before the rows' commands.
inline constexpr std::u16string_view kSubmenuCommand = u"cmd.bookmarksPlugin";
inline constexpr std::u16string_view kSubmenuTitleId = u"bookmarksPlugin.cmd.name";
// Presentation style of the submenu item in bars and menus.
inline constexpr int32_t kSubmenuStyle = 0x300;

// Every operation, in the order its command is registered (operations without a command
// last).
std::span<const OperationRow> OperationRows();

// The slots of the "Bookmarks" submenu: the command of the row placed there, or empty for a
// separator.
std::span<const std::u16string_view> SubmenuSlots();

// The operation a command runs, with one reference; null for a command without one.
zelta::ComPtr<BookmarkOperation> CreateOperationForCommand(zelta::Atom command,
                                                           PluginContext* plugin);

// The operation of an operation id ("op.bookmarks.changeBookmarkCase"), with one reference;
// null for an id the plug-in has no operation for.
zelta::ComPtr<BookmarkOperation> CreateOperationById(std::u16string_view id, PluginContext* plugin);
zelta::ComPtr<BookmarkOperation> CreateOperationByAtom(zelta::Atom id, PluginContext* plugin);

}  // namespace bm
