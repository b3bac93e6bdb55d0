#include "zelta/desktop/dialog_presenter.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>

#include "zelta/desktop/dialog_window.h"
#include "zelta/desktop/sheet_window.h"

namespace zelta::desktop {

namespace {

QString Q(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string U(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<size_t>(text.size()));
}

// "Text files|*.txt;*.csv|All files|*.*||" as Qt writes it: "Text files (*.txt *.csv);;...".
// Qt reads the patterns from the name's last parentheses, so patterns the name already shows
// ("Text files (*.txt)") give way to the pattern part.
QString FileFilter(std::u16string_view filter) {
  const QStringList parts = Q(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString name = parts[i].trimmed();
    if (name.isEmpty()) break;
    if (name.endsWith(')') && name.contains('(')) name = name.left(name.lastIndexOf('(')).trimmed();
    filters << QString("%1 (%2)").arg(name, QString(parts[i + 1]).replace(';', ' '));
  }
  return filters.join(";;");
}

// Adds the entries [begin, end) to the menu; an entry with a submenu takes the entries after
// it. Each command entry keeps its command.
void FillMenu(QMenu* menu, const DialogMenuItem* items, int32_t begin, int32_t end) {
  for (int32_t i = begin; i < end; ++i) {
    if (!items[i].text) {
      menu->addSeparator();
    } else if (items[i].submenu > 0) {
      const int32_t last = std::min(end, i + 1 + items[i].submenu);
      FillMenu(menu->addMenu(Q(InString(items[i].text, -1))), items, i + 1, last);
      i = last - 1;
    } else {
      menu->addAction(Q(InString(items[i].text, -1)))->setData(items[i].command);
    }
  }
}

}  // namespace

DialogPresenter::DialogPresenter(QWidget* owner, ui::DialogEngine& engine)
    : owner_(owner), engine_(engine) {
  engine_.SetInteractive(true);
  engine_.SetDefaultDriver([this](ui::DialogDriver& user) { Present(user); });
  engine_.SetInputBox([this](const ui::DialogEngine::Prompt& prompt) {
    bool ok = false;
    const QString answer = QInputDialog::getText(Parent(), Q(prompt.title), Q(prompt.prompt),
                                                 QLineEdit::Normal, Q(prompt.initial), &ok);
    return ok ? std::optional<std::u16string>(U(answer)) : std::nullopt;
  });
  engine_.SetMenuBox([this](const DialogMenuItem* items, int32_t count, ui::DialogControl* anchor) {
    return Menu(items, count, anchor);
  });
  engine_.SetFileBox([this](std::u16string_view filter) -> std::optional<std::u16string> {
    const QString path =
        QFileDialog::getOpenFileName(Parent(), QString(), QString(), FileFilter(filter));
    if (path.isEmpty()) return std::nullopt;
    return U(path);
  });
}

DialogPresenter::~DialogPresenter() {
  // The engine outlives the window: it must not call back into it, and the modeless
  // dialogs close with their owner.
  engine_.CloseAll();
  engine_.SetDefaultDriver(nullptr);
  engine_.SetInputBox(nullptr);
  engine_.SetMenuBox(nullptr);
  engine_.SetFileBox(nullptr);
  engine_.SetInteractive(false);
  for (const auto& window : windows_) delete window.data();
}

std::vector<DialogWindow*> DialogPresenter::Windows() const {
  std::vector<DialogWindow*> open;
  for (const auto& window : windows_)
    if (window && window->isVisible()) open.push_back(window.data());
  return open;
}

QWidget* DialogPresenter::Parent() const {
  QWidget* modal = QApplication::activeModalWidget();
  return modal ? modal : owner_.data();
}

void DialogPresenter::Present(ui::DialogDriver& user) {
  ++shown_;
  std::erase_if(windows_, [](const QPointer<DialogWindow>& window) { return window.isNull(); });
  if (ui::PropertySheet* sheet = user.Sheet()) {
    SheetWindow window(*sheet, user.Engine(), Parent());
    window.RunModal();
    return;
  }
  ui::Dialog& model = user.Model();
  if (!model.Modal()) {
    // Lives until its model ends; the engine closes the model when the owner goes.
    auto* window = new DialogWindow(model, owner_);
    window->setAttribute(Qt::WA_DeleteOnClose);
    windows_.emplace_back(window);
    window->show();
    return;
  }
  DialogWindow window(model, Parent());
  windows_.emplace_back(&window);
  window.RunModal();
}

std::optional<int32_t> DialogPresenter::Menu(const DialogMenuItem* items, int32_t count,
                                             ui::DialogControl* anchor) {
  QWidget* beside = nullptr;
  for (const auto& window : windows_)
    if (window && anchor && (beside = window->Page()->WidgetOf(anchor))) break;
  QMenu menu(beside ? beside : Parent());
  FillMenu(&menu, items, 0, count);
  const QPoint at = beside ? beside->mapToGlobal(QPoint(0, beside->height())) : QCursor::pos();
  QAction* chosen = menu.exec(at);
  if (!chosen || !chosen->data().isValid()) return std::nullopt;
  return chosen->data().toInt();
}

}  // namespace zelta::desktop
