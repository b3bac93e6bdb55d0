// zelta-desktop: the Zelta PDF application in a window, with the Bookmarks module.
#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "zelta/desktop/desktop_session.h"
#include "zelta/desktop/main_window.h"
#include "zelta/desktop/page_view.h"

int main(int argc, char** argv) {
  // --help and --version answer without a window, so they work where there is no display.
  bool textOnly = false;
  for (int i = 1; i < argc; ++i)
    for (const char* flag : {"--help", "-h", "--help-all", "--version", "-v"})
      textOnly = textOnly || std::strcmp(argv[i], flag) == 0;
  std::unique_ptr<QCoreApplication> application;
  if (textOnly)
    application = std::make_unique<QCoreApplication>(argc, argv);
  else
    application = std::make_unique<QApplication>(argc, argv);
  QCoreApplication::setApplicationName("zelta-desktop");
  QCoreApplication::setApplicationVersion(ZELTA_VERSION);
  QCommandLineParser parser;
  parser.setApplicationDescription("Zelta: a PDF application with the Bookmarks tools.");
  parser.addHelpOption();
  parser.addVersionOption();
  QCommandLineOption settings(
      "settings", "Settings file (default: $XDG_CONFIG_HOME/zelta/settings.json)", "FILE");
  QCommandLineOption module("module", "The Bookmarks module to load", "FILE");
  // For the benchmark: the program ends once the first page has been painted.
  QCommandLineOption firstPaint("quit-after-first-paint", "Quit once page 1 has been painted");
  parser.addOption(settings);
  parser.addOption(module);
  parser.addOption(firstPaint);
  parser.addPositionalArgument("FILE", "The PDF to open");
  parser.process(*application);

  zelta::desktop::SessionOptions options;
  options.settingsPath = parser.value(settings).toStdString();
  options.modulePath = parser.value(module).toStdString();
  zelta::desktop::DesktopSession session;
  std::string error, warnings;
  if (!session.Start(options, &error, &warnings)) {
    QMessageBox::critical(nullptr, "Zelta", QString::fromStdString(error));
    return 2;
  }
  int status = 0;
  {
    zelta::desktop::MainWindow window(session.App());
    if (parser.isSet(firstPaint)) {
      QObject::connect(window.View(), &zelta::desktop::PageView::PagePainted, &window,
                       [](int page) {
                         // What is timed ends here: the tear-down is not part of it.
                         if (page == 0) std::_Exit(0);
                       });
    }
    window.SetOutlineAfterFirstPaint(true);
    window.show();
    if (!warnings.empty()) QMessageBox::warning(&window, "Zelta", QString::fromStdString(warnings));
    if (!parser.positionalArguments().isEmpty())
      window.OpenFile(parser.positionalArguments().front());
    status = QApplication::exec();
  }
  // The last used options of the commands run are kept for the next session.
  if (!session.SaveSettings(&error)) {
    QMessageBox::warning(nullptr, "Zelta", QString::fromStdString(error));
  }
  return status;
}
