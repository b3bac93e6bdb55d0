#include "autogen/level_page.h"

#include "framework/host_strings.h"

namespace bm {

namespace {

// Owner-modal OK box with the warning icon.
constexpr uint32_t kWarningStyle = 0x80000301;

}  // namespace

std::optional<ParsedColor> LevelPage::AskColor(const std::u16string& current) {
  auto text =
      Input(u"bookmarksPlugin.msg.color.title", u"bookmarksPlugin.msg.color.caption", current);
  if (!text) return std::nullopt;
  auto color = ParseColorText(HostColors(Plugin() ? Plugin()->App() : nullptr).Get(), *text);
  if (!color)
    MessageText(FormatInserts(LoadString(u"bookmarksPlugin.msg.color.invalid"), *text),
                LoadString(u"bookmarksPlugin.msg.color.title"), kWarningStyle);
  return color;
}

}  // namespace bm
