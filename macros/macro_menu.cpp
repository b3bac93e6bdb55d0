#include "macros/macro_menu.h"

#include <vector>

#include "macros/macro_set.h"

namespace bm {

namespace {

struct MenuEntry {
  MacroId id;  // kEnv opens the submenu
  std::u16string_view stringId;
};
// Groups in menu order; a separator goes between two groups that both show something.
const std::vector<std::vector<MenuEntry>>& MenuGroups() {
  static const std::vector<std::vector<MenuEntry>> groups = {
      {{MacroId::kTitle, u"bookmarksPlugin.cmd.macro.title"},
       {MacroId::kHierTitle, u"bookmarksPlugin.cmd.macro.hierTitle"}},
      {{MacroId::kHierIndex, u"bookmarksPlugin.cmd.macro.hierIndex"},
       {MacroId::kLevel, u"bookmarksPlugin.cmd.macro.level"},
       {MacroId::kIndexInPar, u"bookmarksPlugin.cmd.macro.indexInParent"},
       {MacroId::kSeqNum, u"bookmarksPlugin.cmd.macro.sequentialNum"}},
      {{MacroId::kPage, u"cmd.macro.page"},
       {MacroId::kLabel, u"bookmarksPlugin.cmd.macro.label"},
       {MacroId::kFirstLine, u"bookmarksPlugin.cmd.macro.firstLine"},
       {MacroId::kDest, u"bookmarksPlugin.cmd.macro.namedDest"},
       {MacroId::kURI, u"bookmarksPlugin.cmd.macro.uri"},
       {MacroId::kFile, u"bookmarksPlugin.cmd.macro.launch"}},
      {{MacroId::kDocTitle, u"cmd.macro.docTitle"},
       {MacroId::kPagesCount, u"cmd.macro.pages"},
       {MacroId::kDate, u"cmd.macro.date"},
       {MacroId::kTime, u"cmd.macro.time"},
       {MacroId::kEnv, u"cmd.macro.env"}},
  };
  return groups;
}

std::u16string MenuText(zelta::IHostApp* app, std::u16string_view id) {
  zelta::OwnedString text;
  if (app) app->LoadString(id.data(), static_cast<int32_t>(id.size()), text.Put());
  return text.Empty() ? std::u16string(id) : text.Str();
}

const MacroInfo* InfoOf(MacroId id) {
  for (const MacroInfo& info : Macros())
    if (info.id == id) return &info;
  return nullptr;
}

}  // namespace

std::optional<std::u16string> ChooseMacro(zelta::IHostDialog* dialog, zelta::IDialogControl* anchor,
                                          zelta::IHostApp* app, uint32_t mask,
                                          const platform::EnvironmentSources& environment) {
  if (!dialog) return std::nullopt;
  // Texts and inserts live here; the menu items point into them.
  std::vector<std::u16string> texts;
  std::vector<std::u16string> inserts;
  struct Pending {
    int32_t text;  // index into texts, -1 for a separator
    int32_t submenu;
  };
  std::vector<Pending> pending;
  for (const auto& group : MenuGroups()) {
    bool started = false;
    for (const MenuEntry& entry : group) {
      const MacroInfo* info = InfoOf(entry.id);
      if (!info || !(info->bit & mask)) continue;
      if (!started && !pending.empty()) pending.push_back({-1, 0});
      started = true;
      texts.push_back(MenuText(app, entry.stringId));
      if (entry.id != MacroId::kEnv) {
        inserts.push_back(u"%[" + std::u16string(info->name) + u"]");
        pending.push_back({static_cast<int32_t>(texts.size()) - 1, 0});
        continue;
      }
      const auto variables = platform::MergedEnvironment(environment);
      inserts.emplace_back();  // the submenu's own entry inserts nothing
      pending.push_back(
          {static_cast<int32_t>(texts.size()) - 1, static_cast<int32_t>(variables.size())});
      for (const auto& [name, value] : variables) {
        const std::u16string wide(name.begin(), name.end());
        texts.push_back(wide);
        inserts.push_back(u"%[Env:" + wide + u"]");
        pending.push_back({static_cast<int32_t>(texts.size()) - 1, 0});
      }
    }
  }
  if (pending.empty()) return std::nullopt;
  std::vector<zelta::DialogMenuItem> items;
  for (const Pending& p : pending)
    items.push_back({p.text < 0 ? nullptr : texts[p.text].c_str(), p.text + 1, p.submenu});
  int32_t command = 0;
  if (dialog->ShowMenu(items.data(), static_cast<int32_t>(items.size()), anchor, &command) !=
          zelta::S_OK ||
      command <= 0 || command > static_cast<int32_t>(inserts.size()) ||
      inserts[command - 1].empty())
    return std::nullopt;
  return inserts[command - 1];
}

}  // namespace bm
