#include "zelta/desktop/preset_menu.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>

namespace zelta::desktop {

namespace {

QString Tr(const char* text) { return QCoreApplication::translate("PresetMenu", text); }

QString Q(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string U(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<size_t>(text.size()));
}

// A name for a preset, empty when the user gave none.
QString AskName(QWidget* over, const QString& title, const QString& initial) {
  bool ok = false;
  const QString name =
      QInputDialog::getText(over, title, Tr("Preset name:"), QLineEdit::Normal, initial, &ok);
  return ok ? name.trimmed() : QString();
}

}  // namespace

void RunPresetMenu(ui::DialogDriver& user, QWidget* button) {
  const std::vector<std::u16string> names = user.Presets();
  const std::u16string current = user.Model().CurrentPresetName();
  QMenu menu(button);
  QMenu* rename = new QMenu(Tr("&Rename"), &menu);
  QMenu* remove = new QMenu(Tr("&Delete"), &menu);
  std::vector<QAction*> take;
  for (const std::u16string& name : names) {
    QAction* action = menu.addAction(Q(name));
    action->setCheckable(true);
    action->setChecked(name == current);
    take.push_back(action);
    rename->addAction(Q(name));
    remove->addAction(Q(name));
  }
  if (!names.empty()) menu.addSeparator();
  QAction* save = menu.addAction(Tr("&Save as New Preset..."));
  rename->setEnabled(!names.empty());
  remove->setEnabled(!names.empty());
  menu.addMenu(rename);
  menu.addMenu(remove);

  QAction* chosen = menu.exec(button->mapToGlobal(QPoint(0, button->height())));
  if (!chosen) return;
  if (chosen == save) {
    const QString name = AskName(button, Tr("Save Preset"), QString());
    if (!name.isEmpty()) user.SavePreset(U(name));
    return;
  }
  for (size_t i = 0; i < take.size(); ++i)
    if (chosen == take[i]) {
      user.TakePreset(static_cast<int32_t>(i));
      return;
    }
  const int32_t index =
      static_cast<int32_t>(chosen->parent() == rename ? rename->actions().indexOf(chosen)
                                                      : remove->actions().indexOf(chosen));
  if (index < 0) return;
  if (chosen->parent() == rename) {
    const QString name = AskName(button, Tr("Rename Preset"), Q(names[index]));
    if (!name.isEmpty()) user.RenamePreset(index, U(name));
  } else if (QMessageBox::question(button, Tr("Delete Preset"),
                                   Tr("Delete the preset \"%1\"?").arg(Q(names[index]))) ==
             QMessageBox::Yes) {
    user.DeletePreset(index);
  }
}

}  // namespace zelta::desktop
