#include "zelta/cli/session.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <vector>

#include "zelta/base/text_codec.h"

namespace zelta::cli {

void PrintError(const std::string& message) { std::cerr << "zelta: " << message << "\n"; }
std::string ToUtf8(std::u16string_view text) { return base::LossyUtf8(text); }
std::u16string ToUtf16(std::string_view text) { return base::LossyUtf16(text); }

namespace {

// What sessions left to the operating system. Reachable from here, so that a leak checker
// does not count it.
struct LeftAtExit {
  ComPtr<app::HostApp> app;
  std::shared_ptr<app::SettingsStore> settings;
  ComPtr<IPlugin> plugin;
};
std::vector<LeftAtExit*>* gLeftAtExit = nullptr;

}  // namespace

Session::~Session() {
  if (!app_) return;
  app_->Shutdown();
  if (!leaveAtExit_) return;
  // Freeing a large document takes about as long as reading it did; the process is about
  // to end, and the memory goes back with it.
  try {
    if (!gLeftAtExit) gLeftAtExit = new std::vector<LeftAtExit*>;
    gLeftAtExit->reserve(gLeftAtExit->size() + 1);
    gLeftAtExit->push_back(
        new LeftAtExit{std::move(app_), std::move(settings_), std::move(plugin_)});
  } catch (const std::bad_alloc&) {
    // The orderly teardown below.
  }
}

std::string Session::DefaultModulePath() {
  if (const char* env = std::getenv("ZELTA_MODULE"); env && *env) return env;
  std::error_code ec;
  auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    auto beside = self.parent_path() / "libbookmarks.so";
    if (std::filesystem::exists(beside, ec)) return beside.string();
    // Installed: PREFIX/bin/zelta and PREFIX/lib/zelta/libbookmarks.so.
    auto installed = self.parent_path().parent_path() / "lib" / "zelta" / "libbookmarks.so";
    if (std::filesystem::exists(installed, ec)) return installed.string();
  }
  return std::string(ZELTA_MODULE_DIR) + "/libbookmarks.so";
}

bool Session::Start(const SessionOptions& options) {
  leaveAtExit_ = options.leaveAtExit;
  app_ = MakeCom<app::HostApp>();
  settings_ = std::make_shared<app::SettingsStore>(options.settingsPath);
  std::string warning;
  if (Failed(settings_->Load(&warning))) {
    PrintError(warning);
    return false;
  }
  if (!warning.empty()) PrintError("warning: " + warning);
  app_->UseSettingsStore(settings_);

  app_->Ui().SetMessageHandler([](const ui::MessageRecord& message) {
    std::cerr << ToUtf8(message.caption) << ": " << ToUtf8(message.text) << "\n";
    return int32_t{kAnswerOk};
  });
  ui::ProgressOptions progress;
  progress.terminal = (!options.quiet && isatty(STDERR_FILENO)) ? stderr : nullptr;
  app_->Ui().SetProgressOptions(progress);

  if (!options.loadModule) return true;
  std::string modulePath = options.modulePath.empty() ? DefaultModulePath() : options.modulePath;
  std::string error;
  if (Failed(app_->LoadPlugin(modulePath, &error))) {
    PrintError(error);
    return false;
  }
  if (app_->Plugins().Count() > 0) plugin_ = app_->Plugins().Plugin(app_->Plugins().Count() - 1);
  for (const std::string& w : settings_->TakeWarnings()) PrintError("warning: settings: " + w);
  return true;
}

ComPtr<pdf::HostDocument> Session::Open(const std::string& path, const std::string& password) {
  ComPtr<pdf::HostDocument> document;
  std::string error;
  if (Failed(app_->OpenDocument(path, password, &document, &error))) {
    PrintError(error.empty() ? "cannot open " + path : error);
    return nullptr;
  }
  for (const std::string& w : document->Warnings()) PrintError("warning: " + path + ": " + w);
  return document;
}

ComPtr<ICabItem> Session::PluginSettingsRoot() {
  if (!plugin_) return nullptr;
  ComPtr<IHostSettings> node;
  if (app_->GetPluginSettings(plugin_.Get(), -1, node.Put()) != S_OK || !node) return nullptr;
  ComPtr<ICabItem> root;
  node->GetRoot(root.Put());
  return root;
}

bool Session::SaveSettings() {
  std::string error;
  if (Failed(settings_->Save(&error))) {
    PrintError(error);
    return false;
  }
  return true;
}

}  // namespace zelta::cli
