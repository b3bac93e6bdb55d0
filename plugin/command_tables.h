// The plug-in's commands: the registration table (with titles and icons), the content of the
// "Bookmarks" submenu, and the operation each command runs.
#pragma once

#include <span>
#include <string_view>

#include "framework/bookmark_operation.h"
#include "host/com.h"

namespace bm {

class PluginObject;

struct CommandRow {
  std::u16string_view command;
  std::u16string_view titleId;
  std::u16string_view iconId;  // empty: no icon
};

// The submenu command; registered before the rows of the table.
inline constexpr std::u16string_view kSubmenuCommand = u"cmd.bookmarksPlugin";
inline constexpr std::u16string_view kSubmenuTitleId = u"bookmarksPlugin.cmd.name";
// Presentation style of the submenu item in bars and menus.
inline constexpr int32_t kSubmenuStyle = 0x300;

// The 11 registered commands, in registration order.
std::span<const CommandRow> CommandRegistrationTable();

// The 12 slots of the "Bookmarks" submenu; an empty slot is a separator.
std::span<const std::u16string_view> SubmenuSlots();

// The operation a command runs, with one reference; null for a command without one (only the
// operations that exist are made).
zelta::ComPtr<BookmarkOperation> CreateOperationForCommand(zelta::Atom command,
                                                           PluginObject* plugin);

// The operation of an operation id ("op.bookmarks.changeBookmarkCase"), with one reference;
// null for an id the plug-in has no operation for.
zelta::ComPtr<BookmarkOperation> CreateOperationById(zelta::Atom operation, PluginObject* plugin);

// An operation as the plug-in registers it with the host.
struct OperationName {
  std::u16string_view id;
  std::u16string_view abbreviation;  // empty for an operation users do not name
  int32_t traits;                    // zelta::OperationTraits
};

// Every operation, for the registration with the host's runner.
std::span<const OperationName> OperationNames();

}  // namespace bm
