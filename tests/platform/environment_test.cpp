// Environment variables by the order "UAM" from real files.
#include "platform/environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace bm::platform {
namespace {

class Environment : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() /
            ("zelta-env-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(root_ / "environment.d");
    sources_.userDir = (root_ / "environment.d").string();
    sources_.machineFile = (root_ / "environment").string();
  }
  void TearDown() override {
    std::filesystem::remove_all(root_);
    ::unsetenv("ZELTA_TEST_A");
  }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(root_ / name) << text;
  }

  std::filesystem::path root_;
  EnvironmentSources sources_;
};

TEST_F(Environment, UserThenProcessThenMachine) {
  Write("environment",
        "ZELTA_TEST_A=machine\nexport ZELTA_TEST_M=\"quoted machine\"\n# ZELTA_TEST_C=comment\n");
  Write("environment.d/10-a.conf", "ZELTA_TEST_U=user\n");
  ::setenv("ZELTA_TEST_A", "process", 1);
  ::setenv("ZELTA_TEST_U", "process", 1);
  EXPECT_EQ(LookupEnvironment(u"ZELTA_TEST_U", sources_), u"user");
  EXPECT_EQ(LookupEnvironment(u"ZELTA_TEST_A", sources_), u"process");
  ::unsetenv("ZELTA_TEST_A");
  EXPECT_EQ(LookupEnvironment(u"ZELTA_TEST_A", sources_), u"machine");
  EXPECT_EQ(LookupEnvironment(u"ZELTA_TEST_M", sources_), u"quoted machine");
  EXPECT_FALSE(LookupEnvironment(u"ZELTA_TEST_C", sources_));
  EXPECT_FALSE(LookupEnvironment(u"ZELTA_TEST_NOWHERE", sources_));
  ::unsetenv("ZELTA_TEST_U");
}

TEST_F(Environment, UserFilesGoInNameOrderAndExpand) {
  Write("environment.d/20-b.conf", "ZELTA_X=second\nZELTA_Y=${ZELTA_X}/y\nZELTA_Z=$ZELTA_W-z\n");
  Write("environment.d/10-a.conf", "ZELTA_X=first\nZELTA_W=${ZELTA_UNSET:-fallback}\n");
  Write("environment.d/30-c.txt", "ZELTA_X=not a conf file\n");
  const auto user = ReadUserEnvironment(sources_.userDir);
  EXPECT_EQ(user.at("ZELTA_X"), "second");
  EXPECT_EQ(user.at("ZELTA_Y"), "second/y");
  EXPECT_EQ(user.at("ZELTA_W"), "fallback");
  EXPECT_EQ(user.at("ZELTA_Z"), "fallback-z");
}

TEST_F(Environment, BadNamesAndMissingSourcesGiveNothing) {
  Write("environment", "=novalue\n1BAD=x\nno equals sign\n");
  EXPECT_TRUE(ReadMachineEnvironment(sources_.machineFile).empty());
  EXPECT_FALSE(LookupEnvironment(u"A=B", sources_));
  EXPECT_FALSE(LookupEnvironment(u"", sources_));
  EnvironmentSources none{"/nonexistent/dir", "/nonexistent/file"};
  ::setenv("ZELTA_TEST_A", "process", 1);
  EXPECT_EQ(LookupEnvironment(u"ZELTA_TEST_A", none), u"process");
  EXPECT_EQ(MergedEnvironment(none).at("ZELTA_TEST_A"), "process");
}

}  // namespace
}  // namespace bm::platform
