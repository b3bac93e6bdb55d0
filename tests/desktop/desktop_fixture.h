// A desktop window on the real host with the module loaded, its prompts scripted.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTest>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/fixtures/pdf_builder.h"
#include "zelta/app/cab_json.h"
#include "zelta/base/atom_table.h"
#include "zelta/desktop/bookmarks_panel.h"
#include "zelta/desktop/desktop_session.h"
#include "zelta/desktop/main_window.h"
#include "zelta/pdf/outline_dump.h"

namespace zelta::desktop::testing {

class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/zelta-desktop-XXXXXX";
    dir_ = mkdtemp(name);
    SessionOptions options;
    options.settingsPath = dir_ + "/settings.json";
    options.modulePath = ZELTA_BINARY_DIR "/libbookmarks.so";
    std::string error, warnings;
    ASSERT_TRUE(session_.Start(options, &error, &warnings)) << error;
    window_ = std::make_unique<MainWindow>(session_.App());
    Prompts& prompts = window_->GetPrompts();
    prompts.message = [this](const ui::MessageRecord& message) {
      messages_.push_back(
          QString::fromUtf16(message.text.data(), static_cast<qsizetype>(message.text.size()))
              .toStdString());
      return int32_t{kAnswerOk};
    };
    prompts.unsaved = [this](const QString&) {
      ++unsavedAsked_;
      return unsavedAnswer_;
    };
    prompts.password = [](const QString&, bool) { return std::nullopt; };
    window_->resize(900, 700);
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }

  void TearDown() override {
    window_.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  // A copy of a sample in the test's folder.
  std::string Copy(const std::string& source, const std::string& name) {
    const std::string path = dir_ + "/" + name;
    std::filesystem::copy_file(source, path);
    return path;
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    zelta::testing::WriteFile(dir_ + "/" + name, bytes);
    return dir_ + "/" + name;
  }

  // The stored last used options of an operation ("CBC"), as the next run starts from them.
  void StoreOptions(const std::u16string& abbreviation, const nlohmann::json& options) {
    auto& app = session_.App();
    ComPtr<IHostSettings> settings;
    ASSERT_EQ(app.GetPluginSettings(app.Plugins().Plugin(0).Get(), -1, settings.Put()), S_OK);
    ComPtr<ICabItem> root, item;
    settings->GetRoot(root.Put());
    ASSERT_EQ(root->GetItem((abbreviation + u"LastUsedOptions").c_str(), item.Put()), S_OK);
    std::string error;
    ASSERT_EQ(app::CabFromJson(item.Get(), options, &error), S_OK) << error;
  }

  QAction* CommandAction(const char* command) {
    return window_->findChild<QAction*>(QString(command));
  }
  std::string Json() { return pdf::OutlineToJson(window_->Document()); }
  nlohmann::json Outline() { return nlohmann::json::parse(Json())["bookmarks"]; }
  std::vector<std::string> TopTitles() {
    std::vector<std::string> titles;
    for (auto& node : Outline()) titles.push_back(node["title"]);
    return titles;
  }
  int32_t UndoCount() {
    int32_t count = 0;
    session_.App().UndoHistoryOf(window_->Document())->GetUndoCount(&count);
    return count;
  }

  std::string dir_;
  DesktopSession session_;
  std::unique_ptr<MainWindow> window_;
  std::vector<std::string> messages_;
  int unsavedAsked_ = 0;
  Prompts::Unsaved unsavedAnswer_ = Prompts::Unsaved::kCancel;
};

}  // namespace zelta::desktop::testing
