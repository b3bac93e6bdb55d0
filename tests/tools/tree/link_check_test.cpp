// The link check and the file-existence rule of validation, as pure functions.
#include "tools/tree/link_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tools/tree/file_exists.h"

namespace bm {
namespace {

// Links with a scheme and a host (or mailto), text without a scheme, and paths of this machine
// pass; the blanks before a scheme are skipped. A scheme cannot start with a digit, and its
// characters run out after 16, so what follows is not read as one.
TEST(LinkCheck, LinksPlainTextAndPathsPassMalformedLinksDoNot) {
  for (std::u16string_view text : {u"http://example.com",
                                   u"https://x.org/a?b=c",
                                   u"ftp://10.0.0.1/f",
                                   u"HTTP:\\\\server",
                                   u"svn+ssh://host/repo",
                                   u"http://\u00E9t\u00E9.fr",
                                   u"mailto:someone@example.com",
                                   u"MAILTO:a@b",
                                   u"  http://example.com",
                                   u"www.example.com",
                                   u"example",
                                   u"1http://x",
                                   u"abcdefghijklmnopq:x",
                                   u"C:",
                                   u"c:\\docs\\a.pdf",
                                   u"D:/docs",
                                   u"\\\\server\\share",
                                   u"/home/user/a.pdf",
                                   u"file:///C:/docs/a.pdf",
                                   u"file:///home/user/a.pdf",
                                   u"file://server/share",
                                   u"./a.pdf",
                                   u"..\\a.pdf"})
    EXPECT_TRUE(IsPossibleLink(text)) << std::string(text.begin(), text.end());
  // Empty or blank; an empty scheme; no slashes and not mailto; nothing or punctuation or a
  // modifier letter after the slashes; from the root but not a path of this machine.
  for (std::u16string_view text :
       {u"", u"   \t", u"\u00A0\u00A0", u"abcdefghijklmnop:x", u":nothing", u"http:example.com",
        u"  http:x", u"host:8080", u"http://", u"http://-bad", u"http://\u02C6x", u"mailto:",
        u"\\a.pdf", u"//host/a", u"C:x"})
    EXPECT_FALSE(IsPossibleLink(text)) << std::string(text.begin(), text.end());
}

TEST(FileRule, ForbiddenCharacters) {
  for (std::u16string_view path :
       {u"a\"b", u"a*b", u"a<b", u"a>b", u"a|b", u"a?b", u"dir/a:b", u"\\\\?\\a?b"})
    EXPECT_TRUE(HasForbiddenPathCharacters(path)) << std::string(path.begin(), path.end());
  for (std::u16string_view path :
       {u"a.pdf", u"C:\\a.pdf", u"C:/a", u"C:", u"\\\\?\\C:\\a.pdf", u"dir/sub dir/a b.pdf"})
    EXPECT_FALSE(HasForbiddenPathCharacters(path)) << std::string(path.begin(), path.end());
}

class FileRuleOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("nsv-files-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_ / "sub");
    std::ofstream(folder_ / "sub" / "there.txt") << "x";
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::filesystem::path folder_;
};

TEST_F(FileRuleOnDisk, RelativePathsAreTakenFromTheBaseFolder) {
  const std::string base = folder_.string();
  EXPECT_TRUE(FileExists(u"sub/there.txt", base));
  EXPECT_TRUE(FileExists(u"sub\\there.txt", base));  // DOS separators
  EXPECT_TRUE(FileExists(u"sub", base));             // folders count
  EXPECT_FALSE(FileExists(u"sub/missing.txt", base));
  EXPECT_FALSE(FileExists(u"there.txt", base));
}

TEST_F(FileRuleOnDisk, AbsoluteAndOddPaths) {
  const std::u16string absolute = (folder_ / "sub" / "there.txt").u16string();
  EXPECT_TRUE(FileExists(absolute, "/nowhere"));
  EXPECT_TRUE(FileExists(u"\\\\?\\" + absolute, ""));
  EXPECT_FALSE(FileExists(u"", folder_.string()));
  EXPECT_FALSE(FileExists(u"C:", folder_.string()));
  EXPECT_FALSE(FileExists(u"C:\\", folder_.string()));
  EXPECT_FALSE(FileExists(u"sub/there?.txt", folder_.string()));
}

}  // namespace
}  // namespace bm
