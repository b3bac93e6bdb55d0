#include "framework/atom_table.h"

#include <array>
#include <string>
#include <unordered_map>

namespace bm {
namespace {

constexpr std::array<std::u16string_view, kAtomTableSize> kIds = {
    // Host events.
    u"e.mainView.customizeCmdBars",
    u"e.beforeShowContextMenu",
    u"e.mainView.activated",
    u"e.mainFrame.beforeClose",
    u"e.mainFrame.closed",
    u"e.activeDocChanged",
    u"e.document.beforeChangePagesList",
    u"e.document.afterChangePagesList",
    u"e.app.settingsChanged",
    u"e.bookmarks.changed",
    u"e.pdfNamedDests.inserted",
    u"e.pdfNamedDests.deleted",
    // The host menu that gets the add-level command.
    u"menu.tool.selectText",
    // Command title string ids.
    u"bookmarksPlugin.cmd.name",
    u"bookmarksPlugin.cmd.generate",
    u"bookmarksPlugin.cmd.addAGBLevel",
    u"bookmarksPlugin.cmd.validate",
    u"bookmarksPlugin.cmd.toTOC",
    u"bookmarksPlugin.cmd.fromTOC",
    u"bookmarksPlugin.cmd.sort",
    u"bookmarksPlugin.cmd.changeBookmarkCase",
    u"bookmarksPlugin.cmd.addTextToBookmarkTitle",
    u"bookmarksPlugin.cmd.bookmarksToNamedDests",
    u"bookmarksPlugin.cmd.findReplaceBookmarkText",
    u"bookmarksPlugin.cmd.fromTextFile",
    u"bookmarksPlugin.cmd.bookmarkEveryNthPage",
    // Host commands next to which the plug-in places its own.
    u"cmd.hresultInfo",
    u"cmd.props",
    // Macro menu commands.
    u"cmd.macro.date",
    u"cmd.macro.time",
    u"cmd.macro.docTitle",
    u"cmd.macro.page",
    u"cmd.macro.pages",
    u"cmd.macro.fileName",
    u"bookmarksPlugin.cmd.macro.level",
    u"bookmarksPlugin.cmd.macro.indexInParent",
    u"bookmarksPlugin.cmd.macro.hierIndex",
    u"bookmarksPlugin.cmd.macro.sequentialNum",
    u"bookmarksPlugin.cmd.macro.namedDest",
    u"bookmarksPlugin.cmd.macro.label",
    u"bookmarksPlugin.cmd.macro.uri",
    u"bookmarksPlugin.cmd.macro.launch",
    u"bookmarksPlugin.cmd.macro.title",
    u"bookmarksPlugin.cmd.macro.hierTitle",
    u"bookmarksPlugin.cmd.macro.firstLine",
    // The plug-in's commands.
    u"cmd.bookmarksPlugin",
    u"cmd.bookmarksPlugin.generate",
    u"cmd.bookmarksPlugin.addAGBLevel",
    u"cmd.bookmarksPlugin.validate",
    u"cmd.bookmarksPlugin.toTOC",
    u"cmd.bookmarksPlugin.fromTOC",
    u"cmd.bookmarksPlugin.sort",
    u"cmd.bookmarksPlugin.changeBookmarkCase",
    u"cmd.bookmarksPlugin.addTextToBookmarkTitle",
    u"cmd.bookmarksPlugin.bookmarksToNamedDests",
    u"cmd.bookmarksPlugin.findReplaceBookmarkText",
    u"cmd.bookmarksPlugin.fromTextFile",
    u"cmd.bookmarksPlugin.bookmarkEveryNthPage",
    // Dialog list commands.
    u"cmd.agb.addTreeItem",
    u"cmd.ttoc.addTreeItem",
    u"cmd.vb.renameTreeItem",
    u"cmd.agb.editTreeItem",
    u"cmd.ttoc.editTreeItem",
    u"cmd.vb.editTreeItem",
    u"cmd.agb.removeTreeItem",
    u"cmd.ttoc.removeTreeItem",
    u"cmd.vb.removeTreeItem",
    u"cmd.addFonts",
    u"cmd.addCustomFont",
    u"cmd.removeFonts",
    u"cmd.addStopWords",
    u"cmd.editStopWords",
    u"cmd.removeStopWords",
    u"cmd.addExcludedWord",
    u"cmd.editExcludedWord",
    u"cmd.removeExcludedWords",
    u"btn.presets",
    // Selections and action types.
    u"selection.text",
    u"selection.bookmarks",
    u"GoTo",
    u"GoToR",
    u"GoToE",
    u"Launch",
    u"URI",
    // Host operations.
    u"op.bookmarks.setProps",
    u"op.bookmarks.delete",
    u"op.bookmarks.move",
    u"op.bookmarks.addNew.simple",
    u"op.annots.addNew",
    u"op.search",
    u"op.document.insertEmptyPages",
    // Host views and dialogs.
    u"bookmarksView",
    u"DlgBookmarkPropSheet",
    u"DlgBookmarkLevelDescription",
    u"DlgBookmarkAppearance",
    u"DlgBookmarkTitleFormatting",
    // The plug-in's own event and operations.
    u"e.bookmarksPlugin.addAGBLevel",
    u"op.pseudo.bookmarks.addAGBLevel",
    u"op.bookmarks.autoGenerateFromText",
    u"op.bookmarks.validate",
    u"op.bookmarks.toTOC",
    u"op.bookmarks.fromTOC",
    u"op.bookmarks.sortBookmarks",
    u"op.bookmarks.changeBookmarkCase",
    u"op.bookmarks.addTextToBookmarkTitle",
    u"op.bookmarks.toNamedDests",
    u"op.bookmarks.fromTextFile",
    u"op.bookmarks.findReplaceBookmarkText",
    u"op.bookmarks.bookmarkEveryNthPage",
    u"op.bookmarks.bookmarksToTextFile",
    // Dialog ids.
    u"bookmarksPlugin.DlgBookmarkEveryNthPage",
    u"bookmarksPlugin.DlgFindReplaceBookmarkText",
    u"bookmarksPlugin.DlgBookmarksToNamedDests",
    u"bookmarksPlugin.DlgAddTextToBookmark",
    u"bookmarksPlugin.DlgChangeBookmarkCase",
    u"bookmarksPlugin.DlgBookmarkPropSheet",
    u"bookmarksPlugin.DlgBookmarkLevelDescription",
    u"bookmarksPlugin.DlgBookmarkAppearance",
    u"bookmarksPlugin.DlgBookmarkTitleFormatting",
    // Tree columns and further string ids.
    u"bookmarksPlugin.tree.level",
    u"bookmarksPlugin.tree.fontSize",
    u"bookmarksPlugin.tree.fontTolerance",
    u"bookmarksPlugin.tree.fontColor",
    u"bookmarksPlugin.tree.textPattern",
    u"bookmarksPlugin.tree.fontName",
    u"bookmarksPlugin.bld.chb.fontNames",
    u"bookmarksPlugin.progress.generateBookmarks",
    u"bookmarksPlugin.progress.generatingBookmarks",
    u"bookmarksPlugin.msg.stopWords.add.title",
    u"bookmarksPlugin.msg.stopWords.edit.title",
    u"bookmarksPlugin.msg.stopWords.caption",
    u"bookmarksPlugin.msg.cbc.excludedwords.edit.title",
    u"bookmarksPlugin.msg.cbc.excludedwords.caption",
    u"bookmarksPlugin.msg.validateBookmarks.rename.title",
    u"bookmarksPlugin.msg.validateBookmarks.rename.caption",
    u"bookmarksPlugin.msg.validateBookmarks.delete.title",
    u"bookmarksPlugin.msg.validateBookmarks.delete.caption",
    u"bookmarksPlugin.msg.levelDesc.warning",
    u"bookmarksPlugin.msg.levelDesc.title",
    u"bookmarksPlugin.msg.font.addCustom.title",
    u"bookmarksPlugin.msg.font.addCustom.caption",
    u"bookmarksPlugin.op.GenerateBookmarks",
    u"Unknown2",
    u"btn.add_",
};

struct AtomState {
  zelta::IHostApp* internedWith = nullptr;  // identity only, never dereferenced
  std::array<zelta::Atom, kAtomTableSize> atoms{};
  std::unordered_map<std::u16string_view, size_t> index;
};

// Never destroyed, like the host's own atoms it mirrors.
AtomState& State() {
  static auto* state = [] {
    auto* s = new AtomState;
    for (size_t i = 0; i < kIds.size(); ++i) s->index.emplace(kIds[i], i);
    return s;
  }();
  return *state;
}

}  // namespace

std::span<const std::u16string_view> AtomTableIds() { return kIds; }

void InternAtomTable(zelta::IHostApp* app) {
  AtomState& state = State();
  if (!app || state.internedWith == app) return;
  for (size_t i = 0; i < kIds.size(); ++i) {
    zelta::Atom atom = zelta::kNoAtom;
    if (zelta::Failed(
            app->InternString(kIds[i].data(), static_cast<int32_t>(kIds[i].size()), &atom)))
      atom = zelta::kNoAtom;
    state.atoms[i] = atom;
  }
  state.internedWith = app;
}

zelta::Atom AtomOf(std::u16string_view id) {
  const AtomState& state = State();
  auto it = state.index.find(id);
  return it == state.index.end() ? zelta::kNoAtom : state.atoms[it->second];
}

zelta::Atom InternId(zelta::IHostApp* app, std::u16string_view id) {
  zelta::Atom atom = AtomOf(id);
  if (atom != zelta::kNoAtom || !app || id.empty()) return atom;
  if (zelta::Failed(app->InternString(id.data(), static_cast<int32_t>(id.size()), &atom)))
    return zelta::kNoAtom;
  return atom;
}

}  // namespace bm
