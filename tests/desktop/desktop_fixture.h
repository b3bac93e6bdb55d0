// A desktop window on the real host with the module loaded, its prompts scripted.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/fixtures/pdf_builder.h"
#include "zelta/app/cab/cab_json.h"
#include "zelta/base/atom_table.h"
#include "zelta/desktop/bookmarks_panel.h"
#include "zelta/desktop/desktop_session.h"
#include "zelta/desktop/dialog_window.h"
#include "zelta/desktop/main_window.h"
#include "zelta/pdf/outline/outline_dump.h"

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
    poll_.stop();
    EXPECT_TRUE(scripts_.empty()) << scripts_.size() << " dialog(s) expected were not shown";
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
  // Opens a copy of the sample manual in the window.
  bool OpenManual() {
    return window_->OpenFile(
        QString::fromStdString(Copy(ZELTA_SOURCE_DIR "/samples/manual.pdf", "manual.pdf")));
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

  // Works the dialogs the window shows next, one script each in the order they appear, as a
  // person would. A dialog still open after a while is cancelled and fails the test.
  using Script = std::function<void(DialogWindow&)>;
  void WorkDialogs(std::vector<Script> scripts) {
    scripts_.assign(scripts.begin(), scripts.end());
    waited_.start();
    poll_.disconnect();
    QObject::connect(&poll_, &QTimer::timeout, [this] {
      for (DialogWindow* dialog : window_->Dialogs().Windows()) {
        if (dialog->property("worked").toBool()) continue;
        dialog->setProperty("worked", true);
        if (scripts_.empty()) continue;
        Script script = std::move(scripts_.front());
        scripts_.pop_front();
        script(*dialog);
        return;
      }
      if (waited_.elapsed() <= kPatienceMs) return;
      if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
      if (QWidget* modal = QApplication::activeModalWidget();
          modal && !qobject_cast<DialogWindow*>(modal))
        modal->close();
      for (DialogWindow* dialog : window_->Dialogs().Windows()) {
        ADD_FAILURE() << dialog->objectName().toStdString() << " was left open";
        dialog->reject();
      }
    });
    poll_.start(10);
  }
  template <typename Widget>
  static Widget* Control(DialogWindow& dialog, const char* id) {
    auto* widget = dialog.findChild<Widget*>(id);
    EXPECT_TRUE(widget) << id;
    return widget;
  }
  static void Click(DialogWindow& dialog, const char* id) {
    if (auto* widget = Control<QWidget>(dialog, id))
      // Near the left edge: a check box takes clicks on its box and text only.
      QTest::mouseClick(widget, Qt::LeftButton, {},
                        QPoint(std::min(10, widget->width() / 2), widget->height() / 2));
  }

  static constexpr int kPatienceMs = 20000;
  std::string dir_;
  QTimer poll_;
  QElapsedTimer waited_;
  std::deque<Script> scripts_;
  DesktopSession session_;
  std::unique_ptr<MainWindow> window_;
  std::vector<std::string> messages_;
  int unsavedAsked_ = 0;
  Prompts::Unsaved unsavedAnswer_ = Prompts::Unsaved::kCancel;
};

}  // namespace zelta::desktop::testing
