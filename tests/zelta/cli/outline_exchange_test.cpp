// The outline out and back in through the zelta program: the text format, JSON and pdftk
// data each give back the tree they were written from (compared as `zelta outline --json`,
// and as mutool reads it), the text export refuses what it cannot carry, pdftk reads our
// records and we read its, and a bad outline file writes nothing.
#include <gtest/gtest.h>

#include "tests/fixtures/golden.h"
#include "tests/zelta/cli/cli_sandbox.h"

namespace zelta::cli_testing {
namespace {

// A tree with every action kind the host makes, colours, every style, open and closed
// parents, and exact destinations of several fit types, written in the text format.
constexpr const char* kEveryKind =
    "\xEF\xBB\xBF"
    "Chapter \xC3\xA9t\xC3\xA9|bold|#FF0000|goto:{XYZ,0,0,72,720.5,1.25}\n"
    "\tSection \xF0\x9F\x98\x80|italic|closed|goto:{FitR,1,0,10,20,300,400}|js:{app.alert(1)}\n"
    "\t\tLeaf|bolditalic|#0000FF|goto:{FitH,2,0,500}|uri:{https://bold.example/a?b=c}\n"
    "\tRemote|gotor:{other file.pdf,FitBV,4,0,33}|gotor:{other.pdf,@intro}\n"
    "Named|goto:{@chapter2}|launch:{notes.txt}|goto:{Fit,2,15}\n"
    "\tPlain; with semicolon|goto:{FitB,1,15}\n";

class OutlineExchange : public ::testing::Test {
 protected:
  // Builds the tree above into a copy of a corpus document without bookmarks.
  std::string Built() {
    const std::string bare = Bare(CorpusFiles().front());
    const std::string tree = sandbox_.Write("every.txt", kEveryKind);
    const std::string out = sandbox_.Path("every.pdf");
    ProcessResult run = sandbox_.Zelta({"import", bare, tree, "-o", out, "--separator", "|"});
    EXPECT_TRUE(run.Exited(0)) << run.Describe();
    return out;
  }

  // A copy of a corpus document with its bookmarks removed (through zelta itself).
  std::string Bare(const std::string& corpusFile) {
    const std::string empty = sandbox_.Write("empty.json", "[]");
    const std::string out = sandbox_.Path("bare-" + corpusFile);
    ProcessResult run =
        sandbox_.Zelta({"import", CorpusPath(corpusFile), empty, "--replace", "-o", out});
    EXPECT_TRUE(run.Exited(0)) << run.Describe();
    return out;
  }

  // Exports pdf with `flags`, imports the result into a bare copy of base and compares.
  void ExpectRoundTrip(const std::string& pdf, const std::string& base,
                       const std::vector<std::string>& exportFlags,
                       const std::vector<std::string>& importFlags = {}) {
    std::vector<std::string> args{"outline", pdf};
    args.insert(args.end(), exportFlags.begin(), exportFlags.end());
    ProcessResult exported = sandbox_.Zelta(args);
    ASSERT_TRUE(exported.Exited(0)) << exported.Describe();
    const std::string file = sandbox_.Write("exported", exported.out);
    const std::string back = sandbox_.Path("back.pdf");
    std::vector<std::string> import{"import", Bare(base), file, "-o", back};
    import.insert(import.end(), importFlags.begin(), importFlags.end());
    ProcessResult imported = sandbox_.Zelta(import);
    ASSERT_TRUE(imported.Exited(0)) << imported.Describe();
    EXPECT_EQ(sandbox_.Outline(back), sandbox_.Outline(pdf));
    EXPECT_EQ(sandbox_.MutoolOutline(back), sandbox_.MutoolOutline(pdf));
  }

