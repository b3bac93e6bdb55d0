// Encrypted input: the document's permissions are enforced, passwords are checked, and a
// permitted change is saved as a sound encrypted file.
#include <gtest/gtest.h>

#include "tests/fixtures/pdf_builder.h"
#include "tests/zelta/cli/cli_sandbox.h"
#include "tests/zelta/cli/outline_lines.h"
#include "tests/zelta/cli/pdf_facts.h"

namespace zelta::cli_testing {
namespace {

using zelta::testing::Bookmark;

class EncryptedInput : public ::testing::Test {
 protected:
  // The built document encrypted with AES-256, user password "u", owner password "o".
  std::string Encrypt(const std::vector<std::string>& restrictions) {
    zelta::testing::PdfSpec layout;
    layout.pages.resize(2);
    layout.pages[1].text = "page two text";
    layout.outline = {Bookmark("first chapter", 0), Bookmark("second chapter", 1)};
    std::string plain = sandbox_.Write("plain.pdf", zelta::testing::BuildPdf(layout));
    std::vector<std::string> args{"--encrypt", "u", "o", "256"};
    args.insert(args.end(), restrictions.begin(), restrictions.end());
    args.insert(args.end(), {"--", plain, sandbox_.Path("enc.pdf")});
    ProcessResult run = sandbox_.Tool("qpdf", args);
    EXPECT_TRUE(run.Exited(0)) << run.Describe();
    return sandbox_.Path("enc.pdf");
  }

  CliSandbox sandbox_;
};

TEST_F(EncryptedInput, NoModifyPermissionRefusesAndWritesNothing) {
  std::string enc = Encrypt({"--modify=none"});
  auto filesBefore = sandbox_.Files();
  ProcessResult run = sandbox_.Zelta(
      {"run", "CBC", enc, "--password", "u", "-o", sandbox_.Path("out.pdf"), "--set", "Flags=1"});
  EXPECT_TRUE(run.Exited(1)) << run.Describe();
  EXPECT_NE(run.err.find("Error [Bookmarks]: No permissions for this operation."),
            std::string::npos)
      << run.err;
  EXPECT_EQ(sandbox_.Files(), filesBefore);  // no out.pdf, no temporary left behind
}

TEST_F(EncryptedInput, PasswordIsNeededAndChecked) {
  std::string enc = Encrypt({});
  ProcessResult none = sandbox_.Zelta({"outline", enc});
  EXPECT_TRUE(none.Exited(2)) << none.Describe();
  EXPECT_NE(none.err.find("password"), std::string::npos) << none.err;
  ProcessResult wrong =
      sandbox_.Zelta({"run", "CBC", enc, "--password", "nope", "-o", sandbox_.Path("out.pdf")});
  EXPECT_TRUE(wrong.Exited(2)) << wrong.Describe();
  EXPECT_NE(wrong.err.find("enc.pdf"), std::string::npos) << wrong.err;
  EXPECT_NE(wrong.err.find("password"), std::string::npos) << wrong.err;
  ProcessResult right = sandbox_.Zelta({"outline", enc, "--password", "u"});
  EXPECT_TRUE(right.Exited(0)) << right.Describe();
  EXPECT_EQ(right.out, "first chapter  [p. 1]\nsecond chapter  [p. 2]\n");
}

// A permitted change must give a file every reader accepts, with its page contents intact
// (page 1 has an empty content stream, page 2 some text).
TEST_F(EncryptedInput, PermittedChangeKeepsTheFileSound) {
  std::string enc = Encrypt({});
  std::string out = sandbox_.Path("out.pdf");
  ProcessResult run =
      sandbox_.Zelta({"run", "CBC", enc, "--password", "u", "-o", out, "--set", "Flags=1"});
  ASSERT_TRUE(run.Exited(0)) << run.Describe();
  PdfFacts facts = ReadPdfFacts(sandbox_, out, "u");
  EXPECT_TRUE(facts.checkPassed) << facts.checkOutput;
  EXPECT_EQ(facts.pages, 2);
  ProcessResult text =
      sandbox_.Tool("mutool", {"draw", "-p", "u", "-F", "txt", "-o", "-", out, "2"});
  EXPECT_NE(text.out.find("page two text"), std::string::npos) << text.Describe();
  ProcessResult outline = sandbox_.Zelta({"outline", out, "--password", "u"});
  EXPECT_EQ(outline.out, "FIRST CHAPTER  [p. 1]\nSECOND CHAPTER  [p. 2]\n");
}

}  // namespace
}  // namespace zelta::cli_testing
