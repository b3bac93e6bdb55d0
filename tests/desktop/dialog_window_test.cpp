#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>

#include "tests/desktop/desktop_fixture.h"
#include "zelta/base/text_codec.h"
#include "zelta/desktop/sheet_window.h"
#include "zelta/ui/dialog_layout_parser.h"

namespace zelta::desktop::testing {
namespace {

// A handler that lets the host's defaults act: a dialog opened from its layout alone.
class PlainHandler : public ComObject<IDialogHandler> {
 public:
  HRESULT GetTypeInfoCount(uint32_t* count) override {
    *count = 1;
    return S_OK;
  }
  HRESULT OnMessage(IHostDialog*, IDialogMessage*, int32_t* result) override {
    *result = 1;
    return S_OK;
  }
};

// Whether the widget shows the whole of its text.
bool ShowsWholeText(QWidget* widget) {
  const QFontMetrics metrics = widget->fontMetrics();
  if (auto* label = qobject_cast<QLabel*>(widget))
    return label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                             : metrics.horizontalAdvance(label->text()) <= label->width();
  if (qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget))
    return widget->sizeHint().width() <= widget->width();
  if (auto* button = qobject_cast<QPushButton*>(widget))
    return metrics.horizontalAdvance(button->text()) +
               2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin) <=
           button->width();
  if (auto* group = qobject_cast<QGroupBox*>(widget))
    return metrics.horizontalAdvance(group->title()) + 2 * metrics.averageCharWidth() <=
           group->width();
  return true;
}

TEST_F(DesktopTest, EveryLayoutShowsItsTextsWholeTabsInOrderAndKeepsItsFixedAreaInReach) {
  const std::string resource = zelta::testing::ReadFile(ZELTA_SOURCE_DIR "/resources/dialogs.xml");
  const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(resource.data()),
                                       resource.size());
  ui::DialogEngine& engine = session_.App().Ui().Dialogs();
  for (const std::u16string& id : ui::DialogLayoutIds(bytes)) {
    SCOPED_TRACE(base::LossyUtf8(id));
    auto handler = MakeCom<PlainHandler>();
    const DialogDescription description{bytes.data(), static_cast<uint32_t>(bytes.size()),
                                        id.c_str(), 0, handler.Get()};
    ComPtr<IHostDialog> made;
    ASSERT_EQ(engine.Create(&description, made.Put(), nullptr), S_OK);
    ASSERT_EQ(engine.ShowModeless(made.Get()), S_OK);
    ASSERT_FALSE(window_->Dialogs().Windows().empty());
    DialogWindow* dialog = window_->Dialogs().Windows().back();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));

    std::vector<QWidget*> tabOrder;
    for (const auto& control : dialog->Model().Controls()) {
      QWidget* widget = dialog->Page()->WidgetOf(control.Get());
      ASSERT_TRUE(widget);
      const std::string name = base::LossyUtf8(control->Id());
      EXPECT_TRUE(ShowsWholeText(widget)) << name << " cuts its text";
      EXPECT_TRUE(widget->parentWidget()->rect().contains(widget->geometry())) << name;
      if (widget->focusPolicy() & Qt::TabFocus && control->Visible()) tabOrder.push_back(widget);
    }
    // Tab walks the controls in the model's order.
    ASSERT_FALSE(tabOrder.empty());
    tabOrder.front()->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return tabOrder.front()->hasFocus(); }));
    for (size_t i = 1; i < tabOrder.size(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QWidget* focus = QApplication::focusWidget();
      EXPECT_TRUE(focus == tabOrder[i] || tabOrder[i]->isAncestorOf(focus))
          << tabOrder[i]->objectName().toStdString() << " is not next after "
          << tabOrder[i - 1]->objectName().toStdString();
    }

    // Too small a window: the part above the fixed area scrolls, the strip stays whole.
    if (QWidget* strip = dialog->Page()->FixedStrip(); strip && dialog->Page()->ScrollArea()) {
      dialog->resize(dialog->width(), dialog->minimumHeight());
      QTest::qWait(20);
      EXPECT_EQ(strip->mapTo(dialog, QPoint(0, strip->height())).y(), dialog->height());
      EXPECT_TRUE(dialog->Page()->ScrollArea()->verticalScrollBar()->isVisible());
    }
    dialog->reject();
    EXPECT_TRUE(window_->Dialogs().Windows().empty());
  }
}

