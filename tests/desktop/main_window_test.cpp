#include <QMenu>
#include <QProgressDialog>
#include <QTimer>
#include <QToolBar>
#include <fstream>

#include "tests/desktop/desktop_fixture.h"

namespace zelta::desktop::testing {
namespace {

TEST_F(DesktopTest, CommandFromTheMenuChangesTheOutlineAsOneUndoStepAndSavingLeavesTheInput) {
  const std::string input = Copy(ZELTA_SOURCE_DIR "/samples/manual.pdf", "manual.pdf");
  const std::string original = zelta::testing::ReadFile(input);
  ASSERT_TRUE(window_->OpenFile(QString::fromStdString(input)));
  const std::string before = Json();
  StoreOptions(u"CBC", {{"Flags", 1}});  // upper case

  QAction* command = CommandAction("cmd.bookmarksPlugin.changeBookmarkCase");
  ASSERT_TRUE(command);
  ASSERT_TRUE(command->isEnabled());
  // The dialog opens with the options of the last run; Enter confirms them.
  WorkDialogs({[](DialogWindow& dialog) { QTest::keyClick(&dialog, Qt::Key_Return); }});
  command->trigger();
  EXPECT_EQ(TopTitles(), (std::vector<std::string>{"GETTING STARTED", "THE BOOKMARK TREE",
                                                   "WORKING WITH PAGES", "REFERENCE"}));
  EXPECT_EQ(window_->Panel()->topLevelItem(0)->text(0), "GETTING STARTED");
  EXPECT_TRUE(window_->IsDirty());
  const std::string changed = Json();
  ASSERT_EQ(UndoCount(), 1);

  window_->Undo();
  EXPECT_EQ(Json(), before);
  EXPECT_EQ(window_->Panel()->topLevelItem(0)->text(0), "Getting started");
  window_->Redo();
  EXPECT_EQ(Json(), changed);

  // Nothing reached the disk until Save As, and then only the new file.
  EXPECT_EQ(zelta::testing::ReadFile(input), original);
  const std::string output = dir_ + "/out.pdf";
  ASSERT_TRUE(window_->SaveAs(QString::fromStdString(output)));
  EXPECT_FALSE(window_->IsDirty());
  EXPECT_EQ(zelta::testing::ReadFile(input), original);
  EXPECT_EQ(window_->RecentFiles().front().toStdString(), output);
  ASSERT_TRUE(window_->OpenFile(QString::fromStdString(output)));
  EXPECT_EQ(Json(), changed);
  EXPECT_TRUE(messages_.empty()) << messages_.front();
}

// Bookmark Every Nth Page sits in the Bookmarks menu with the other tools and runs from there;
// tool buttons take the theme's icon and keep the command's text for a theme without one.
TEST_F(DesktopTest, BookmarkEveryNthPageRunsFromTheBookmarksMenu) {
  ASSERT_TRUE(OpenManual());
  const size_t before = Outline().size();
  auto* menu = window_->findChild<QMenu*>("bookmarksMenu");
  ASSERT_TRUE(menu);
  QAction* every = nullptr;
  for (QAction* action : menu->actions())
    if (action->objectName() == "cmd.bookmarksPlugin.bookmarkEveryNthPage") every = action;
  ASSERT_TRUE(every);
  EXPECT_EQ(every->text(), "Bookmark Every Nth Page...");
  ASSERT_TRUE(every->isEnabled());
  StoreOptions(u"BENP", {{"Step", 2}, {"TitleText", "Page %[Page]"}});
  WorkDialogs({[](DialogWindow& dialog) { QTest::keyClick(&dialog, Qt::Key_Return); }});
  every->trigger();
  EXPECT_GT(Outline().size(), before);
  EXPECT_EQ(UndoCount(), 1);

  auto* tools = window_->findChild<QToolBar*>("bookmarksToolBar");
  ASSERT_TRUE(tools);
  for (QAction* action : tools->actions()) {
    if (action->isSeparator()) continue;
    EXPECT_TRUE(!action->icon().isNull() || !action->iconText().isEmpty())
        << action->objectName().toStdString();
  }
}

TEST_F(DesktopTest, CancelFromTheProgressWindowLeavesTheDocumentAsItWas) {
  ASSERT_TRUE(window_->OpenFile(
      QString::fromStdString(Copy(ZELTA_CORPUS_DIR "/R-intro.pdf", "intro.pdf"))));
  std::ifstream options(ZELTA_SOURCE_DIR "/samples/R-intro.options.json");
  StoreOptions(u"AGB", nlohmann::json::parse(options));
  const std::string before = Json();

  bool cancelled = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* progress = window_->findChild<QProgressDialog*>("progress");
    if (progress && !cancelled && progress->value() > 5) {
      cancelled = true;
      progress->cancel();
    }
  });
  poll.start(5);
  // The generation dialog starts the run with the stored levels.
  WorkDialogs({[&](DialogWindow& dialog) { Click(dialog, "btn.ok"); }});
  window_->RunCommand(base::Intern("cmd.bookmarksPlugin.generate"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return cancelled && window_->Dialogs().Windows().empty(); }));
  poll.stop();
  ASSERT_TRUE(cancelled) << "the run ended before the progress window could be cancelled";
  EXPECT_EQ(Json(), before);
  EXPECT_EQ(UndoCount(), 0);
  EXPECT_FALSE(window_->IsDirty());
}

