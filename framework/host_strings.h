// Text from the host's string tables, and the %1/%2 inserts of progress and message texts.
#pragma once

#include <string>
#include <string_view>

#include "host/app.h"

namespace bm {

// The text of a string id ("bookmarksPlugin.cmd.name"); the id itself when the host does not
// know it or there is no host.
std::u16string LoadHostString(zelta::IHostApp* app, std::u16string_view id);

// Replaces every "%1" with first and every "%2" with second, in one pass (an inserted text is
// never scanned again, so a title holding "%2" stays as it is).
std::u16string FormatInserts(std::u16string_view pattern, std::u16string_view first,
                             std::u16string_view second = {});

// Decimal text of an unsigned counter.
std::u16string NumberText(uint64_t value);

}  // namespace bm