  CliSandbox sandbox_;
};

TEST_F(OutlineExchange, EveryKindComesBackFromTextAndJson) {
  const std::string built = Built();
  const nlohmann::json outline = sandbox_.Outline(built);
  ASSERT_EQ(outline["bookmarks"].size(), 2u);
  zelta::testing::ExpectGoldenText(
      "outline_every_kind.txt",
      sandbox_.Zelta({"outline", built, "--text", "--separator", "|"}).out);
  const std::string base = CorpusFiles().front();
  ExpectRoundTrip(built, base, {"--text", "--separator", "|"}, {"--separator", "|"});
  ExpectRoundTrip(built, base, {"--json"});
}

TEST_F(OutlineExchange, CorpusComesBackFromEveryFormat) {
  for (const std::string& file : CorpusFiles()) {
    SCOPED_TRACE(file);
    const std::string pdf = CorpusPath(file);
    ExpectRoundTrip(pdf, file, {"--text", "--separator", "|"}, {"--separator", "|"});
    ExpectRoundTrip(pdf, file, {"--json"});
  }
}

// Line tools anchor on "^" and "$": by default no mark before the first title and no CR
// before a line end; --bom and --crlf give both, and the import reads every form back.
TEST_F(OutlineExchange, TextExportIsPlainLinesUnlessAskedAndEveryFormImports) {
  const std::string built = Built();
  const std::string plain = sandbox_.Zelta({"outline", built, "--text", "--separator", "|"}).out;
  EXPECT_TRUE(plain.starts_with("Chapter ")) << plain;
  EXPECT_EQ(plain.find('\r'), std::string::npos);
  ProcessResult marked =
      sandbox_.Zelta({"outline", built, "--text", "--separator", "|", "--crlf", "--bom"});
  ASSERT_TRUE(marked.Exited(0)) << marked.Describe();
  EXPECT_TRUE(
      marked.out.starts_with("\xEF\xBB\xBF"
                             "Chapter "))
      << marked.out;
  std::string unmarked = marked.out.substr(3);
  for (size_t at; (at = unmarked.find("\r\n")) != std::string::npos;) unmarked.erase(at, 1);
  EXPECT_EQ(unmarked, plain);
  ExpectRoundTrip(built, CorpusFiles().front(), {"--text", "--separator", "|", "--crlf", "--bom"},
                  {"--separator", "|"});
  ProcessResult alone = sandbox_.Zelta({"outline", built, "--crlf"});
  EXPECT_TRUE(alone.Exited(2)) << alone.Describe();
}

TEST_F(OutlineExchange, TextExportNamesWhatItCannotCarry) {
  const std::string built = Built();
  // The default delimiter is in one title: refused, nothing on stdout, the bookmark named.
  ProcessResult refused = sandbox_.Zelta({"outline", built, "--text"});
  EXPECT_TRUE(refused.Exited(1)) << refused.Describe();
  EXPECT_EQ(refused.out, "");
  EXPECT_NE(refused.err.find("bookmark 2.1 \"Plain; with semicolon\""), std::string::npos)
      << refused.err;
  ProcessResult lossy = sandbox_.Zelta({"outline", built, "--text", "--lossy"});
  EXPECT_TRUE(lossy.Exited(0)) << lossy.Describe();
  EXPECT_NE(lossy.err.find("warning: bookmark 2.1"), std::string::npos);
  ProcessResult bad = sandbox_.Zelta({"outline", built, "--text", "--separator", ";;"});
  EXPECT_TRUE(bad.Exited(2)) << bad.Describe();
}

TEST_F(OutlineExchange, PdftkReadsOurRecordsAndWeReadItsDump) {
  if (!sandbox_.Tool("pdftk", {"--version"}).Exited(0)) GTEST_SKIP() << "pdftk is not installed";
  for (const std::string& file : CorpusFiles()) {
    SCOPED_TRACE(file);
    const std::string pdf = CorpusPath(file);
    ProcessResult dump = sandbox_.Tool("pdftk", {pdf, "dump_data"});
    ASSERT_TRUE(dump.Exited(0)) << dump.Describe();
    // Ours into pdftk: its update_info gives the tree it reports for the original.
    ProcessResult ours = sandbox_.Zelta({"outline", pdf, "--pdftk"});
    ASSERT_TRUE(ours.Exited(0)) << ours.Describe();
    const std::string updated = sandbox_.Path("updated.pdf");
    ProcessResult update = sandbox_.Tool(
        "pdftk",
        {Bare(file), "update_info", sandbox_.Write("ours.data", ours.out), "output", updated});
    ASSERT_TRUE(update.Exited(0)) << update.Describe();
    ProcessResult again = sandbox_.Tool("pdftk", {updated, "dump_data"});
    const auto bookmarks = [](const std::string& data) {
      std::string out;
      for (size_t at = data.find("Bookmark"); at != std::string::npos;
           at = data.find("\nBookmark", at + 1))
        out += data.substr(at, data.find('\n', at + 1) - at) + "\n";
      return out;
    };
    EXPECT_EQ(bookmarks(again.out), bookmarks(dump.out));
    EXPECT_EQ(bookmarks(ours.out), bookmarks(dump.out));
    // Its dump into zelta: the tree pdftk reports, level by level and page by page.
    const std::string back = sandbox_.Path("back.pdf");
    ProcessResult imported =
        sandbox_.Zelta({"import", Bare(file), sandbox_.Write("dump.data", dump.out), "-o", back});
    ASSERT_TRUE(imported.Exited(0)) << imported.Describe();
    EXPECT_EQ(bookmarks(sandbox_.Zelta({"outline", back, "--pdftk"}).out), bookmarks(dump.out));
  }
}

TEST_F(OutlineExchange, BadOutlineFilesWriteNothing) {
  const std::string pdf = CorpusPath(CorpusFiles().front());
  const struct {
    std::string name, bytes, message;
  } cases[] = {
      {"broken.json", "{\"bookmarks\": [{\"title\": 1}]}", "bookmarks[0].title is not a string"},
      {"deep.json", "{\"bookmarks\": [{\"children\": [{\"style\": 9}]}]}",
       "bookmarks[0].children[0].style must be 0 to 3"},
      {"fit.json", "[{\"actions\": [{\"type\": \"GoTo\", \"page\": 1, \"fit\": \"Fitz\"}]}]",
       "\"Fitz\" is not a fit type"},
      {"numbers.json", "[{\"actions\": [{\"type\": \"GoTo\", \"page\": 1, \"fit\": 5}]}]",
       "bookmarks[0].actions[0].fit is not a string"},
      {"type.json", "[{\"actions\": [{\"type\": true}]}]",
       "bookmarks[0].actions[0].type is not a string"},
      {"level.data", "BookmarkBegin\nBookmarkTitle: A\nBookmarkLevel: zero\n",
       "line 3: BookmarkLevel \"zero\""},
      {"big.txt", std::string((16u << 20) + 1, 'x'), "larger than 16 MiB"},
  };
  for (const auto& c : cases) {
    ProcessResult run = sandbox_.Zelta(
        {"import", pdf, sandbox_.Write(c.name, c.bytes), "-o", sandbox_.Path("o.pdf")});
    EXPECT_TRUE(run.Exited(2)) << c.name << ": " << run.Describe();
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.name << ": " << run.err;
  }
  ProcessResult folder =
      sandbox_.Zelta({"import", pdf, sandbox_.Dir(), "-o", sandbox_.Path("o.pdf")});
  EXPECT_TRUE(folder.Exited(2)) << folder.Describe();
  for (const std::string& name : sandbox_.Files()) EXPECT_NE(name, "o.pdf");
}

}  // namespace
}  // namespace zelta::cli_testing
