// The link check and the file-existence rule of validation, as pure functions.
#include "tools/tree/link_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tools/tree/file_exists.h"

namespace bm {
namespace {

TEST(LinkCheck, AcceptsLinksWithSchemeAndHost) {
  for (std::u16string_view text :
       {u"http://example.com", u"https://x.org/a?b=c", u"ftp://10.0.0.1/f", u"HTTP:\\\\server",
        u"svn+ssh://host/repo", u"http://\u00E9t\u00E9.fr", u"mailto:someone@example.com",
        u"MAILTO:a@b"})
    EXPECT_TRUE(IsPossibleLink(text)) << std::string(text.begin(), text.end());
}

TEST(LinkCheck, TextWithoutSchemeIsPlainTextAndPasses) {
  EXPECT_TRUE(IsPossibleLink(u"www.example.com"));
  EXPECT_TRUE(IsPossibleLink(u"example"));
  EXPECT_TRUE(IsPossibleLink(u"1http://x"));  // a scheme cannot start with a digit
  // Scheme characters run out after 16: what follows is not read as a scheme.
  EXPECT_TRUE(IsPossibleLink(u"abcdefghijklmnopq:x"));
  EXPECT_FALSE(IsPossibleLink(u"abcdefghijklmnop:x"));
}

TEST(LinkCheck, RejectsMalformedLinks) {
  EXPECT_FALSE(IsPossibleLink(u""));
  EXPECT_FALSE(IsPossibleLink(u"   \t"));
  EXPECT_FALSE(IsPossibleLink(u"\u00A0\u00A0"));
  EXPECT_FALSE(IsPossibleLink(u":nothing"));          // empty scheme
  EXPECT_FALSE(IsPossibleLink(u"http:example.com"));  // no slashes and not mailto
  EXPECT_FALSE(IsPossibleLink(u"host:8080"));
  EXPECT_FALSE(IsPossibleLink(u"http://"));         // nothing after the slashes
  EXPECT_FALSE(IsPossibleLink(u"http://-bad"));     // punctuation cannot start a host
  EXPECT_FALSE(IsPossibleLink(u"http://\u02C6x"));  // modifier letters neither
  EXPECT_FALSE(IsPossibleLink(u"mailto:"));
}

TEST(LinkCheck, LeadingBlanksAreSkippedBeforeTheScheme) {
  EXPECT_TRUE(IsPossibleLink(u"  http://example.com"));
  EXPECT_FALSE(IsPossibleLink(u"  http:x"));
}

TEST(LinkCheck, PathsAreLinks) {
  EXPECT_TRUE(IsPossibleLink(u"C:"));
  EXPECT_TRUE(IsPossibleLink(u"c:\\docs\\a.pdf"));
  EXPECT_TRUE(IsPossibleLink(u"D:/docs"));
  EXPECT_TRUE(IsPossibleLink(u"\\\\server\\share"));
  EXPECT_TRUE(IsPossibleLink(u"/home/user/a.pdf"));
  EXPECT_TRUE(IsPossibleLink(u"file:///C:/docs/a.pdf"));
  EXPECT_TRUE(IsPossibleLink(u"file:///home/user/a.pdf"));
  EXPECT_TRUE(IsPossibleLink(u"file://server/share"));
  EXPECT_TRUE(IsPossibleLink(u"./a.pdf"));
  EXPECT_TRUE(IsPossibleLink(u"..\\a.pdf"));
  // From the root but not a path of this machine.
  EXPECT_FALSE(IsPossibleLink(u"\\a.pdf"));
  EXPECT_FALSE(IsPossibleLink(u"//host/a"));
  EXPECT_FALSE(IsPossibleLink(u"C:x"));  // a one-letter scheme without slashes
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
