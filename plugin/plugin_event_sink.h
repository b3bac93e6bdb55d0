// Serves the host events the plug-in subscribes to (placing its menus, reloading settings)
// and the calls for its commands (state and execution).
#pragma once

#include "host/commands.h"
#include "host/events.h"

namespace bm {

class PluginObject;

class PluginEventSink : public zelta::ComObject<zelta::IEventSink, zelta::ICommandHandler> {
 public:
  // plugin is a non-owning back-pointer; the plug-in cuts it with Detach before it goes.
  explicit PluginEventSink(PluginObject* plugin) : plugin_(plugin) {}

  // IEventSink
  zelta::HRESULT OnEvent(zelta::Atom event, zelta::IUnknown* eventObject, intptr_t extra) override;

  // ICommandHandler
  zelta::HRESULT OnCommandAdded(zelta::IHostCommand*) override { return zelta::E_NOTIMPL; }
  zelta::HRESULT OnCommandRemoved(zelta::IHostCommand*) override { return zelta::E_NOTIMPL; }
  zelta::HRESULT UpdateCommandState(zelta::IHostCommand* command, zelta::IUnknown* context,
                                    intptr_t reserved, int32_t* state) override;
  zelta::HRESULT GetCommandTip(zelta::IHostCommand*, zelta::BString*) override {
    return zelta::E_NOTIMPL;
  }
  zelta::HRESULT ExecuteCommand(int32_t action, zelta::IHostCommand* command, intptr_t a,
                                intptr_t b, intptr_t c) override;
  zelta::HRESULT OnPopup(zelta::IHostCommand*, zelta::IUnknown*) override {
    return zelta::E_NOTIMPL;
  }

  // The plug-in is going away: later events and commands do nothing.
  void Detach() { plugin_ = nullptr; }

 private:
  void PlaceSubmenu(zelta::ICommandBarCustomization* customization);
  void PlaceContextCommand(zelta::IContextMenuEvent* menuEvent);

  PluginObject* plugin_;
};

}  // namespace bm
