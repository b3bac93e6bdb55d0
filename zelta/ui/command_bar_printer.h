// Renders a command bar or menu tree as text, for `zelta commands` and for tests.
#pragma once

#include <functional>
#include <string>

#include "zelta/ui/command_bar.h"

namespace zelta::ui {

// What the printer shows of a command: its title (empty: the id is shown) and its state.
struct CommandView {
  std::u16string title;
  bool enabled = true;
};

// One line per item, two spaces of indent per submenu level:
//   "Bookmarks  [cmd.bookmarksPlugin]", then its items indented, "---" for a separator, and
//   "  (disabled)" after a disabled command. Control characters in titles print as spaces, so
//   a hostile title cannot break the layout or drive the terminal.
class CommandBarPrinter {
 public:
  using Describe = std::function<CommandView(Atom command)>;
  // Submenus nested deeper than this print as "..." (a module could nest without end).
  static constexpr int kMaxDepth = 16;

  explicit CommandBarPrinter(Describe describe) : describe_(std::move(describe)) {}

  // The heading line ("Tools [cmd.test]") followed by the items.
  std::string Print(const CommandBar& bar, std::u16string_view heading) const;

 private:
  void PrintItems(const CommandBar& bar, int depth, std::string& out) const;

  Describe describe_;
};

}  // namespace zelta::ui
