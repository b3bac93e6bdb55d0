// The message a user sees for a regular expression that does not compile or cannot be
// matched, by the standard library's error code. Every tool that compiles user patterns shows
// these texts.
#pragma once

#include <string>
#include <string_view>

#include "host/app.h"

namespace bm {

// The string id of an error code ("bookmarksPlugin.regex.error.brack"); codes without their
// own text (error_parse among them) give "bookmarksPlugin.regex.error.default".
std::u16string_view RegexErrorTextId(int code);
// The localised text of that id from the host's string table.
std::u16string RegexErrorText(zelta::IHostApp* app, int code);

}  // namespace bm
