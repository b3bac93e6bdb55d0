// The host application object handed to a plug-in's entry point.
#pragma once

#include "host/com.h"
#include "host/document.h"
#include "host/events.h"
#include "host/operation.h"
#include "host/settings.h"

namespace zelta {

struct IHostApp : IUnknown {
  static constexpr Guid kIid{0x5A1E0D01, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 32}};

  // A named component: "ZLK" (ISelectionService), "ZLW" (IWindowService), "AUX"
  // (ICabFactory), "AFS" (IFileService), "UIX" (IUiExtension), "RTX" (IResultTexts), "PPR"
  // (IHostPaperList).
  // S_FALSE and null when unknown.
  virtual HRESULT GetComponent(const char* name, IUnknown** component) = 0;

  // The same atom for the same text while the process lives. Empty text gives E_INVALIDARG.
  virtual HRESULT InternString(const char16_t* text, int32_t length, Atom* atom) = 0;
  // The text of an atom; E_INVALIDARG for an atom never handed out.
  virtual HRESULT GetAtomText(Atom atom, BString* text) = 0;

  // Registers a module's XML string table (UTF-8). Its strings are served under
  // "<namespace>.<id>". E_INVALIDARG for a table that does not parse.
  virtual HRESULT RegisterStringTable(const uint8_t* xml, uint32_t size) = 0;
  // The text of a string id from the host's own table or a registered one; S_FALSE and the
  // id itself when unknown.
  virtual HRESULT LoadString(const char16_t* id, int32_t length, BString* text) = 0;

  virtual HRESULT GetEventServer(IEventServer** server) = 0;
  // The active document; S_FALSE and null when none is open.
  virtual HRESULT GetActiveDocument(IHostDocument** document) = 0;

  // Creates a host operation by id; E_INVALIDARG for an unknown id.
  virtual HRESULT CreateOperation(Atom id, IHostOperation** operation) = 0;
  // The operation runner: runs op->Do(flags, extra) in the host's frame, records the
  // operation and its result as the host's last run, and returns the result. The operation
  // opens its own change group (unless flags has kDoNoChangeGroup).
  virtual HRESULT RunOperation(IHostOperation* operation, int32_t flags, intptr_t extra) = 0;

  // The settings node kept for a plug-in (the plug-in object is the key; reserved is -1).
  virtual HRESULT GetPluginSettings(IUnknown* plugin, int32_t reserved,
                                    IHostSettings** settings) = 0;

  // Registers the factory of a plug-in operation id (replacing an earlier one), after which
  // CreateOperation(id) asks the factory. abbreviation is the short name users may give
  // instead of the id ("CBC"); null or empty for an operation users do not name. traits are
  // OperationTraits bits. command is the plug-in's command that runs the operation from a
  // menu (kNoAtom for none), so that the host can name the menu item with the operation. A
  // plug-in registers its operations at Start, after its commands. E_INVALIDARG for kNoAtom or
  // a null factory.
  virtual HRESULT RegisterOperationFactory(Atom id, const char16_t* abbreviation, int32_t traits,
                                           Atom command, IOperationFactory* factory) = 0;
};

}  // namespace zelta
