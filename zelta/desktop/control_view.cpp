#include "zelta/desktop/control_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QToolTip>
#include <QTreeWidget>
#include <algorithm>

#include "zelta/desktop/preset_menu.h"
#include "zelta/ui/dialog_engine.h"

namespace zelta::desktop {

namespace {

// How this host reads a layout's style bits: an edit with kMultiLineEdit takes several lines;
// a combo box with kEditableCombo takes typed text besides its entries.
constexpr uint32_t kMultiLineEdit = 0x4;
constexpr uint32_t kEditableCombo = 0x1;
// A label taller than one line of text wraps its words and starts at its top.
constexpr int32_t kOneLineUnits = 14;
// Layout alignment bits of a label's drawTextFlags.
constexpr uint32_t kDrawCentred = 0x1, kDrawRight = 0x2;
constexpr std::u16string_view kPresetButton = u"btn.presets";
// Pictures are drawn from the style's standard icons at this size.
constexpr int kPictureSide = 32;

QString Q(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string U(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<size_t>(text.size()));
}

// Buttons and boxes read "&" as the mark of a shortcut; the layouts' texts mean it literally.
QString Literal(std::u16string_view text) { return Q(text).replace("&", "&&"); }

QIcon IconOf(std::u16string_view image) {
  const QString name = Q(image);
  const QStyle::StandardPixmap pixmap = name.contains("warning") ? QStyle::SP_MessageBoxWarning
                                        : name.contains("error") ? QStyle::SP_MessageBoxCritical
                                        : name.contains("question")
                                            ? QStyle::SP_MessageBoxQuestion
                                            : QStyle::SP_MessageBoxInformation;
  return QApplication::style()->standardIcon(pixmap);
}

int32_t KeyOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Insert:
      return kKeyInsert;
    case Qt::Key_Delete:
      return kKeyDelete;
    case Qt::Key_F2:
      return kKeyF2;
    default:
      return 0;
  }
}

template <typename Widget>
void SetText(Widget* widget, const QString& text) {
  if (widget->text() != text) widget->setText(text);
}

}  // namespace

ControlView::ControlView(ui::Dialog& dialog, ui::DialogControl* control, QWidget* parent,
                         const DialogUnits& units, Act act)
    : dialog_(dialog), control_(control), act_(std::move(act)) {
  widget_ = Make(parent);
  widget_->setObjectName(Q(control->Id()));
  const ui::LayoutControl& place = control->Layout();
  widget_->setGeometry(units.Rect(place.x, place.y, place.width, place.height));
  if (!TakesFocus()) widget_->setFocusPolicy(place.tabStop ? Qt::NoFocus : Qt::ClickFocus);
  Pull();
}

bool ControlView::TakesFocus() const {
  switch (control_->Kind()) {
    case kControlCheck:
    case kControlRadio:
    case kControlButton:
    case kControlEdit:
    case kControlCombo:
    case kControlList:
    case kControlTree:
      return control_->Layout().tabStop;
    default:
      return false;
  }
}

QWidget* ControlView::Make(QWidget* parent) {
  switch (control_->Kind()) {
    case kControlCheck:
    case kControlRadio:
    case kControlButton:
    case kControlInfoButton:
      return MakeButton(parent);
    case kControlEdit:
    case kControlCombo:
    case kControlList:
    case kControlTree:
      return MakeEntry(parent);
    default:
      return MakeDisplay(parent);
  }
}

// Check boxes, radio buttons and push buttons: each click goes to the model.
QWidget* ControlView::MakeButton(QWidget* parent) {
  const std::u16string id = control_->Id();
  const ui::LayoutControl& layout = control_->Layout();
  switch (control_->Kind()) {
    case kControlCheck: {
      auto* box = new QCheckBox(parent);
      connect(box, &QCheckBox::clicked, this,
              [this, id](bool on) { act_([&](ui::DialogDriver& user) { user.Check(id, on); }); });
      return box;
    }
    case kControlRadio: {
      // The model keeps the groups (from a radio marked newGroup to the next), not Qt.
      auto* radio = new QRadioButton(parent);
      radio->setAutoExclusive(false);
      connect(radio, &QRadioButton::clicked, this,
              [this, id] { act_([&](ui::DialogDriver& user) { user.Check(id, true); }); });
      return radio;
    }
    case kControlButton: {
      auto* button = new QPushButton(parent);
      button->setAutoDefault(false);
      connect(button, &QPushButton::clicked, this, [this, id, button] {
        act_([&](ui::DialogDriver& user) {
          if (id == kPresetButton && dialog_.HasPresets())
            RunPresetMenu(user, button);
          else
            user.Click(id);
        });
      });
      return button;
    }
    case kControlInfoButton: {
      auto* button = new QToolButton(parent);
      button->setAutoRaise(true);
      button->setIcon(IconOf(layout.image));
      connect(button, &QToolButton::clicked, this, [this, id] {
        ShowInfo();
        act_([&](ui::DialogDriver& user) { user.Click(id); });
      });
      return button;
    }
    default:
      return nullptr;
  }
}

