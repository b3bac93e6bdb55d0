// Commands, icons, command bars and context menus (component "UIX").
#pragma once

#include "host/com.h"

namespace zelta {

struct IHostCommand;

// Command state values of UpdateCommandState.
enum CommandState : int32_t { kCommandEnabled = 0, kCommandDisabled = 2 };

// Actions of ICommandHandler::ExecuteCommand.
enum CommandAction : int32_t {
  kCommandRun = 1,  // runs the command as the user asked for it (its dialog, if any)
  // Runs the command without asking: with the options it was last run with, as a scripted
  // run would. The handler returns the run's result (E_CANCELLED when the user cancelled
  // it, E_NOTIMPL when the command cannot run without its dialog); a handler that does not
  // know this action returns E_NOTIMPL.
  kCommandRunWithStoredOptions = 2,
};

// Receives the calls for the commands it handles. Unused calls answer E_NOTIMPL.
struct ICommandHandler : IUnknown {
  static constexpr Guid kIid{0x5A1E0B01, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 20}};
  virtual HRESULT OnCommandAdded(IHostCommand* command) = 0;
  virtual HRESULT OnCommandRemoved(IHostCommand* command) = 0;
  // Writes kCommandEnabled or kCommandDisabled into *state (left as passed when the handler
  // has no opinion). Answers S_FALSE for null arguments.
  virtual HRESULT UpdateCommandState(IHostCommand* command, IUnknown* context, intptr_t reserved,
                                     int32_t* state) = 0;
  virtual HRESULT GetCommandTip(IHostCommand* command, BString* tip) = 0;
  // action is a CommandAction.
  virtual HRESULT ExecuteCommand(int32_t action, IHostCommand* command, intptr_t a, intptr_t b,
                                 intptr_t c) = 0;
  virtual HRESULT OnPopup(IHostCommand* command, IUnknown* menu) = 0;
};

struct IHostIcon : IUnknown {
  static constexpr Guid kIid{0x5A1E0B02, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 21}};
  virtual HRESULT GetId(Atom* id) = 0;
};

struct IIconManager : IUnknown {
  static constexpr Guid kIid{0x5A1E0B03, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 22}};
  // S_FALSE and null for an unknown icon id.
  virtual HRESULT FindIcon(Atom id, IHostIcon** icon) = 0;
};

struct IHostCommand : IUnknown {
  static constexpr Guid kIid{0x5A1E0B04, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 23}};
  virtual HRESULT GetId(Atom* id) = 0;
  virtual HRESULT GetTitle(BString* title) = 0;
  virtual HRESULT SetTitle(const char16_t* title, int32_t length) = 0;
  virtual HRESULT SetIcon(IHostIcon* icon) = 0;
  virtual HRESULT GetIcon(IHostIcon** icon) = 0;
  // Presentation style bits (0x300: a submenu) under a mask, in the bars and in menus.
  virtual HRESULT SetStyle(int32_t style, int32_t mask) = 0;
  virtual HRESULT SetMenuStyle(int32_t style, int32_t mask) = 0;
  virtual HRESULT GetStyle(int32_t* style) = 0;
  virtual HRESULT GetHandler(ICommandHandler** handler) = 0;
};

struct ICommandRegistry : IUnknown {
  static constexpr Guid kIid{0x5A1E0B05, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 24}};
  // Creates (or, for an id already registered, replaces the handler of) a command.
  virtual HRESULT CreateCommand(Atom id, ICommandHandler* handler, IHostCommand** command) = 0;
  // S_FALSE and null when unknown.
  virtual HRESULT FindCommand(Atom id, IHostCommand** command) = 0;
  virtual HRESULT GetCount(int32_t* count) = 0;
  virtual HRESULT GetItem(int32_t index, IHostCommand** command) = 0;
};

struct ICommandManager : IUnknown {
  static constexpr Guid kIid{0x5A1E0B06, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 25}};
  virtual HRESULT GetRegistry(ICommandRegistry** registry) = 0;
};

struct ICommandBar;

// One entry of a bar or menu: a command (with an optional submenu) or a separator.
struct ICommandBarItem : IUnknown {
  static constexpr Guid kIid{0x5A1E0B07, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 26}};
  // kNoAtom for a separator.
  virtual HRESULT GetCommandId(Atom* id) = 0;
  virtual HRESULT GetStyle(int32_t* style) = 0;
  // The item's submenu, made empty on first request.
  virtual HRESULT GetSubmenu(ICommandBar** submenu) = 0;
};

// An ordered list of items: a command bar, a menu or a submenu. Positions count from 0; -1
// means the end.
struct ICommandBar : IUnknown {
  static constexpr Guid kIid{0x5A1E0B08, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 27}};
  virtual HRESULT GetId(Atom* id) = 0;
  virtual HRESULT GetCount(int32_t* count) = 0;
  virtual HRESULT GetItem(int32_t position, ICommandBarItem** item) = 0;
  // The first item of the command and its position; S_FALSE, null and -1 when missing.
  virtual HRESULT FindItem(Atom command, ICommandBarItem** item, int32_t* position) = 0;
  virtual HRESULT InsertCommand(int32_t position, Atom command, int32_t style, int32_t mask,
                                ICommandBarItem** item) = 0;
  virtual HRESULT InsertSeparator(int32_t position) = 0;
  virtual HRESULT RemoveAt(int32_t position) = 0;
  // Removes every item.
  virtual HRESULT Clear() = 0;
};

// Event object of "e.mainView.customizeCmdBars".
struct ICommandBarCustomization : IUnknown {
  static constexpr Guid kIid{0x5A1E0B09, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 28}};
  // S_FALSE and null for a bar the host does not have.
  virtual HRESULT GetBar(Atom barId, ICommandBar** bar) = 0;
};

// Event object of "e.beforeShowContextMenu".
struct IContextMenuEvent : IUnknown {
  static constexpr Guid kIid{0x5A1E0B0A, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 29}};
  virtual HRESULT GetMenuId(Atom* id) = 0;
  virtual HRESULT GetMenu(ICommandBar** menu) = 0;
};

}  // namespace zelta
