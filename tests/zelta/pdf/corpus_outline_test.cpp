// The outline read from every corpus PDF matches what mutool prints for it: titles, nesting
// and target pages. (The JSON form is checked through the command line's tests.)
#include <filesystem>
#include <sstream>

#include "tests/zelta/pdf/pdf_test_support.h"

namespace zelta::pdf::testing {
namespace {

// mutool's "outline" lines: a marker, one tab per level, the quoted title, a #page=N link.
std::string MutoolOutline(const std::string& file) {
  std::string raw;
  EXPECT_EQ(RunCommand("mutool show '" + file + "' outline", &raw), 0);
  std::istringstream in(raw);
  std::string line, out;
  while (std::getline(in, line)) {
    size_t tabs = 0;
    while (1 + tabs < line.size() && line[1 + tabs] == '\t') ++tabs;
    size_t open = line.find('"'), close = line.rfind('"');
    std::string title = line.substr(open + 1, close - open - 1);
    size_t page = line.find("#page=");
    out.append(2 * (tabs - 1), ' ');
    out += title;
    if (page != std::string::npos)
      out += "  [p. " + std::to_string(std::stoi(line.substr(page + 6))) + "]";
    out += "\n";
  }
  return out;
}

TEST(CorpusOutline, EveryCorpusFileMatchesMutool) {
  int files = 0;
  for (auto& entry : std::filesystem::directory_iterator(ZELTA_CORPUS_DIR)) {
    if (entry.path().extension() != ".pdf") continue;
    ++files;
    auto doc = MustOpen(entry.path());
    ASSERT_TRUE(doc);
    EXPECT_TRUE(doc->Warnings().empty()) << entry.path();
    EXPECT_EQ(OutlineToText(doc.Get()), MutoolOutline(entry.path())) << entry.path();
  }
  EXPECT_GE(files, 2);
}

}  // namespace
}  // namespace zelta::pdf::testing
