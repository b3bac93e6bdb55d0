// The outline as pdftk's dump_data writes it: a BookmarkBegin record with the title (XML
// character entities for markup and for everything beyond ASCII), the level from 1 and the
// 1-based target page (0 when there is none). The records hold nothing else, so styles,
// colours, open states and exact destinations are not carried.
#pragma once

#include <string>

#include "host/document.h"

namespace zelta::pdf {

// The records; *dropped counts the bookmarks with data the records cannot hold.
std::string OutlineToPdftkData(IHostDocument* document, size_t* dropped);

// A title with pdftk's escapes: &amp; &lt; &gt; &quot; &apos;, and &#N; for each character
// outside printable ASCII (a lone surrogate as itself).
std::string PdftkEscape(std::u16string_view text);

}  // namespace zelta::pdf
