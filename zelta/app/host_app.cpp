#include "zelta/app/host_app.h"

#include <new>

#include "host/call_guard.h"
#include "host/color.h"
#include "zelta/app/cab/cab_factory.h"
#include "zelta/app/file_service.h"
#include "zelta/app/host_operations/host_operation_set.h"
#include "zelta/app/selection/object_list_factory.h"
#include "zelta/app/selection/page_range_service.h"
#include "zelta/app/settings/paper_list.h"
#include "zelta/app/settings/settings_store.h"
#include "zelta/app/settings/unit_list.h"
#include "zelta/base/atom_table.h"
#include "zelta/base/result_text_service.h"
#include "zelta/base/text_codec.h"
#include "zelta/pdf/host_document.h"
#include "zelta/pdf/text/page_text_service.h"
#include "zelta/ui/host_editors.h"
#include "zelta/ui/window_service.h"

namespace zelta::app {

HostApp::HostApp()
    : events_(MakeCom<base::EventServer>()),
      documents_(std::make_shared<DocumentList>()),
      selections_(MakeCom<SelectionService>()),
      ui_(MakeCom<ui::UiExtension>()),
      commands_(*ui_, bars_, *events_, static_cast<IHostApp*>(this)) {
  // Components may outlive the application (modules keep them in process-wide tables), so
  // none of them points back at it; the window service only sees the document list.
  std::weak_ptr<DocumentList> documents = documents_;
  auto windows = MakeCom<ui::WindowService>([documents](IHostDocument* document) {
    auto list = documents.lock();
    return list && list->Contains(document);
  });
  components_.Set("ZLK", ComPtr<IUnknown>(static_cast<IUnknown*>(selections_.Get())));
  components_.Set("ZLW", ComPtr<IUnknown>(static_cast<IUnknown*>(windows.Get())));
  // AUX is both the Cab factory and the page-range service; ZLT serves page text and fonts.
  components_.Set("AUX", MakeAuxComponent(MakeCabFactory()));
  components_.Set("ZLT", QueryAs<IUnknown>(pdf::MakePageTextService().Get()));
  components_.Set("AFS", QueryAs<IUnknown>(MakeCom<FileService>().Get()));
  components_.Set("UIX", ComPtr<IUnknown>(static_cast<IUiExtension*>(ui_.Get())));
  components_.Set("LST", QueryAs<IUnknown>(MakeCom<ObjectListFactory>().Get()));
  components_.Set("PPR", QueryAs<IUnknown>(MakeCom<PaperList>().Get()));
  components_.Set("UNT", QueryAs<IUnknown>(MakeCom<UnitList>().Get()));
  components_.Set("RTX", QueryAs<IUnknown>(MakeCom<base::ResultTextService>().Get()));
  RegisterBookmarkHostOperations(*this, MakeCabFactory().Get());

  // The host's own commands, titled from its string table.
  ui_->Registry()->SetTitleSource([](Atom id) {
    static const StringTables host;  // the host's own table only, so no tie to this app
    auto text = base::AtomTable::Global().Text(id);
    return text ? host.Find(*text).value_or(u"") : std::u16string();
  });
  for (Atom command : bars_.HostCommands())
    ui_->Registry()->CreateCommand(command, nullptr, nullptr);

  // Dialogs read their texts from every table the application serves; the source is
  // dropped at shutdown, since the UI component may outlive the application.
  ui_->Dialogs().SetStrings([this](std::u16string_view id) { return strings_.Find(id); });
  ComPtr<IUnknown> aux;
  components_.Get("AUX", aux.Put());
  ui_->Dialogs().SetPageRanges(QueryAs<IPageRangeService>(aux.Get()));
  // The editors check colour text with the host's own colour reader.
  ComPtr<IColorService> colors = QueryAs<IColorService>(aux.Get());
  auto colorCheck = [colors](std::u16string_view text) {
    ComPtr<IHostColor> color;
    return colors && Succeeded(colors->CreateColor(color.Put())) &&
           Succeeded(color->Parse(text.data(), static_cast<int32_t>(text.size())));
  };
  components_.Set("EDT", QueryAs<IUnknown>(MakeCom<ui::HostEditors>(ui_, colorCheck).Get()));
}

HostApp::~HostApp() { ShutdownPlugins(); }

HRESULT HostApp::GetComponent(const char* name, IUnknown** component) {
  return components_.Get(name, component);
}

HRESULT HostApp::InternString(const char16_t* text, int32_t length, Atom* atom) {
  if (!atom) return E_POINTER;
  *atom = kNoAtom;
  if (length < -1) return E_INVALIDARG;
  auto view = InString(text, length);
  if (view.empty()) return E_INVALIDARG;
  return GuardCall([&] {
    *atom = base::AtomTable::Global().Intern(view);
    return S_OK;
  });
}

HRESULT HostApp::GetAtomText(Atom atom, BString* text) {
  if (!text) return E_POINTER;
  *text = nullptr;
  auto found = base::AtomTable::Global().Text(atom);
  if (!found) return E_INVALIDARG;
  return ReturnString(*found, text);
}

HRESULT HostApp::RegisterStringTable(const uint8_t* xml, uint32_t size) {
  stringTableError_.clear();
  return GuardCall([&] { return strings_.Register(xml, size, &stringTableError_); });
}

HRESULT HostApp::LoadString(const char16_t* id, int32_t length, BString* text) {
  if (!text) return E_POINTER;
  *text = nullptr;
  if (length < -1) return E_INVALIDARG;
  auto view = InString(id, length);
  auto found = strings_.Find(view);
  HRESULT hr = ReturnString(found ? std::u16string_view(*found) : view, text);
  if (Failed(hr)) return hr;
  return found ? S_OK : S_FALSE;
}

HRESULT HostApp::GetEventServer(IEventServer** server) {
  if (!server) return E_POINTER;
  return ComPtr<IEventServer>(events_).CopyTo(server);
}

HRESULT HostApp::GetActiveDocument(IHostDocument** document) {
  if (!document) return E_POINTER;
  auto active = documents_->Active();
  active.CopyTo(document);
  return active ? S_OK : S_FALSE;
}

HRESULT HostApp::CreateOperation(Atom id, IHostOperation** operation) {
  return operations_.Create(id, operation);
}

HRESULT HostApp::RunOperation(IHostOperation* operation, int32_t flags, intptr_t extra) {
  return runner_.Run(operation, flags, extra);
}

HRESULT HostApp::GetPluginSettings(IUnknown* plugin, int32_t, IHostSettings** settings) {
  return settings_.Get(plugin, settings);
}

HRESULT HostApp::RegisterOperationFactory(Atom id, const char16_t* abbreviation, int32_t traits,
                                          Atom command, IOperationFactory* factory) {
  return GuardCall([&] {
    return operations_.Register(id, factory, std::u16string(InString(abbreviation, -1)), traits,
                                command);
  });
}

std::u16string HostApp::String(std::string_view id) const {
  auto key = base::LossyUtf16(id);
  return strings_.Find(key).value_or(key);
}

HRESULT HostApp::OpenDocument(const std::string& path, const std::string& password,
                              ComPtr<pdf::HostDocument>* document, std::string* error,
                              pdf::OutlineRead outline) {
  if (document) document->Reset();
  ComPtr<pdf::HostDocument> opened;
  HRESULT hr = pdf::OpenDocument(path, password, &opened, error, outline);
  if (Failed(hr)) return hr;
  if (!opened) {
    if (error) *error = "'" + path + "': the document could not be opened";
    return E_FAIL;
  }
  auto history = MakeCom<UndoHistory>();
  opened->SetUndoHistory(ComPtr<IHostUndoHistory>(history));
  opened->SetEvents(pdf::DocumentEvents{
      ComPtr<IEventServer>(events_), base::Intern("e.bookmarks.changed"),
      base::Intern("e.pdfNamedDests.inserted"), base::Intern("e.pdfNamedDests.deleted")});
  documents_->Add(ComPtr<IHostDocument>(opened), history);
  ActiveDocumentChanged();
  if (document) *document = opened;
  return S_OK;
}

HRESULT HostApp::AddDocument(ComPtr<IHostDocument> document) {
  if (!document) return E_INVALIDARG;
  if (!documents_->Add(document, MakeCom<UndoHistory>())) return S_FALSE;
  ActiveDocumentChanged();
  return S_OK;
}

HRESULT HostApp::CloseDocument(IHostDocument* document) {
  ComPtr<IHostDocument> keep(document);
  bool wasActive = documents_->Active().Get() == document;
  if (!documents_->Remove(document)) return S_FALSE;
  selections_->ClearDocument(document);
  if (wasActive) ActiveDocumentChanged();
  return S_OK;
}

HRESULT HostApp::SetActiveDocument(IHostDocument* document) {
  if (documents_->Active().Get() == document)
    return documents_->Contains(document) ? S_FALSE : E_INVALIDARG;
  if (!documents_->SetActive(document)) return E_INVALIDARG;
  ActiveDocumentChanged();
  return S_OK;
}

ComPtr<UndoHistory> HostApp::UndoHistoryOf(IHostDocument* document) const {
  return documents_->History(document);
}

ComPtr<IHostChangeGroup> HostApp::OpenGroup(IHostDocument* document) const {
  auto history = documents_->History(document);
  return history ? history->OpenGroup() : nullptr;
}

HRESULT HostApp::SetSelection(IHostDocument* document, Atom selection,
                              std::vector<ComPtr<IUnknown>> items, std::string* error) {
  if (!documents_->Contains(document)) {
    if (error) *error = "the document of the selection is not open";
    return E_INVALIDARG;
  }
  return selections_->SetSelection(document, selection, std::move(items), error);
}

HRESULT HostApp::RegisterHostOperation(Atom id, HostOperationFactory factory) {
  return operations_.Register(id, std::move(factory));
}

void HostApp::UseSettingsStore(std::shared_ptr<SettingsStore> store) {
  if (!store) {
    settings_.SetSource(nullptr);
    ui_->Dialogs().SetSettingsWriter(nullptr);
    return;
  }
  settings_.SetSource([store](const std::string& key) { return store->Node(key); });
  // What the preset buttons change is kept at once, not only when the program ends.
  ui_->Dialogs().SetSettingsWriter([store](std::string* error) { return store->Save(error); });
}

void HostApp::NotifySettingsChanged() {
  events_->Raise(base::Intern("e.app.settingsChanged"), static_cast<IHostApp*>(this),
                 base::kMainWindow);
}

HRESULT HostApp::LoadPlugin(const std::string& modulePath, std::string* error) {
  if (shutDown_) {
    if (error) *error = "plug-in module '" + modulePath + "': the application has shut down";
    return E_FAIL;
  }
  HRESULT hr = plugins_.Load(modulePath, static_cast<IHostApp*>(this), nullptr, error);
  if (Failed(hr)) return hr;
  CustomizeCommandBars();
  return S_OK;
}

void HostApp::Shutdown() {
  if (shutDown_) return;
  IUnknown* self = static_cast<IHostApp*>(this);
  events_->Raise(base::Intern("e.mainFrame.beforeClose"), self, base::kMainWindow);
  events_->Raise(base::Intern("e.mainFrame.closed"), self, base::kMainWindow);
  ShutdownPlugins();
}

void HostApp::ShutdownPlugins() {
  shutDown_ = true;
  // Open modeless dialogs hold their modules' handlers: they close before the modules go.
  ui_->Dialogs().CloseAll();
  ui_->Dialogs().SetStrings(nullptr);
  plugins_.ShutdownAll();
  // Commands and subscriptions hold the modules' handlers, which hold the application.
  ui_->Registry()->DropHandlers();
  operations_.DropModuleFactories();
  // The last run holds a module's operation, which holds its plug-in and so the application.
  runner_.Forget();
  events_->Clear();
}

int32_t HostApp::CommandState(Atom command) { return commands_.State(command); }

HRESULT HostApp::ExecuteCommand(Atom command, std::string* error) {
  const HRESULT hr = commands_.Execute(command, error);
  // What the command's dialog stored (its last used options, the preset they came from) is
  // kept at once, as the preset lists are, rather than only when the program ends.
  if (hr != E_INVALIDARG) ui_->Dialogs().WriteSettings();
  return hr;
}

HRESULT HostApp::RunCommandWithStoredOptions(Atom command, std::string* error) {
  return commands_.Execute(command, error, kCommandRunWithStoredOptions);
}

void HostApp::CustomizeCommandBars() { commands_.CustomizeBars(); }

ComPtr<ui::CommandBar> HostApp::ShowContextMenu(Atom menu) {
  return commands_.ShowContextMenu(menu);
}

std::string HostApp::PrintCommands() {
  return commands_.Print([this](Atom id) { return String(base::AtomTable::Global().Utf8(id)); });
}

void HostApp::ActiveDocumentChanged() {
  auto active = documents_->Active();
  IUnknown* object = active ? static_cast<IUnknown*>(active.Get()) : static_cast<IHostApp*>(this);
  events_->Raise(base::Intern("e.activeDocChanged"), object, base::kMainWindow);
}

}  // namespace zelta::app
