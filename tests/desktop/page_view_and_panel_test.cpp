#include <QLineEdit>
#include <QScrollBar>
#include <QSettings>
#include <QTest>

#include "tests/desktop/desktop_fixture.h"

namespace zelta::desktop::testing {
namespace {

using zelta::testing::Bookmark;
using zelta::testing::BuildPdf;

// Five pages labelled i, ii, 1, 2, 3, with an outline of two chapters and a section.
std::string LabelledBook() {
  zelta::testing::PdfSpec layout;
  layout.pages.resize(5);
  for (size_t i = 0; i < layout.pages.size(); ++i)
    layout.pages[i].text = "Text of page " + std::to_string(i + 1);
  layout.labels = {{0, 'r', "", 1}, {2, 'D', "", 1}};
  auto one = Bookmark("One", 2);
  one.children = {Bookmark("Section", 3)};
  one.style = 2;
  one.color = 0xCC0000;
  layout.outline = {one, Bookmark("Two", 4)};
  return zelta::testing::BuildPdf(layout);
}

TEST_F(DesktopTest, PanelShowsTheOutlineAndGoesToTheBookmarkClicked) {
  ASSERT_TRUE(window_->OpenFile(QString::fromStdString(Write("book.pdf", LabelledBook()))));
  BookmarksPanel* panel = window_->Panel();
  ASSERT_EQ(panel->topLevelItemCount(), 2);
  QTreeWidgetItem* one = panel->topLevelItem(0);
  EXPECT_TRUE(one->font(0).bold());
  EXPECT_EQ(one->foreground(0).color(), QColor(0xCC, 0, 0));
  ASSERT_EQ(one->childCount(), 1);

  QTest::qWait(0);
  panel->scrollToItem(panel->topLevelItem(1));
  QTest::mouseClick(panel->viewport(), Qt::LeftButton, {},
                    panel->visualItemRect(panel->topLevelItem(1)).center());
  EXPECT_EQ(window_->View()->CurrentPage(), 4);
  EXPECT_EQ(window_->findChild<QLineEdit*>("pageBox")->text(), "3");  // the page's label

  // The page box takes labels first, then numbers.
  auto* box = window_->findChild<QLineEdit*>("pageBox");
  box->setText("ii");
  emit box->returnPressed();
  EXPECT_EQ(window_->View()->CurrentPage(), 1);
  box->setText("4");
  emit box->returnPressed();
  EXPECT_EQ(window_->View()->CurrentPage(), 3);
}

TEST_F(DesktopTest, PanelEditsAreEachOneUndoStepAndSelectionFeedsTheHost) {
  ASSERT_TRUE(window_->OpenFile(QString::fromStdString(Write("book.pdf", LabelledBook()))));
  BookmarksPanel* panel = window_->Panel();
  const std::string original = Json();

  // Multi-select becomes the document's bookmark selection, in tree order.
  panel->topLevelItem(1)->setSelected(true);
  panel->topLevelItem(0)->child(0)->setSelected(true);
  ComPtr<IHostSelection> selection;
  ASSERT_EQ(session_.App().Selections().GetSelection(
                window_->Document(), base::Intern("selection.bookmarks"), selection.Put()),
            S_OK);
  int32_t count = 0;
  selection->GetCount(&count);
  EXPECT_EQ(count, 2);

  // Dragging both to the top level before "One": the section leaves its chapter.
  panel->MoveSelected(nullptr, panel->BookmarkOf(panel->topLevelItem(0)));
  EXPECT_EQ(TopTitles(), (std::vector<std::string>{"Section", "Two", "One"}));
  EXPECT_EQ(UndoCount(), 1);

  panel->topLevelItem(2)->setText(0, "Chapter One");  // an in-place rename
  QCoreApplication::processEvents();
  EXPECT_EQ(TopTitles().back(), "Chapter One");
  EXPECT_EQ(UndoCount(), 2);

  panel->clearSelection();
  panel->topLevelItem(0)->setSelected(true);
  panel->DeleteSelected();
  EXPECT_EQ(TopTitles(), (std::vector<std::string>{"Two", "Chapter One"}));

  // A new bookmark at the current view goes to the page on screen.
  window_->View()->GoToPage(3);
  panel->setCurrentItem(panel->topLevelItem(1));
  panel->AddBookmark(PageDestination{3, kFitXYZ, 0xC, {0, 700, 0, 0}});
  auto outline = Outline();
  ASSERT_EQ(outline.size(), 3u);
  EXPECT_EQ(outline[2]["title"], "Untitled");
  EXPECT_EQ(outline[2]["page"], 4);
  EXPECT_EQ(UndoCount(), 4);

  for (int i = 0; i < 4; ++i) window_->Undo();
  EXPECT_EQ(Json(), original);
  EXPECT_EQ(panel->topLevelItem(0)->text(0), "One");
}

// A window that shows the page first leaves the bookmarks unread until the page is on
// screen, then fills the panel; a command run before that still finds the whole outline.
TEST_F(DesktopTest, OutlineAfterFirstPaintFillsThePanelOnceThePageIsShown) {
  window_->SetOutlineAfterFirstPaint(true);
  ASSERT_TRUE(window_->OpenFile(QString::fromStdString(Write("book.pdf", LabelledBook()))));
  BookmarksPanel* panel = window_->Panel();
  EXPECT_EQ(panel->topLevelItemCount(), 0);
  bool painted = false;
  const auto connection =
      QObject::connect(window_->View(), &PageView::PagePainted, [&](int) { painted = true; });
  ASSERT_TRUE(QTest::qWaitFor([&] { return panel->topLevelItemCount() == 2; }));
  QObject::disconnect(connection);
  EXPECT_TRUE(painted);
  EXPECT_EQ(panel->topLevelItem(0)->text(0), "One");

  // Opened again and edited through the host before any paint: the panel shows the edit.
  ASSERT_TRUE(window_->OpenFile(QString::fromStdString(Write("again.pdf", LabelledBook()))));
  EXPECT_EQ(panel->topLevelItemCount(), 0);
  ComPtr<IHostBookmark> root, added;
  window_->Document()->GetOutlineRoot(root.Put());
  ASSERT_EQ(root->InsertNewChild(-1, added.Put()), S_OK);
  ASSERT_TRUE(QTest::qWaitFor([&] { return panel->topLevelItemCount() == 3; }));
}

// The settings file of the recent files is written (and flushed to disk) after the first
// paint, not before it; the list answers with the file at once, and a file opened before the
// first one was painted keeps its place behind it.
TEST_F(DesktopTest, RecentFilesAreWrittenAfterTheFirstPaint) {
  auto stored = [] { return QSettings("zelta", "desktop").value("recentFiles").toStringList(); };
  QSettings("zelta", "desktop").remove("recentFiles");
  window_->SetOutlineAfterFirstPaint(true);
  const QString first = QString::fromStdString(Write("first.pdf", LabelledBook()));
  const QString second = QString::fromStdString(Write("second.pdf", LabelledBook()));
  ASSERT_TRUE(window_->OpenFile(first));
  EXPECT_TRUE(stored().isEmpty());
  EXPECT_EQ(window_->RecentFiles(), QStringList{first});
  ASSERT_TRUE(window_->OpenFile(second));
  EXPECT_EQ(window_->RecentFiles(), (QStringList{second, first}));
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_->Panel()->topLevelItemCount() == 2; }));
  EXPECT_EQ(stored(), (QStringList{second, first}));

  // Closed before its page was shown: the file is still remembered.
  ASSERT_TRUE(window_->OpenFile(first));
  ASSERT_TRUE(window_->CloseDocument());
  EXPECT_EQ(stored(), (QStringList{first, second}));
}

