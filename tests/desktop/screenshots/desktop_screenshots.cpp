// Writes pictures of the desktop window as a user sees it, for a person to look at:
//   desktop_screenshots FILE.pdf FOLDER
// The scale comes from the environment (QT_SCALE_FACTOR=2 for 200%); the platform is
// offscreen unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTreeWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "zelta/desktop/bookmarks_panel.h"
#include "zelta/desktop/desktop_session.h"
#include "zelta/desktop/main_window.h"

namespace {

bool Save(const QPixmap& picture, const QString& path) {
  if (!picture.save(path)) {
    std::fprintf(stderr, "desktop_screenshots: cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s (%dx%d)\n", qPrintable(path), picture.width(), picture.height());
  return true;
}

// A menu opened beside the window, pictured on its own.
bool SaveMenu(QMenu* menu, const QPoint& at, const QString& path) {
  menu->popup(at);
  QTest::qWait(50);
  const bool saved = Save(menu->grab(), path);
  menu->hide();
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: desktop_screenshots FILE.pdf FOLDER\n");
    return 2;
  }
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  char config[] = "/tmp/zelta-screenshots-XXXXXX";
  if (mkdtemp(config)) setenv("XDG_CONFIG_HOME", config, 1);
  QApplication application(argc, argv);
  const QString folder = QString::fromLocal8Bit(argv[2]);
  std::filesystem::create_directories(argv[2]);

  zelta::desktop::DesktopSession session;
  zelta::desktop::SessionOptions options;
  options.settingsPath = std::string(config) + "/settings.json";
  std::string error, warnings;
  if (!session.Start(options, &error, &warnings)) {
    std::fprintf(stderr, "desktop_screenshots: %s\n", error.c_str());
    return 1;
  }
  bool ok = true;
  {
    zelta::desktop::MainWindow window(session.App());
    window.resize(1200, 820);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window) ||
        !window.OpenFile(QString::fromLocal8Bit(argv[1]))) {
      std::fprintf(stderr, "desktop_screenshots: cannot open %s\n", argv[1]);
      return 1;
    }
    // A selected bookmark and a page a little way in, as after some work.
    zelta::desktop::BookmarksPanel* panel = window.Panel();
    if (panel->topLevelItemCount() > 1) {
      panel->topLevelItem(1)->setExpanded(true);
      panel->setCurrentItem(panel->topLevelItem(1));
    }
    QTest::qWait(100);
    ok = Save(window.grab(), folder + "/main-window.png") && ok;

    for (QAction* action : window.menuBar()->actions()) {
      if (action->menu() && action->menu()->objectName() == "bookmarksMenu")
        ok = SaveMenu(action->menu(), window.mapToGlobal(QPoint(40, 40)),
                      folder + "/bookmarks-menu.png") &&
             ok;
    }
    // A piece of the page at full size, to judge how sharp the text is at this scale.
    ok = Save(window.View()->viewport()->grab(QRect(120, 300, 480, 200)),
              folder + "/page-detail.png") &&
         ok;
    window.View()->SetZoom(zelta::desktop::ZoomMode::kFitPage);
    QTest::qWait(50);
    ok = Save(window.grab(), folder + "/main-window-fit-page.png") && ok;
  }
  std::error_code ec;
  std::filesystem::remove_all(config, ec);
  return ok ? 0 : 1;
}
