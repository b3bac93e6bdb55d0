// A property sheet of the dialog model in a window: each page drawn as a DialogPage in a tab,
// and the sheet's own OK and Cancel below the tabs. Turning a tab turns the model's page; a
// page that refuses OK becomes the shown tab again.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <functional>
#include <vector>

#include "zelta/desktop/dialog_page.h"
#include "zelta/ui/property_sheet.h"

namespace zelta::desktop {

class SheetWindow : public QDialog {
  Q_OBJECT

 public:
  SheetWindow(ui::PropertySheet& sheet, ui::DialogEngine& engine, QWidget* parent);

  // Runs until the sheet is over; its result.
  int32_t RunModal();
  QTabWidget* Tabs() const { return tabs_; }
  DialogPage* Page(int index) const { return pages_.at(static_cast<size_t>(index)); }

 public slots:
  void reject() override;

 private:
  // One action of the user on the sheet as a whole (its buttons, its tabs, time passing).
  void Act(const std::function<void(ui::DialogDriver&)>& action);
  void Tick();
  // The tabs and buttons follow the model; the window closes once the sheet is over.
  void Follow();

  ui::PropertySheet& sheet_;
  ui::DialogEngine& engine_;
  QTabWidget* tabs_;
  std::vector<DialogPage*> pages_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QTimer ticker_;
  QElapsedTimer clock_;
  bool busy_ = false;
  bool closed_ = false;
};

}  // namespace zelta::desktop
