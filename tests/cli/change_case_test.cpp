// Change Case run through the zelta program: every title becomes what the engine makes of
// the original, nothing else in the outline or the file changes, and a repeat changes nothing.
#include "tools/title/change_case.h"

#include <gtest/gtest.h>

#include "platform/locale_text.h"
#include "tests/cli/cli_sandbox.h"
#include "tests/cli/outline_lines.h"
#include "tests/cli/pdf_facts.h"
#include "tests/fixtures/pdf_builder.h"

namespace zelta::cli_testing {
namespace {

using zelta::testing::Bookmark;
using zelta::testing::OutlineSpec;
using zelta::testing::PdfSpec;

struct CaseMode {
  std::string name;
  int32_t flags;
  std::vector<std::string> excluded;
};

const std::vector<CaseMode>& Modes() {
  static const std::vector<CaseMode> modes{
      {"Upper", bm::kUpperCase, {}},
      {"Lower", bm::kLowerCase, {}},
      {"Title", bm::kTitleCase, {}},
      {"Sentence", bm::kSentenceCase, {}},
      {"TitleExcluding",
       bm::kTitleCase | bm::kApplyExcludedWords,
       {"of", "the", "AND", "r", "to", "a", "in", "data"}},
  };
  return modes;
}

std::vector<std::string> RunArgs(const CaseMode& mode, const std::string& in,
                                 const std::string& out) {
  std::vector<std::string> args{"run", "CBC",     in,      "-o",
                                out,   "--quiet", "--set", "Flags=" + std::to_string(mode.flags)};
  if (!mode.excluded.empty())
    args.insert(args.end(), {"--set", "ExcludedWords=" + nlohmann::json(mode.excluded).dump()});
  return args;
}

std::string Convert(const CaseMode& mode, const std::string& title) {
  std::vector<std::u16string> words;
  for (const std::string& word : mode.excluded) words.push_back(bm::platform::Utf8ToUtf16(word));
  bm::ChangeCaseEngine engine(words, mode.flags);
  std::u16string text = bm::platform::Utf8ToUtf16(title);
  EXPECT_EQ(engine.Apply(text), zelta::S_OK) << title;
  return bm::platform::Utf16ToUtf8(text);
}

class CorpusChangeCase : public ::testing::TestWithParam<std::tuple<std::string, CaseMode>> {};

TEST_P(CorpusChangeCase, RewritesOnlyTitles) {
  const auto& [file, mode] = GetParam();
  CliSandbox sandbox;
  std::string in = sandbox.Copy(CorpusPath(file), "in.pdf");
  std::string out = sandbox.Path("out.pdf");
  auto before = sandbox.Outline(in);
  ASSERT_TRUE(before.is_object());

  std::vector<std::string> expected;
  bool changes = false;
  for (const std::string& title : Titles(before)) {
    expected.push_back(Convert(mode, title));
    changes = changes || expected.back() != title;
  }
  ProcessResult run = sandbox.Zelta(RunArgs(mode, in, out));
  ASSERT_TRUE(run.Exited(changes ? 0 : 3)) << run.Describe();

  auto after = sandbox.Outline(out);
  EXPECT_EQ(Titles(after), expected);
  EXPECT_EQ(MaskTitles(after), MaskTitles(before));

  PdfFacts original = ReadPdfFacts(sandbox, in), written = ReadPdfFacts(sandbox, out);
  EXPECT_TRUE(written.checkPassed) << written.checkOutput;
  EXPECT_EQ(written.pages, original.pages);
  EXPECT_EQ(written.namedDests, original.namedDests);
  EXPECT_EQ(written.pageLabels, original.pageLabels);

  // The same run over its own result has nothing left to do, and still writes.
  std::string again = sandbox.Path("again.pdf");
  ProcessResult repeat = sandbox.Zelta(RunArgs(mode, out, again));
  EXPECT_TRUE(repeat.Exited(3)) << repeat.Describe();
  EXPECT_NE(repeat.err.find(kNoChangesMessage), std::string::npos) << repeat.err;
  EXPECT_EQ(sandbox.Outline(again), after);
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusChangeCase,
                         ::testing::Combine(::testing::ValuesIn(CorpusFiles()),
                                            ::testing::ValuesIn(Modes())),
                         [](const auto& info) {
                           std::string name = std::get<0>(info.param);
                           name =
                               name.substr(0, name.find('.')) + "_" + std::get<1>(info.param).name;
                           for (char& c : name)
                             c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

// 1 alpha one / 1.1 / 2 beta two / 2.1 / 2.1.1 / 2.2 / 3 gamma three / 3.1 / 3.1.1 / 4
PdfSpec NestedBook() {
  PdfSpec layout;
  layout.pages.resize(4);
  OutlineSpec one = Bookmark("alpha one", 0);
  one.children = {Bookmark("alpha child", 0)};
  OutlineSpec two = Bookmark("beta two", 1);
  OutlineSpec twoOne = Bookmark("beta child", 1);
  twoOne.children = {Bookmark("beta grandchild", 1)};
  two.children = {twoOne, Bookmark("beta second child", 2)};
  OutlineSpec three = Bookmark("gamma three", 2);
  OutlineSpec threeOne = Bookmark("gamma child", 2);
  threeOne.children = {Bookmark("gamma grandchild", 3)};
  three.children = {threeOne};
  layout.outline = {one, two, three, Bookmark("delta four", 3)};
  return layout;
}

class SelectedBookmarks : public ::testing::Test {
 protected:
  // Runs UPPERCASE with these flags and selection; returns the pre-order indexes of the
  // titles that changed.
  std::vector<int> ChangedBy(int32_t flags, const std::string& selection, int expectedStatus = 0) {
    std::string in = sandbox_.Write("nested.pdf", zelta::testing::BuildPdf(NestedBook()));
    std::string out = sandbox_.Path("out.pdf");
    std::vector<std::string> args{
        "run", "CBC", in, "-o", out, "--set", "Flags=" + std::to_string(flags)};
    if (!selection.empty()) args.insert(args.end(), {"--select-bookmarks", selection});
    ProcessResult run = sandbox_.Zelta(args);
    EXPECT_TRUE(run.Exited(expectedStatus)) << run.Describe();
    auto before = Titles(sandbox_.Outline(in)), after = Titles(sandbox_.Outline(out));
    std::vector<int> changed;
    if (before.size() != after.size()) {
      ADD_FAILURE() << "the outline lost or gained bookmarks";
      return changed;
    }
    for (size_t i = 0; i < before.size(); ++i) {
      if (before[i] == after[i]) continue;
      EXPECT_EQ(after[i], Convert({"Upper", bm::kUpperCase, {}}, before[i]));
      changed.push_back(static_cast<int>(i));
    }
    return changed;
  }

  CliSandbox sandbox_;
};

constexpr int32_t kSelected = 0x200, kDocument = 0x100, kNoSubLevels = 0x1000;

TEST_F(SelectedBookmarks, WithSubLevels) {
  EXPECT_EQ(ChangedBy(bm::kUpperCase | kSelected, "2,3.1"), (std::vector<int>{2, 3, 4, 5, 7, 8}));
}

TEST_F(SelectedBookmarks, WithoutSubLevels) {
  EXPECT_EQ(ChangedBy(bm::kUpperCase | kSelected | kNoSubLevels, "2,3.1"),
            (std::vector<int>{2, 7}));
  EXPECT_EQ(ChangedBy(bm::kUpperCase | kSelected | kNoSubLevels, "3.1.1,1"),
            (std::vector<int>{0, 8}));
}

TEST_F(SelectedBookmarks, DocumentSourceIgnoresTheSubLevelBit) {
  EXPECT_EQ(ChangedBy(bm::kUpperCase | kDocument | kNoSubLevels, ""),
            (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST_F(SelectedBookmarks, ReportsTheChangedBookmarksAsJson) {
  std::string in = sandbox_.Write("nested.pdf", zelta::testing::BuildPdf(NestedBook()));
  ProcessResult run = sandbox_.Zelta({"run", "CBC", in, "-o", sandbox_.Path("out.pdf"), "--set",
                                      "Flags=0x1201", "--select-bookmarks", "2,3.1", "--json"});
  ASSERT_TRUE(run.Exited(0)) << run.Describe();
  auto json = nlohmann::json::parse(run.out, nullptr, false);
  ASSERT_FALSE(json.is_discarded()) << run.out;
  EXPECT_EQ(json["result"], 0);
  EXPECT_EQ(json["output"], nlohmann::json::parse(R"([{"title":"BETA TWO","position":"2"},
                                                      {"title":"GAMMA CHILD","position":"3.1"}])"));
}

TEST_F(SelectedBookmarks, NothingToChangeInTheSelection) {
  PdfSpec layout = NestedBook();
  layout.outline[1].title = "BETA 2";
  std::string in = sandbox_.Write("upper.pdf", zelta::testing::BuildPdf(layout));
  std::string out = sandbox_.Path("out.pdf");
  ProcessResult run = sandbox_.Zelta(
      {"run", "CBC", in, "-o", out, "--set", "Flags=0x1201", "--select-bookmarks", "2"});
  EXPECT_TRUE(run.Exited(3)) << run.Describe();
  EXPECT_NE(run.err.find(kNoChangesMessage), std::string::npos);
  EXPECT_EQ(sandbox_.Outline(out), sandbox_.Outline(in));
}

// No case mode but the four: every bookmark is a problem, nothing changes, and the run ends
// with the problems warning instead of the no-changes message.
TEST_F(SelectedBookmarks, ACaseModeOutsideTheFourIsAProblem) {
  std::string in = sandbox_.Write("nested.pdf", zelta::testing::BuildPdf(NestedBook()));
  for (const char* flags : {"Flags=3", "Flags=8"}) {
    SCOPED_TRACE(flags);
    std::string out = sandbox_.Path("out.pdf");
    ProcessResult run = sandbox_.Zelta({"run", "CBC", in, "-o", out, "--set", flags, "--json"});
    EXPECT_TRUE(run.Exited(3)) << run.Describe();
    auto json = nlohmann::json::parse(run.out, nullptr, false);
    ASSERT_FALSE(json.is_discarded()) << run.out;
    EXPECT_EQ(json["problems"], true);
    EXPECT_EQ(
        json["message"],
        "There were some problems during the execution of the operation. Please check the result.");
    EXPECT_EQ(run.err.find(kNoChangesMessage), std::string::npos) << run.err;
    EXPECT_EQ(sandbox_.Outline(out), sandbox_.Outline(in));
  }
}

}  // namespace
}  // namespace zelta::cli_testing