// Closed chapters get their rows when opened or when one of their bookmarks is asked for;
// the tree shows the same outline either way, and a rebuild keeps what the user opened.
TEST_F(DesktopTest, RowsOfClosedChaptersAreMadeWhenNeeded) {
  zelta::testing::PdfSpec layout;
  layout.pages.resize(3);
  for (int c = 1; c <= 3; ++c) {
    auto chapter = Bookmark("Chapter " + std::to_string(c), 0);
    chapter.open = false;
    auto section = Bookmark("Section " + std::to_string(c) + ".1", 1);
    section.open = false;
    section.children = {Bookmark("Topic " + std::to_string(c) + ".1.1", 2)};
    chapter.children = {section, Bookmark("Section " + std::to_string(c) + ".2", 2)};
    layout.outline.push_back(chapter);
  }
  ASSERT_TRUE(window_->OpenFile(QString::fromStdString(Write("closed.pdf", BuildPdf(layout)))));
  BookmarksPanel* panel = window_->Panel();
  ASSERT_EQ(panel->topLevelItemCount(), 3);
  QTreeWidgetItem* first = panel->topLevelItem(0);
  EXPECT_EQ(first->childCount(), 0);  // not made yet, but shown as openable
  EXPECT_EQ(first->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);

  first->setExpanded(true);
  ASSERT_EQ(first->childCount(), 2);
  EXPECT_EQ(first->child(0)->text(0), "Section 1.1");
  EXPECT_EQ(first->child(1)->text(0), "Section 1.2");
  EXPECT_FALSE(first->child(0)->isExpanded());

  // A bookmark two closed levels down: its row and those above it are made on request.
  ComPtr<IHostBookmark> root, third, section, topic;
  window_->Document()->GetOutlineRoot(root.Put());
  root->GetLastChild(third.Put());
  third->GetFirstChild(section.Put());
  section->GetFirstChild(topic.Put());
  QTreeWidgetItem* row = panel->ItemOf(topic.Get());
  ASSERT_TRUE(row);
  EXPECT_EQ(row->text(0), "Topic 3.1.1");
  EXPECT_EQ(row->parent()->parent(), panel->topLevelItem(2));
  EXPECT_EQ(panel->BookmarkOf(row), topic.Get());

  // An edit rebuilds the tree: the chapter the user opened stays open, its rows there.
  panel->topLevelItem(1)->setText(0, "Renamed");
  QCoreApplication::processEvents();
  EXPECT_EQ(panel->topLevelItem(1)->text(0), "Renamed");
  ASSERT_TRUE(panel->topLevelItem(0)->isExpanded());
  EXPECT_EQ(panel->topLevelItem(0)->childCount(), 2);
  EXPECT_FALSE(panel->topLevelItem(1)->isExpanded());
}

