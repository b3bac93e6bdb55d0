// The headless host application: every service a plug-in module asks of its host, composed
// from the component, atom, string, event, document, selection, operation, settings and UI
// objects, plus the calls the program driving it makes (open documents, select, run
// commands, show menus).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/app.h"
#include "zelta/app/command_dispatcher.h"
#include "zelta/app/component_table.h"
#include "zelta/app/document_list.h"
#include "zelta/app/host_operations/operation_registry.h"
#include "zelta/app/host_operations/operation_runner.h"
#include "zelta/app/plugin_loader.h"
#include "zelta/app/selection/selection_service.h"
#include "zelta/app/settings/plugin_settings.h"
#include "zelta/app/settings/string_tables.h"
#include "zelta/base/event_server.h"
#include "zelta/pdf/host_document.h"
#include "zelta/ui/command_bars.h"
#include "zelta/ui/ui_extension.h"

namespace zelta::pdf {
class HostDocument;
}

namespace zelta::app {

class SettingsStore;

class HostApp : public ComObject<IHostApp> {
 public:
  HostApp();

  // IHostApp
  HRESULT GetComponent(const char* name, IUnknown** component) override;
  HRESULT InternString(const char16_t* text, int32_t length, Atom* atom) override;
  HRESULT GetAtomText(Atom atom, BString* text) override;
  HRESULT RegisterStringTable(const uint8_t* xml, uint32_t size) override;
  HRESULT LoadString(const char16_t* id, int32_t length, BString* text) override;
  HRESULT GetEventServer(IEventServer** server) override;
  HRESULT GetActiveDocument(IHostDocument** document) override;
  HRESULT CreateOperation(Atom id, IHostOperation** operation) override;
  HRESULT RunOperation(IHostOperation* operation, int32_t flags, intptr_t extra) override;
  HRESULT GetPluginSettings(IUnknown* plugin, int32_t reserved, IHostSettings** settings) override;
  // E_INVALIDARG for kNoAtom or a null factory. Dropped at Shutdown.
  HRESULT RegisterOperationFactory(Atom id, const char16_t* abbreviation, int32_t traits,
                                   Atom command, IOperationFactory* factory) override;

  // Strings: the text of an id, or the id itself when unknown.
  std::u16string String(std::string_view id) const;
  // Why the last RegisterStringTable failed.
  const std::string& LastStringTableError() const { return stringTableError_; }

  // Documents. OpenDocument opens a PDF, gives it its own undo history and the event wiring,
  // and makes it active. AddDocument does the same for any document object.
  HRESULT OpenDocument(const std::string& path, const std::string& password,
                       ComPtr<pdf::HostDocument>* document, std::string* error,
                       pdf::OutlineRead outline = pdf::OutlineRead::kAtOpen);
  HRESULT AddDocument(ComPtr<IHostDocument> document);
  // S_FALSE for a document that is not open. Its selections and history go with it.
  HRESULT CloseDocument(IHostDocument* document);
  HRESULT SetActiveDocument(IHostDocument* document);
  ComPtr<IHostDocument> ActiveDocument() const { return documents_->Active(); }
  // Null for a document that is not open.
  ComPtr<UndoHistory> UndoHistoryOf(IHostDocument* document) const;
  // The innermost open change group of a document, where host operations put their items.
  ComPtr<IHostChangeGroup> OpenGroup(IHostDocument* document) const;

  // Selections, as the user makes them ("selection.bookmarks", "selection.text").
  HRESULT SetSelection(IHostDocument* document, Atom selection, std::vector<ComPtr<IUnknown>> items,
                       std::string* error = nullptr);

  // Host operations and the runner.
  HRESULT RegisterHostOperation(Atom id, HostOperationFactory factory);
  const std::optional<OperationRun>& LastRun() const { return runner_.LastRun(); }
  // The operations the host can create, the modules' with their names.
  const OperationRegistry& Operations() const { return operations_; }

  // Settings: the store that keeps the plug-ins' nodes.
  void UseSettingsStore(std::shared_ptr<SettingsStore> store);
  void SetSettingsSource(PluginSettings::NodeSource source) {
    settings_.SetSource(std::move(source));
  }
  // Raises "e.app.settingsChanged" (after the store was reloaded or reset).
  void NotifySettingsChanged();

  // Plug-ins. LoadPlugin starts the module and raises "e.mainView.customizeCmdBars".
  HRESULT LoadPlugin(const std::string& modulePath, std::string* error);
  // Closes the main frame: raises its closing events, shuts every plug-in down, drops the
  // command handlers and event subscriptions. Idempotent.
  void Shutdown();

  // Commands and menus.
  // kCommandEnabled or kCommandDisabled (for an unknown command too). The handler is asked
  // with the application as the context object.
  int32_t CommandState(Atom command);
  // Runs the command's handler (action 1), then writes the settings (a failure is told to
  // the user, not returned). E_INVALIDARG unknown, E_FAIL disabled, E_NOTIMPL for a host
  // command this headless host has no action for; *error says which.
  HRESULT ExecuteCommand(Atom command, std::string* error = nullptr);
  // Runs the command without its dialog, with the options it last ran with
  // (kCommandRunWithStoredOptions): the run's result, E_CANCELLED when the user cancelled
  // it, E_NOTIMPL when the command needs its dialog.
  HRESULT RunCommandWithStoredOptions(Atom command, std::string* error = nullptr);
  // Rebuilds the bars with the host's items and lets the modules add theirs.
  void CustomizeCommandBars();
  // A fresh context menu after the modules saw "e.beforeShowContextMenu"; null for a menu
  // the host does not have.
  ComPtr<ui::CommandBar> ShowContextMenu(Atom menu);
  // Every bar and context menu as text (titles, separators, submenus, disabled commands).
  std::string PrintCommands();

  // The parts, for the program and tests.
  base::EventServer& Events() { return *events_; }
  ui::UiExtension& Ui() { return *ui_; }
  ui::CommandBars& Bars() { return bars_; }
  SelectionService& Selections() { return *selections_; }
  PluginLoader& Plugins() { return plugins_; }

 protected:
  ~HostApp() override;

 private:
  void ShutdownPlugins();
  void ActiveDocumentChanged();

  ComponentTable components_;
  StringTables strings_;
  std::string stringTableError_;
  ComPtr<base::EventServer> events_;
  std::shared_ptr<DocumentList> documents_;
  ComPtr<SelectionService> selections_;
  ComPtr<ui::UiExtension> ui_;
  ui::CommandBars bars_;
  CommandDispatcher commands_;
  OperationRegistry operations_;
  OperationRunner runner_;
  PluginSettings settings_;
  PluginLoader plugins_;
  bool shutDown_ = false;
};

}  // namespace zelta::app
