#include "zelta/desktop/desktop_session.h"

#include <cstdlib>
#include <filesystem>

namespace zelta::desktop {

std::string DefaultModulePath() {
  if (const char* env = std::getenv("ZELTA_MODULE"); env && *env) return env;
  std::error_code ec;
  auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    auto beside = self.parent_path() / "libbookmarks.so";
    if (std::filesystem::exists(beside, ec)) return beside.string();
    // Installed: PREFIX/bin/zelta-desktop and PREFIX/lib/zelta/libbookmarks.so.
    auto installed = self.parent_path().parent_path() / "lib" / "zelta" / "libbookmarks.so";
    if (std::filesystem::exists(installed, ec)) return installed.string();
  }
#ifdef ZELTA_MODULE_DIR
  return std::string(ZELTA_MODULE_DIR) + "/libbookmarks.so";
#else
  return "libbookmarks.so";
#endif
}

DesktopSession::~DesktopSession() {
  if (app_) app_->Shutdown();
}

bool DesktopSession::Start(const SessionOptions& options, std::string* error,
                           std::string* warnings) {
  app_ = MakeCom<app::HostApp>();
  settings_ = std::make_shared<app::SettingsStore>(options.settingsPath);
  std::string warning;
  if (Failed(settings_->Load(&warning))) {
    *error = warning;
    return false;
  }
  if (!warning.empty()) *warnings += warning + "\n";
  app_->UseSettingsStore(settings_);
  const std::string module = options.modulePath.empty() ? DefaultModulePath() : options.modulePath;
  if (Failed(app_->LoadPlugin(module, error))) return false;
  for (const std::string& w : settings_->TakeWarnings()) *warnings += "settings: " + w + "\n";
  return true;
}

bool DesktopSession::SaveSettings(std::string* error) {
  return settings_ && Succeeded(settings_->Save(error));
}

}  // namespace zelta::desktop
