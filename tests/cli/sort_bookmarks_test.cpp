// Sort Bookmarks (SB) through the zelta program, checked with mutool's reading of the
// result: every sibling list in order, no bookmark lost or moved to another parent, the
// levels outside the chosen one left as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "platform/locale_text.h"
#include "tests/cli/cli_sandbox.h"
#include "tests/cli/outline_lines.h"
#include "tests/cli/pdf_facts.h"
#include "tests/fixtures/pdf_builder.h"

namespace zelta::cli_testing {
namespace {

using zelta::testing::ActionSpec;
using zelta::testing::Bookmark;
using zelta::testing::OutlineSpec;
using zelta::testing::PdfSpec;

// SBOptions Flags.
constexpr int kAlphabetical = 0x1, kOneLevel = 0x2, kLevelsBelow = 0x4, kIgnoreCase = 0x8,
              kDescending = 0x10;

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
      std::string name = std::get<0>(info.param);
      name = name.substr(0, name.find('.')) + "_" + std::get<1>(info.param).name;
      for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      return name;
    });

// Pages are 1-based here; every destination on a page opens at the same place.
//   delta p3 / zeta p3, Eta p2 (nu p2, mu p1), theta p1
//   Beta p1 / a p1, A p1, b p2
//   alpha p2
//   gamma (a link only, no page)
PdfSpec Tree() {
  PdfSpec layout;
  layout.pages.resize(3);
  OutlineSpec eta = Bookmark("Eta", 1);
  eta.children = {Bookmark("nu", 1), Bookmark("mu", 0)};
  OutlineSpec delta = Bookmark("delta", 2);
  delta.children = {Bookmark("zeta", 2), eta, Bookmark("theta", 0)};
  OutlineSpec beta = Bookmark("Beta", 0);
  beta.children = {Bookmark("a", 0), Bookmark("A", 0), Bookmark("b", 1)};
  OutlineSpec gamma;
  gamma.title = "gamma";
  ActionSpec link;
  link.type = "URI";
  link.uri = "https://example.org/";
  gamma.actions = {link};
  layout.outline = {delta, beta, Bookmark("alpha", 1), gamma};
  return layout;
}

struct TreeCase {
  std::string name;
  int flags;
  int level;
  std::vector<std::string> expected;  // pre-order, two spaces per level
};

// Equal keys: each later one goes in front of the equal one the search meets ("a", "A"
// on one page become "A", "a").
const std::vector<TreeCase>& TreeCases() {
  static const std::vector<TreeCase> cases{
      {"ByPlace",
       0,
       1,
       {"gamma", "Beta", "  A", "  a", "  b", "alpha", "delta", "  theta", "  Eta", "    mu",
        "    nu", "  zeta"}},
      {"LevelIgnoredWithoutOneLevel",
       0,
       2,
       {"gamma", "Beta", "  A", "  a", "  b", "alpha", "delta", "  theta", "  Eta", "    mu",
        "    nu", "  zeta"}},
      {"ByPlaceDescending",
       kDescending,
       1,
       {"delta", "  zeta", "  Eta", "    nu", "    mu", "  theta", "alpha", "Beta", "  b", "  A",
        "  a", "gamma"}},
      {"ByTitle",
       kAlphabetical,
       1,
       {"alpha", "Beta", "  a", "  A", "  b", "delta", "  Eta", "    mu", "    nu", "  theta",
        "  zeta", "gamma"}},
      {"ByTitleIgnoringCase",
       kAlphabetical | kIgnoreCase,
       1,
       {"alpha", "Beta", "  A", "  a", "  b", "delta", "  Eta", "    mu", "    nu", "  theta",
        "  zeta", "gamma"}},
      {"ByTitleDescending",
       kAlphabetical | kDescending,
       1,
       {"gamma", "delta", "  zeta", "  theta", "  Eta", "    nu", "    mu", "Beta", "  b", "  A",
        "  a", "alpha"}},
      {"SecondLevelOnly",
       kOneLevel,
       2,
       {"delta", "  theta", "  Eta", "    nu", "    mu", "  zeta", "Beta", "  A", "  a", "  b",
        "alpha", "gamma"}},
      {"SecondLevelAndBelow",
       kOneLevel | kLevelsBelow,
       2,
       {"delta", "  theta", "  Eta", "    mu", "    nu", "  zeta", "Beta", "  A", "  a", "  b",
        "alpha", "gamma"}},
      {"ThirdLevelOnly",
       kOneLevel,
       3,
       {"delta", "  zeta", "  Eta", "    mu", "    nu", "  theta", "Beta", "  a", "  A", "  b",
        "alpha", "gamma"}},
  };
  return cases;
}

TEST(SortBookmarks, OrdersAndLevels) {
  CliSandbox sandbox;
  std::string in = sandbox.Write("tree.pdf", zelta::testing::BuildPdf(Tree()));
  std::map<std::string, std::optional<int>> pages;
  for (const OutlineLine& line : sandbox.MutoolOutline(in)) pages[line.title] = line.page;
  ASSERT_EQ(pages.size(), 12u);

  for (const TreeCase& c : TreeCases()) {
    std::string out = sandbox.Path(c.name + ".pdf");
    ProcessResult run = sandbox.Zelta({"run", "SB", in, "-o", out, "--quiet", "--set",
                                       "Flags=" + std::to_string(c.flags), "--set",
                                       "Level=" + std::to_string(c.level)});
    ASSERT_TRUE(run.Exited(0)) << c.name << ": " << run.Describe();
    std::vector<std::string> order;
    for (const OutlineLine& line : sandbox.MutoolOutline(out)) {
      order.push_back(std::string(2 * static_cast<size_t>(line.depth), ' ') + line.title);
      EXPECT_EQ(line.page, pages[line.title]) << c.name << ": " << line;
    }
    EXPECT_EQ(order, c.expected) << c.name;
  }
}

}  // namespace
}  // namespace zelta::cli_testing