// The title and tree tools, each confirmed in its own dialog by Enter or OK: one undo step
// that undo takes back and redo makes again. Cancel and Escape change nothing. The change-case
// dialog's radio group is kept by the model and shown by the widgets, and the run follows it.
TEST_F(DesktopTest, ToolsRunFromTheirDialogsAsOneUndoStepAndOnlyOkChangesTheOutline) {
  ASSERT_TRUE(OpenManual());
  const std::string before = Json();
  using Step = std::function<void(DialogWindow&)>;
  const Step upper = [](DialogWindow& dialog) {
    Click(dialog, "cbc.rbtn.UpperCase");
    EXPECT_EQ(dialog.Model().Find(u"cbc.rbtn.UpperCase")->State(), 1);
    EXPECT_TRUE(Control<QRadioButton>(dialog, "cbc.rbtn.UpperCase")->isChecked());
    EXPECT_FALSE(Control<QRadioButton>(dialog, "cbc.rbtn.TitleCase")->isChecked());
  };
  const auto work = [](std::function<void(ui::DialogDriver&)> user) {
    return [user](DialogWindow& dialog) { dialog.Page()->Act(user); };
  };
  const Step ok = [](DialogWindow& dialog) { Click(dialog, "btn.ok"); };
  const struct {
    const char *name, *command;
    Step work, leave;
    bool changes;
  } runs[] = {
      {"Enter", "changeBookmarkCase", upper,
       [](DialogWindow& d) { QTest::keyClick(&d, Qt::Key_Return); }, true},
      {"Cancel", "changeBookmarkCase", upper, [](DialogWindow& d) { Click(d, "btn.cancel"); },
       false},
      {"Escape", "changeBookmarkCase", upper,
       [](DialogWindow& d) { QTest::keyClick(&d, Qt::Key_Escape); }, false},
      {"find and replace", "findReplaceBookmarkText", work([](ui::DialogDriver& user) {
         user.Type(u"frbt.cmb.FindWhat", u"manual");
         user.Type(u"frbt.cmb.ReplaceWith", u"guide");
       }),
       ok, true},
      {"add text", "addTextToBookmarkTitle",
       work([](ui::DialogDriver& user) { user.Type(u"atb.edit.Prefix", u"> "); }), ok, true},
      {"sort", "sort", work([](ui::DialogDriver& user) {
         user.Check(u"sb.rb.sortAlpha");
         user.Check(u"sb.chb.sortAll");
       }),
       ok, true},
  };
  for (const auto& run : runs) {
    SCOPED_TRACE(run.name);
    WorkDialogs({[&](DialogWindow& dialog) {
      run.work(dialog);
      run.leave(dialog);
    }});
    window_->RunCommand(base::Intern(std::string("cmd.bookmarksPlugin.") + run.command));
    EXPECT_TRUE(window_->Dialogs().Windows().empty());
    ASSERT_EQ(UndoCount(), run.changes ? 1 : 0);
    if (run.changes) {
      const std::string after = Json();
      EXPECT_NE(after, before);
      if (std::string_view(run.command) == "changeBookmarkCase") {
        EXPECT_EQ(TopTitles().front(), "GETTING STARTED");  // the radio button chosen
      }
      window_->Undo();
      EXPECT_EQ(Json(), before);
      window_->Redo();
      EXPECT_EQ(Json(), after);
      window_->Undo();
    }
    EXPECT_EQ(Json(), before);
  }
  EXPECT_TRUE(messages_.empty()) << messages_.front();
}

