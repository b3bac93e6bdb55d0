// Reads the bookmark records of pdftk's dump_data (or dump_data_utf8) output: BookmarkBegin,
// then BookmarkTitle (with XML character entities), BookmarkLevel (from 1) and
// BookmarkPageNumber (1-based; 0 for none). Every other line (Info, PageMedia, ...) is
// skipped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "zelta/app/outline_import/outline_node.h"

namespace zelta::app {

// Whether text looks like pdftk data (a line that begins with "BookmarkBegin", "InfoBegin",
// "PdfID0:" or "NumberOfPages:").
bool LooksLikePdftkData(std::string_view text);

// False with *error naming the line for a record whose level or page is not a number, a
// level below 1 or a title past kMaxBookmarkTitle, and for data with more than
// kMaxImportedBookmarks records (counted before any is read). A level more than one below the
// one before is taken as one below it. A page no document has (below 1, past 2^31 - 1) is
// read as page index -1 with the number kept in givenPage.
bool ReadPdftkData(std::string_view text, std::vector<OutlineNode>* nodes, std::string* error);

// The number of bookmark records ("BookmarkBegin" lines).
size_t CountPdftkBookmarks(std::string_view text);

// Resolves pdftk's entities (&amp; &lt; &gt; &quot; &apos; &#N; &#xH;); anything else, a
// malformed entity included, stays as it is. Malformed UTF-8 becomes U+FFFD.
std::u16string PdftkUnescape(std::string_view text);

}  // namespace zelta::app
