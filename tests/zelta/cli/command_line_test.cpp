// The program around the operations, as a new user meets it: options explained and named,
// warnings for options that cannot act, messages that name cause and fix, the summary line,
// standard output, batches, `zelta check`, and the README's examples run as written.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "tests/fixtures/pdf_builder.h"
#include "tests/zelta/cli/cli_sandbox.h"

namespace zelta::cli_testing {
namespace {

using zelta::testing::Bookmark;
using zelta::testing::BuildPdf;
using zelta::testing::PdfSpec;

std::string SamplePath(const std::string& name) {
  return std::string(ZELTA_SOURCE_DIR) + "/samples/" + name;
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(OptionsExplained, FromTheModulesTemplateAndStrings) {
  CliSandbox sandbox;
  ProcessResult explain = sandbox.Zelta({"options", "CBC", "--explain"});
  ASSERT_TRUE(explain.Exited(0)) << explain.Describe();
  // A type and default from the template, a bit name and its text from the string table.
  for (const char* part : {"Flags  (integer, default 0 (title))", "upper", "0x200", "UPPERCASE",
                           "ExcludedWords  (list of text", "--set Flags="})
    EXPECT_TRUE(Has(explain.out, part)) << part << "\n" << explain.out;
  // Nested fields of list elements, with the bit a field needs.
  ProcessResult agb = sandbox.Zelta({"options", "AGB", "--explain"});
  EXPECT_TRUE(Has(agb.out, "Levels[N].LevelDescription.TextPattern")) << agb.out;
  EXPECT_TRUE(Has(agb.out, "takes effect only with Flags bit pattern")) << agb.out;

  ProcessResult pretty = sandbox.Zelta({"options", "CBC", "--defaults"});
  EXPECT_EQ(pretty.out, "{\n  \"Flags\": 0,\n  \"ExcludedWords\": []\n}\n");
}

// Names in --set and in an options file give the same values as the numbers; wrong names and
// unknown options list what is valid.
TEST(OptionsByName, SetAndFileAcceptTheTemplatesNames) {
  CliSandbox sandbox;
  const std::string in = sandbox.Write("in.pdf", ThreeBookmarks());
  ProcessResult upper =
      sandbox.Zelta({"run", "CBC", in, "-o", sandbox.Path("u.pdf"), "--set", "Flags=upper"});
  ASSERT_TRUE(upper.Exited(0)) << upper.Describe();
  EXPECT_EQ(sandbox.Zelta({"outline", sandbox.Path("u.pdf")}).out,
            "ONE  [p. 1]\nTWO  [p. 2]\nTHREE  [p. 3]\n");
  // A successful run is what --last and `zelta options` give next.
  EXPECT_EQ(sandbox.Zelta({"options", "CBC", "--compact"}).out,
            "{\"Flags\":1,\"ExcludedWords\":[]}\n");

  sandbox.Write("agb.json", R"({"Flags": "stopWords+ignoreDuplicates"})");
  ProcessResult agb = sandbox.Zelta({"run", "AGB", in, "-o", sandbox.Path("a.pdf"), "--options",
                                     sandbox.Path("agb.json"), "--quiet"});
  EXPECT_TRUE(agb.Exited(3)) << agb.Describe();
  EXPECT_EQ(nlohmann::json::parse(sandbox.Zelta({"options", "AGB", "--compact"}).out)["Flags"], 3);

  struct Case {
    std::vector<std::string> args;
    std::string says;
  };
  const std::vector<Case> refused{
      {{"--set", "Flags=uper"}, "the names are title, upper, lower"},
      {{"--set", "Bogus=1"}, "the options here are Flags, ExcludedWords"},
      {{"--set", "Flags=upper+"}, "'' is not a name"},
  };
  for (const Case& c : refused) {
    std::vector<std::string> args{"run", "CBC", in, "-o", sandbox.Path("x.pdf")};
    args.insert(args.end(), c.args.begin(), c.args.end());
    ProcessResult run = sandbox.Zelta(args);
    EXPECT_TRUE(run.Exited(2)) << c.args.back() << ": " << run.Describe();
    EXPECT_TRUE(Has(run.err, c.says)) << run.err;
  }
}

// Options that cannot take effect are named on stderr with the bit to set; the run goes on.
TEST(IneffectiveOptions, AreWarnedAbout) {
  CliSandbox sandbox;
  const std::string in = sandbox.Write("in.pdf", ThreeBookmarks());
  struct Case {
    std::vector<std::string> args;
    std::string warning;
    int status;  // 0 when the run changes something, 3 when it changes nothing
  };
  const std::vector<Case> cases{
      {{"AGB", "--set", R"(Levels=[{"Index":1,"Flags":1,"LevelDescription":{"TextPattern":"x"}}])"},
       "Levels[0].LevelDescription.TextPattern is set but takes effect only with bit pattern (8) "
       "of Levels[0].Flags: set Levels[0].Flags=size+pattern",
       3},
      {{"AGB", "--set", R"(Levels=[{"Index":0,"Flags":1}])"},
       "Levels[0]: Index 0 can never create a bookmark",
       3},
      {{"CBC", "--set", "Flags=upper", "--select-text", "1"},
       "--select-text had no effect: CBC reads no text selection",
       0},
      {{"VB", "--set", "Flags=0"}, "Flags=0 selects nothing", 3},
      {{"CBC", "--set", "ExcludedWords=[\"of\"]"}, "bit excludedWords (0x10) of Flags", 0},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"run", c.args[0], in, "-o", sandbox.Path("out.pdf")};
    args.insert(args.end(), c.args.begin() + 1, c.args.end());
    ProcessResult run = sandbox.Zelta(args);
    EXPECT_TRUE(run.Exited(c.status)) << c.warning << ": " << run.Describe();
    EXPECT_TRUE(Has(run.err, c.warning)) << run.err;
  }
  ProcessResult sound =
      sandbox.Zelta({"run", "CBC", in, "-o", sandbox.Path("out.pdf"), "--set", "Flags=upper"});
  EXPECT_FALSE(Has(sound.err, "warning")) << sound.err;
}

// Failures a user causes name the cause and the fix, never a bare system text.
TEST(Messages, NameTheCauseAndTheFix) {
  CliSandbox sandbox;
  const std::string in = sandbox.Write("in.pdf", ThreeBookmarks());
  ProcessResult selected =
      sandbox.Zelta({"run", "CBC", in, "-o", sandbox.Path("out.pdf"), "--set", "Flags=0x204"});
  EXPECT_TRUE(selected.Exited(1)) << selected.Describe();
  EXPECT_TRUE(Has(selected.err, "give them with --select-bookmarks")) << selected.err;
  EXPECT_FALSE(Has(selected.err, "The parameter is incorrect")) << selected.err;
  EXPECT_FALSE(std::filesystem::exists(sandbox.Path("out.pdf")));

  ProcessResult one = sandbox.Zelta({"result", "1"});
  EXPECT_FALSE(Has(one.out, "Incorrect function")) << one.out;
  EXPECT_TRUE(Has(one.out, "exit status 3")) << one.out;

  ProcessResult typo = sandbox.Zelta({"sugest", in});
  EXPECT_TRUE(typo.Exited(2)) << typo.Describe();
  EXPECT_TRUE(Has(typo.err, "did you mean \"suggest\"")) << typo.err;
  EXPECT_TRUE(Has(sandbox.Zelta({"--version"}).out, "zelta "));
  ProcessResult help = sandbox.Zelta({"help", "style"});
  EXPECT_TRUE(help.Exited(0)) << help.Describe();
  EXPECT_TRUE(Has(help.out, "bottom left")) << help.out;
}

TEST(RunResults, SummaryJsonExitAndStandardOutput) {
  CliSandbox sandbox;
  const std::string in = sandbox.Write("in.pdf", ThreeBookmarks());
  ProcessResult run =
      sandbox.Zelta({"run", "CBC", in, "-o", sandbox.Path("u.pdf"), "--set", "Flags=upper"});
  EXPECT_EQ(run.err, "zelta: CBC: 3 bookmarks renamed; wrote " + sandbox.Path("u.pdf") + "\n");
  ProcessResult sorted = sandbox.Zelta(
      {"run", "SB", in, "-o", sandbox.Path("s.pdf"), "--set", "Flags=alphabetical", "--json"});
  auto json = nlohmann::json::parse(sorted.out, nullptr, false);
  EXPECT_EQ(json["changes"]["moved"], 2) << sorted.out;  // three, two after one

  ProcessResult same = sandbox.Zelta(
      {"run", "CBC", sandbox.Path("u.pdf"), "-o", sandbox.Path("t.pdf"), "--json", "--last"});
  EXPECT_TRUE(same.Exited(3)) << same.Describe();
  json = nlohmann::json::parse(same.out, nullptr, false);
  EXPECT_EQ(json["result"], 1);
  EXPECT_EQ(json["exit"], 3);

  ProcessResult piped = sandbox.Zelta({"run", "CBC", in, "-o", "-", "--set", "Flags=upper"});
  ASSERT_TRUE(piped.Exited(0)) << piped.Describe();
  EXPECT_TRUE(piped.out.starts_with("%PDF-")) << piped.out.substr(0, 20);
  sandbox.Write("piped.pdf", piped.out);
  EXPECT_EQ(sandbox.Zelta({"outline", sandbox.Path("piped.pdf")}).out,
            sandbox.Zelta({"outline", sandbox.Path("u.pdf")}).out);

  // --in-place replaces the input (refusing -o over the input is tested in data_safety_test).
  const std::string copy = sandbox.Write("copy.pdf", ThreeBookmarks());
  EXPECT_TRUE(sandbox.Zelta({"run", "CBC", copy, "--in-place", "--set", "Flags=upper", "--quiet"})
                  .Exited(0));
  EXPECT_EQ(sandbox.Zelta({"outline", copy}).out,
            sandbox.Zelta({"outline", sandbox.Path("u.pdf")}).out);
}

TEST(Style, PrintsALevelThatWorksAsItIs) {
  CliSandbox sandbox;
  const std::string book = sandbox.Copy(SamplePath("headings.pdf"), "book.pdf");
  ProcessResult style = sandbox.Zelta({"style", book, "--find", "installing"});
  ASSERT_TRUE(style.Exited(0)) << style.Describe();
  auto level = nlohmann::json::parse(style.out, nullptr, false);
  EXPECT_EQ(level["Index"], 1) << style.out;
  EXPECT_TRUE(Has(style.err, "found at 2:")) << style.err;
  ProcessResult run = sandbox.Zelta({"run", "AGB", book, "-o", sandbox.Path("out.pdf"), "--set",
                                     "Levels=[" + style.out + "]", "--quiet"});
  EXPECT_TRUE(run.Exited(0)) << run.Describe();
  EXPECT_FALSE(sandbox.Outline(sandbox.Path("out.pdf"))["bookmarks"].empty());

  ProcessResult second = sandbox.Zelta({"style", book, "--find", "installing", "--index", "2"});
  EXPECT_EQ(nlohmann::json::parse(second.out, nullptr, false)["Index"], 2) << second.out;
  EXPECT_TRUE(sandbox.Zelta({"style", book, "--find", "no such words here"}).Exited(1));

  ProcessResult fonts = sandbox.Zelta({"fonts", book});
  EXPECT_TRUE(fonts.out.starts_with("    chars    size  colour")) << fonts.out;
}

// Generation replaces the old tree with --replace-outline, in one undo step with the run.
TEST(ReplaceOutline, TakesTheOldTreeOut) {
  CliSandbox sandbox;
  const std::string in = sandbox.Write("in.pdf", ThreeBookmarks());
  const std::string every = "Step=2";
  ProcessResult appended =
      sandbox.Zelta({"run", "BENP", in, "-o", sandbox.Path("a.pdf"), "--set", every, "--quiet"});
  ASSERT_TRUE(appended.Exited(0)) << appended.Describe();
  EXPECT_EQ(sandbox.Outline(sandbox.Path("a.pdf"))["bookmarks"].size(), 5u);
  ProcessResult replaced = sandbox.Zelta({"run", "BENP", in, "-o", sandbox.Path("r.pdf"), "--set",
                                          every, "--replace-outline", "--json"});
  ASSERT_TRUE(replaced.Exited(0)) << replaced.Describe();
  EXPECT_EQ(sandbox.Zelta({"outline", sandbox.Path("r.pdf")}).out,
            "Page 1  [p. 1]\nPage 3  [p. 3]\n");
  auto json = nlohmann::json::parse(replaced.out, nullptr, false);
  EXPECT_EQ(json["changes"]["removed"], 3);
  EXPECT_EQ(json["changes"]["made"], 2);
}

// A batch goes on past a bad file and reports one JSON line a file.
TEST(Batch, RunsEveryFileAndReportsEach) {
  CliSandbox sandbox;
  std::filesystem::create_directories(sandbox.Path("out"));
  const std::string a = sandbox.Write("a.pdf", ThreeBookmarks());
  const std::string bad = sandbox.Write("bad.pdf", "not a pdf");
  const std::string b = sandbox.Write("b.pdf", ThreeBookmarks());
  // --set before the files takes one value, so the files stay files.
  ProcessResult run = sandbox.Zelta({"run", "CBC", "--set", "Flags=upper", a, bad, b,
                                     "--output-dir", sandbox.Path("out"), "-j", "2", "--json"});
  EXPECT_TRUE(run.Exited(1)) << run.Describe();
  std::map<std::string, int> exits;
  std::istringstream lines(run.out);
  for (std::string line; std::getline(lines, line);) {
    auto json = nlohmann::json::parse(line, nullptr, false);
    ASSERT_TRUE(json.is_object()) << line;
    exits[std::filesystem::path(json["file"].get<std::string>()).filename()] = json["exit"];
  }
  EXPECT_EQ(exits, (std::map<std::string, int>{{"a.pdf", 0}, {"b.pdf", 0}, {"bad.pdf", 2}}));
  EXPECT_EQ(sandbox.Zelta({"outline", sandbox.Path("out/b.pdf")}).out,
            "ONE  [p. 1]\nTWO  [p. 2]\nTHREE  [p. 3]\n");
  EXPECT_FALSE(std::filesystem::exists(sandbox.Path("out/bad.pdf")));
  EXPECT_TRUE(sandbox.Zelta({"run", "CBC", a, b}).Exited(2));  // several files need a folder
}

// Every line of the README's ```sh blocks runs as written, in order, in a folder that holds
// the documents they name.
TEST(Readme, ExamplesRunAsWritten) {
  CliSandbox sandbox;
  sandbox.Copy(SamplePath("manual.pdf"), "manual.pdf");
  sandbox.Copy(SamplePath("headings.pdf"), "book.pdf");
  PdfSpec bare;
  bare.pages.resize(11);  // as many as manual.pdf, whose outline goes into it
  sandbox.Write("bare.pdf", BuildPdf(bare));
  std::ifstream readme(std::string(ZELTA_SOURCE_DIR) + "/README.md");
  std::string line;
  bool inExample = false;
  int examples = 0;
  while (std::getline(readme, line)) {
    if (line.starts_with("```")) {
      inExample = line == "```sh";
      continue;
    }
    if (!inExample || line.empty() || line.starts_with("#")) continue;
    ++examples;
    const std::string command =
        "cd '" + sandbox.Dir() + "' && PATH='" + ZELTA_BINARY_DIR + "':\"$PATH\" && " + line;
    ProcessResult run = sandbox.Tool("sh", {"-c", command});
    EXPECT_TRUE(run.Exited(0) || run.Exited(3)) << line << "\n" << run.Describe();
  }
  EXPECT_GE(examples, 15);
}

// `make install` puts the program, its module, the man page built from the help texts and the
// completion under a prefix, and the installed program finds its module there.
TEST(Install, TheInstalledProgramFindsItsModule) {
  CliSandbox sandbox;
  const std::string build = ZELTA_BINARY_DIR, prefix = sandbox.Path("inst");
  ProcessResult man = sandbox.Tool("bash", {ZELTA_SOURCE_DIR "/scripts/man-page", build});
  ASSERT_TRUE(man.Exited(0)) << man.Describe();
  std::ifstream page(build + "/zelta.1");
  std::stringstream text;
  text << page.rdbuf();
  EXPECT_TRUE(Has(text.str(), ".SS zelta run")) << "no section per command";
  // The man page was just made: only the copying is left to make.
  ProcessResult install = sandbox.Tool("make", {"-s", "-C", ZELTA_SOURCE_DIR, "-o", "man",
                                                "install", "BUILD=" + build, "PREFIX=" + prefix});
  ASSERT_TRUE(install.Exited(0)) << install.Describe();
  for (const char* file : {"/share/man/man1/zelta.1", "/share/bash-completion/completions/zelta",
                           "/lib/zelta/libbookmarks.so"})
    EXPECT_TRUE(std::ifstream(prefix + file).good()) << file;
  ProcessResult list = sandbox.Tool("env", {prefix + "/bin/zelta", "options", "--list"});
  EXPECT_TRUE(list.Exited(0)) << list.Describe();
  EXPECT_TRUE(Has(list.out, "CBC")) << list.out;
}

}  // namespace
}  // namespace zelta::cli_testing
