#include "plugin/command_tables.h"

#include <array>

#include "autogen/agb_add_level_operation.h"
#include "autogen/agb_operation.h"
#include "autogen/agb_suggest_operation.h"
#include "framework/atom_table.h"
#include "plugin/plugin_object.h"
#include "toc/fromtoc_operation.h"
#include "toc/totoc_operation.h"
#include "tools/create/benp_operation.h"
#include "tools/create/bft_operation.h"
#include "tools/title/atb_operation.h"
#include "tools/title/bnd_operation.h"
#include "tools/title/cbc_operation.h"
#include "tools/title/frt_operation.h"
#include "tools/tree/sb_operation.h"
#include "tools/tree/vb_operation.h"

namespace bm {
namespace {

constexpr std::array<CommandRow, 12> kCommands = {{
    {u"cmd.bookmarksPlugin.generate", u"bookmarksPlugin.cmd.generate", u"cmd.bookmarksView.new"},
    {u"cmd.bookmarksPlugin.addAGBLevel", u"bookmarksPlugin.cmd.addAGBLevel", u""},
    {u"cmd.bookmarksPlugin.validate", u"bookmarksPlugin.cmd.validate",
     u"ico.bookmark.plugin.validate"},
    {u"cmd.bookmarksPlugin.toTOC", u"bookmarksPlugin.cmd.toTOC", u"ico.bookmark.plugin.toTOC"},
    {u"cmd.bookmarksPlugin.fromTOC", u"bookmarksPlugin.cmd.fromTOC",
     u"ico.bookmark.plugin.fromTOC"},
    {u"cmd.bookmarksPlugin.sort", u"bookmarksPlugin.cmd.sort", u"ico.bookmark.plugin.sort"},
    {u"cmd.bookmarksPlugin.changeBookmarkCase", u"bookmarksPlugin.cmd.changeBookmarkCase",
     u"ico.bookmark.plugin.case"},
    {u"cmd.bookmarksPlugin.addTextToBookmarkTitle", u"bookmarksPlugin.cmd.addTextToBookmarkTitle",
     u"ico.bookmark.plugin.addText"},
    {u"cmd.bookmarksPlugin.bookmarksToNamedDests", u"bookmarksPlugin.cmd.bookmarksToNamedDests",
     u"ico.bookmark.plugin.toDests"},
    {u"cmd.bookmarksPlugin.findReplaceBookmarkText", u"bookmarksPlugin.cmd.findReplaceBookmarkText",
     u"ico.bookmark.plugin.findAndReplace"},
    {u"cmd.bookmarksPlugin.fromTextFile", u"bookmarksPlugin.cmd.fromTextFile",
     u"ico.bookmark.plugin.fromText"},
    {u"cmd.bookmarksPlugin.bookmarkEveryNthPage", u"bookmarksPlugin.cmd.bookmarkEveryNthPage",
     u"ico.bookmark.plugin.everyNthPage"},
}};

constexpr std::array<std::u16string_view, 13> kSubmenu = {
    u"cmd.bookmarksPlugin.fromTOC",
    u"cmd.bookmarksPlugin.generate",
    u"cmd.bookmarksPlugin.fromTextFile",
    u"cmd.bookmarksPlugin.bookmarkEveryNthPage",
    u"",
    u"cmd.bookmarksPlugin.addTextToBookmarkTitle",
    u"cmd.bookmarksPlugin.changeBookmarkCase",
    u"cmd.bookmarksPlugin.bookmarksToNamedDests",
    u"cmd.bookmarksPlugin.findReplaceBookmarkText",
    u"",
    u"cmd.bookmarksPlugin.toTOC",
    u"cmd.bookmarksPlugin.sort",
    u"cmd.bookmarksPlugin.validate",
};

// Commands and the operations they run; only operations that exist are listed.
struct OperationRow {
  std::u16string_view command;
  std::u16string_view operation;
  zelta::ComPtr<BookmarkOperation> (*create)(PluginObject* plugin);
};

const OperationRow kOperations[] = {
    {u"cmd.bookmarksPlugin.changeBookmarkCase", u"op.bookmarks.changeBookmarkCase",
     [](PluginObject* plugin) -> zelta::ComPtr<BookmarkOperation> {
       return zelta::MakeCom<CBCOperation>(plugin);
     }},
    {u"cmd.bookmarksPlugin.findReplaceBookmarkText", u"op.bookmarks.findReplaceBookmarkText",
     [](PluginObject* plugin) -> zelta::ComPtr<BookmarkOperation> {
       return zelta::MakeCom<FRTOperation>(plugin);
     }},
    {u"cmd.bookmarksPlugin.addTextToBookmarkTitle", u"op.bookmarks.addTextToBookmarkTitle",
     [](PluginObject* plugin) -> zelta::ComPtr<BookmarkOperation> {
       return zelta::MakeCom<ATBOperation>(plugin);
     }},
    {u"cmd.bookmarksPlugin.generate", u"op.bookmarks.autoGenerateFromText",
     [](PluginObject* plugin) -> zelta::ComPtr<BookmarkOperation> {
       return zelta::MakeCom<AGBOperation>(plugin);
     }},
    {u"cmd.bookmarksPlugin.addAGBLevel", u"op.pseudo.bookmarks.addAGBLevel",
     [](PluginObject* plugin) -> zelta::ComPtr<BookmarkOperation> {
       return zelta::MakeCom<AGBAddLevelOperation>(plugin);
     }},
    {u"", u"op.bookmarks.suggestGenerationOptions",
     [](PluginObject* plugin) -> zelta::ComPtr<BookmarkOperation> {
       return zelta::MakeCom<AGBSuggestOperation>(plugin);
     }},
    {u"cmd.bookmarksPlugin.bookmarksToNamedDests", u"op.bookmarks.toNamedDests",
     [](PluginObject* plugin) -> zelta::ComPtr<BookmarkOperation> {
       return zelta::MakeCom<BNDOperation>(plugin);
     }},
    {u"cmd.bookmarksPlugin.sort", u"op.bookmarks.sortBookmarks",
     [](PluginObject* plugin) -> zelta::ComPtr<BookmarkOperation> {
       return zelta::MakeCom<SBOperation>(plugin);
     }},
    {u"cmd.bookmarksPlugin.validate", u"op.bookmarks.validate",
     [](PluginObject* plugin) -> zelta::ComPtr<BookmarkOperation> {
       return zelta::MakeCom<VBOperation>(plugin);
     }},
    {u"cmd.bookmarksPlugin.bookmarkEveryNthPage", u"op.bookmarks.bookmarkEveryNthPage",
     [](PluginObject* plugin) -> zelta::ComPtr<BookmarkOperation> {
       return zelta::MakeCom<BENPOperation>(plugin);
     }},
    {u"cmd.bookmarksPlugin.fromTextFile", u"op.bookmarks.fromTextFile",
     [](PluginObject* plugin) -> zelta::ComPtr<BookmarkOperation> {
       return zelta::MakeCom<BFTOperation>(plugin);
     }},
    {u"cmd.bookmarksPlugin.toTOC", u"op.bookmarks.toTOC",
     [](PluginObject* plugin) -> zelta::ComPtr<BookmarkOperation> {
       return zelta::MakeCom<ToTOCOperation>(plugin);
     }},
    {u"cmd.bookmarksPlugin.fromTOC", u"op.bookmarks.fromTOC",
     [](PluginObject* plugin) -> zelta::ComPtr<BookmarkOperation> {
       return zelta::MakeCom<FromTOCOperation>(plugin);
     }},
};

// Every operation of the plug-in with the abbreviation users name it by. Operations not built
// yet are named too, so that the host knows them; creating one fails.
constexpr OperationName kOperationNames[] = {
    {u"op.bookmarks.changeBookmarkCase", u"CBC", 0},
    {u"op.bookmarks.findReplaceBookmarkText", u"FRT", 0},
    {u"op.bookmarks.addTextToBookmarkTitle", u"ATB", 0},
    {u"op.bookmarks.toNamedDests", u"BND", 0},
    {u"op.bookmarks.sortBookmarks", u"SB", 0},
    {u"op.bookmarks.validate", u"VB",
     zelta::kOperationReadsOnly | zelta::kOperationOutputsValidationRecords},
    {u"op.bookmarks.bookmarkEveryNthPage", u"BENP", 0},
    {u"op.bookmarks.fromTextFile", u"BFT", zelta::kOperationImportsOutlineText},
    {u"op.bookmarks.autoGenerateFromText", u"AGB", 0},
    {u"op.bookmarks.toTOC", u"ToTOC", zelta::kOperationChangesPages},
    {u"op.bookmarks.fromTOC", u"FromTOC", zelta::kOperationChangesPages},
    {u"op.pseudo.bookmarks.addAGBLevel", u"", zelta::kOperationDescribesSelectionStyle},
    {u"op.bookmarks.suggestGenerationOptions", u"",
     zelta::kOperationReadsOnly | zelta::kOperationSuggestsOptions},
};

}  // namespace

std::span<const CommandRow> CommandRegistrationTable() { return kCommands; }

std::span<const std::u16string_view> SubmenuSlots() { return kSubmenu; }

zelta::ComPtr<BookmarkOperation> CreateOperationForCommand(zelta::Atom command,
                                                           PluginObject* plugin) {
  if (command == zelta::kNoAtom || !plugin) return nullptr;
  for (const OperationRow& row : kOperations)
    if (command == AtomOf(row.command)) return row.create(plugin);
  return nullptr;
}

zelta::ComPtr<BookmarkOperation> CreateOperationById(zelta::Atom operation, PluginObject* plugin) {
  if (operation == zelta::kNoAtom || !plugin) return nullptr;
  // Ids outside the atom table are interned on the spot, as their registration did.
  for (const OperationRow& row : kOperations)
    if (operation == InternId(plugin->App(), row.operation)) return row.create(plugin);
  return nullptr;
}

std::span<const OperationName> OperationNames() { return kOperationNames; }

}  // namespace bm