// Text fields, lists and trees: typing, choosing and selecting go to the model.
QWidget* ControlView::MakeEntry(QWidget* parent) {
  const std::u16string id = control_->Id();
  const ui::LayoutControl& layout = control_->Layout();
  switch (control_->Kind()) {
    case kControlEdit: {
      if (layout.style & kMultiLineEdit) {
        auto* edit = new QPlainTextEdit(parent);
        edit->setTabChangesFocus(true);
        connect(edit, &QPlainTextEdit::textChanged, this, [this, id, edit] {
          act_([&](ui::DialogDriver& user) { user.Type(id, U(edit->toPlainText())); });
        });
        return edit;
      }
      auto* edit = new QLineEdit(parent);
      connect(edit, &QLineEdit::textEdited, this, [this, id](const QString& text) {
        act_([&](ui::DialogDriver& user) { user.Type(id, U(text)); });
      });
      return edit;
    }
    case kControlCombo: {
      auto* combo = new QComboBox(parent);
      combo->setEditable(layout.style & kEditableCombo);
      combo->setInsertPolicy(QComboBox::NoInsert);
      connect(combo, &QComboBox::activated, this, [this, id](int index) {
        act_([&](ui::DialogDriver& user) { user.Choose(id, index); });
      });
      if (QLineEdit* edit = combo->lineEdit())
        connect(edit, &QLineEdit::textEdited, this, [this, id](const QString& text) {
          act_([&](ui::DialogDriver& user) { user.Type(id, U(text)); });
        });
      return combo;
    }
    case kControlList: {
      auto* list = new QListWidget(parent);
      list->setSelectionMode(QAbstractItemView::ExtendedSelection);
      list->installEventFilter(this);
      connect(list, &QListWidget::itemSelectionChanged, this, &ControlView::UserSelectedEntries);
      connect(list, &QListWidget::itemDoubleClicked, this, [this, id, list](QListWidgetItem* item) {
        const int row = list->row(item);
        act_([&](ui::DialogDriver& user) { user.Activate(id, row); });
      });
      return list;
    }
    case kControlTree: {
      auto* tree = new QTreeWidget(parent);
      tree->setHeaderHidden(true);
      tree->installEventFilter(this);
      connect(tree, &QTreeWidget::currentItemChanged, this, [this, id](QTreeWidgetItem* item) {
        const int32_t handle = item ? item->data(0, Qt::UserRole).toInt() : kTreeRoot;
        act_([&](ui::DialogDriver& user) { user.SelectTreeItem(id, handle); });
      });
      connect(tree, &QTreeWidget::itemDoubleClicked, this, [this, id](QTreeWidgetItem* item) {
        const int32_t handle = item->data(0, Qt::UserRole).toInt();
        act_([&](ui::DialogDriver& user) { user.Activate(id, handle); });
      });
      return tree;
    }
    default:
      return nullptr;
  }
}

