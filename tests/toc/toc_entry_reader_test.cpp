// Reading table-of-contents lines from page characters: where the page number is split off,
// which page it means, which lines make one entry, and the titles and levels made of them.
#include "toc/toc_entry_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toc/toc_entry_levels.h"
#include "toc/toc_title.h"

namespace bm {
namespace {

struct LineSpec {
  std::u16string text;
  double x = 72, y = 700;  // left edge and baseline
  uint32_t font = 1;
  float size = 10;
  int32_t page = 2;
};

// The characters of lines, 5 points a character, each line ending with the line-end flag.
std::vector<zelta::PageTextChar> Chars(const std::vector<LineSpec>& lines) {
  std::vector<zelta::PageTextChar> chars;
  for (const LineSpec& line : lines)
    for (size_t i = 0; i < line.text.size(); ++i) {
      zelta::PageTextChar c{};
      c.left = line.x + 5.0 * static_cast<double>(i);
      c.right = c.left + 5;
      c.bottom = line.y - 2;
      c.top = line.y + line.size;
      c.fontId = line.font;
      c.size = line.size;
      c.code = line.text[i];
      c.flags = i + 1 == line.text.size() ? zelta::kCharLineEnd : 0;
      chars.push_back(c);
    }
  return chars;
}

struct Read {
  std::vector<std::vector<std::u16string>> pieces;
  std::vector<int32_t> targets;
  std::vector<std::vector<int32_t>> areaPages;
  int32_t outside = 0;
};

Read ReadLines(const std::vector<LineSpec>& lines, TocReadOptions options = {}) {
  options.pageCount = options.pageCount ? options.pageCount : 50;
  TocEntryReader reader(options, {{u"iv", 3}, {u"7", 20}});
  // Consecutive lines of one page are read as that page's selection.
  for (size_t first = 0, last = 0; first < lines.size(); first = last) {
    while (last < lines.size() && lines[last].page == lines[first].page) ++last;
    const auto chars = Chars(std::vector<LineSpec>(lines.begin() + first, lines.begin() + last));
    reader.ReadPage(lines[first].page, {0, 0, 612, 792}, chars.data(),
                    static_cast<int32_t>(chars.size()), {{0, static_cast<int32_t>(chars.size())}});
  }
  reader.Finish();
  Read read;
  for (const TocLineEntry& entry : reader.Entries()) {
    read.pieces.push_back(entry.pieces);
    read.targets.push_back(entry.target);
    read.areaPages.emplace_back();
    for (const TocLineArea& area : entry.areas) read.areaPages.back().push_back(area.page);
  }
  read.outside = reader.OutsideCount();
  return read;
}

TEST(TocEntryReader, SplitsTitleAndNumberAndResolvesThePage) {
  struct Case {
    const char* name;
    std::u16string line;
    TocReadOptions options;
    std::u16string title;
    int32_t target;
  } cases[] = {
      {"dots", u"Setup.......5", {1}, u"Setup", 4},
      {"offset", u"Setup.......5", {1, 2}, u"Setup", 6},
      {"label before digits", u"Tools . . 7", {}, u"Tools", 20},
      {"roman label", u"Preface . . . iv", {}, u"Preface", 3},
      {"underscores stay with spaces only", u"Setup____ 5", {4}, u"Setup____", 4},
      {"past the last page", u"Index . . 900", {}, u"Index", 2},
      {"offset before the first page", u"Index . . 1", {0, -3}, u"Index", 2},
      {"no digits", u"Appendix", {}, u"Appendix", 2},
      {"roman number without a label", u"Foreword . . . xii", {}, u"Foreword", 2},
      {"roman word after spaces", u"Chapter vi", {}, u"Chapter vi", 2},
      {"section number is no page", u"1.1 Scope . . 9", {}, u"1.1 Scope", 8},
  };
  for (const Case& c : cases) {
    Read read = ReadLines({{c.line}}, c.options);
    ASSERT_EQ(read.pieces.size(), 1u) << c.name;
    EXPECT_EQ(read.pieces[0], std::vector<std::u16string>{c.title}) << c.name;
    EXPECT_EQ(read.targets[0], c.target) << c.name;
  }
  EXPECT_EQ(ReadLines({{u"Index . . 900"}, {u"Foreword . . xii"}, {u"Chapter vi"}}).outside, 2);
}

TEST(TocEntryReader, JoinsLinesIntoEntries) {
  // A title over two lines; a section number beside its title; a folio above the entries;
  // a running header in the top band; a heading in a larger font completes on its own.
  Read read = ReadLines({{u"12", 300, 760},
                         {u"Contents", 72, 730, 2, 14},
                         {u"A long title that", 72, 700},
                         {u"goes on . . 5", 72, 688},
                         {u"2.1", 72, 670},
                         {u"Scope . . 6", 100, 670}},
                        {0, 0, 40});
  EXPECT_EQ(read.pieces, (std::vector<std::vector<std::u16string>>{
                             {u"A long title that", u"goes on"}, {u"2.1 Scope"}}));
  EXPECT_EQ(read.targets, (std::vector<int32_t>{4, 5}));
  // A title at the foot of one contents page whose number stands at the top of the next.
  read = ReadLines({{u"Early . . 4", 72, 80},
                    {u"A title at the foot", 72, 60},
                    {u"of the page . . 9", 72, 740, 1, 10, 3}});
  EXPECT_EQ(read.pieces[1], (std::vector<std::u16string>{u"A title at the foot", u"of the page"}));
  EXPECT_EQ(read.targets, (std::vector<int32_t>{3, 8}));
  EXPECT_EQ(read.areaPages, (std::vector<std::vector<int32_t>>{{2}, {2, 3}}));
  // A 10,000-character line is one entry.
  EXPECT_EQ(ReadLines({{std::u16string(10000, u'x') + u" 3"}}).targets, std::vector<int32_t>{2});
}

// What typesetters do to contents lines: the page numbers and leader runs as text objects of
// their own (the numbers read after all the titles), a section number set apart from or
// running into its title with no blank, running heads and feet on every contents page, the
// contents' own heading above the entries.
TEST(TocEntryReader, ReadsWholeContentsPagesAsTheirLinesMean) {
  std::vector<LineSpec> lines = {{u"User Guide", 72, 770, 3, 8},
                                 {u"Table of contents", 400, 770, 3, 8},
                                 {u"Table of contents", 200, 730, 2, 16},
                                 {u"Getting started", 72, 700, 1, 12},
                                 {u"1.1", 72, 686},
                                 {u"Availability . . . . . . . .", 95, 686},
                                 {u"1.2", 72, 672},
                                 {u"Installing\u2026\u2026\u2026", 95, 672},
                                 {u"9.9.7.3 next_ibf_id", 72, 650},
                                 {u". . . . . . . . . . . .", 200, 650},
                                 {u". . 13", 480, 630},
                                 {u"Short", 72, 630},
                                 {u"Page 3", 290, 40, 3, 8}};
  // The numbers, read last, each on the row of its title.
  lines.push_back({u"3", 500, 700, 1, 12});
  lines.push_back({u"4", 500, 686});
  lines.push_back({u"12", 495, 672});
  lines.push_back({u"7", 500, 650});
  // The next page: the same head and foot, an entry whose number glued to its title.
  for (LineSpec line : std::vector<LineSpec>{{u"User Guide", 72, 770, 3, 8},
                                             {u"Table of contents", 400, 770, 3, 8},
                                             {u"Running . . . . 20", 72, 700},
                                             {u"Page 4", 290, 40, 3, 8}}) {
    line.page = 3;
    lines.push_back(line);
  }
  Read read = ReadLines(lines, {0, 0, 0, 0, 40});
  EXPECT_EQ(read.pieces, (std::vector<std::vector<std::u16string>>{{u"Getting started"},
                                                                   {u"1.1 Availability"},
                                                                   {u"1.2 Installing"},
                                                                   {u"9.9.7.3 next_ibf_id"},
                                                                   {u"Short"},
                                                                   {u"Running"}}));
  EXPECT_EQ(read.targets, (std::vector<int32_t>{2, 3, 11, 20, 12, 19}));

  // The contents' heading centred in the font and size of the chapter entries, right above
  // the first: it ends there and is no entry. An unnumbered part title at the top of the next
  // page, at the entries' left edge, is one.
  read = ReadLines({{u"Table of Contents", 250, 760, 2, 12},
                    {u"Chapter 4: Library Mode . . . . 13", 72, 746, 2, 12},
                    {u"4.1 Introduction . . . . 13", 84, 732},
                    {u"Part Two", 72, 760, 2, 12, 3},
                    {u"Chapter 5: The basics . . . . 53", 72, 716, 2, 12, 3}},
                   {0, 0, 0, 0, 80});
  EXPECT_EQ(read.pieces, (std::vector<std::vector<std::u16string>>{{u"Chapter 4: Library Mode"},
                                                                   {u"4.1 Introduction"},
                                                                   {u"Part Two"},
                                                                   {u"Chapter 5: The basics"}}));

  // A section number placed a few points right of its title's start, with no blank between
  // them in the page's text, is a word of its own.
  std::vector<zelta::PageTextChar> chars = Chars({{u"A.1Questions . . 7"}});
  for (size_t i = 3; i < chars.size(); ++i) chars[i].left += 6, chars[i].right += 6;
  TocEntryReader reader({0, 0, 0, 0, 50}, {});
  reader.ReadPage(1, {0, 0, 612, 792}, chars.data(), static_cast<int32_t>(chars.size()),
                  {{0, static_cast<int32_t>(chars.size())}});
  reader.Finish();
  ASSERT_EQ(reader.Entries().size(), 1u);
  EXPECT_EQ(reader.Entries()[0].pieces, std::vector<std::u16string>{u"A.1 Questions"});
  // A section number too wide for its box runs into its title with no gap at all.
  EXPECT_EQ(ReadLines({{u"10.10Exceptions . . 7"}, {u"18.10tie . . 8", 72, 680}}).pieces,
            (std::vector<std::vector<std::u16string>>{{u"10.10 Exceptions"}, {u"18.10 tie"}}));

  // The same entry closing two full pages is no running foot: it leads elsewhere.
  read = ReadLines({{u"Intro . . 3", 72, 700},
                    {u"Exercises . . 9", 72, 60},
                    {u"Setup . . 10", 72, 700, 1, 10, 3},
                    {u"Exercises . . 19", 72, 60, 1, 10, 3}});
  EXPECT_EQ(read.targets, (std::vector<int32_t>{2, 8, 9, 18}));

  // Two columns of complete entries on one row stay two entries.
  read = ReadLines({{u"Intro . . 3", 72, 700}, {u"Results . . 9", 320, 700}});
  EXPECT_EQ(read.targets, (std::vector<int32_t>{2, 8}));
}

TEST(TocEntryLevels, StyleIndentAndGaps) {
  std::vector<int32_t> levels{1, 3, 3, 2, 4};
  TocEntryLevels::CloseGaps(levels);
  EXPECT_EQ(levels, (std::vector<int32_t>{1, 2, 2, 2, 3}));

  // A larger font is the parent; an indented entry in the same font is its child; the entries
  // of an even page set further right line up with those of the odd page.
  std::vector<TocLineEntry> entries(5);
  const double xs[] = {72, 72, 90, 84, 102};
  const float sizes[] = {14, 10, 10, 14, 10};
  const int32_t pages[] = {2, 2, 2, 3, 3};
  for (size_t i = 0; i < entries.size(); ++i) {
    entries[i].x = xs[i];
    entries[i].size = sizes[i];
    entries[i].tocPage = pages[i];
    entries[i].target = static_cast<int32_t>(i + 10);
    entries[i].font = 1;
  }
  TocEntryLevels::ByStyle(entries);
  TocEntryLevels::ByIndent(entries);
  std::vector<int32_t> style, indent;
  for (const auto& e : entries) style.push_back(e.styleLevel), indent.push_back(e.indentLevel);
  EXPECT_EQ(style, (std::vector<int32_t>{1, 2, 3, 1, 3}));
  EXPECT_EQ(indent, (std::vector<int32_t>{1, 1, 2, 1, 2}));
}

TEST(TocEntryLevels, MergesOnlyEntriesWithoutANumberThatStandOut) {
  std::vector<TocLineEntry> entries(3);
  entries[0].pieces = {u"Part I"}, entries[0].x = 40, entries[0].target = 5;
  entries[1].pieces = {u"One"}, entries[1].x = 72, entries[1].target = 5,
  entries[1].numbered = true;
  entries[2].pieces = {u"Two"}, entries[2].x = 72, entries[2].target = 5,
  entries[2].numbered = true;
  for (auto& e : entries) e.size = 10, e.font = 1;
  TocEntryLevels::Merge(entries);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].pieces, (std::vector<std::u16string>{u"Part I", u"One"}));
}

TEST(TocTitle, TidiesAndRemovesPrefixNumbers) {
  const int32_t both = kFromTocTidySpaces | kFromTocRemoveNumbers;
  struct Case {
    std::vector<std::u16string> pieces;
    int32_t flags;
    std::u16string title;
  } cases[] = {
      {{u"1.2.3  Setup"}, both, u"Setup"},
      {{u"Chapter 3"}, both, u"Chapter 3"},
      {{u"2001"}, both, u"2001"},
      {{u" A\t long ", u" title "}, kFromTocTidySpaces, u"A long title"},
      {{u"4.1", u"Scope"}, kFromTocRemoveNumbers, u"Scope"},
      {{u"1.2  Setup"}, 0, u"1.2  Setup"},
  };
  for (const Case& c : cases) EXPECT_EQ(TocTitle::Make(c.pieces, c.flags), c.title);
}

}  // namespace
}  // namespace bm
