// Nothing is lost: the input is never modified, failed saves leave nothing behind and say
// why, and a run that changes nothing writes a file equal in meaning to its input.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/locale_text.h"
#include "tests/fixtures/pdf_builder.h"
#include "tests/fixtures/text_pdf_builder.h"
#include "tests/zelta/cli/cli_sandbox.h"
#include "tests/zelta/cli/outline_lines.h"
#include "tests/zelta/cli/pdf_facts.h"
#include "tools/title/change_case.h"

namespace zelta::cli_testing {
namespace {

using zelta::testing::Bookmark;
using zelta::testing::OutlineSpec;
using zelta::testing::PdfSpec;

struct FileStamp {
  std::string bytes;
  timespec mtime{};

  static FileStamp Of(const std::string& path) {
    FileStamp stamp;
    stamp.bytes = zelta::testing::ReadFile(path);
    struct stat info {};
    stat(path.c_str(), &info);
    stamp.mtime = info.st_mtim;
    return stamp;
  }
  bool operator==(const FileStamp& other) const {
    return bytes == other.bytes && mtime.tv_sec == other.mtime.tv_sec &&
           mtime.tv_nsec == other.mtime.tv_nsec;
  }
};

// Named destinations in both stores, page labels, and titles already in Title Case.
PdfSpec RichBook() {
  PdfSpec layout;
  layout.pages.resize(5);
  OutlineSpec intro = Bookmark("Introduction", 0);
  intro.children = {Bookmark("Scope", 1), Bookmark("1.2.3", 1)};
  OutlineSpec named = Bookmark("Named Target");
  named.namedDest = "chap2";
  named.style = 2;
  named.color = 0x0000FF;
  named.open = false;
  named.children = {Bookmark("Hidden Detail", 3)};
  layout.outline = {intro, named, Bookmark("Index", 4)};
  layout.namedDests = {{"chap2", 2}, {"index", 4}, {"scope", 1}};
  layout.splitNames = true;
  layout.legacyDests = {{"old", 3}};
  layout.labels = {{0, 'r', "", 1}, {2, 'D', "A-", 1}};
  return layout;
}

TEST(InputFile, IsNeverModified) {
  CliSandbox sandbox;
  std::string in = sandbox.Write("in.pdf", zelta::testing::BuildPdf(RichBook()));
  FileStamp before = FileStamp::Of(in);
  ASSERT_TRUE(sandbox.Zelta({"run", "CBC", in, "-o", sandbox.Path("out.pdf"), "--set", "Flags=1"})
                  .Exited(0));
  ASSERT_TRUE(sandbox.Zelta({"run", "CBC", in, "-o", sandbox.Path("same.pdf")}).Exited(3));
  ASSERT_TRUE(sandbox.Zelta({"run", "CBC", in, "-o", "/dev/full", "--set", "Flags=1"}).Exited(1));
  ASSERT_TRUE(sandbox.Zelta({"outline", in, "--json"}).Exited(0));
  EXPECT_TRUE(FileStamp::Of(in) == before);
}

// Naming the input as the output, by any path to the same file, is refused and leaves the
// input as it was; asked for explicitly, the input is replaced by a complete result.
TEST(InputFile, OutputOverTheInput) {
  CliSandbox sandbox;
  std::string in = sandbox.Write("in.pdf", zelta::testing::BuildPdf(RichBook()));
  std::filesystem::create_symlink("in.pdf", sandbox.Path("link.pdf"));
  FileStamp before = FileStamp::Of(in);
  auto files = sandbox.Files();
  for (const std::string& out : {in, sandbox.Dir() + "/./in.pdf", sandbox.Path("link.pdf")}) {
    SCOPED_TRACE(out);
    ProcessResult run = sandbox.Zelta({"run", "CBC", in, "-o", out, "--set", "Flags=1"});
    EXPECT_TRUE(run.Exited(2)) << run.Describe();
    EXPECT_NE(run.err.find("--in-place"), std::string::npos) << run.err;
    EXPECT_TRUE(FileStamp::Of(in) == before);
  }
  ProcessResult run =
      sandbox.Zelta({"run", "CBC", in, "-o", in, "--set", "Flags=1", "--overwrite-input"});
  ASSERT_TRUE(run.Exited(0)) << run.Describe();
  EXPECT_EQ(sandbox.Files(), files);
  PdfFacts facts = ReadPdfFacts(sandbox, in);
  EXPECT_TRUE(facts.checkPassed) << facts.checkOutput;
  EXPECT_EQ(Titles(sandbox.Outline(in)),
            (std::vector<std::string>{"INTRODUCTION", "SCOPE", "1.2.3", "NAMED TARGET",
                                      "HIDDEN DETAIL", "INDEX"}));
}

// A save killed on the way leaves its temporary file; the next save into that folder removes
// it, but never the temporary file of a writer that still runs.
TEST(FailedSave, KilledSavesLeaveNothingForLong) {
  CliSandbox sandbox;
  std::string in = sandbox.Write("in.pdf", zelta::testing::BuildPdf(RichBook()));
  const pid_t dead = fork();
  if (dead == 0) _exit(0);
  ASSERT_GT(dead, 0);
  waitpid(dead, nullptr, 0);
  const std::string stale = ".out.pdf.zelta-" + std::to_string(dead) + ".a1b2c3";
  const std::string live = ".out.pdf.zelta-" + std::to_string(getpid()) + ".a1b2c3";
  sandbox.Write(stale, "half a PDF");
  sandbox.Write(live, "being written");
  sandbox.Write(".notes.txt", "someone else's");
  ASSERT_TRUE(sandbox.Zelta({"run", "CBC", in, "-o", sandbox.Path("out.pdf"), "--set", "Flags=1"})
                  .Exited(0));
  EXPECT_FALSE(std::filesystem::exists(sandbox.Path(stale)));
  EXPECT_TRUE(std::filesystem::exists(sandbox.Path(live)));
  EXPECT_TRUE(std::filesystem::exists(sandbox.Path(".notes.txt")));
}

// A save that cannot happen ends with status 1 (or 2 for an output that is a folder), a
// message naming the target, and nothing written beside it. The save's own failure paths
// are tested in tests/zelta/pdf.
TEST(FailedSave, SaysWhyAndLeavesNothing) {
  const struct {
    const char* name;
    const char* output;  // relative to the sandbox unless absolute
    const char* folder;  // made first when not null
    bool lock;           // the folder is made immutable (chattr +i refuses even root)
    const char* named;
  } cases[] = {
      {"device", "/dev/full", nullptr, false, "/dev/full"},
      {"existing folder", "taken.pdf", "taken.pdf", false, "taken.pdf"},
      {"read-only folder", "locked/out.pdf", "locked", true, "locked"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CliSandbox sandbox;
    std::string in = sandbox.Write("in.pdf", zelta::testing::BuildPdf(RichBook()));
    if (c.folder) std::filesystem::create_directory(sandbox.Path(c.folder));
    if (c.lock && !sandbox.Tool("chattr", {"+i", sandbox.Path(c.folder)}).Exited(0)) {
      std::cout << "chattr +i is not available here; the read-only case is skipped\n";
      continue;
    }
    const auto files = sandbox.Files();
    const std::string output = c.output[0] == '/' ? c.output : sandbox.Path(c.output);
    ProcessResult run = sandbox.Zelta({"run", "CBC", in, "-o", output, "--set", "Flags=1"});
    const bool folderEmpty = !c.lock || std::filesystem::is_empty(sandbox.Path(c.folder));
    if (c.lock) sandbox.Tool("chattr", {"-i", sandbox.Path(c.folder)});
    EXPECT_TRUE(run.Exited(1) || (c.folder && !c.lock && run.Exited(2))) << run.Describe();
    EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
    EXPECT_EQ(sandbox.Files(), files);
    EXPECT_TRUE(folderEmpty);
  }
  struct stat info {};
  ASSERT_EQ(stat("/dev/full", &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));  // still the device, not replaced by a file
  for (const auto& entry : std::filesystem::directory_iterator("/dev")) {
    EXPECT_FALSE(entry.path().filename().string().starts_with(".full.")) << entry.path();
  }
}

// What a save without changes must keep: outline, named destinations, pages, page labels.
void ExpectSameMeaning(const CliSandbox& sandbox, const std::string& in, const std::string& out) {
  EXPECT_EQ(sandbox.Outline(out), sandbox.Outline(in));
  PdfFacts original = ReadPdfFacts(sandbox, in), written = ReadPdfFacts(sandbox, out);
  EXPECT_TRUE(written.checkPassed) << written.checkOutput;
  EXPECT_EQ(written.pages, original.pages);
  EXPECT_EQ(written.namedDests, original.namedDests);
  EXPECT_EQ(written.pageLabels, original.pageLabels);
}

TEST(NoChangeRun, KeepsEverything) {
  CliSandbox sandbox;
  std::string in = sandbox.Write("in.pdf", zelta::testing::BuildPdf(RichBook()));
  std::string out = sandbox.Path("out.pdf");
  ProcessResult run = sandbox.Zelta({"run", "CBC", in, "-o", out, "--set", "Flags=0"});
  ASSERT_TRUE(run.Exited(3)) << run.Describe();
  ExpectSameMeaning(sandbox, in, out);
  PdfFacts facts = ReadPdfFacts(sandbox, out);
  EXPECT_EQ(facts.namedDests, 4);
  EXPECT_EQ(facts.pageLabels.size(), 2u);
}

// On the corpus: select one top-level bookmark that Title Case leaves as it is.
TEST(NoChangeRun, KeepsEverythingOnTheCorpus) {
  for (const std::string& file : CorpusFiles()) {
    SCOPED_TRACE(file);
    CliSandbox sandbox;
    std::string in = sandbox.Copy(CorpusPath(file), "in.pdf");
    auto outline = sandbox.Outline(in);
    bm::ChangeCaseEngine engine({}, bm::kTitleCase);
    std::string position;
    for (size_t i = 0; i < outline["bookmarks"].size() && position.empty(); ++i) {
      std::string title = outline["bookmarks"][i]["title"];
      std::u16string text = bm::platform::Utf8ToUtf16(title);
      std::u16string original = text;
      if (engine.Apply(text) == zelta::S_OK && text == original) position = std::to_string(i + 1);
    }
    ASSERT_FALSE(position.empty()) << "no top-level title is in Title Case already";
    std::string out = sandbox.Path("out.pdf");
    ProcessResult run = sandbox.Zelta(
        {"run", "CBC", in, "-o", out, "--set", "Flags=0x1200", "--select-bookmarks", position});
    ASSERT_TRUE(run.Exited(3)) << run.Describe();
    ExpectSameMeaning(sandbox, in, out);
  }
}

// Ctrl-C during a long generation run: the run stops, says so, and writes nothing.
TEST(Interrupt, GenerationStopsAndWritesNothing) {
  using namespace zelta::testing;
  CliSandbox sandbox;
  TextPdfSpec layout;
  for (int p = 0; p < 3000; ++p) {
    TextPageSpec page;
    for (int l = 0; l < 30; ++l)
      page.lines.push_back({72, 740.0 - 20 * l, {{"Line " + std::to_string(l), kRegular, 10}}});
    layout.pages.push_back(page);
  }
  const std::string bytes = BuildTextPdf(layout);
  const std::string in = sandbox.Write("long.pdf", bytes);
  const std::vector<std::string> files = sandbox.Files();
  // A level without criteria: every page is read and gives a bookmark.
  ProcessResult run = sandbox.Zelta(
      {"run", "AGB", in, "-o", sandbox.Path("out.pdf"), "--set", R"(Levels=[{"Index":1}])"},
      kRunTimeout, std::chrono::milliseconds(400));
  if (run.Exited(0)) GTEST_SKIP() << "the run ended before the interrupt";
  // Ctrl-C before the run began ends the program the usual way; either way nothing is written.
  if (run.signal != SIGINT) {
    EXPECT_TRUE(run.Exited(1)) << run.Describe();
    EXPECT_NE(run.err.find("Operation was canceled by user."), std::string::npos) << run.err;
  }
  EXPECT_EQ(sandbox.Files(), files);
  EXPECT_EQ(ReadFile(in), bytes);
}

}  // namespace
}  // namespace zelta::cli_testing
