// A property sheet of the host's toolkit-free model: several page dialogs under one title, one
// page shown at a time, and a frame that holds the sheet's own OK and Cancel.
//
// What a renderer needs to know:
// - Pages() are ordinary Dialog models (layout, controls, handler), in tab order of the
//   sheet's page tabs; their titles are the tab texts. ActivePage() is the page to draw; the
//   others keep their state while hidden.
// - Frame() is a Dialog made by the host (id and title of the sheet, no handler of the
//   module's): its only controls are "btn.ok" and "btn.cancel" in its fixed area, drawn below
//   the page. Its size is the largest page plus the fixed area. A page enables or disables
//   those buttons as if they were its own (Dialog::GetControl looks in the frame too).
// - A front-end reports the user's work through DialogDriver, which finds a control id in the
//   active page first and then in the frame: SelectPage turns to a page, a click on "btn.ok"
//   is the sheet's OK (every page is asked, in order, to accept; the first that refuses
//   becomes the active page and the sheet stays open), "btn.cancel" or the close box cancel.
// - The sheet is over when Result() has a value: kDialogResultOk after an accepted OK.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "zelta/ui/dialog.h"

namespace zelta::ui {

class PropertySheet {
 public:
  // The pages are made and not yet shown; the frame is made here.
  PropertySheet(DialogEngine* engine, const std::u16string& id, const std::u16string& title,
                WindowHandle owner, WindowHandle window, std::vector<ComPtr<Dialog>> pages);
  ~PropertySheet();
  PropertySheet(const PropertySheet&) = delete;
  PropertySheet& operator=(const PropertySheet&) = delete;

  const std::vector<ComPtr<Dialog>>& Pages() const { return pages_; }
  int32_t ActivePage() const { return active_; }
  Dialog& Active() const { return *pages_[static_cast<size_t>(active_)]; }
  Dialog& Frame() const { return *frame_; }
  std::optional<int32_t> Result() const { return frame_->Result(); }

  // Shows every page (kDialogInit in page order), then turns to the start page.
  void Open(int32_t startPage);
  // Turns to a page (kDialogActivated); false for an index outside the pages.
  bool SelectPage(int32_t index);
  // The sheet's buttons.
  void Ok();
  void Cancel();
  // Destroys the pages and the frame (kDialogDestroy to each page).
  void Close();

 private:
  class FrameHandler;

  std::vector<ComPtr<Dialog>> pages_;
  ComPtr<Dialog> frame_;
  int32_t active_ = 0;
};

}  // namespace zelta::ui