// Frames, bars, pictures and labels: shown, never acted on.
QWidget* ControlView::MakeDisplay(QWidget* parent) {
  const ui::LayoutControl& layout = control_->Layout();
  switch (control_->Kind()) {
    case kControlGroup: {
      auto* group = new QGroupBox(parent);
      // Drawn behind the controls it frames, which lie beside it in the page.
      group->setAttribute(Qt::WA_TransparentForMouseEvents);
      group->lower();
      return group;
    }
    case kControlProgress: {
      auto* bar = new QProgressBar(parent);
      bar->setTextVisible(false);
      return bar;
    }
    case kControlPicture: {
      auto* picture = new QLabel(parent);
      picture->setAlignment(Qt::AlignCenter);
      if (!layout.image.empty() || !layout.icon.empty())
        picture->setPixmap(IconOf(layout.image.empty() ? layout.icon : layout.image)
                               .pixmap(kPictureSide, kPictureSide));
      return picture;
    }
    case kControlLabel:
    default: {
      auto* label = new QLabel(parent);
      label->setTextFormat(Qt::PlainText);
      const bool oneLine = layout.height <= kOneLineUnits;
      label->setWordWrap(!oneLine);
      Qt::Alignment horizontal = (layout.drawTextFlags & kDrawRight)     ? Qt::AlignRight
                                 : (layout.drawTextFlags & kDrawCentred) ? Qt::AlignHCenter
                                                                         : Qt::AlignLeft;
      label->setAlignment(horizontal | (oneLine ? Qt::AlignVCenter : Qt::AlignTop));
      return label;
    }
  }
}

void ControlView::Pull() {
  if (!widget_) return;
  const QSignalBlocker quiet(widget_);
  if (widget_->isEnabled() != control_->Enabled()) widget_->setEnabled(control_->Enabled());
  PullText();
  switch (control_->Kind()) {
    case kControlCheck:
    case kControlRadio:
      if (auto* box = qobject_cast<QAbstractButton*>(widget_);
          box->isChecked() != !!control_->State())
        box->setChecked(control_->State() != 0);
      break;
    case kControlCombo:
    case kControlList:
      PullEntries();
      break;
    case kControlTree:
      PullTree();
      break;
    case kControlProgress: {
      auto* bar = static_cast<QProgressBar*>(widget_.data());
      const auto& range = control_->NumberRange();
      const int low = range ? static_cast<int>(range->min) : 0;
      const int high = range ? static_cast<int>(range->max) : 100;
      if (bar->minimum() != low || bar->maximum() != high) bar->setRange(low, high);
      if (bar->value() != control_->State()) bar->setValue(control_->State());
      break;
    }
    default:
      break;
  }
  if (widget_->isHidden() == control_->Visible()) widget_->setVisible(control_->Visible());
}

void ControlView::PullText() {
  const std::u16string& text = control_->Text();
  if (auto* label = qobject_cast<QLabel*>(widget_); label && control_->Kind() == kControlLabel) {
    SetText(label, Q(text));
  } else if (auto* edit = qobject_cast<QLineEdit*>(widget_)) {
    SetText(edit, Q(text));
  } else if (auto* lines = qobject_cast<QPlainTextEdit*>(widget_)) {
    if (lines->toPlainText() != Q(text)) lines->setPlainText(Q(text));
  } else if (auto* group = qobject_cast<QGroupBox*>(widget_)) {
    if (group->title() != Literal(text)) group->setTitle(Literal(text));
  } else if (control_->Kind() == kControlInfoButton) {
    if (widget_->toolTip() != Q(text)) widget_->setToolTip(Q(text));
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget_)) {
    QString shown = Literal(text);
    // The preset button names the preset the options came from, or says what it is.
    if (control_->Id() == kPresetButton) {
      std::u16string name = dialog_.CurrentPresetName();
      if (name.empty() && dialog_.Engine())
        name = dialog_.Engine()->ResolveText(control_->Layout().header);
      shown = Literal(name) + QString::fromUtf8(" \u25BE");
    }
    SetText(button, shown);
  }
}

void ControlView::PullEntries() {
  const auto& entries = control_->Entries();
  QStringList texts;
  for (const auto& entry : entries) texts << Q(entry.text);
  if (auto* combo = qobject_cast<QComboBox*>(widget_)) {
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i) shown << combo->itemText(i);
    if (shown != texts) {
      combo->clear();
      combo->addItems(texts);
    }
    if (combo->currentIndex() != control_->State()) combo->setCurrentIndex(control_->State());
    if (combo->isEditable() && combo->currentText() != Q(control_->Text()))
      combo->setEditText(Q(control_->Text()));
    return;
  }
  auto* list = static_cast<QListWidget*>(widget_.data());
  QStringList shown;
  for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
  if (shown != texts) {
    list->clear();
    list->addItems(texts);
  }
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->isSelected() != entries[i].selected)
      list->item(i)->setSelected(entries[i].selected);
  const int focused = control_->State();
  if (focused >= 0 && focused < list->count() && list->currentRow() != focused) {
    list->setCurrentRow(focused, QItemSelectionModel::NoUpdate);
    list->scrollToItem(list->item(focused));
  }
}

