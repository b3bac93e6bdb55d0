#include "tests/zelta/cli/cli_sandbox.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "tests/fixtures/pdf_builder.h"

extern char** environ;

namespace zelta::cli_testing {

namespace fs = std::filesystem;

std::string ZeltaPath() { return ZELTA_BINARY_DIR "/zelta"; }

std::string ThreeBookmarks() {
  zelta::testing::PdfSpec layout;
  layout.pages.resize(3);
  layout.outline = {zelta::testing::Bookmark("one", 0), zelta::testing::Bookmark("two", 1),
                    zelta::testing::Bookmark("three", 2)};
  return zelta::testing::BuildPdf(layout);
}

std::string CorpusPath(const std::string& name) { return ZELTA_CORPUS_DIR "/" + name; }

std::vector<std::string> CorpusFiles() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(ZELTA_CORPUS_DIR)) {
    if (entry.path().extension() == ".pdf") names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string CorpusTestName(const std::string& file) {
  std::string name = file.substr(0, file.find('.'));
  for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

CliSandbox::CliSandbox() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "cli";
  std::replace(name.begin(), name.end(), '/', '_');
  dir_ = ::testing::TempDir() + "zelta_cli_" + std::to_string(getpid()) + "_" + name;
  fs::remove_all(dir_);
  fs::create_directories(dir_ + "/config");

  // The parent's environment, with a settings home of this test's own.
  for (char** entry = environ; *entry; ++entry) {
    std::string_view text(*entry);
    if (text.starts_with("XDG_CONFIG_HOME=")) continue;
    env_.emplace_back(text);
  }
  env_.push_back("XDG_CONFIG_HOME=" + dir_ + "/config");
}

CliSandbox::~CliSandbox() {
  std::error_code ec;
  // chattr'd folders of a failed test would stop the removal; ignore what cannot go.
  fs::remove_all(dir_, ec);
}

std::string CliSandbox::Write(const std::string& name, const std::string& bytes) const {
  zelta::testing::WriteFile(Path(name), bytes);
  return Path(name);
}

std::string CliSandbox::Copy(const std::string& source, const std::string& name) const {
  return Write(name, zelta::testing::ReadFile(source));
}

ProcessResult CliSandbox::Zelta(const std::vector<std::string>& args,
                                std::chrono::milliseconds timeout,
                                std::chrono::milliseconds interruptAfter) const {
  std::vector<std::string> argv{ZeltaPath()};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunProcess(argv, env_, timeout, interruptAfter);
}

ProcessResult CliSandbox::Tool(const std::string& program,
                               const std::vector<std::string>& args) const {
  std::vector<std::string> argv{"/usr/bin/" + program};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunProcess(argv, env_, kRunTimeout);
}

nlohmann::json CliSandbox::Outline(const std::string& pdf) const {
  ProcessResult run = Zelta({"outline", pdf, "--json"});
  if (!run.Exited(0)) {
    ADD_FAILURE() << "zelta outline " << pdf << ": " << run.Describe();
    return nullptr;
  }
  // Parsed, moved and destroyed without recursion: copying a JSON value recurses once per
  // level, which a 10,000-deep outline turns into a stack overflow under the sanitizers.
  nlohmann::json json = nlohmann::json::parse(run.out, nullptr, false);
  if (json.is_discarded()) {
    ADD_FAILURE() << "zelta outline " << pdf << " --json printed no JSON";
    return nlohmann::json();
  }
  return json;
}

std::vector<OutlineLine> CliSandbox::MutoolOutline(const std::string& pdf) const {
  ProcessResult run = Tool("mutool", {"show", pdf, "outline"});
  if (!run.Exited(0)) {
    ADD_FAILURE() << "mutool show " << pdf << " outline: " << run.Describe();
    return {};
  }
  std::string error;
  std::vector<OutlineLine> lines = ParseMutoolOutline(run.out, &error);
  if (!error.empty()) ADD_FAILURE() << pdf << ": " << error;
  return lines;
}

std::vector<std::string> CliSandbox::Files() const {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dir_, ec))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace zelta::cli_testing
