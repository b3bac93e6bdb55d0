#include "plugin/operation_table.h"

#include <array>

#include "autogen/agb_add_level_operation.h"
#include "autogen/agb_operation.h"
#include "autogen/agb_suggest_operation.h"
#include "framework/atom_table.h"
#include "toc/fromtoc_dialog.h"
#include "toc/fromtoc_operation.h"
#include "toc/totoc_dialog.h"
#include "toc/totoc_operation.h"
#include "tools/create/benp_dialog.h"
#include "tools/create/benp_operation.h"
#include "tools/create/bft_dialog.h"
#include "tools/create/bft_operation.h"
#include "tools/title/atb_dialog.h"
#include "tools/title/atb_operation.h"
#include "tools/title/bnd_dialog.h"
#include "tools/title/bnd_operation.h"
#include "tools/title/cbc_dialog.h"
#include "tools/title/cbc_operation.h"
#include "tools/title/frt_dialog.h"
#include "tools/title/frt_operation.h"
#include "tools/tree/sb_dialog.h"
#include "tools/tree/sb_operation.h"
#include "tools/tree/vb_operation.h"

namespace bm {
namespace {

constexpr int32_t kNotInSubmenu = -1;

// Adding an operation: one row here and its class.
constexpr OperationRow kRows[] = {
    {.id = kGenerationOperationId,
     .abbreviation = u"AGB",
     .paramsRoot = u"AGBOperationRoot",
     .optionsRoot = u"AGBOperationOptionsRoot",
     .lastUsedItem = u"AGBLastUsedOptions",
     .command = u"cmd.bookmarksPlugin.generate",
     .titleId = u"bookmarksPlugin.cmd.generate",
     .iconId = u"cmd.bookmarksView.new",
     .submenuSlot = 1,
     .traits = 0,
     .changes = RunChanges::kNewBookmarks,
     .create = MakeOperation<AGBOperation>,
     .dialog = nullptr},
    // Takes a level from the text selection into the generation options it shares.
    {.id = u"op.pseudo.bookmarks.addAGBLevel",
     .abbreviation = u"",
     .paramsRoot = u"AGBOperationRoot",
     .optionsRoot = u"",
     .lastUsedItem = u"AGBLastUsedOptions",
     .command = u"cmd.bookmarksPlugin.addAGBLevel",
     .titleId = u"bookmarksPlugin.cmd.addAGBLevel",
     .iconId = u"",
     .submenuSlot = kNotInSubmenu,
     .traits = zelta::kOperationDescribesSelectionStyle,
     .changes = RunChanges::kNoInput,
     .create = MakeOperation<AGBAddLevelOperation>,
     .dialog = nullptr},
    {.id = u"op.bookmarks.validate",
     .abbreviation = u"VB",
     .paramsRoot = u"VBOperationRoot",
     .optionsRoot = u"",
     .lastUsedItem = u"VBLastUsedOptions",
     .command = u"cmd.bookmarksPlugin.validate",
     .titleId = u"bookmarksPlugin.cmd.validate",
     .iconId = u"ico.bookmark.plugin.validate",
     .submenuSlot = 12,
     .traits = zelta::kOperationReadsOnly | zelta::kOperationOutputsValidationRecords,
     .changes = RunChanges::kNothing,
     .create = MakeOperation<VBOperation>,
     .dialog = nullptr},
    {.id = u"op.bookmarks.toTOC",
     .abbreviation = u"ToTOC",
     .paramsRoot = u"ToTOCOperationRoot",
     .optionsRoot = u"ToTOCOperationOptionsRoot",
     .lastUsedItem = u"ToTOCLastUsedOptions",
     .command = u"cmd.bookmarksPlugin.toTOC",
     .titleId = u"bookmarksPlugin.cmd.toTOC",
     .iconId = u"ico.bookmark.plugin.toTOC",
     .submenuSlot = 10,
     .traits = zelta::kOperationChangesPages,
     .changes = RunChanges::kPagesAndLinks,
     .create = MakeOperation<ToTOCOperation>,
     .dialog = MakeOptionsDialog<ToTOCDialog>},
    {.id = u"op.bookmarks.fromTOC",
     .abbreviation = u"FromTOC",
     .paramsRoot = u"FromTOCOperationRoot",
     .optionsRoot = u"FromTOCOptionsRoot",
     .lastUsedItem = u"FromTOCLastUsedOptions",
     .command = u"cmd.bookmarksPlugin.fromTOC",
     .titleId = u"bookmarksPlugin.cmd.fromTOC",
     .iconId = u"ico.bookmark.plugin.fromTOC",
     .submenuSlot = 0,
     .traits = zelta::kOperationChangesPages,
     .changes = RunChanges::kNewBookmarks,
     .create = MakeOperation<FromTOCOperation>,
     .dialog = MakeOptionsDialog<FromTOCDialog>},
    {.id = u"op.bookmarks.sortBookmarks",
     .abbreviation = u"SB",
     .paramsRoot = u"SBOperationRoot",
     .optionsRoot = u"SBOptionsRoot",
     .lastUsedItem = u"SBLastUsedOptions",
     .command = u"cmd.bookmarksPlugin.sort",
     .titleId = u"bookmarksPlugin.cmd.sort",
     .iconId = u"ico.bookmark.plugin.sort",
     .submenuSlot = 11,
     .traits = 0,
     .changes = RunChanges::kBookmarkOrder,
     .create = MakeOperation<SBOperation>,
     .dialog = MakeOptionsDialog<SBDialog>},
    {.id = u"op.bookmarks.changeBookmarkCase",
     .abbreviation = u"CBC",
     .paramsRoot = u"CBCOperationRoot",
     .optionsRoot = u"CBCOptionsRoot",
     .lastUsedItem = u"CBCLastUsedOptions",
     .command = u"cmd.bookmarksPlugin.changeBookmarkCase",
     .titleId = u"bookmarksPlugin.cmd.changeBookmarkCase",
     .iconId = u"ico.bookmark.plugin.case",
     .submenuSlot = 6,
     .traits = 0,
     .changes = RunChanges::kBookmarkTitles,
     .create = MakeOperation<CBCOperation>,
     .dialog = MakeOptionsDialog<CBCDialog>},
    {.id = u"op.bookmarks.addTextToBookmarkTitle",
     .abbreviation = u"ATB",
     .paramsRoot = u"ATBOperationRoot",
     .optionsRoot = u"ATBOptionsRoot",
     .lastUsedItem = u"ATBLastUsedOptions",
     .command = u"cmd.bookmarksPlugin.addTextToBookmarkTitle",
     .titleId = u"bookmarksPlugin.cmd.addTextToBookmarkTitle",
     .iconId = u"ico.bookmark.plugin.addText",
     .submenuSlot = 5,
     .traits = 0,
     .changes = RunChanges::kBookmarkTitles,
     .create = MakeOperation<ATBOperation>,
     .dialog = MakeOptionsDialog<ATBDialog>},
    {.id = u"op.bookmarks.toNamedDests",
     .abbreviation = u"BND",
     .paramsRoot = u"BNDOperationRoot",
     .optionsRoot = u"BNDOptionsRoot",
     .lastUsedItem = u"BNDLastUsedOptions",
     .command = u"cmd.bookmarksPlugin.bookmarksToNamedDests",
     .titleId = u"bookmarksPlugin.cmd.bookmarksToNamedDests",
     .iconId = u"ico.bookmark.plugin.toDests",
     .submenuSlot = 7,
     .traits = 0,
     .changes = RunChanges::kBookmarkTitles,
     .create = MakeOperation<BNDOperation>,
     .dialog = MakeOptionsDialog<BNDDialog>},
    {.id = u"op.bookmarks.findReplaceBookmarkText",
     .abbreviation = u"FRT",
     .paramsRoot = u"FRTOperationRoot",
     .optionsRoot = u"FRTOptionsRoot",
     .lastUsedItem = u"FRTLastUsedOptions",
     .command = u"cmd.bookmarksPlugin.findReplaceBookmarkText",
     .titleId = u"bookmarksPlugin.cmd.findReplaceBookmarkText",
     .iconId = u"ico.bookmark.plugin.findAndReplace",
     .submenuSlot = 8,
     .traits = 0,
     .changes = RunChanges::kBookmarkTitles,
     .create = MakeOperation<FRTOperation>,
     .dialog = MakeOptionsDialog<FRTDialog>},
    {.id = u"op.bookmarks.fromTextFile",
     .abbreviation = u"BFT",
     .paramsRoot = u"BFTOperationRoot",
     .optionsRoot = u"BFTOptionsRoot",
     .lastUsedItem = u"BFTLastUsedOptions",
     .command = u"cmd.bookmarksPlugin.fromTextFile",
     .titleId = u"bookmarksPlugin.cmd.fromTextFile",
     .iconId = u"ico.bookmark.plugin.fromText",
     .submenuSlot = 2,
     .traits = zelta::kOperationImportsOutlineText,
     .changes = RunChanges::kNewBookmarks,
     .create = MakeOperation<BFTOperation>,
     .dialog = MakeOptionsDialog<BFTDialog>},
    {.id = u"op.bookmarks.bookmarkEveryNthPage",
     .abbreviation = u"BENP",
     .paramsRoot = u"BENPOperationRoot",
     .optionsRoot = u"BENPOptionsRoot",
     .lastUsedItem = u"BENPLastUsedOptions",
     .command = u"cmd.bookmarksPlugin.bookmarkEveryNthPage",
     .titleId = u"bookmarksPlugin.cmd.bookmarkEveryNthPage",
     .iconId = u"ico.bookmark.plugin.everyNthPage",
     .submenuSlot = 3,
     .traits = 0,
     .changes = RunChanges::kNewBookmarks,
     .create = MakeOperation<BENPOperation>,
     .dialog = MakeOptionsDialog<BENPDialog>},
    // Reads the document's typography and proposes generation options; changes nothing.
    {.id = u"op.bookmarks.suggestGenerationOptions",
     .abbreviation = u"",
     .paramsRoot = u"AGBSuggestOperationRoot",
     .optionsRoot = u"",
     .lastUsedItem = u"AGBSuggestLastUsedOptions",
     .command = u"",
     .titleId = u"",
     .iconId = u"",
     .submenuSlot = kNotInSubmenu,
     .traits = zelta::kOperationReadsOnly | zelta::kOperationSuggestsOptions,
     .changes = RunChanges::kNothing,
     .create = MakeOperation<AGBSuggestOperation>,
     .dialog = nullptr},
};

// Slots 4 and 9 are separators.
constexpr size_t kSubmenuSlotCount = 13;

constexpr std::array<std::u16string_view, kSubmenuSlotCount> SubmenuFromRows() {
  std::array<std::u16string_view, kSubmenuSlotCount> slots{};
  for (const OperationRow& row : kRows)
    if (row.submenuSlot >= 0) slots[static_cast<size_t>(row.submenuSlot)] = row.command;
  return slots;
}

constexpr auto kSubmenu = SubmenuFromRows();

}  // namespace

std::span<const OperationRow> OperationRows() { return kRows; }

std::span<const std::u16string_view> SubmenuSlots() { return kSubmenu; }

zelta::ComPtr<BookmarkOperation> CreateOperationForCommand(zelta::Atom command,
                                                           PluginContext* plugin) {
  if (command == zelta::kNoAtom || !plugin) return nullptr;
  for (const OperationRow& row : kRows)
    if (!row.command.empty() && command == InternId(plugin->App(), row.command))
      return row.create(plugin, row);
  return nullptr;
}

zelta::ComPtr<BookmarkOperation> CreateOperationById(std::u16string_view id,
                                                     PluginContext* plugin) {
  if (!plugin) return nullptr;
  for (const OperationRow& row : kRows)
    if (id == row.id) return row.create(plugin, row);
  return nullptr;
}

zelta::ComPtr<BookmarkOperation> CreateOperationByAtom(zelta::Atom id, PluginContext* plugin) {
  if (id == zelta::kNoAtom || !plugin) return nullptr;
  for (const OperationRow& row : kRows)
    if (id == InternId(plugin->App(), row.id)) return row.create(plugin, row);
  return nullptr;
}

}  // namespace bm
