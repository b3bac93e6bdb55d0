// The plug-in object a module's single export hands to the host.
#pragma once

#include "host/com.h"

namespace zelta {

struct IPlugin : IUnknown {
  static constexpr Guid kIid{0x5A1E0F01, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 34}};
  virtual HRESULT GetID(Guid* id) = 0;
  virtual HRESULT GetName(BString* name) = 0;
  virtual HRESULT GetNotice(BString* notice) = 0;
  virtual HRESULT GetVersion(uint32_t* version) = 0;  // 0x10000 is 1.0
  virtual HRESULT GetFlags(int32_t* flags) = 0;
  virtual HRESULT GetDescription(BString* description) = 0;
  virtual HRESULT GetLegalInfo(BString* info) = 0;
  virtual HRESULT GetCompany(BString* company) = 0;
  virtual HRESULT GetRequirements(int32_t* requirements) = 0;
  // Hands the host application (IHostApp) to the plug-in.
  virtual HRESULT Attach(IUnknown* host) = 0;
  virtual HRESULT OnLoaded() = 0;
  virtual HRESULT Initialize() = 0;
  virtual HRESULT Start() = 0;
  virtual HRESULT Shutdown() = 0;
  virtual HRESULT OnIdle() = 0;
  virtual HRESULT GetPropertyPages(IUnknown** pages) = 0;
  virtual HRESULT GetAbout(IUnknown** about) = 0;
  // Restores settings items to their defaults: 0 all, 1 only preset lists, 2 all but preset
  // lists, 3 nothing.
  virtual HRESULT ResetSettings(uint32_t flags) = 0;
};

// The module's only export.
extern "C" {
typedef HRESULT (*GetPluginFn)(IUnknown* app, IPlugin** plugin);
}
inline constexpr const char* kGetPluginSymbol = "ZELTA_GetPlugin";

}  // namespace zelta
