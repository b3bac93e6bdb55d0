#include "zelta/desktop/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

#include "zelta/app/selection/text_selection.h"
#include "zelta/app/selection/text_selection_part.h"
#include "zelta/app/undo_history.h"
#include "zelta/base/atom_table.h"
#include "zelta/base/result_text.h"
#include "zelta/base/text_codec.h"
#include "zelta/desktop/bookmark_edits.h"
#include "zelta/desktop/bookmarks_panel.h"
#include "zelta/desktop/progress_dialog.h"

namespace zelta::desktop {

namespace {

QString FromU16(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }

// The command that holds the module's menu in the host's bars.
constexpr const char* kModuleMenuCommand = "cmd.bookmarksPlugin";

Prompts DefaultPrompts(QWidget* owner) {
  Prompts prompts;
  prompts.password = [owner](const QString& file, bool again) -> std::optional<QString> {
    bool ok = false;
    const QString label =
        (again ? MainWindow::tr("The password was wrong.\n") : QString()) +
        MainWindow::tr("%1 is protected. Password:").arg(QFileInfo(file).fileName());
    QString answer = QInputDialog::getText(owner, MainWindow::tr("Password"), label,
                                           QLineEdit::Password, QString(), &ok);
    if (!ok) return std::nullopt;
    return answer;
  };
  prompts.unsaved = [owner](const QString& file) {
    auto answer = QMessageBox::question(
        owner, MainWindow::tr("Unsaved changes"),
        MainWindow::tr("Save the changes to %1 before closing it?").arg(QFileInfo(file).fileName()),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    return answer == QMessageBox::Save      ? Prompts::Unsaved::kSave
           : answer == QMessageBox::Discard ? Prompts::Unsaved::kDiscard
                                            : Prompts::Unsaved::kCancel;
  };
  prompts.openPath = [owner] {
    return QFileDialog::getOpenFileName(owner, MainWindow::tr("Open"), QString(),
                                        MainWindow::tr("PDF files (*.pdf);;All files (*)"));
  };
  prompts.savePath = [owner](const QString& current) {
    return QFileDialog::getSaveFileName(owner, MainWindow::tr("Save As"), current,
                                        MainWindow::tr("PDF files (*.pdf)"));
  };
  prompts.message = [owner](const ui::MessageRecord& message) -> int32_t {
    // Over the dialog that asks, when one is open.
    QWidget* modal = QApplication::activeModalWidget();
    QMessageBox box(modal ? modal : owner);
    box.setWindowTitle(FromU16(message.caption));
    box.setText(FromU16(message.text));
    const uint32_t icon = message.style & 0xF00;
    box.setIcon(icon == kMsgIconError     ? QMessageBox::Critical
                : icon == kMsgIconWarning ? QMessageBox::Warning
                                          : QMessageBox::Information);
    if ((message.style & 0xF) == kMsgYesNoCancel) {
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      const int answer = box.exec();
      return answer == QMessageBox::Yes  ? kAnswerYes
             : answer == QMessageBox::No ? kAnswerNo
                                         : kAnswerCancel;
    }
    box.exec();
    return kAnswerOk;
  };
  return prompts;
}

}  // namespace

MainWindow::MainWindow(app::HostApp& app, QWidget* parent)
    : QMainWindow(parent),
      app_(app),
      prompts_(DefaultPrompts(this)),
      commands_(app, [this](Atom command) { RunCommand(command); }),
      dialogs_(this, app.Ui().Dialogs()) {
  setObjectName("mainWindow");
  view_ = new PageView(this);
  panel_ = new BookmarksPanel(app_, this);
  auto* splitter = new QSplitter(this);
  splitter->addWidget(panel_);
  splitter->addWidget(view_);
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({260, 760});
  setCentralWidget(splitter);

  BuildActions();
  BuildMenus();
  BuildToolBars();
  InstallHostServices();

  connect(view_, &PageView::CurrentPageChanged, this, &MainWindow::UpdatePageBox);
  // After the paint has reached the screen, not inside it.
  connect(view_, &PageView::ViewPainted, this, &MainWindow::ShowOutline, Qt::QueuedConnection);
  connect(view_, &PageView::ZoomChanged, this, [this] {
    if (zoomBox_) zoomBox_->setEditText(QString::number(qRound(view_->ZoomPercent())) + "%");
  });
  connect(view_, &PageView::SelectionMade, this, &MainWindow::SelectText);
  connect(view_, &PageView::ContextMenuAsked, this, &MainWindow::ShowPageMenu);
  connect(panel_, &BookmarksPanel::GoToDestination, this, &MainWindow::GoTo);
  connect(panel_, &BookmarksPanel::Edited, this, [this] {
    dirty_ = true;
    DocumentChanged(false);
  });
  connect(panel_, &BookmarksPanel::EditFailed, this,
          [this](const QString& text) { ShowMessage(text, kMsgIconError); });
  connect(panel_, &BookmarksPanel::ContextMenuAsked, this, &MainWindow::ShowPanelMenu);
  connect(panel_, &QTreeWidget::itemSelectionChanged, this, &MainWindow::UpdateStates);
  resize(1100, 780);
  UpdateTitle();
  UpdateStates();
}

MainWindow::~MainWindow() {
  SaveRecentPending();
  // The host outlives the window: it must not call back into it.
  app_.Ui().SetMessageHandler(nullptr);
  app_.Ui().SetProgressFactory(nullptr);
}

void MainWindow::InstallHostServices() {
  app_.Ui().SetMessageHandler([this](const ui::MessageRecord& message) {
    ++messagesShown_;
    return prompts_.message ? prompts_.message(message) : int32_t{kAnswerOk};
  });
  app_.Ui().SetProgressFactory([this]() -> ComPtr<IHostProgress> {
    return ComPtr<IHostProgress>(MakeCom<ProgressDialog>(this));
  });
}

void MainWindow::BuildActions() {
  auto make = [this](const QString& text, QKeySequence key, auto slot) {
    auto* action = new QAction(text, this);
    if (!key.isEmpty()) action->setShortcut(key);
    connect(action, &QAction::triggered, this, slot);
    return action;
  };
  open_ = make(tr("&Open..."), QKeySequence::Open, [this] {
    const QString path = prompts_.openPath ? prompts_.openPath() : QString();
    if (!path.isEmpty()) OpenFile(path);
  });
  save_ = make(tr("&Save"), QKeySequence::Save, [this] { Save(); });
  saveAs_ = make(tr("Save &As..."), QKeySequence::SaveAs, [this] {
    const QString path = prompts_.savePath ? prompts_.savePath(path_) : QString();
    if (!path.isEmpty()) SaveAs(path);
  });
  close_ = make(tr("&Close"), QKeySequence::Close, [this] { CloseDocument(); });
  quit_ = make(tr("&Quit"), QKeySequence::Quit, [this] { close(); });
  undo_ = make(tr("&Undo"), QKeySequence::Undo, [this] { Undo(); });
  redo_ = make(tr("&Redo"), QKeySequence::Redo, [this] { Redo(); });
  fitWidth_ = make(tr("Fit &Width"), QKeySequence(Qt::CTRL | Qt::Key_2),
                   [this] { view_->SetZoom(ZoomMode::kFitWidth); });
  fitPage_ = make(tr("Fit &Page"), QKeySequence(Qt::CTRL | Qt::Key_0),
                  [this] { view_->SetZoom(ZoomMode::kFitPage); });
  zoomIn_ = make(tr("Zoom &In"), QKeySequence::ZoomIn,
                 [this] { view_->SetZoom(ZoomMode::kPercent, view_->ZoomPercent() * 1.25); });
  zoomOut_ = make(tr("Zoom &Out"), QKeySequence::ZoomOut,
                  [this] { view_->SetZoom(ZoomMode::kPercent, view_->ZoomPercent() / 1.25); });
  goTo_ = make(tr("&Go to Page..."), QKeySequence(Qt::CTRL | Qt::Key_G), [this] {
    pageBox_->setFocus();
    pageBox_->selectAll();
  });
  newBookmark_ =
      make(tr("&New Bookmark"), QKeySequence(Qt::CTRL | Qt::Key_B), [this] { AddBookmarkHere(); });
  renameBookmark_ =
      make(tr("&Rename Bookmark"), QKeySequence(Qt::Key_F2), [this] { panel_->RenameCurrent(); });
  deleteBookmarks_ =
      make(tr("&Delete Bookmarks"), QKeySequence(), [this] { panel_->DeleteSelected(); });
  // Icons from the desktop's theme (freedesktop names); a theme without one leaves the text.
  for (auto [action, name] : {std::pair{open_, "document-open"},
                              {save_, "document-save"},
                              {saveAs_, "document-save-as"},
                              {close_, "window-close"},
                              {quit_, "application-exit"},
                              {undo_, "edit-undo"},
                              {redo_, "edit-redo"},
                              {fitPage_, "zoom-fit-best"},
                              {zoomIn_, "zoom-in"},
                              {zoomOut_, "zoom-out"},
                              {goTo_, "go-jump"},
                              {newBookmark_, "bookmark-new"},
                              {deleteBookmarks_, "edit-delete"}})
    action->setIcon(QIcon::fromTheme(name));
  rectangleSelect_ = make(tr("Select Text in a &Rectangle"), QKeySequence(),
                          [this] { view_->SetSelectionMode(SelectionMode::kRectangle); });
  flowSelect_ = make(tr("Select Text from &Start to End"), QKeySequence(),
                     [this] { view_->SetSelectionMode(SelectionMode::kStartToEnd); });
  auto* group = new QActionGroup(this);
  for (QAction* action : {rectangleSelect_, flowSelect_}) {
    action->setCheckable(true);
    group->addAction(action);
  }
  rectangleSelect_->setChecked(true);
}

void MainWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  file->addAction(open_);
  recentMenu_ = file->addMenu(tr("Open &Recent"));
  connect(recentMenu_, &QMenu::aboutToShow, this, &MainWindow::FillRecentMenu);
  file->addSeparator();
  file->addAction(save_);
  file->addAction(saveAs_);
  file->addSeparator();
  file->addAction(close_);
  file->addAction(quit_);

  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  edit->addAction(undo_);
  edit->addAction(redo_);
  edit->addSeparator();
  edit->addAction(rectangleSelect_);
  edit->addAction(flowSelect_);

