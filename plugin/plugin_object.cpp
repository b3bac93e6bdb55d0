#include "plugin/plugin_object.h"

#include "framework/atom_table.h"
#include "framework/host_strings.h"
#include "platform/embedded_resource.h"
#include "platform/resources.h"
#include "plugin/add_agb_level_event_factory.h"
#include "plugin/operation_table.h"
#include "plugin/plugin_event_sink.h"
#include "plugin/plugin_operation_factory.h"
#include "plugin/plugin_settings.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;

namespace {

constexpr std::u16string_view kName = u"Bookmarks";
constexpr std::u16string_view kNotice =
    u"Bookmarks plug-in, copyright (c) the Bookmarks project authors.";
constexpr std::u16string_view kRightsReserved = u"All rights reserved.";
constexpr std::u16string_view kCompany = u"The Bookmarks Project";
constexpr std::u16string_view kDescription = u"Plugin for bookmarks extended operations.";
constexpr uint32_t kVersion = 0x10000;  // 1.0

constexpr int kStringTableResource = 102;
constexpr int kTemplateResource = 103;

// The host events the sink serves, in subscription order.
constexpr std::u16string_view kSubscribedEvents[] = {
    u"e.mainView.customizeCmdBars", u"e.beforeShowContextMenu", u"e.app.settingsChanged"};

ComPtr<zelta::IHostCommand> CreateCommand(zelta::ICommandRegistry* registry, zelta::Atom id,
                                          zelta::ICommandHandler* handler) {
  ComPtr<zelta::IHostCommand> command;
  if (id == zelta::kNoAtom || zelta::Failed(registry->CreateCommand(id, handler, command.Put())))
    return nullptr;
  return command;
}

void SetTitle(zelta::IHostCommand* command, const std::u16string& title) {
  command->SetTitle(title.c_str(), static_cast<int32_t>(title.size()));
}

}  // namespace

PluginObject::PluginObject(zelta::IUnknown* app) { TakeComponents(app); }

void PluginObject::TakeComponents(zelta::IUnknown* app) {
  auto hostApp = zelta::QueryAs<zelta::IHostApp>(app);
  if (!hostApp || hostApp == host_.app) return;
  host_.ui = GetHostComponent<zelta::IUiExtension>(hostApp.Get(), "UIX");
  host_.cabs = GetHostComponent<zelta::ICabFactory>(hostApp.Get(), "AUX");
  host_.windows = GetHostComponent<zelta::IWindowService>(hostApp.Get(), "ZLW");
  host_.selections = GetHostComponent<zelta::ISelectionService>(hostApp.Get(), "ZLK");
  host_.app = hostApp;
}

ComPtr<zelta::ICabItem> PluginObject::SettingsRoot() const { return bm::SettingsRoot(*this); }

PluginObject::~PluginObject() {
  if (sink_) sink_->Detach();
  if (operations_) operations_->Detach();
}

HRESULT PluginObject::GetID(zelta::Guid* id) {
  if (!id) return zelta::E_POINTER;
  *id = kPluginId;
  return zelta::S_OK;
}

HRESULT PluginObject::GetName(zelta::BString* name) { return zelta::ReturnString(kName, name); }

HRESULT PluginObject::GetNotice(zelta::BString* notice) {
  return zelta::ReturnString(kNotice, notice);
}

HRESULT PluginObject::GetVersion(uint32_t* version) {
  if (!version) return zelta::E_POINTER;
  *version = kVersion;
  return zelta::S_OK;
}

HRESULT PluginObject::GetFlags(int32_t* flags) {
  if (flags) *flags = 0;
  return zelta::S_OK;
}

HRESULT PluginObject::GetDescription(zelta::BString* description) {
  return zelta::ReturnString(kDescription, description);
}

HRESULT PluginObject::GetLegalInfo(zelta::BString* info) {
  std::u16string text(kNotice);
  text += u"\n";
  text += kRightsReserved;
  return zelta::ReturnString(text, info);
}

HRESULT PluginObject::GetCompany(zelta::BString* company) {
  return zelta::ReturnString(kCompany, company);
}

HRESULT PluginObject::GetRequirements(int32_t* requirements) {
  if (requirements) *requirements = 0;
  return zelta::S_OK;
}

HRESULT PluginObject::Attach(zelta::IUnknown* host) {
  if (!host) return zelta::E_INVALIDARG;
  ComPtr<zelta::IHostApp> app;
  HRESULT hr = host->QueryInterface(zelta::IHostApp::kIid, app.PutVoid());
  if (zelta::Failed(hr)) return hr;
  app_ = app;
  TakeComponents(app.Get());
  templateText_.clear();
  templateText_ = platform::ReadResourceText("XML", kTemplateResource).value_or(std::u16string());
  return zelta::S_OK;
}

HRESULT PluginObject::OnLoaded() { return zelta::S_OK; }

HRESULT PluginObject::Initialize() {
  if (!app_) return zelta::S_OK;
  RegisterStringTable();
  InternAtomTable(app_.Get());
  if (!sink_) sink_ = zelta::MakeCom<PluginEventSink>(this);
  ComPtr<zelta::IEventServer> server;
  if (app_->GetEventServer(server.Put()) == zelta::S_OK && server) {
    for (std::u16string_view event : kSubscribedEvents)
      server->Subscribe(AtomOf(event), sink_.Get(), 0);
  }
  return zelta::S_OK;
}

