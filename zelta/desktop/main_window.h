// The desktop window: one document at a time, with the bookmarks panel beside the page view,
// the File, Edit, View and Bookmarks menus, the tool bars and the page box. The document is
// never written until the user saves, and saving goes through the same temporary-file path
// as the command line.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

#include "zelta/desktop/command_menus.h"
#include "zelta/desktop/dialog_presenter.h"
#include "zelta/desktop/page_view.h"
#include "zelta/pdf/host_document.h"
#include "zelta/ui/message_record.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;

namespace zelta::desktop {

class BookmarksPanel;

// What the window asks the user. Tests replace these with scripted answers.
struct Prompts {
  enum class Unsaved { kSave, kDiscard, kCancel };
  // The password of an encrypted file; none when the user gives up. `again` after a wrong one.
  std::function<std::optional<QString>(const QString& file, bool again)> password;
  // What to do with unsaved changes before the document is closed.
  std::function<Unsaved(const QString& file)> unsaved;
  // A file to open, and where to save (empty: cancelled).
  std::function<QString()> openPath;
  std::function<QString(const QString& current)> savePath;
  // A message box; answers a MessageAnswer.
  std::function<int32_t(const ui::MessageRecord& message)> message;
};

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kMaxRecentFiles = 8;

  explicit MainWindow(app::HostApp& app, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Opens a PDF in place of the current document (asking first about unsaved changes).
  // Encrypted files ask for their password. False when nothing was opened; the reason has
  // been shown.
  bool OpenFile(const QString& path);
  // The bookmarks of a document opened from now on are read once its first page is on
  // screen (or, for a document without pages, at once): a large outline no longer holds
  // the first paint back. The file joins the recent files at the same time.
  void SetOutlineAfterFirstPaint(bool later) { outlineAfterPaint_ = later; }
  // Closes the document (asking first); false when the user kept it open.
  bool CloseDocument();
  bool Save();
  bool SaveAs(const QString& path);
  // Runs a command of the menus; the run's result (E_NOTIMPL: it needs its dialog).
  HRESULT RunCommand(Atom command);
  void Undo();
  void Redo();

  Prompts& GetPrompts() { return prompts_; }
  pdf::HostDocument* Document() const { return document_.Get(); }
  const QString& FilePath() const { return path_; }
  bool IsDirty() const { return dirty_; }
  PageView* View() const { return view_; }
  BookmarksPanel* Panel() const { return panel_; }
  QStringList RecentFiles() const;
  DialogPresenter& Dialogs() { return dialogs_; }
  // The menu of the page view as it opens now (the module's commands for selected text
  // among them); null when the host has none.
  std::unique_ptr<QMenu> PageMenu();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildActions();
  void BuildMenus();
  void BuildToolBars();
  void InstallHostServices();
  // After anything that may have changed the document: the panel, the view, the states.
  void DocumentChanged(bool reloadPages);
  void UpdateStates();
  void UpdateTitle();
  void UpdatePageBox(int page);
  void GoToPageText(const QString& text);
  void GoTo(const PageDestination& target);
  void SelectText(const PageSelection& selection);
  void AddBookmarkHere();
  void ShowPanelMenu(const QPoint& at);
  void ShowPageMenu(const QPoint& at);
  void AddRecent(const QString& path);
  // Writes a recent file that waited for the first paint (the settings file is written and
  // flushed to disk, which can take longer than drawing the page).
  void SaveRecentPending();
  void FillRecentMenu();
  int32_t UndoCount() const;
  void ShowMessage(const QString& text, uint32_t style);
  bool MaybeKeepChanges();
  // Fills the panel with an outline that waited for the first paint, and tells of the
  // repairs reading it needed.
  void ShowOutline();
  void ShowRepairs();

  app::HostApp& app_;
  Prompts prompts_;
  CommandMenus commands_;
  DialogPresenter dialogs_;
  ComPtr<pdf::HostDocument> document_;
  QString path_;
  bool dirty_ = false;
  bool running_ = false;
  bool outlineAfterPaint_ = false;
  bool outlinePending_ = false;
  QString recentPending_;
  // Message boxes shown so far (a command that showed neither a dialog nor a message box
  // had no dialog).
  int messagesShown_ = 0;

  PageView* view_ = nullptr;
  BookmarksPanel* panel_ = nullptr;
  QLineEdit* pageBox_ = nullptr;
  QLabel* pageCount_ = nullptr;
  QComboBox* zoomBox_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  QAction *open_ = nullptr, *save_ = nullptr, *saveAs_ = nullptr, *close_ = nullptr,
          *quit_ = nullptr, *undo_ = nullptr, *redo_ = nullptr, *fitWidth_ = nullptr,
          *fitPage_ = nullptr, *zoomIn_ = nullptr, *zoomOut_ = nullptr, *goTo_ = nullptr,
          *newBookmark_ = nullptr, *renameBookmark_ = nullptr, *deleteBookmarks_ = nullptr,
          *rectangleSelect_ = nullptr, *flowSelect_ = nullptr;
};

}  // namespace zelta::desktop