TEST_F(DesktopTest, AValidationMessageKeepsTheDialogOpen) {
  ASSERT_TRUE(OpenManual());
  bool stayedOpen = false;
  WorkDialogs({[&](DialogWindow& dialog) {
    auto* source = Control<QComboBox>(dialog, "cbc.cb.UseBookmarksFrom");
    auto* children = Control<QCheckBox>(dialog, "cbc.chb.IncludeChildrenBookmarks");
    ASSERT_EQ(source->count(), 2);
    EXPECT_FALSE(children->isEnabled());
    // The selected bookmarks: the handler enables the box that only they use.
    source->setFocus();
    QTest::keyClick(source, Qt::Key_Down);
    EXPECT_TRUE(children->isEnabled());
    // No bookmark is selected: OK says so and the dialog stays.
    Click(dialog, "btn.ok");
    stayedOpen = dialog.isVisible() && messages_.size() == 1;
    Click(dialog, "btn.cancel");
  }});
  window_->RunCommand(base::Intern("cmd.bookmarksPlugin.changeBookmarkCase"));
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(UndoCount(), 0);
}

TEST_F(DesktopTest, DialogTimersRunAndWhatTheyChangeShows) {
  ASSERT_TRUE(OpenManual());
  WorkDialogs({[&](DialogWindow& dialog) {
    if (!Control<QCheckBox>(dialog, "frbt.chb.UseRegex")->isChecked())
      Click(dialog, "frbt.chb.UseRegex");
    auto* find = Control<QComboBox>(dialog, "frbt.cmb.FindWhat");
    QWidget* warning = Control<QWidget>(dialog, "frbt.info1");
    QWidget* ok = Control<QWidget>(dialog, "btn.ok");
    ASSERT_TRUE(find->lineEdit());
    QTest::keyClicks(find->lineEdit(), "(ab");
    // The pattern is checked once typing has paused.
    EXPECT_TRUE(warning->isHidden());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !warning->isHidden(); }, 2000));
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_FALSE(warning->toolTip().isEmpty());
    QTest::keyClick(find->lineEdit(), Qt::Key_ParenRight);
    EXPECT_TRUE(QTest::qWaitFor([&] { return warning->isHidden(); }, 2000));
    EXPECT_TRUE(ok->isEnabled());
    Click(dialog, "btn.cancel");
  }});
  window_->RunCommand(base::Intern("cmd.bookmarksPlugin.findReplaceBookmarkText"));
  EXPECT_EQ(UndoCount(), 0);
}

TEST_F(DesktopTest, ValidateAndTheSelectedTextStyleCommandAreReachable) {
  ASSERT_TRUE(OpenManual());
  QAction* validate = CommandAction("cmd.bookmarksPlugin.validate");
  ASSERT_TRUE(validate);
  EXPECT_TRUE(validate->isEnabled());
  QString found;
  WorkDialogs({[&](DialogWindow& dialog) {
    Click(dialog, "btn.validate");
    found = Control<QLabel>(dialog, "l.invalidCount")->text();
    Click(dialog, "btn.close");
  }});
  validate->trigger();
  EXPECT_FALSE(found.isEmpty());
  EXPECT_EQ(UndoCount(), 0);

  // The page's menu offers the style of the selected text, enabled once text is selected.
  auto styleCommand = [&]() -> std::optional<bool> {
    auto menu = window_->PageMenu();
    auto* action = menu ? menu->findChild<QAction*>("cmd.bookmarksPlugin.addAGBLevel") : nullptr;
    return action ? std::optional<bool>(action->isEnabled()) : std::nullopt;
  };
  EXPECT_EQ(styleCommand(), false);
  emit window_->View()->SelectionMade(
      PageSelection{0, SelectionMode::kRectangle, PageBox{0, 0, 612, 792}});
  EXPECT_EQ(styleCommand(), true);
  EXPECT_TRUE(CommandAction("cmd.bookmarksPlugin.fromTOC")->isEnabled());
  // The command shows the level's sheet in tabs; its OK opens the generation dialog with the
  // new level in its tree.
  QString firstTab;
  QTimer sheets;
  QObject::connect(&sheets, &QTimer::timeout, [&] {
    auto* sheet = qobject_cast<SheetWindow*>(QApplication::activeModalWidget());
    if (!sheet || !firstTab.isEmpty()) return;
    firstTab = sheet->Tabs()->tabText(0);
    sheet->Tabs()->setCurrentIndex(2);
    sheet->findChild<QPushButton*>("btn.ok")->click();
  });
  sheets.start(10);
  EXPECT_EQ(window_->RunCommand(base::Intern("cmd.bookmarksPlugin.addAGBLevel")), S_OK);
  sheets.stop();
  EXPECT_FALSE(firstTab.isEmpty());
  auto windows = window_->Dialogs().Windows();
  ASSERT_EQ(windows.size(), 1u);
  auto* tree = Control<QTreeWidget>(*windows.front(), "agb.tree");
  ASSERT_TRUE(tree);
  EXPECT_TRUE(QTest::qWaitFor([&] { return tree->topLevelItemCount() >= 1; }, 2000));
  windows.front()->reject();
  EXPECT_EQ(UndoCount(), 0);
}

