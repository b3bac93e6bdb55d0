// Font names as level formats give them ("ArialMT", "Arial,Bold", "TimesNewRomanPS-BoldMT")
// and where the font comes from: one of the standard 14 fonts, or a font file of the system.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zelta::pdf {

// The standard 14 font a name stands for ("Arial-BoldMT" -> "Helvetica-Bold"): Arial,
// Helvetica, Times (New Roman), Courier (New), Symbol and ZapfDingbats with their bold,
// italic and oblique forms, in the spellings PDF producers use. Nothing for any other name.
std::optional<std::string> StandardFontName(std::string_view name);

// The font file of the system whose file name matches the font name, ignoring case, spaces,
// hyphens, underscores and commas ("DejaVuSans-Bold" finds DejaVuSans-Bold.ttf). The font
// folders are listed once per process.
std::optional<std::string> SystemFontFile(std::string_view name);

}  // namespace zelta::pdf
