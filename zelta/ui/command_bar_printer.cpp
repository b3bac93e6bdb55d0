#include "zelta/ui/command_bar_printer.h"

#include "zelta/base/atom_table.h"
#include "zelta/base/text_codec.h"

namespace zelta::ui {
namespace {

std::string Printable(std::u16string_view text) {
  std::u16string clean(text);
  for (auto& c : clean)
    if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || c == 0x2028 || c == 0x2029) c = u' ';
  return base::LossyUtf8(clean);
}

std::string Labelled(std::u16string_view title, Atom id) {
  std::string idText = Printable(base::AtomTable::Global().Text(id).value_or(u"?"));
  if (title.empty()) return "[" + idText + "]";
  return Printable(title) + "  [" + idText + "]";
}

}  // namespace

std::string CommandBarPrinter::Print(const CommandBar& bar, std::u16string_view heading) const {
  std::string out = Labelled(heading, bar.Id()) + "\n";
  PrintItems(bar, 1, out);
  return out;
}

void CommandBarPrinter::PrintItems(const CommandBar& bar, int depth, std::string& out) const {
  std::string indent(static_cast<size_t>(depth) * 2, ' ');
  if (depth > kMaxDepth) {
    if (!bar.Items().empty()) out += indent + "...\n";
    return;
  }
  for (auto& item : bar.Items()) {
    if (item->IsSeparator()) {
      out += indent + "---\n";
      continue;
    }
    CommandView view = describe_ ? describe_(item->Command()) : CommandView{};
    out += indent + Labelled(view.title, item->Command());
    if (!view.enabled) out += "  (disabled)";
    out += "\n";
    if (auto submenu = item->Submenu()) PrintItems(*submenu, depth + 1, out);
  }
}

}  // namespace zelta::ui