TEST_F(DesktopTest, ADialogAsksForFilesAndMacrosWithQtsOwnChooserAndMenu) {
  ASSERT_TRUE(OpenManual());
  const QString chosen = QString::fromStdString(Write("tree.txt", "One;1\n"));
  // Runs `step` once a top-level widget of that type shows, while the dialog waits for it.
  auto whenShown = [](auto* type, std::function<void(decltype(type))> step) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, step] {
      for (QWidget* shown : QApplication::topLevelWidgets())
        if (auto* widget = qobject_cast<decltype(type)>(shown); widget && widget->isVisible()) {
          poll->deleteLater();
          poll->stop();
          return step(widget);
        }
    });
    poll->start(20);
  };
  QStringList filters;
  WorkDialogs({[&](DialogWindow& dialog) {
    whenShown(static_cast<QFileDialog*>(nullptr), [&](QFileDialog* files) {
      filters = files->nameFilters();
      // Typed, as the chooser's folder view fills later.
      if (auto* name = files->findChild<QLineEdit*>("fileNameEdit")) name->setText(chosen);
      (void)QTest::qWaitFor([&] { return files->selectedFiles() == QStringList{chosen}; }, 2000);
      QMetaObject::invokeMethod(files, "done", Q_ARG(int, QDialog::Accepted));
    });
    Click(dialog, "bft.b.fileName");
    EXPECT_EQ(Control<QLineEdit>(dialog, "bft.e.fileName")->text(), chosen);
    Click(dialog, "btn.cancel");
  }});
  window_->RunCommand(base::Intern("cmd.bookmarksPlugin.fromTextFile"));
  EXPECT_EQ(filters, QStringList{"Text Files (*.txt)"});

  QString title;
  WorkDialogs({[&](DialogWindow& dialog) {
    whenShown(static_cast<QMenu*>(nullptr), [&](QMenu* menu) {
      for (QAction* entry : menu->actions())
        if (!entry->isSeparator() && !entry->menu()) {
          title = entry->text();
          QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
          break;
        }
    });
    Control<QLineEdit>(dialog, "atb.edit.Prefix")->setFocus();
    Click(dialog, "atb.btn.Macroses");
    EXPECT_TRUE(Control<QLineEdit>(dialog, "atb.edit.Prefix")->text().startsWith("%["));
    Click(dialog, "btn.cancel");
  }});
  window_->RunCommand(base::Intern("cmd.bookmarksPlugin.addTextToBookmarkTitle"));
  EXPECT_FALSE(title.isEmpty());
  EXPECT_EQ(UndoCount(), 0);
}

}  // namespace
}  // namespace zelta::desktop::testing