void ControlView::PullTree() {
  auto* tree = static_cast<QTreeWidget*>(widget_.data());
  std::vector<std::tuple<int32_t, int32_t, std::u16string>> items;
  std::vector<int32_t> pending(control_->TreeChildren(kTreeRoot).rbegin(),
                               control_->TreeChildren(kTreeRoot).rend());
  std::vector<int32_t> parents(pending.size(), kTreeRoot);
  while (!pending.empty()) {
    const int32_t item = pending.back(), parent = parents.back();
    pending.pop_back();
    parents.pop_back();
    const std::u16string* text = control_->TreeText(item);
    items.emplace_back(item, parent, text ? *text : std::u16string());
    const auto& children = control_->TreeChildren(item);
    pending.insert(pending.end(), children.rbegin(), children.rend());
    parents.insert(parents.end(), children.size(), item);
  }
  if (items != treeShown_) {
    tree->clear();
    for (const auto& [item, parent, text] : items) {
      QTreeWidgetItem* above = parent == kTreeRoot ? nullptr : TreeItem(parent);
      auto* made = above ? new QTreeWidgetItem(above) : new QTreeWidgetItem(tree);
      made->setText(0, Q(text));
      made->setData(0, Qt::UserRole, item);
    }
    tree->expandAll();
    treeShown_ = std::move(items);
  }
  const int32_t selected = control_->SelectedTreeItem();
  QTreeWidgetItem* current = tree->currentItem();
  if ((current ? current->data(0, Qt::UserRole).toInt() : kTreeRoot) != selected)
    tree->setCurrentItem(selected == kTreeRoot ? nullptr : TreeItem(selected));
}

QTreeWidgetItem* ControlView::TreeItem(int32_t handle) const {
  auto* tree = static_cast<QTreeWidget*>(widget_.data());
  for (QTreeWidgetItemIterator it(tree); *it; ++it)
    if ((*it)->data(0, Qt::UserRole).toInt() == handle) return *it;
  return nullptr;
}

void ControlView::UserSelectedEntries() {
  auto* list = static_cast<QListWidget*>(widget_.data());
  std::vector<int32_t> rows;
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->isSelected()) rows.push_back(i);
  // The entry with the focus comes first: the driver makes it the list's state.
  const auto current = std::find(rows.begin(), rows.end(), list->currentRow());
  if (current != rows.end()) std::rotate(rows.begin(), current, current + 1);
  const std::u16string id = control_->Id();
  act_([&](ui::DialogDriver& user) { user.SelectEntries(id, rows); });
}

void ControlView::ShowInfo() {
  QToolTip::showText(widget_->mapToGlobal(QPoint(0, widget_->height())), Q(control_->Text()),
                     widget_);
}

bool ControlView::eventFilter(QObject* watched, QEvent* event) {
  if (watched != widget_ || event->type() != QEvent::KeyPress) return false;
  const auto* press = static_cast<QKeyEvent*>(event);
  const std::u16string id = control_->Id();
  // Enter activates the focused entry or item, as a double click does.
  if (press->key() == Qt::Key_Return || press->key() == Qt::Key_Enter) {
    int32_t item = -1;
    if (auto* list = qobject_cast<QListWidget*>(widget_)) item = list->currentRow();
    if (auto* tree = qobject_cast<QTreeWidget*>(widget_); tree && tree->currentItem())
      item = tree->currentItem()->data(0, Qt::UserRole).toInt();
    if (item < 0 || (control_->Kind() == kControlTree && item == kTreeRoot)) return false;
    act_([&](ui::DialogDriver& user) { user.Activate(id, item); });
    return true;
  }
  const int32_t key = KeyOf(press->key());
  if (!key) return false;
  bool handled = false;
  act_([&](ui::DialogDriver& user) {
    handled = user.Model().Dispatch(kDialogKey, control_.Get(), key) == 0;
    user.Engine().Reap();
  });
  return handled;
}

}  // namespace zelta::desktop
