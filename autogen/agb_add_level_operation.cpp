#include "autogen/agb_add_level_operation.h"

#include "autogen/agb_dialog.h"
#include "autogen/agb_operation.h"
#include "autogen/level_options.h"
#include "autogen/level_sheet.h"
#include "autogen/style_from_selection.h"
#include "framework/atom_table.h"
#include "framework/cab_access.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::ICabItem;

AGBAddLevelOperation::AGBAddLevelOperation(PluginContext* plugin, const OperationRow& row)
    : BookmarkOperation(plugin, row) {}

LevelOptions AGBAddLevelOperation::StoredLevel() const {
  LevelOptions level;
  if (Plugin()) {
    ComPtr<ICabItem> stored =
        CabItem(Plugin()->SettingsRoot().Get(), u"AGBAddLevelLastUsedOptions");
    if (stored && zelta::Failed(ReadLevel(stored.Get(), HostColors(App()).Get(), &level, nullptr)))
      level = LevelOptions{};
  }
  return level;
}

HRESULT AGBAddLevelOperation::FindObject(zelta::Atom id, zelta::IUnknown** object) {
  if (!object) return zelta::E_POINTER;
  *object = nullptr;
  if (id != AtomOf(u"selection.text") || !Plugin() || zelta::Failed(ReadInputs()))
    return zelta::S_FALSE;
  LevelOptions level = StoredLevel();
  HRESULT hr = StyleFromSelection(App(), Document(), &level);
  if (hr != zelta::S_OK) return hr;
  // A level element of a fresh options set carries the result.
  ComPtr<zelta::ICab> cab = Plugin()->CreateCab(u"AGBOperationRoot");
  ComPtr<ICabItem> levels = CabItem(CabItem(CabRoot(cab.Get()).Get(), u"Options").Get(), u"Levels");
  ComPtr<ICabItem> item;
  if (!levels || zelta::Failed(levels->Insert(-1, item.Put())) || !item) return zelta::E_FAIL;
  hr = WriteLevel(item.Get(), level);
  if (zelta::Failed(hr)) return hr;
  return item.CopyTo(object);
}

HRESULT AGBAddLevelOperation::ShowDialog(zelta::WindowHandle owner, intptr_t) {
  if (!Plugin()) return zelta::E_FAIL;
  ReadInputs();
  LevelOptions level = StoredLevel();
  // The sheet belongs to the view that shows the selection.
  zelta::IWindowService* windows = Plugin()->Windows();
  if (Document() && windows) windows->GetDocumentWindow(Document(), &owner);
  HRESULT hr = RunLevelSheet(Plugin(), owner, Document(), &level, true);
  if (hr != zelta::S_OK) return hr;
  ComPtr<ICabItem> stored = CabItem(Plugin()->SettingsRoot().Get(), u"AGBAddLevelLastUsedOptions");
  if (!stored) return zelta::E_FAIL;
  hr = WriteLevel(stored.Get(), level);
  if (zelta::Failed(hr)) return hr;
  // The generation dialog takes the level when Do announces it.
  if (AGBDialog* open = AGBDialog::Open()) {
    if (open->Dialog()) open->Dialog()->BringToFront();
  } else {
    if (auto generation = Plugin()->CreateOperation(kGenerationOperationId))
      generation->Execute(true, 0);
  }
  return zelta::S_OK;
}

HRESULT AGBAddLevelOperation::Run(int32_t, intptr_t) {
  ComPtr<ICabItem> levels = CabItem(Options().Get(), u"Levels");
  ComPtr<ICabItem> stored =
      Plugin() ? CabItem(Plugin()->SettingsRoot().Get(), u"AGBAddLevelLastUsedOptions") : nullptr;
  if (!levels || !stored) return zelta::S_OK;

  LevelOptions level;
  HRESULT hr = ReadLevel(stored.Get(), HostColors(App()).Get(), &level, nullptr);
  if (zelta::Failed(hr)) return hr;
  int32_t count = 0;
  levels->GetCount(&count);
  level.index = count + 1;
  ComPtr<ICabItem> item;
  hr = levels->Insert(-1, item.Put());
  if (zelta::Succeeded(hr) && !item) hr = zelta::E_FAIL;
  if (zelta::Succeeded(hr)) hr = WriteLevel(item.Get(), level);
  if (zelta::Failed(hr)) return hr;
  Options()->SetText(u"PresetID", u"", 0);
  SaveLastUsedOptions();

  if (zelta::Succeeded(ReadInputs()) && App()) {
    ComPtr<zelta::IEventServer> events;
    if (App()->GetEventServer(events.Put()) == zelta::S_OK && events)
      events->RaiseDeclared(AtomOf(u"e.bookmarksPlugin.addAGBLevel"),
                            reinterpret_cast<intptr_t>(static_cast<zelta::IHostOperation*>(this)),
                            0, 0);
  }
  return zelta::S_OK;
}

}  // namespace bm
