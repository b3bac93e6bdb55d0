#include "plugin/plugin_event_sink.h"

#include "framework/atom_table.h"
#include "plugin/operation_table.h"
#include "plugin/plugin_object.h"
#include "plugin/plugin_settings.h"

namespace bm {

using zelta::Atom;
using zelta::ComPtr;
using zelta::HRESULT;

namespace {

// Clears a submenu and fills it from the submenu table, slot by slot.
void FillSubmenu(zelta::ICommandBarItem* item) {
  ComPtr<zelta::ICommandBar> submenu;
  if (!item || item->GetSubmenu(submenu.Put()) != zelta::S_OK || !submenu) return;
  submenu->Clear();
  int32_t index = 0;
  for (std::u16string_view slot : SubmenuSlots()) {
    if (slot.empty()) {
      submenu->InsertSeparator(index);
    } else {
      submenu->InsertCommand(index, AtomOf(slot), 0, 0, nullptr);
    }
    ++index;
  }
}

// The position of a command's first item in a bar; -1 when missing.
int32_t FindPosition(zelta::ICommandBar* bar, Atom command,
                     ComPtr<zelta::ICommandBarItem>* item = nullptr) {
  ComPtr<zelta::ICommandBarItem> found;
  int32_t position = -1;
  if (command == zelta::kNoAtom || bar->FindItem(command, found.Put(), &position) != zelta::S_OK ||
      !found)
    return -1;
  if (item) *item = found;
  return position;
}

ComPtr<zelta::ICommandBar> GetBar(zelta::ICommandBarCustomization* customization, Atom id) {
  ComPtr<zelta::ICommandBar> bar;
  if (id == zelta::kNoAtom || customization->GetBar(id, bar.Put()) != zelta::S_OK) return nullptr;
  return bar;
}

}  // namespace

HRESULT PluginEventSink::OnEvent(Atom event, zelta::IUnknown* eventObject, intptr_t) {
  if (!plugin_ || event == zelta::kNoAtom) return zelta::S_OK;
  if (event == AtomOf(u"e.app.settingsChanged")) {
    LoadSettings(*plugin_);
    return zelta::S_OK;
  }
  if (!eventObject) return zelta::S_OK;
  if (event == AtomOf(u"e.mainView.customizeCmdBars")) {
    if (auto customization = zelta::QueryAs<zelta::ICommandBarCustomization>(eventObject))
      PlaceSubmenu(customization.Get());
  } else if (event == AtomOf(u"e.beforeShowContextMenu")) {
    if (auto menuEvent = zelta::QueryAs<zelta::IContextMenuEvent>(eventObject))
      PlaceContextCommand(menuEvent.Get());
  }
  return zelta::S_OK;
}

void PluginEventSink::PlaceSubmenu(zelta::ICommandBarCustomization* customization) {
  zelta::IHostApp* app = plugin_->AttachedApp();
  const Atom submenuId = AtomOf(kSubmenuCommand);
  if (submenuId == zelta::kNoAtom) return;

  // The test bar: just before "cmd.hresultInfo", between two separators, or at the end.
  if (auto bar = GetBar(customization, InternId(app, u"cmd.test"))) {
    ComPtr<zelta::ICommandBarItem> item;
    if (FindPosition(bar.Get(), submenuId, &item) < 0) {
      const int32_t anchor = FindPosition(bar.Get(), AtomOf(u"cmd.hresultInfo"));
      if (anchor < 0) bar->InsertSeparator(-1);
      if (zelta::Succeeded(
              bar->InsertCommand(anchor, submenuId, kSubmenuStyle, kSubmenuStyle, item.Put())) &&
          anchor >= 0)
        bar->InsertSeparator(anchor + 1);
    }
    FillSubmenu(item.Get());
  }
  // The advanced bar: at the end.
  if (auto bar = GetBar(customization, InternId(app, u"cmd.advanced"))) {
    ComPtr<zelta::ICommandBarItem> item;
    if (FindPosition(bar.Get(), submenuId, &item) < 0)
      bar->InsertCommand(-1, submenuId, kSubmenuStyle, kSubmenuStyle, item.Put());
    FillSubmenu(item.Get());
  }
}

void PluginEventSink::PlaceContextCommand(zelta::IContextMenuEvent* menuEvent) {
  Atom menuId = zelta::kNoAtom;
  if (menuEvent->GetMenuId(&menuId) != zelta::S_OK || menuId == zelta::kNoAtom ||
      menuId != AtomOf(u"menu.tool.selectText"))
    return;
  ComPtr<zelta::ICommandBar> menu;
  if (menuEvent->GetMenu(menu.Put()) != zelta::S_OK || !menu) return;
  const Atom command = AtomOf(u"cmd.bookmarksPlugin.addAGBLevel");
  // Placed once: a menu that has the command already is left as it is.
  if (command == zelta::kNoAtom || FindPosition(menu.Get(), command) >= 0) return;
  const int32_t anchor = FindPosition(menu.Get(), AtomOf(u"cmd.props"));
  if (anchor < 0) menu->InsertSeparator(-1);
  if (zelta::Succeeded(menu->InsertCommand(anchor, command, 0, 0, nullptr)) && anchor >= 0)
    menu->InsertSeparator(anchor + 1);
}

HRESULT PluginEventSink::UpdateCommandState(zelta::IHostCommand* command, zelta::IUnknown* context,
                                            intptr_t, int32_t* state) {
  if (!command || !context || !state) return zelta::S_FALSE;
  Atom id = zelta::kNoAtom;
  if (command->GetId(&id) != zelta::S_OK || id == zelta::kNoAtom) return zelta::S_OK;

  const bool needsText = id == AtomOf(u"cmd.bookmarksPlugin.addAGBLevel") ||
                         id == AtomOf(u"cmd.bookmarksPlugin.fromTOC");
  bool needsDocument = needsText;
  for (std::u16string_view name :
       {u"cmd.bookmarksPlugin.generate", u"cmd.bookmarksPlugin.validate",
        u"cmd.bookmarksPlugin.toTOC", u"cmd.bookmarksPlugin.sort",
        u"cmd.bookmarksPlugin.changeBookmarkCase", u"cmd.bookmarksPlugin.addTextToBookmarkTitle",
        u"cmd.bookmarksPlugin.bookmarksToNamedDests",
        u"cmd.bookmarksPlugin.findReplaceBookmarkText", u"cmd.bookmarksPlugin.fromTextFile",
        u"cmd.bookmarksPlugin.bookmarkEveryNthPage"}) {
    if (id == AtomOf(name)) needsDocument = true;
  }
  if (!needsDocument) return zelta::S_OK;

  ComPtr<zelta::IHostDocument> document;
  zelta::IHostApp* app = plugin_ ? plugin_->AttachedApp() : nullptr;
  if (app) app->GetActiveDocument(document.Put());
  bool enabled = static_cast<bool>(document);
  if (enabled && needsText) {
    ComPtr<zelta::IUnknown> selection;
    zelta::ISelectionService* service = plugin_->Selections();
    enabled = service &&
              service->GetTextSelection(document.Get(), selection.Put()) == zelta::S_OK &&
              selection;
  }
  *state = enabled ? zelta::kCommandEnabled : zelta::kCommandDisabled;
  return zelta::S_OK;
}

HRESULT PluginEventSink::ExecuteCommand(int32_t action, zelta::IHostCommand* command, intptr_t,
                                        intptr_t, intptr_t) {
  if (!command) return zelta::S_FALSE;
  Atom id = zelta::kNoAtom;
  command->GetId(&id);
  if (!plugin_) return zelta::S_OK;
  if (action != zelta::kCommandRun && action != zelta::kCommandRunWithStoredOptions)
    return zelta::S_OK;
  // Keeps the plug-in alive while the operation runs.
  ComPtr<PluginObject> plugin(plugin_);
  auto operation = CreateOperationForCommand(id, plugin.Get());
  if (action == zelta::kCommandRunWithStoredOptions)
    return operation ? operation->ExecuteWithStoredOptions(0) : zelta::E_NOTIMPL;
  if (operation) operation->Execute(true, 0);
  return zelta::S_OK;
}

}  // namespace bm
