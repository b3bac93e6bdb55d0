#include "zelta/app/outline_import/pdftk_data_reader.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "host/limits.h"
#include "host/unicode.h"
#include "zelta/app/outline_import/outline_limits.h"
#include "zelta/base/text_codec.h"

namespace zelta::app {

namespace {

// The line's text after "Key:" and blanks, when the line has that key.
bool Value(std::string_view line, std::string_view key, std::string_view* value) {
  if (!line.starts_with(key) || line.size() == key.size() || line[key.size()] != ':') return false;
  std::string_view rest = line.substr(key.size() + 1);
  while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
  *value = rest;
  return true;
}

bool Number(std::string_view text, int64_t* value) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

bool LooksLikePdftkData(std::string_view text) {
  for (std::string_view key : {"BookmarkBegin", "InfoBegin", "PdfID0:", "NumberOfPages:"}) {
    const size_t at = text.find(key);
    if (at != std::string_view::npos && (at == 0 || text[at - 1] == '\n')) return true;
  }
  return false;
}

std::u16string PdftkUnescape(std::string_view text) {
  std::u16string out;
  size_t plain = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') continue;
    const size_t end = text.find(';', i);
    if (end == std::string_view::npos || end - i > 12) continue;
    const std::string_view entity = text.substr(i + 1, end - i - 1);
    char32_t c = 0;
    if (entity == "amp")
      c = '&';
    else if (entity == "lt")
      c = '<';
    else if (entity == "gt")
      c = '>';
    else if (entity == "quot")
      c = '"';
    else if (entity == "apos")
      c = '\'';
    else if (entity.size() > 1 && entity[0] == '#') {
      const bool hex = entity[1] == 'x' || entity[1] == 'X';
      const std::string_view digits = entity.substr(hex ? 2 : 1);
      uint32_t value = 0;
      const auto [last, ec] =
          std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
      if (!digits.empty() && ec == std::errc() && last == digits.data() + digits.size() &&
          value > 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF))
        c = value;
    }
    if (c == 0) continue;
    out += base::LossyUtf16(text.substr(plain, i - plain));
    AppendUtf16(out, c);
    plain = end + 1;
    i = end;
  }
  out += base::LossyUtf16(text.substr(plain));
  return out;
}

bool ReadPdftkData(std::string_view text, std::vector<OutlineNode>* nodes, std::string* error) {
  uint32_t lineNumber = 0;
  bool inRecord = false;
  size_t previousDepth = 0;
  const auto fail = [&](const std::string& what) {
    *error = "line " + std::to_string(lineNumber) + ": " + what;
    return false;
  };
  if (const size_t count = CountPdftkBookmarks(text); count > kMaxImportedBookmarks) {
    *error = TooManyBookmarksText(count);
    return false;
  }
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string_view value;
    if (line == "BookmarkBegin") {
      OutlineNode node;
      node.sourceLine = lineNumber;
      node.open = true;
      node.depth = nodes->empty() ? 0 : previousDepth;
      nodes->push_back(std::move(node));
      inRecord = true;
      continue;
    }
    if (!line.starts_with("Bookmark")) {
      inRecord = false;
      continue;
    }
    if (!inRecord) continue;
    OutlineNode& node = nodes->back();
    int64_t number = 0;
    if (Value(line, "BookmarkTitle", &value)) {
      node.title = PdftkUnescape(value);
      if (node.title.size() > kMaxBookmarkTitle) return fail(TitleTooLongText(node.title));
    } else if (Value(line, "BookmarkLevel", &value)) {
      if (!Number(value, &number) || number < 1)
        return fail("BookmarkLevel \"" + base::LossyUtf8(base::LossyUtf16(value)) +
                    "\" is not a level (1 or more)");
      const size_t limit = nodes->size() == 1 ? 0 : (*nodes)[nodes->size() - 2].depth + 1;
      // Compared before the subtraction: a level may be as large as int64_t goes.
      node.depth = static_cast<uint64_t>(number) > limit ? limit : static_cast<size_t>(number - 1);
      if (node.depth >= kMaxBookmarkDepth) return fail(TooDeepText());
      previousDepth = node.depth;
    } else if (Value(line, "BookmarkPageNumber", &value)) {
      if (!Number(value, &number))
        return fail("BookmarkPageNumber \"" + base::LossyUtf8(base::LossyUtf16(value)) +
                    "\" is not a number");
      node.actions.clear();
      if (number != 0) {
        NodeAction action;
        action.destination = PageDestination{};
        // A page no document has keeps the number the file gives, for the message that
        // leaves its link out; the index stays -1 so that the link is refused.
        if (number >= 1 && number <= INT32_MAX)
          action.destination->page = static_cast<int32_t>(number - 1);
        else
          action.destination->page = -1;
        action.givenPage = number;
        node.actions.push_back(std::move(action));
      }
    }
  }
  return true;
}

size_t CountPdftkBookmarks(std::string_view text) {
  constexpr std::string_view kBegin = "BookmarkBegin";
  size_t count = 0;
  for (size_t at = text.find(kBegin); at != std::string_view::npos;
       at = text.find(kBegin, at + 1)) {
    std::string_view rest = text.substr(at + kBegin.size());
    if (rest.starts_with('\r')) rest.remove_prefix(1);
    if ((at == 0 || text[at - 1] == '\n') && (rest.empty() || rest.front() == '\n')) ++count;
  }
  return count;
}

}  // namespace zelta::app