HRESULT PluginObject::Start() {
  RegisterCommands();
  LoadSettings(*this);
  DeclareEventType();
  RegisterOperations();
  return zelta::S_OK;
}

HRESULT PluginObject::Shutdown() {
  if (sink_) {
    // The server and the command registry keep their references to the sink; unsubscribe it
    // and cut its link back, so that a later event or command finds no dead plug-in.
    ComPtr<zelta::IEventServer> server;
    if (app_ && app_->GetEventServer(server.Put()) == zelta::S_OK && server) {
      for (std::u16string_view event : kSubscribedEvents)
        server->Unsubscribe(AtomOf(event), sink_.Get());
    }
    sink_->Detach();
    sink_.Reset();
  }
  // The host keeps the factory registered; it makes nothing from now on.
  if (operations_) operations_->Detach();
  operations_.Reset();
  app_.Reset();
  return zelta::S_OK;
}

HRESULT PluginObject::OnIdle() { return zelta::S_OK; }

HRESULT PluginObject::GetPropertyPages(zelta::IUnknown** pages) {
  if (pages) *pages = nullptr;
  return zelta::E_NOTIMPL;
}

HRESULT PluginObject::GetAbout(zelta::IUnknown** about) {
  if (about) *about = nullptr;
  return zelta::E_NOTIMPL;
}

HRESULT PluginObject::ResetSettings(uint32_t flags) { return bm::ResetSettings(*this, flags); }

ComPtr<zelta::ICab> PluginObject::CreateCab(const char16_t* rootId) const {
  ComPtr<zelta::ICab> cab;
  if (!Cabs() || !rootId || templateText_.empty()) return nullptr;
  if (zelta::Failed(Cabs()->CreateCab(
          templateText_.data(), static_cast<int32_t>(templateText_.size()), rootId, cab.Put())))
    return nullptr;
  return cab;
}

std::u16string PluginObject::LoadString(std::u16string_view id) const {
  return LoadHostString(app_.Get(), id);
}

void PluginObject::RegisterStringTable() {
  auto bytes = platform::FindResource("XML", kStringTableResource);
  if (!bytes.empty()) app_->RegisterStringTable(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

void PluginObject::RegisterCommands() {
  if (!host_.ui || !app_ || !sink_) return;
  ComPtr<zelta::ICommandManager> manager;
  ComPtr<zelta::ICommandRegistry> registry;
  if (host_.ui->GetCommandManager(manager.Put()) != zelta::S_OK || !manager ||
      manager->GetRegistry(registry.Put()) != zelta::S_OK || !registry)
    return;
  ComPtr<zelta::IIconManager> icons;
  host_.ui->GetIconManager(icons.Put());
  auto* handler = static_cast<zelta::ICommandHandler*>(sink_.Get());

  if (auto submenu = CreateCommand(registry.Get(), AtomOf(kSubmenuCommand), handler)) {
    SetTitle(submenu.Get(), LoadString(kSubmenuTitleId));
    submenu->SetStyle(kSubmenuStyle, kSubmenuStyle);
    submenu->SetMenuStyle(kSubmenuStyle, kSubmenuStyle);
  }
  for (const OperationRow& row : OperationRows()) {
    if (row.command.empty()) continue;
    auto command = CreateCommand(registry.Get(), AtomOf(row.command), handler);
    if (!command) continue;
    if (icons && !row.iconId.empty()) {
      ComPtr<zelta::IHostIcon> icon;
      zelta::Atom iconId = InternId(app_.Get(), row.iconId);
      if (iconId != zelta::kNoAtom && icons->FindIcon(iconId, icon.Put()) == zelta::S_OK && icon)
        command->SetIcon(icon.Get());
    }
    SetTitle(command.Get(), LoadString(row.titleId));
  }
}

void PluginObject::RegisterOperations() {
  if (!app_) return;
  if (!operations_) operations_ = zelta::MakeCom<PluginOperationFactory>(this);
  for (const OperationRow& row : OperationRows()) {
    const std::u16string abbreviation(row.abbreviation);
    app_->RegisterOperationFactory(InternId(app_.Get(), row.id), abbreviation.c_str(), row.traits,
                                   InternId(app_.Get(), row.command), operations_.Get());
  }
}

void PluginObject::DeclareEventType() {
  ComPtr<zelta::IEventServer> server;
  if (!app_ || app_->GetEventServer(server.Put()) != zelta::S_OK || !server) return;
  auto factory = zelta::MakeCom<AddAgbLevelEventFactory>();
  auto params = zelta::MakeCom<AddAgbLevelEventFactory::ParamList>();
  server->DeclareEventType(AtomOf(u"e.bookmarksPlugin.addAGBLevel"), factory.Get(), params.Get());
}

zelta::ComPtr<BookmarkOperation> PluginObject::CreateOperation(std::u16string_view id) {
  return CreateOperationById(id, this);
}

std::u16string PluginObject::PresetListPath(std::u16string_view listName) const {
  return bm::PresetListPath(listName);
}

}  // namespace bm
