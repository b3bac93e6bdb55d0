// The host's own en-GB string table: button texts, captions and the titles of the host's
// commands, bars and menus (a host command's title is the string of its command id).
#pragma once

#include <span>
#include <string_view>

namespace zelta::app {

struct HostString {
  std::string_view id;
  std::u16string_view text;
};

std::span<const HostString> HostStrings();

}  // namespace zelta::app