TEST_F(DesktopTest, TextSelectedWithTheMouseBecomesTheHostsSelection) {
  ASSERT_TRUE(window_->OpenFile(QString::fromStdString(Write("book.pdf", LabelledBook()))));
  PageView* view = window_->View();
  view->SetZoom(ZoomMode::kPercent, 100);
  view->GoToPage(0);
  QTest::qWait(0);
  // The page text sits at (72, 720) in user space: a band over the top of page 1.
  const QPoint from(view->viewport()->width() / 2 - 306 + 40, 8 + 50);
  const QPoint to(from.x() + 300, from.y() + 40);
  QTest::mousePress(view->viewport(), Qt::LeftButton, {}, from);
  QTest::mouseMove(view->viewport(), to);
  QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, to);
  ComPtr<IUnknown> text;
  ASSERT_EQ(session_.App().Selections().GetTextSelection(window_->Document(), text.Put()), S_OK);
  EXPECT_TRUE(window_->findChild<QAction*>("cmd.bookmarksPlugin.fromTOC")->isEnabled());
}

TEST_F(DesktopTest, PageThatCannotBeDrawnShowsWhyAndTheOthersStillDraw) {
  zelta::testing::PdfSpec layout;
  layout.pages.resize(3);
  layout.pages[1].width = layout.pages[1].height = 14400;  // 200 inches: too many pixels
  ASSERT_TRUE(window_->OpenFile(
      QString::fromStdString(Write("big.pdf", zelta::testing::BuildPdf(layout)))));
  PageView* view = window_->View();
  for (int page : {0, 1, 2}) {
    view->GoToPage(page);
    view->viewport()->repaint();
  }
  const PageCache::Entry* big = view->Cache().Find(1, view->RenderScale());
  ASSERT_TRUE(big);
  EXPECT_TRUE(big->image.isNull());
  EXPECT_NE(big->error.indexOf("too large"), -1) << big->error.toStdString();
  const PageCache::Entry* last = view->Cache().Find(2, view->RenderScale());
  ASSERT_TRUE(last);
  EXPECT_FALSE(last->image.isNull());
}

TEST_F(DesktopTest, ScrollingThroughAllPagesKeepsTheCacheWithinItsLimit) {
  zelta::testing::PdfSpec layout;
  layout.pages.resize(600);
  for (size_t i = 0; i < layout.pages.size(); ++i)
    layout.pages[i].text = "Page " + std::to_string(i);
  ASSERT_TRUE(window_->OpenFile(
      QString::fromStdString(Write("long.pdf", zelta::testing::BuildPdf(layout)))));
  PageView* view = window_->View();
  view->Cache().SetLimit(8u << 20);
  for (int page = 0; page < view->PageCount(); page += 3) {
    view->GoToPage(page);
    view->viewport()->repaint();
    ASSERT_LE(view->Cache().Bytes(), view->Cache().Limit());
  }
  EXPECT_GE(view->RenderCount(), view->PageCount() / 3);
  EXPECT_LT(view->Cache().Count(), 20u);
  // Going back a page costs nothing; going back to the start draws it again.
  const int renders = view->RenderCount();
  view->viewport()->repaint();
  EXPECT_EQ(view->RenderCount(), renders);
  view->GoToPage(0);
  view->viewport()->repaint();
  EXPECT_GT(view->RenderCount(), renders);
}

// A long document is laid out from its first pages' sizes when it opens; the event loop then
// reads the others, here twice as tall, and the view keeps the page the reader is on.
TEST_F(DesktopTest, SizesOfLaterPagesArriveWithoutMovingTheView) {
  zelta::testing::PdfSpec layout;
  layout.pages.resize(700);
  for (size_t i = 100; i < layout.pages.size(); ++i) layout.pages[i].height = 1584;
  ASSERT_TRUE(window_->OpenFile(
      QString::fromStdString(Write("mixed.pdf", zelta::testing::BuildPdf(layout)))));
  PageView* view = window_->View();
  view->GoToPage(20);
  // The document's height in pixels when every page has its own size; 8 is the gap.
  auto height = [&] {
    double y = 8;
    for (const auto& page : layout.pages)
      y += std::ceil(page.height * view->ZoomPercent() / 100) + 8;
    return static_cast<int>(y) - view->viewport()->height();
  };
  // QTest's waiting macros report to QTest, not to this test: wait by hand.
  EXPECT_TRUE(QTest::qWaitFor([&] { return view->verticalScrollBar()->maximum() == height(); }))
      << view->verticalScrollBar()->maximum() << " against " << height();
  EXPECT_EQ(view->CurrentPage(), 20);
  view->GoToPage(650);
  EXPECT_EQ(view->CurrentPage(), 650);
}

}  // namespace
}  // namespace zelta::desktop::testing
