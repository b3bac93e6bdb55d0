// Convert To Named Destinations (BND) through the zelta program on the corpus: every
// converted bookmark goes to a new, unique name that leads where the bookmark led before (as
// mutool reads it), names already in the file keep their targets, and a repeat has nothing
// left to convert. Name clashes, chains and sources are tested in tests/tools/title.
#include <gtest/gtest.h>

#include <set>

#include "tests/zelta/cli/cli_sandbox.h"
#include "tests/zelta/cli/outline_lines.h"
#include "tests/zelta/cli/pdf_facts.h"

namespace zelta::cli_testing {
namespace {

// The destination name of the bookmark's last GoTo action; null when it has none or the
// destination is explicit.
nlohmann::json GoToName(const nlohmann::json& node) {
  const auto& actions = node["actions"];
  for (auto it = actions.rbegin(); it != actions.rend(); ++it) {
    if ((*it)["type"] == "GoTo") return it->value("name", nlohmann::json());
  }
  return nullptr;
}

std::string MutoolText(const CliSandbox& sandbox, const std::string& pdf) {
  ProcessResult run = sandbox.Tool("mutool", {"show", pdf, "outline"});
  EXPECT_TRUE(run.Exited(0)) << run.Describe();
  return run.out;
}

// Rewrites the file's outline with explicit destinations (the same pages and places).
constexpr const char* kExplicitCopyScript = R"(import sys, fitz
doc = fitz.open(sys.argv[1])
doc.set_toc(doc.get_toc(False))
doc.save(sys.argv[2])
)";

class CorpusNamedDests : public ::testing::TestWithParam<std::string> {};

TEST_P(CorpusNamedDests, ExplicitDestinationsBecomeUniqueNames) {
  CliSandbox sandbox;
  std::string in = sandbox.Path("explicit.pdf"), out = sandbox.Path("out.pdf");
  ProcessResult copy =
      sandbox.Tool("python3", {"-c", kExplicitCopyScript, CorpusPath(GetParam()), in});
  if (copy.err.find("No module named") != std::string::npos)
    GTEST_SKIP() << "python3-fitz is missing";
  ASSERT_TRUE(copy.Exited(0)) << copy.Describe();
  const nlohmann::json inOutline = sandbox.Outline(in);
  const auto before = PreOrder(inOutline);
  ASSERT_FALSE(before.empty());
  for (const auto& [node, depth] : before)
    ASSERT_TRUE(GoToName(*node).is_null()) << (*node)["title"] << " already uses a name";

  ProcessResult run = sandbox.Zelta({"run", "BND", in, "-o", out, "--quiet"});
  ASSERT_TRUE(run.Exited(0)) << run.Describe();

  // Default mask %[Title]: the title itself, or the title with a "_N" suffix when the
  // file already has that name (the corpus keeps its own section names).
  const nlohmann::json outOutline = sandbox.Outline(out);
  const auto after = PreOrder(outOutline);
  ASSERT_EQ(after.size(), before.size());
  std::set<std::string> names;
  for (const auto& [node, depth] : after) {
    nlohmann::json name = GoToName(*node);
    ASSERT_TRUE(name.is_string()) << (*node)["title"] << " was not converted";
    const std::string text = name.get<std::string>(), title = (*node)["title"].get<std::string>();
    EXPECT_TRUE(names.insert(text).second) << "name used twice: " << text;
    const bool suffixed =
        text.size() > title.size() + 1 && text.starts_with(title + "_") &&
        text.find_first_not_of("0123456789", title.size() + 1) == std::string::npos;
    EXPECT_TRUE(text == title || suffixed) << text << " for " << title;
  }

  // mutool resolves every name to the page and place the explicit destination had.
  EXPECT_EQ(MutoolText(sandbox, out), MutoolText(sandbox, in));

  // Every conversion added a name and none replaced one of the file's own.
  PdfFacts original = ReadPdfFacts(sandbox, in), written = ReadPdfFacts(sandbox, out);
  EXPECT_TRUE(written.checkPassed) << written.checkOutput;
  EXPECT_EQ(written.pages, original.pages);
  EXPECT_EQ(written.namedDests, original.namedDests + static_cast<int>(after.size()));

  ProcessResult repeat = sandbox.Zelta({"run", "BND", out, "-o", sandbox.Path("again.pdf")});
  EXPECT_TRUE(repeat.Exited(3)) << repeat.Describe();
  EXPECT_NE(repeat.err.find(kNoChangesMessage), std::string::npos) << repeat.err;
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusNamedDests, ::testing::ValuesIn(CorpusFiles()),
                         [](const auto& info) { return CorpusTestName(info.param); });

}  // namespace
}  // namespace zelta::cli_testing
