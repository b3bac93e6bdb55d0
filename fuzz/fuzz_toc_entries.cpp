// Printed tables of contents: characters of any code, flags, font, size and place read as
// the selected text of a few pages, then merged, levelled and made into titles.
//
// Input: byte 0 picks the separator type and the sign of the page offset, byte 1 the offset
// and the top and bottom bands; the rest is UTF-8 text, each line a row of characters. A
// control character below 0x08 before a line starts a new page; one between 0x08 and 0x0F
// changes the font, size and left edge of the lines after it.
#include <cmath>
#include <string>
#include <vector>

#include "fuzz/fuzz_text.h"
#include "toc/toc_entry_levels.h"
#include "toc/toc_entry_reader.h"
#include "toc/toc_title.h"

namespace {

constexpr int32_t kPages = 40;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  bm::TocReadOptions options;
  options.separator = data[0] & 0x07;
  options.pageOffset = (data[1] & 0x0F) * ((data[0] & 0x80) ? -1 : 1);
  options.topIndent = (data[1] >> 4) * 10.0;
  options.bottomIndent = (data[1] >> 6) * 20.0;
  options.pageCount = kPages;
  bm::TocEntryReader reader(options, {{u"iv", 3}, {u"A-1", 30}, {u"", 5}});

  const std::u16string text =
      fuzzing::LooseUtf16(std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2));
  std::vector<zelta::PageTextChar> chars;
  int32_t page = 0, line = 0;
  uint32_t font = 1;
  float fontSize = 10;
  double left = 72;
  auto flush = [&] {
    if (!chars.empty()) chars.back().flags |= zelta::kCharLineEnd;
    reader.ReadPage(page, {0, 0, 612, 792}, chars.data(), static_cast<int32_t>(chars.size()),
                    {{0, static_cast<int32_t>(chars.size())}, {2, 3}, {-5, 4}});
    chars.clear();
    line = 0;
  };
  double x = left;
  for (char16_t c : text) {
    if (c < 0x08) {
      flush();
      page = (page + 1 + c) % kPages;
      continue;
    }
    if (c < 0x10) {
      font = c;
      fontSize = static_cast<float>(c) * 2;
      left = 40.0 + 6 * c;
      continue;
    }
    zelta::PageTextChar made{};
    made.code = c;
    made.fontId = font;
    made.size = fontSize;
    made.left = x;
    made.right = x + fontSize / 2;
    made.top = 780 - 12.0 * line;
    made.bottom = made.top - fontSize;
    x = made.right;
    if (c == u'\n') {
      made.flags = zelta::kCharLineEnd;
      ++line;
      x = left;
    }
    chars.push_back(made);
  }
  flush();
  reader.Finish();

  std::vector<bm::TocLineEntry>& entries = reader.Entries();
  bm::TocEntryLevels::Merge(entries);
  bm::TocEntryLevels::ByStyle(entries);
  bm::TocEntryLevels::ByIndent(entries);
  for (const bm::TocLineEntry& entry : entries) {
    if (entry.target < 0 || entry.target >= kPages || entry.areas.empty() || entry.styleLevel < 1 ||
        entry.indentLevel < 1)
      __builtin_trap();
    bm::TocTitle::Make(entry.pieces, bm::kFromTocTidySpaces | bm::kFromTocRemoveNumbers);
  }
  return 0;
}
