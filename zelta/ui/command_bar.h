// A headless command bar, menu or submenu: an ordered list of items.
#pragma once

#include <vector>

#include "host/commands.h"
#include "zelta/ui/command_bar_item.h"

namespace zelta::ui {

class CommandBar : public ComObject<ICommandBar> {
 public:
  explicit CommandBar(Atom id) : id_(id) {}

  HRESULT GetId(Atom* id) override;
  HRESULT GetCount(int32_t* count) override;
  // S_FALSE and null out of range.
  HRESULT GetItem(int32_t position, ICommandBarItem** item) override;
  // Either out-parameter may be null.
  HRESULT FindItem(Atom command, ICommandBarItem** item, int32_t* position) override;
  // The item's style is `style & mask`. E_INVALIDARG for kNoAtom (use InsertSeparator) and
  // for a position outside 0..count (or -1).
  HRESULT InsertCommand(int32_t position, Atom command, int32_t style, int32_t mask,
                        ICommandBarItem** item) override;
  HRESULT InsertSeparator(int32_t position) override;
  // E_INVALIDARG out of range.
  HRESULT RemoveAt(int32_t position) override;
  HRESULT Clear() override;

  Atom Id() const { return id_; }
  const std::vector<ComPtr<CommandBarItem>>& Items() const { return items_; }

 private:
  HRESULT Insert(int32_t position, ComPtr<CommandBarItem> item);

  Atom id_;
  std::vector<ComPtr<CommandBarItem>> items_;
};

}  // namespace zelta::ui
