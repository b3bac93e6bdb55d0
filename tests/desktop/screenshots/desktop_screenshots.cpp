// Writes pictures of the desktop window and of every dialog of the module as a user sees them,
// for a person to look at:
//   desktop_screenshots FILE.pdf FOLDER
// The scale comes from the environment (QT_SCALE_FACTOR=2 for 200%); the platform is
// offscreen unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "zelta/base/atom_table.h"
#include "zelta/desktop/bookmarks_panel.h"
#include "zelta/desktop/desktop_session.h"
#include "zelta/desktop/dialog_window.h"
#include "zelta/desktop/main_window.h"
#include "zelta/desktop/sheet_window.h"
#include "zelta/ui/dialog_layout_parser.h"

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

// The dialogs that a command of the module opens; the others are opened from their layout.
constexpr std::pair<std::u16string_view, const char*> kOpenedBy[] = {
    {u"DlgAutoGenerateBookmarks", "cmd.bookmarksPlugin.generate"},
    {u"DlgValidateBookmarks", "cmd.bookmarksPlugin.validate"},
    {u"DlgToTOC", "cmd.bookmarksPlugin.toTOC"},
    {u"DlgFromTOC", "cmd.bookmarksPlugin.fromTOC"},
    {u"DlgSortBookmarks", "cmd.bookmarksPlugin.sort"},
    {u"DlgChangeBookmarkCase", "cmd.bookmarksPlugin.changeBookmarkCase"},
    {u"DlgAddTextToBookmark", "cmd.bookmarksPlugin.addTextToBookmarkTitle"},
    {u"DlgBookmarksToNamedDests", "cmd.bookmarksPlugin.bookmarksToNamedDests"},
    {u"DlgFindReplaceBookmarkText", "cmd.bookmarksPlugin.findReplaceBookmarkText"},
    {u"DlgFromTextFile", "cmd.bookmarksPlugin.fromTextFile"},
};

// A handler that leaves every message to the host's defaults.
class PlainHandler : public zelta::ComObject<zelta::IDialogHandler> {
 public:
  zelta::HRESULT GetTypeInfoCount(uint32_t* count) override {
    *count = 1;
    return zelta::S_OK;
  }
  zelta::HRESULT OnMessage(zelta::IHostDialog*, zelta::IDialogMessage*, int32_t* result) override {
    *result = 1;
    return zelta::S_OK;
  }
};

// Pictures the dialog that `open` shows, then cancels it; `height` (0: as laid out) makes the
// window that tall first.
bool SaveDialog(zelta::desktop::MainWindow& window, const QString& path,
                const std::function<void()>& open, int height = 0) {
  bool saved = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    const auto shown = window.Dialogs().Windows();
    if (shown.empty()) return;
    poll.stop();
    zelta::desktop::DialogWindow* dialog = shown.back();
    if (height > 0) dialog->resize(dialog->width(), height);
    (void)QTest::qWaitForWindowExposed(dialog);
    QTest::qWait(50);
    saved = Save(dialog->grab(), path);
    dialog->reject();
  });
  poll.start(20);
  open();
  (void)QTest::qWaitFor([&] { return window.Dialogs().Windows().empty(); }, 2000);
  if (!saved) std::fprintf(stderr, "desktop_screenshots: no dialog for %s\n", qPrintable(path));
  return saved;
}

// Pictures each page of the level's property sheet that the selected-text style command
// shows, then cancels it.
bool SaveSheet(zelta::desktop::MainWindow& window, const QString& folder) {
  int saved = 0, pages = -1;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* sheet = qobject_cast<zelta::desktop::SheetWindow*>(QApplication::activeModalWidget());
    if (!sheet) return;
    poll.stop();
    (void)QTest::qWaitForWindowExposed(sheet);
    pages = sheet->Tabs()->count();
    for (int page = 0; page < pages; ++page) {
      sheet->Tabs()->setCurrentIndex(page);
      QTest::qWait(50);
      saved += Save(sheet->grab(), folder + QString("/sheet-level-page-%1.png").arg(page + 1));
    }
    sheet->reject();
  });
  poll.start(20);
  window.RunCommand(zelta::base::Intern("cmd.bookmarksPlugin.addAGBLevel"));
  if (pages <= 0) std::fprintf(stderr, "desktop_screenshots: no property sheet\n");
  return pages > 0 && saved == pages;
}

bool SaveDialogs(zelta::desktop::MainWindow& window, zelta::app::HostApp& app,
                 const QString& folder) {
  std::ifstream in(ZELTA_SOURCE_DIR "/resources/dialogs.xml", std::ios::binary);
  std::stringstream read;
  read << in.rdbuf();
  const std::string resource = read.str();
  const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(resource.data()),
                                       resource.size());
  // Text selected on a page, for the commands that read it.
  emit window.View()->SelectionMade(zelta::desktop::PageSelection{
      1, zelta::desktop::SelectionMode::kRectangle, zelta::PageBox{0, 0, 612, 792}});
  bool ok = true;
  // The page's menu over the selection, with the command that takes its style.
  auto pageMenu = window.PageMenu();
  ok = pageMenu &&
       SaveMenu(pageMenu.get(), window.mapToGlobal(QPoint(600, 300)), folder + "/page-menu.png") &&
       ok;
  for (const std::u16string& id : zelta::ui::DialogLayoutIds(bytes)) {
    const QString path = folder + "/dialog-" +
                         QString::fromUtf16(id.data(), static_cast<qsizetype>(id.size())) + ".png";
    const char* command = nullptr;
    for (const auto& [layout, opener] : kOpenedBy)
      if (layout == id) command = opener;
    auto open = [&] {
      if (command) {
        window.RunCommand(zelta::base::Intern(command));
        return;
      }
      auto handler = zelta::MakeCom<PlainHandler>();
      const zelta::DialogDescription description{bytes.data(), static_cast<uint32_t>(bytes.size()),
                                                 id.c_str(), 0, handler.Get()};
      zelta::ComPtr<zelta::IHostDialog> dialog;
      if (app.Ui().Dialogs().Create(&description, dialog.Put(), nullptr) == zelta::S_OK)
        app.Ui().Dialogs().ShowModeless(dialog.Get());
    };
    ok = SaveDialog(window, path, open) && ok;
  }
  ok = SaveSheet(window, folder) && ok;
  // Too small a window: the part above the fixed area scrolls, OK and Cancel stay.
  ok =
      SaveDialog(
          window, folder + "/dialog-DlgChangeBookmarkCase-small.png",
          [&] { window.RunCommand(zelta::base::Intern("cmd.bookmarksPlugin.changeBookmarkCase")); },
          window.height() / 2) &&
      ok;
  return ok;
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
    ok = SaveDialogs(window, session.App(), folder) && ok;
  }
  std::error_code ec;
  std::filesystem::remove_all(config, ec);
  return ok ? 0 : 1;
}
