// Sort Bookmarks (SB) through the zelta program on the corpus, checked with mutool's reading
// of the result: every sibling list in order, no bookmark lost or moved to another parent.
// The orders and level choices on built trees are tested in tests/tools/tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "platform/locale_text.h"
#include "tests/zelta/cli/cli_sandbox.h"
#include "tests/zelta/cli/outline_lines.h"
#include "tests/zelta/cli/pdf_facts.h"

namespace zelta::cli_testing {
namespace {

// SBOptions Flags.
constexpr int kAlphabetical = 0x1, kIgnoreCase = 0x8, kDescending = 0x10;

// One bookmark as mutool reads it, with the place its destination opens at (top-down y).
struct Item {
  OutlineLine line;
  double x = 0, y = 0;
  int parent = -1;  // index of the parent item, -1 at the top level
};

std::vector<Item> ReadItems(const CliSandbox& sandbox, const std::string& pdf) {
  ProcessResult run = sandbox.Tool("mutool", {"show", pdf, "outline"});
  EXPECT_TRUE(run.Exited(0)) << run.Describe();
  std::string error;
  std::vector<OutlineLine> lines = ParseMutoolOutline(run.out, &error);
  EXPECT_EQ(error, "");
  std::vector<Item> items;
  std::vector<int> open;  // the last item seen at each depth
  size_t start = 0;
  for (const OutlineLine& line : lines) {
    // Rows and parsed lines correspond one to one (mutool prints no empty rows).
    size_t end = run.out.find('\n', start);
    std::string row = run.out.substr(start, end - start);
    start = end + 1;
    Item item{line};
    if (size_t zoom = row.rfind("&zoom="); zoom != std::string::npos) {
      std::sscanf(row.c_str() + zoom + 6, "%*[^,],%lf,%lf", &item.x, &item.y);
    }
    open.resize(static_cast<size_t>(line.depth));
    item.parent = open.empty() ? -1 : open.back();
    open.push_back(static_cast<int>(items.size()));
    items.push_back(item);
  }
  return items;
}

// Each bookmark with the titles of its ancestors: equal multisets before and after mean
// nothing was lost, added or moved to another parent.
std::vector<std::string> Placements(const std::vector<Item>& items) {
  std::vector<std::string> keys;
  for (const Item& item : items) {
    std::string key =
        item.line.title + " p=" + (item.line.page ? std::to_string(*item.line.page) : "none");
    for (int p = item.parent; p >= 0; p = items[p].parent) key = items[p].line.title + " > " + key;
    keys.push_back(key);
  }
  std::sort(keys.begin(), keys.end());
  return keys;
}

// <0 when a belongs before b in ascending order of the given kind.
int Compare(const Item& a, const Item& b, int flags) {
  if (flags & kAlphabetical) {
    return bm::platform::CompareText(bm::platform::Utf8ToUtf16(a.line.title),
                                     bm::platform::Utf8ToUtf16(b.line.title), flags & kIgnoreCase);
  }
  int pageA = a.line.page.value_or(0), pageB = b.line.page.value_or(0);
  if (pageA != pageB) return pageA < pageB ? -1 : 1;
  if (std::abs(a.y - b.y) > 1e-3) return a.y < b.y ? -1 : 1;
  if (std::abs(a.x - b.x) > 1e-3) return a.x < b.x ? -1 : 1;
  return 0;
}

struct SortMode {
  std::string name;
  int flags;
};

void PrintTo(const SortMode& mode, std::ostream* out) { *out << mode.name; }

class CorpusSort : public ::testing::TestWithParam<std::tuple<std::string, SortMode>> {};

TEST_P(CorpusSort, EverySiblingListInOrder) {
  const auto& [file, mode] = GetParam();
  CliSandbox sandbox;
  std::string in = CorpusPath(file), out = sandbox.Path("out.pdf");
  ProcessResult run = sandbox.Zelta(
      {"run", "SB", in, "-o", out, "--quiet", "--set", "Flags=" + std::to_string(mode.flags)});
  ASSERT_TRUE(run.Exited(0) || run.Exited(3)) << run.Describe();

  std::vector<Item> before = ReadItems(sandbox, in), after = ReadItems(sandbox, out);
  ASSERT_FALSE(after.empty());
  EXPECT_EQ(Placements(after), Placements(before));
  std::vector<OutlineLine> linesBefore, linesAfter;
  for (const Item& item : before) linesBefore.push_back(item.line);
  for (const Item& item : after) linesAfter.push_back(item.line);
  EXPECT_EQ(run.Exited(0), linesAfter != linesBefore) << "exit status and change disagree";

  const int direction = (mode.flags & kDescending) ? -1 : 1;
  std::map<int, int> lastChild;  // parent -> the previous sibling seen
  for (int i = 0; i < static_cast<int>(after.size()); ++i) {
    auto previous = lastChild.find(after[i].parent);
    if (previous != lastChild.end()) {
      EXPECT_LE(direction * Compare(after[previous->second], after[i], mode.flags), 0)
          << after[previous->second].line << " before " << after[i].line;
    }
    lastChild[after[i].parent] = i;
  }

  PdfFacts written = ReadPdfFacts(sandbox, out);
  EXPECT_TRUE(written.checkPassed) << written.checkOutput;
  EXPECT_EQ(written.pages, ReadPdfFacts(sandbox, in).pages);
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, CorpusSort,
    ::testing::Combine(::testing::ValuesIn(CorpusFiles()),
                       ::testing::Values(SortMode{"ByPlace", 0},
                                         SortMode{"ByPlaceDescending", kDescending},
                                         SortMode{"ByTitle", kAlphabetical},
                                         SortMode{"ByTitleIgnoringCaseDescending",
                                                  kAlphabetical | kIgnoreCase | kDescending})),
    [](const auto& info) {
      return CorpusTestName(std::get<0>(info.param)) + "_" + std::get<1>(info.param).name;
    });

}  // namespace
}  // namespace zelta::cli_testing
