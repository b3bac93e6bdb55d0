// The plug-in object a module's single export hands to the host.
//
// Call order. The host loads the module, calls the export once and gets the object with one
// reference, which it keeps until the end. Then, each at most once and in this order:
//   Attach      the host application (an IHostApp); the plug-in may keep it. A failure ends
//               the load: the host calls nothing else and drops the object.
//   Initialize  the plug-in registers its strings and subscribes to events.
//   Start       it registers its commands, then the operations that name them, and reads
//               its settings.
//   Shutdown    at the end of the host's life, or right after a failed Initialize or Start.
//               The plug-in unsubscribes, drops what it holds of the host and must not call
//               the host afterwards; commands and events that still reach it do nothing.
// OnLoaded and OnIdle may come between Start and Shutdown (a host may never call them).
// The describing calls (GetID to GetRequirements) may come at any time, ResetSettings at any
// time after Start. Every call comes from the host's main thread and is guarded: an exception that
// escapes is a failure of the call, never a crash of the host.
//
// Strings go out as BStrings that the caller frees; objects with one reference for the caller.
#pragma once

#include "host/com.h"

namespace zelta {

struct IPlugin : IUnknown {
  static constexpr Guid kIid{0x5A1E0F01, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 34}};
  // Identity: a fixed GUID, the name shown in menus and lists, a copyright notice, the
  // version (0x10000 is 1.0), flags (0), a description, legal text and the maker's name.
  virtual HRESULT GetID(Guid* id) = 0;
  virtual HRESULT GetName(BString* name) = 0;
  virtual HRESULT GetNotice(BString* notice) = 0;
  virtual HRESULT GetVersion(uint32_t* version) = 0;
  virtual HRESULT GetFlags(int32_t* flags) = 0;
  virtual HRESULT GetDescription(BString* description) = 0;
  virtual HRESULT GetLegalInfo(BString* info) = 0;
  virtual HRESULT GetCompany(BString* company) = 0;
  // What the plug-in needs of the host beyond the base services (0: nothing).
  virtual HRESULT GetRequirements(int32_t* requirements) = 0;
  // Hands the host application (IHostApp) to the plug-in. E_INVALIDARG for null or an object
  // without IHostApp.
  virtual HRESULT Attach(IUnknown* host) = 0;
  virtual HRESULT OnLoaded() = 0;
  virtual HRESULT Initialize() = 0;
  virtual HRESULT Start() = 0;
  virtual HRESULT Shutdown() = 0;
  virtual HRESULT OnIdle() = 0;
  // The pages the plug-in adds to the host's preferences, and its About box; E_NOTIMPL (and
  // null) for none.
  virtual HRESULT GetPropertyPages(IUnknown** pages) = 0;
  virtual HRESULT GetAbout(IUnknown** about) = 0;
  // Restores settings items to their defaults: 0 all, 1 only preset lists, 2 all but preset
  // lists, 3 nothing. The host saves the settings afterwards.
  virtual HRESULT ResetSettings(uint32_t flags) = 0;
};

// The module's only export: the plug-in object for the host application app, with one
// reference for the caller. Called once per load, before Attach.
extern "C" {
typedef HRESULT (*GetPluginFn)(IUnknown* app, IPlugin** plugin);
}
inline constexpr const char* kGetPluginSymbol = "ZELTA_GetPlugin";

}  // namespace zelta
