// Validate Bookmarks: finds bookmarks with empty titles, without actions, or with actions that
// cannot work, and reports one record (bookmark, warning bits) per invalid bookmark in
// "Output". It never changes the document, so a successful run answers S_FALSE.
#pragma once

#include <vector>

#include "framework/bookmark_list.h"
#include "framework/bookmark_operation.h"
#include "tools/tree/validation_listener.h"

namespace bm {

class VBOperation : public BookmarkOperation {
 public:
  struct Record {
    zelta::ComPtr<zelta::IHostBookmark> bookmark;
    int32_t warnings = 0;
  };

  VBOperation(PluginContext* plugin, const OperationRow& row);

  // The options are kept after the dialog whatever it answered.
  bool KeepOptions(zelta::HRESULT) const override { return true; }
  // The dialog runs the validations itself; this cycle only shows it around the stored
  // options and does not run the operation or show a result message.
  zelta::HRESULT Execute(bool runThroughHost, intptr_t extra) override;
  // The findings are shown in the dialog: there is nothing to run without it.
  zelta::HRESULT ExecuteWithStoredOptions(intptr_t) override { return zelta::E_NOTIMPL; }
  // The validation dialog, over "Options" itself (the options are kept however it closes).
  zelta::HRESULT ShowDialog(zelta::WindowHandle owner, intptr_t extra) override;
  // Without bookmarks in "Input" every bookmark of the document is validated (parents before
  // children); with bookmarks, exactly those, in their order.
  zelta::HRESULT Run(int32_t flags, intptr_t extra) override;

  // The listener of the next runs (not owned; null for none).
  void SetListener(ValidationListener* listener) { listener_ = listener; }
  // The records of the last run, in the order found.
  const std::vector<Record>& Records() const { return records_; }

 protected:
  zelta::HRESULT ReadInputs() override;
  zelta::HRESULT CollectInput(zelta::IUnknown* element) override;
  void ResetRunState() override { records_.clear(); }
  // Tells the listener that the run ended before it began.
  zelta::HRESULT InputFailed(zelta::HRESULT hr) override;

 private:
  zelta::HRESULT Validate();
  zelta::HRESULT WriteOutput();

  ValidationListener* listener_ = nullptr;
  BookmarkList bookmarks_;
  std::vector<Record> records_;
};

}  // namespace bm
