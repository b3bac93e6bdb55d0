#include "zelta/ui/icon_manager.h"

#include "zelta/base/atom_table.h"

namespace zelta::ui {

IconManager::IconManager() {
  static constexpr const char* kIconIds[] = {
      "cmd.bookmarksView.new",
      "ico.bookmark.plugin.validate",
      "ico.bookmark.plugin.toTOC",
      "ico.bookmark.plugin.fromTOC",
      "ico.bookmark.plugin.sort",
      "ico.bookmark.plugin.case",
      "ico.bookmark.plugin.addText",
      "ico.bookmark.plugin.toDests",
      "ico.bookmark.plugin.findAndReplace",
      "ico.bookmark.plugin.fromText",
      "ico.bookmark.plugin.everyNthPage",
      "ico.btn.macro",
      "ico.find",
      "ico.msg.warning",
      "ico.stop.add",
      "ico.stop.edit",
      "ico.toc",
      "ico.toc.add",
      "ico.toc.edit",
      "ico.toc.remove",
  };
  for (const char* id : kIconIds) {
    Atom atom = base::Intern(id);
    icons_[atom] = MakeCom<HostIcon>(atom);
  }
}

HRESULT IconManager::FindIcon(Atom id, IHostIcon** icon) {
  if (!icon) return E_POINTER;
  *icon = nullptr;
  auto found = icons_.find(id);
  if (found == icons_.end()) return S_FALSE;
  return found->second.CopyTo(icon);
}

}  // namespace zelta::ui