  QMenu* view = menuBar()->addMenu(tr("&View"));
  view->addAction(fitWidth_);
  view->addAction(fitPage_);
  view->addAction(zoomIn_);
  view->addAction(zoomOut_);
  view->addSeparator();
  view->addAction(goTo_);

  // The module's menu, as its command tables place it in the host's bars, after the
  // panel's own commands.
  const Atom moduleMenu = base::Intern(kModuleMenuCommand);
  QMenu* bookmarks = menuBar()->addMenu(tr("&Bookmarks"));
  bookmarks->setObjectName("bookmarksMenu");
  bookmarks->addAction(newBookmark_);
  bookmarks->addAction(renameBookmark_);
  bookmarks->addAction(deleteBookmarks_);
  if (auto submenu = commands_.FindSubmenu(moduleMenu)) {
    bookmarks->addSeparator();
    commands_.Fill(bookmarks, submenu.Get());
  }
}

void MainWindow::BuildToolBars() {
  QToolBar* main = addToolBar(tr("Main"));
  main->setObjectName("mainToolBar");
  main->addAction(open_);
  main->addAction(save_);
  main->addSeparator();
  main->addAction(undo_);
  main->addAction(redo_);
  main->addSeparator();
  pageBox_ = new QLineEdit(this);
  pageBox_->setObjectName("pageBox");
  pageBox_->setToolTip(tr("Page label or number; Enter goes there"));
  pageBox_->setMaximumWidth(fontMetrics().horizontalAdvance(QString(12, QChar('M'))));
  pageCount_ = new QLabel(this);
  connect(pageBox_, &QLineEdit::returnPressed, this, [this] { GoToPageText(pageBox_->text()); });
  main->addWidget(new QLabel(tr(" Page "), this));
  main->addWidget(pageBox_);
  main->addWidget(pageCount_);
  main->addSeparator();
  zoomBox_ = new QComboBox(this);
  zoomBox_->setObjectName("zoomBox");
  zoomBox_->setEditable(true);
  zoomBox_->addItems(
      {tr("Fit Width"), tr("Fit Page"), "50%", "75%", "100%", "125%", "150%", "200%", "400%"});
  zoomBox_->setMinimumContentsLength(8);
  connect(zoomBox_, &QComboBox::textActivated, this, [this](const QString& text) {
    if (text == tr("Fit Width")) return view_->SetZoom(ZoomMode::kFitWidth);
    if (text == tr("Fit Page")) return view_->SetZoom(ZoomMode::kFitPage);
    QString number = text;
    number.remove('%');
    bool ok = false;
    const double percent = number.trimmed().toDouble(&ok);
    if (ok && percent > 0) view_->SetZoom(ZoomMode::kPercent, percent);
  });
  main->addWidget(zoomBox_);

  if (auto submenu = commands_.FindSubmenu(base::Intern(kModuleMenuCommand))) {
    QToolBar* tools = addToolBar(tr("Bookmarks"));
    tools->setObjectName("bookmarksToolBar");
    // The theme's icon, or the command's text where the theme has none.
    tools->setToolButtonStyle(Qt::ToolButtonIconOnly);
    addToolBarBreak();
    addToolBar(Qt::TopToolBarArea, tools);
    commands_.Fill(tools, submenu.Get());
  }
}

namespace {

QStringList WithRecent(QStringList files, const QString& path) {
  const QString full = QFileInfo(path).absoluteFilePath();
  files.removeAll(full);
  files.prepend(full);
  while (files.size() > MainWindow::kMaxRecentFiles) files.removeLast();
  return files;
}

}  // namespace

QStringList MainWindow::RecentFiles() const {
  QStringList files = QSettings("zelta", "desktop").value("recentFiles").toStringList();
  return recentPending_.isEmpty() ? files : WithRecent(std::move(files), recentPending_);
}

void MainWindow::AddRecent(const QString& path) {
  // A file still waiting for the first paint was opened before this one.
  const QStringList files = RecentFiles();
  recentPending_.clear();
  QSettings("zelta", "desktop").setValue("recentFiles", WithRecent(files, path));
}

void MainWindow::SaveRecentPending() {
  // A copy: AddRecent clears the member.
  if (!recentPending_.isEmpty()) AddRecent(QString(recentPending_));
}

void MainWindow::FillRecentMenu() {
  recentMenu_->clear();
  for (const QString& file : RecentFiles())
    recentMenu_->addAction(file, this, [this, file] { OpenFile(file); });
  recentMenu_->setEnabled(true);
  if (recentMenu_->isEmpty()) recentMenu_->addAction(tr("(none)"))->setEnabled(false);
}

bool MainWindow::MaybeKeepChanges() {
  if (!document_ || !dirty_) return true;
  const auto answer = prompts_.unsaved ? prompts_.unsaved(path_) : Prompts::Unsaved::kCancel;
  if (answer == Prompts::Unsaved::kCancel) return false;
  if (answer == Prompts::Unsaved::kSave) return Save();
  return true;
}

bool MainWindow::OpenFile(const QString& path) {
  if (running_ || !MaybeKeepChanges()) return false;
  ComPtr<pdf::HostDocument> opened;
  std::string password, error;
  // Only a window on screen paints; one that is not shows the bookmarks at once.
  const bool deferOutline = outlineAfterPaint_ && isVisible();
  for (bool again = false;; again = true) {
    error.clear();
    const HRESULT hr =
        app_.OpenDocument(ToUtf8(path), password, &opened, &error,
                          deferOutline ? pdf::OutlineRead::kOnFirstUse : pdf::OutlineRead::kAtOpen);
    if (Succeeded(hr)) break;
    // An encrypted file: the same open again with the password the user gives.
    if (hr == E_ACCESS_DENIED && prompts_.password) {
      auto answer = prompts_.password(path, again);
      if (!answer) return false;
      password = ToUtf8(*answer);
      continue;
    }
    ShowMessage(QString::fromStdString(error.empty() ? "cannot open " + ToUtf8(path) : error),
                kMsgIconError);
    return false;
  }
  if (document_) app_.CloseDocument(document_.Get());
  SaveRecentPending();
  document_ = opened;
  path_ = path;
  dirty_ = false;
  app_.SetActiveDocument(document_.Get());
  view_->SetDocument(document_.Get());
  int32_t pages = 0;
  document_->GetPageCount(&pages);
  outlinePending_ = deferOutline && pages > 0;
  panel_->SetDocument(outlinePending_ ? nullptr : document_.Get());
  if (outlinePending_)
    recentPending_ = path;
  else
    AddRecent(path);
  DocumentChanged(false);
  ShowRepairs();
  return true;
}

void MainWindow::ShowOutline() {
  if (!outlinePending_) return;
  outlinePending_ = false;
  panel_->SetDocument(document_.Get());
  UpdateStates();
  ShowRepairs();
  SaveRecentPending();
}

void MainWindow::ShowRepairs() {
  // Damage that was repaired on reading: the document is usable, the user should know.
  if (!document_ || document_->Warnings().empty()) return;
  const auto& warnings = document_->Warnings();
  statusBar()->showMessage(
      tr("Opened with %n repair(s): %1", nullptr, static_cast<int>(warnings.size()))
          .arg(QString::fromStdString(warnings.front())));
}

bool MainWindow::CloseDocument() {
  if (running_ || !MaybeKeepChanges()) return false;
  if (document_) app_.CloseDocument(document_.Get());
  SaveRecentPending();
  document_ = nullptr;
  path_.clear();
  dirty_ = false;
  view_->SetDocument(nullptr);
  outlinePending_ = false;
  panel_->SetDocument(nullptr);
  DocumentChanged(false);
  return true;
}

bool MainWindow::Save() {
  if (!document_) return false;
  return SaveAs(path_);
}

bool MainWindow::SaveAs(const QString& path) {
  if (!document_ || path.isEmpty()) return false;
  std::string error;
  // The host writes a temporary file beside the target and renames it into place: the file
  // on disk is either the old one or the complete new one.
  if (Failed(document_->Save(ToUtf8(path), &error))) {
    ShowMessage(QString::fromStdString(error), kMsgIconError);
    return false;
  }
  path_ = path;
  dirty_ = false;
  AddRecent(path);
  UpdateTitle();
  UpdateStates();
  statusBar()->showMessage(tr("Saved %1").arg(path), 5000);
  return true;
}

HRESULT MainWindow::RunCommand(Atom command) {
  if (running_) return E_FAIL;
  if (app_.CommandState(command) != kCommandEnabled) return E_FAIL;
  running_ = true;
  const int32_t undoBefore = UndoCount();
  const int dialogsBefore = dialogs_.Shown(), messagesBefore = messagesShown_;
  std::string error;
  HRESULT hr = dialogs_.CanShowDialogs() ? app_.ExecuteCommand(command, &error)
                                         : app_.RunCommandWithStoredOptions(command, &error);
  // A command whose module has no dialog for it yet answers without showing anything: it
  // runs with the options it last ran with, as it does where no dialog can be shown.
  if (dialogs_.CanShowDialogs() && Succeeded(hr) && dialogs_.Shown() == dialogsBefore &&
      messagesShown_ == messagesBefore && UndoCount() == undoBefore)
    hr = app_.RunCommandWithStoredOptions(command, &error);
  running_ = false;
  if (hr == E_NOTIMPL) {
    ShowMessage(tr("This command works through its dialog, which this window cannot show yet."),
                kMsgIconWarning);
  }
  // The module has shown the run's own messages (failures, warnings, no change).
  if (UndoCount() != undoBefore) dirty_ = true;
  DocumentChanged(true);
  return hr;
}

int32_t MainWindow::UndoCount() const {
  auto history = document_ ? app_.UndoHistoryOf(document_.Get()) : nullptr;
  int32_t count = 0;
  if (history) history->GetUndoCount(&count);
  return count;
}

void MainWindow::Undo() {
  auto history = document_ ? app_.UndoHistoryOf(document_.Get()) : nullptr;
  if (!history || running_) return;
  if (HRESULT hr = history->Undo(); Failed(hr)) {
    ShowMessage(tr("Cannot undo: %1").arg(FromU16(base::DescribeResult(hr))), kMsgIconError);
  } else {
    dirty_ = true;
  }
  DocumentChanged(true);
}

void MainWindow::Redo() {
  auto history = document_ ? app_.UndoHistoryOf(document_.Get()) : nullptr;
  if (!history || running_) return;
  if (HRESULT hr = history->Redo(); Failed(hr)) {
    ShowMessage(tr("Cannot redo: %1").arg(FromU16(base::DescribeResult(hr))), kMsgIconError);
  } else {
    dirty_ = true;
  }
  DocumentChanged(true);
}

void MainWindow::DocumentChanged(bool reloadPages) {
  if (reloadPages && document_) {
    // Pages may have been added or removed (a table of contents, its undo).
    const int page = view_->CurrentPage();
    int32_t count = 0;
    document_->GetPageCount(&count);
    if (count != view_->PageCount()) {
      view_->Reload();
      view_->GoToPage(page);
    } else {
      view_->Reload();
    }
    if (outlinePending_)
      ShowOutline();
    else
      panel_->Rebuild();
  }
  UpdatePageBox(view_->CurrentPage());
  UpdateTitle();
  UpdateStates();
}

void MainWindow::UpdateStates() {
  const bool open = static_cast<bool>(document_);
  for (QAction* action :
       {save_, saveAs_, close_, fitWidth_, fitPage_, zoomIn_, zoomOut_, goTo_, newBookmark_})
    action->setEnabled(open && !running_);
  save_->setEnabled(open && dirty_);
  const bool selected = open && !panel_->SelectedBookmarks().empty();
  deleteBookmarks_->setEnabled(selected);
  renameBookmark_->setEnabled(open && panel_->currentItem());
  auto history = open ? app_.UndoHistoryOf(document_.Get()) : nullptr;
  int32_t undo = 0, redo = 0;
  if (history) {
    history->GetUndoCount(&undo);
    history->GetRedoCount(&redo);
  }
  undo_->setEnabled(undo > 0);
  redo_->setEnabled(redo > 0);
  QString label;
  if (undo > 0) {
    OwnedString id;
    history->GetLabel(undo - 1, id.Put());
    const std::string key = base::LossyUtf8(id.View());
    const std::u16string text = app_.String(key);
    if (!key.empty() && text != base::LossyUtf16(key)) label = FromU16(text);
  }
  label.remove("...");
  undo_->setText(label.isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(label));
  pageBox_->setEnabled(open);
  zoomBox_->setEnabled(open);
  commands_.UpdateStates();
}

void MainWindow::UpdateTitle() {
  QString name = document_ ? QFileInfo(path_).fileName() : tr("No document");
  setWindowTitle((dirty_ ? "*" : "") + name + " - Zelta");
}

void MainWindow::UpdatePageBox(int page) {
  if (!document_ || page < 0) {
    pageBox_->clear();
    pageCount_->clear();
    return;
  }
  OwnedString label;
  document_->GetPageLabel(page, label.Put());
  if (!pageBox_->hasFocus()) pageBox_->setText(FromU16(label.View()));
  const QString number = QString::number(page + 1);
  const QString shown = FromU16(label.View());
  pageCount_->setText(shown == number ? tr(" of %1 ").arg(view_->PageCount())
                                      : tr(" (%1 of %2) ").arg(number).arg(view_->PageCount()));
}

void MainWindow::GoToPageText(const QString& text) {
  if (!document_) return;
  const QString wanted = text.trimmed();
  // A page label first (a document numbered "i", "ii", "1"... names its pages so), then a
  // page number.
  const std::u16string key(reinterpret_cast<const char16_t*>(wanted.utf16()),
                           static_cast<size_t>(wanted.size()));
  for (int page = 0; page < view_->PageCount(); ++page) {
    OwnedString label;
    if (document_->GetPageLabel(page, label.Put()) == S_OK && label.View() == key) {
      view_->GoToPage(page);
      return UpdatePageBox(page);
    }
  }
  bool ok = false;
  const int number = wanted.toInt(&ok);
  if (ok && number >= 1 && number <= view_->PageCount()) {
    view_->GoToPage(number - 1);
    return UpdatePageBox(number - 1);
  }
  statusBar()->showMessage(tr("No page \"%1\"").arg(wanted), 5000);
  UpdatePageBox(view_->CurrentPage());
}

void MainWindow::GoTo(const PageDestination& target) {
  // Destinations that give a top (XYZ, FitH, FitBH, FitR) are shown from it.
  double top = 0;
  bool hasTop = false;
  switch (target.fitType) {
    case kFitXYZ:
      hasTop = !(target.flags & 0x2);
      top = target.values[1];
      break;
    case kFitH:
    case kFitBH:
      hasTop = !(target.flags & 0x1);
      top = target.values[0];
      break;
    case kFitR:
      hasTop = !(target.flags & 0x8);
      top = target.values[3];
      break;
    default:
      break;
  }
  if (hasTop)
    view_->GoToPoint(target.page, 0, top);
  else
    view_->GoToPage(target.page);
  UpdatePageBox(view_->CurrentPage());
}

void MainWindow::SelectText(const PageSelection& selection) {
  if (!document_) return;
  ComPtr<app::TextSelectionPart> part;
  std::string error;
  HRESULT hr = selection.mode == SelectionMode::kRectangle
                   ? app::TextSelectionPart::Select(document_.Get(), selection.page, selection.area,
                                                    &part, &error)
                   : app::TextSelectionPart::SelectBetween(
                         document_.Get(), selection.page, selection.fromX, selection.fromY,
                         selection.toX, selection.toY, &part, &error);
  if (Failed(hr)) {
    statusBar()->showMessage(QString::fromStdString(error), 5000);
    return;
  }
  int32_t characters = 0;
  for (const auto& [start, length] : part->Ranges()) characters += length;
  std::vector<ComPtr<IUnknown>> items;
  if (characters > 0) {
    auto text = MakeCom<app::TextSelection>(
        std::vector<ComPtr<IHostTextSelectionPart>>{ComPtr<IHostTextSelectionPart>(part.Get())});
    items.emplace_back(static_cast<IHostTextSelection*>(text.Get()));
  }
  app_.SetSelection(document_.Get(), base::Intern("selection.text"), std::move(items));
  statusBar()->showMessage(
      tr("%n character(s) selected on page %1", nullptr, characters).arg(selection.page + 1), 5000);
  UpdateStates();
}

void MainWindow::AddBookmarkHere() {
  int page = 0;
  double x = 0, y = 0;
  if (!document_ || !view_->ViewTop(&page, &x, &y)) return;
  PageDestination target;
  target.page = page;
  target.fitType = kFitXYZ;
  target.values[0] = x;
  target.values[1] = y;
  target.flags = 0x4 | 0x8;  // left and top given; zoom and the unused value absent
  panel_->AddBookmark(target);
}

void MainWindow::ShowPanelMenu(const QPoint& at) {
  QMenu menu(this);
  menu.addAction(newBookmark_);
  menu.addAction(renameBookmark_);
  menu.addAction(deleteBookmarks_);
  if (auto submenu = commands_.FindSubmenu(base::Intern(kModuleMenuCommand))) {
    menu.addSeparator();
    commands_.Fill(&menu, submenu.Get());
  }
  commands_.UpdateStates();
  menu.exec(at);
}

std::unique_ptr<QMenu> MainWindow::PageMenu() {
  auto built = app_.ShowContextMenu(base::Intern("menu.tool.selectText"));
  if (!built) return nullptr;
  auto menu = std::make_unique<QMenu>(this);
  commands_.Fill(menu.get(), built.Get());
  commands_.UpdateStates();
  return menu;
}

void MainWindow::ShowPageMenu(const QPoint& at) {
  if (auto menu = PageMenu()) menu->exec(at);
}

void MainWindow::ShowMessage(const QString& text, uint32_t style) {
  ui::MessageRecord record;
  const QString caption = tr("Zelta");
  record.text = std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), text.size());
  record.caption =
      std::u16string(reinterpret_cast<const char16_t*>(caption.utf16()), caption.size());
  record.style = style;
  if (prompts_.message) prompts_.message(record);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (running_ || !MaybeKeepChanges()) {
    event->ignore();
    return;
  }
  event->accept();
}

}  // namespace zelta::desktop
