// The plug-in object handed to the host by the entry point: identity, the start-up and
// shutdown calls, and the host services every operation of the plug-in reaches through it
// (as its PluginContext).
#pragma once

#include <string>
#include <string_view>

#include "framework/plugin_context.h"
#include "host/app.h"
#include "host/cab.h"
#include "host/com.h"
#include "host/plugin.h"
#include "host/selection.h"
#include "host/ui.h"

namespace bm {

class PluginEventSink;
class PluginOperationFactory;

class PluginObject : public zelta::ComObject<zelta::IPlugin, PluginContext> {
 public:
  // {5E3A91D0-6C42-4B8E-A1F7-2D9C04B6E813}
  static constexpr zelta::Guid kPluginId{
      0x5E3A91D0, 0x6C42, 0x4B8E, {0xA1, 0xF7, 0x2D, 0x9C, 0x04, 0xB6, 0xE8, 0x13}};

  // app is the host application the entry point was called with; its components serve the
  // operations until Attach names the host (null: none until then).
  explicit PluginObject(zelta::IUnknown* app = nullptr);

  zelta::HRESULT GetID(zelta::Guid* id) override;
  zelta::HRESULT GetName(zelta::BString* name) override;
  zelta::HRESULT GetNotice(zelta::BString* notice) override;
  zelta::HRESULT GetVersion(uint32_t* version) override;
  zelta::HRESULT GetFlags(int32_t* flags) override;
  zelta::HRESULT GetDescription(zelta::BString* description) override;
  zelta::HRESULT GetLegalInfo(zelta::BString* info) override;
  zelta::HRESULT GetCompany(zelta::BString* company) override;
  zelta::HRESULT GetRequirements(int32_t* requirements) override;
  zelta::HRESULT Attach(zelta::IUnknown* host) override;
  zelta::HRESULT OnLoaded() override;
  zelta::HRESULT Initialize() override;
  zelta::HRESULT Start() override;
  zelta::HRESULT Shutdown() override;
  zelta::HRESULT OnIdle() override;
  zelta::HRESULT GetPropertyPages(zelta::IUnknown** pages) override;
  zelta::HRESULT GetAbout(zelta::IUnknown** about) override;
  zelta::HRESULT ResetSettings(uint32_t flags) override;

  // The attached host application; null before Attach and after Shutdown.
  zelta::IHostApp* AttachedApp() const { return app_.Get(); }

  // PluginContext. The components are taken from the entry point's application and again at
  // Attach, and kept after Shutdown, so that an operation still running keeps its services.
  zelta::IHostApp* App() const override { return app_ ? app_.Get() : host_.app.Get(); }
  zelta::IUiExtension* Ui() const override { return host_.ui.Get(); }
  zelta::ICabFactory* Cabs() const override { return host_.cabs.Get(); }
  zelta::IWindowService* Windows() const override { return host_.windows.Get(); }
  zelta::ISelectionService* Selections() const override { return host_.selections.Get(); }
  zelta::ComPtr<zelta::ICabItem> SettingsRoot() const override;
  std::u16string PresetListPath(std::u16string_view listName) const override;
  zelta::ComPtr<BookmarkOperation> CreateOperation(std::u16string_view id) override;
  // The options template (resource 103) as UTF-16; empty when the resource is missing.
  std::u16string_view TemplateText() const { return templateText_; }
  // A Cab with every item of a template root at its default; null when it cannot be made.
  zelta::ComPtr<zelta::ICab> CreateCab(const char16_t* rootId) const override;
  // The text of a string id through the host ("bookmarksPlugin.cmd.name").
  std::u16string LoadString(std::u16string_view id) const override;

 protected:
  ~PluginObject() override;

 private:
  void RegisterStringTable();
  void RegisterCommands();
  void DeclareEventType();
  void RegisterOperations();

  // Takes the host's components from an application; a null or foreign object changes nothing.
  void TakeComponents(zelta::IUnknown* app);

  struct HostServices {
    zelta::ComPtr<zelta::IHostApp> app;
    zelta::ComPtr<zelta::IUiExtension> ui;               // "UIX"
    zelta::ComPtr<zelta::ICabFactory> cabs;              // "AUX"
    zelta::ComPtr<zelta::IWindowService> windows;        // "ZLW"
    zelta::ComPtr<zelta::ISelectionService> selections;  // "ZLK"
  };

  zelta::ComPtr<zelta::IHostApp> app_;
  HostServices host_;
  std::u16string templateText_;
  zelta::ComPtr<PluginEventSink> sink_;
  zelta::ComPtr<PluginOperationFactory> operations_;
};

}  // namespace bm