TEST_F(DesktopTest, EncryptedFileOpensAfterThePasswordPrompt) {
  const std::string plain = Copy(ZELTA_SOURCE_DIR "/samples/manual.pdf", "plain.pdf");
  const std::string locked = dir_ + "/locked.pdf";
  ASSERT_EQ(
      std::system(("qpdf --encrypt secret owner 256 -- '" + plain + "' '" + locked + "'").c_str()),
      0);
  std::vector<std::pair<QString, bool>> asked;
  std::vector<QString> answers = {"wrong", "secret"};
  window_->GetPrompts().password = [&](const QString& file, bool again) -> std::optional<QString> {
    asked.emplace_back(file, again);
    if (asked.size() > answers.size()) return std::nullopt;
    return answers[asked.size() - 1];
  };
  ASSERT_TRUE(window_->OpenFile(QString::fromStdString(locked)));
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_FALSE(asked[0].second);
  EXPECT_TRUE(asked[1].second);  // told the first one was wrong
  EXPECT_EQ(TopTitles().front(), "Getting started");

  // Giving up leaves the open document alone.
  answers.clear();
  asked.clear();
  EXPECT_FALSE(window_->OpenFile(QString::fromStdString(locked)));
  EXPECT_EQ(asked.size(), 1u);
  EXPECT_EQ(window_->FilePath().toStdString(), locked);
}

TEST_F(DesktopTest, DamagedFilesOpenRepairedOrSayWhyAsTheCommandLineDoes) {
  zelta::testing::PdfSpec layout;
  layout.pages.resize(3);
  layout.outline = {zelta::testing::Bookmark("One", 0), zelta::testing::Bookmark("Two", 2)};
  const std::string good = zelta::testing::BuildPdf(layout);
  // Cut before the cross-reference table: read by repair.
  ASSERT_TRUE(window_->OpenFile(QString::fromStdString(
      Write("cut.pdf", zelta::testing::TruncatedPdf(good, good.rfind("xref"))))));
  EXPECT_EQ(window_->View()->PageCount(), 3);

  EXPECT_FALSE(window_->OpenFile(
      QString::fromStdString(Write("noise.pdf", zelta::testing::GarbageBytes(4000, 7)))));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find("noise.pdf: cannot open as PDF"), std::string::npos) << messages_[0];
  EXPECT_EQ(window_->View()->PageCount(), 3);  // the open document stays
}

TEST_F(DesktopTest, UnsavedChangesAreAskedAboutBeforeTheDocumentGoes) {
  const std::string input = Copy(ZELTA_SOURCE_DIR "/samples/manual.pdf", "manual.pdf");
  const std::string original = zelta::testing::ReadFile(input);
  ASSERT_TRUE(window_->OpenFile(QString::fromStdString(input)));
  EXPECT_TRUE(window_->CloseDocument());  // nothing changed: no question
  EXPECT_EQ(unsavedAsked_, 0);

  ASSERT_TRUE(window_->OpenFile(QString::fromStdString(input)));
  window_->Panel()->topLevelItem(0)->setSelected(true);
  window_->Panel()->DeleteSelected();
  ASSERT_TRUE(window_->IsDirty());
  unsavedAnswer_ = Prompts::Unsaved::kCancel;
  EXPECT_FALSE(window_->close());
  EXPECT_FALSE(window_->OpenFile(QString::fromStdString(input)));
  EXPECT_EQ(unsavedAsked_, 2);
  EXPECT_EQ(TopTitles().size(), 3u);

  unsavedAnswer_ = Prompts::Unsaved::kDiscard;
  EXPECT_TRUE(window_->CloseDocument());
  EXPECT_EQ(window_->Document(), nullptr);
  EXPECT_EQ(zelta::testing::ReadFile(input), original);
}

}  // namespace
}  // namespace zelta::desktop::testing
