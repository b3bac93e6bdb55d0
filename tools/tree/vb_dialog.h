// "Validate Bookmarks": a working window. It runs the validation itself with the dialog as
// its listener, lists each invalid bookmark with one line per warning as it is found, and
// lets the user rename, edit, remove or highlight the bookmarks found. Its check boxes are the
// options, kept whichever way the dialog closes.
#pragma once

#include <mutex>
#include <vector>

#include "framework/dialog_base.h"
#include "framework/operation_row.h"
#include "host/bookmark.h"
#include "host/editors.h"
#include "tools/tree/validation_listener.h"

namespace bm {

class VBDialog : public DialogBase, public ValidationListener {
 public:
  // row: the validation's, for the runs the dialog starts.
  VBDialog(PluginContext* plugin, zelta::ICabItem* options, zelta::IHostDocument* document,
           const OperationRow& row);

  // ValidationListener
  void OnTotal(double total) override;
  bool IsCancelled() override { return false; }
  void OnRecord(zelta::IHostBookmark* bookmark, int32_t warnings) override;
  void OnFinished(zelta::HRESULT result) override;

 protected:
  void OnInit() override;
  void OnCancel() override;
  void Refresh() override;

 private:
  const OperationRow& row_;
  struct Record {
    zelta::ComPtr<zelta::IHostBookmark> bookmark;
    int32_t warnings = 0;
  };

  void RunValidation();
  void TakePending();
  void ShowRecords();
  // The records of the selected list rows, each once, in list order.
  std::vector<size_t> SelectedRecords();
  void Highlight();
  void Rename();
  // The bookmark's actions in the host's action editor; confirmed, they replace the old ones.
  void EditActions();
  zelta::ComPtr<zelta::IHostEditors> ActionEditor() const;
  void Remove();
  zelta::HRESULT RunHostOperation(const char16_t* id,
                                  const std::vector<zelta::IHostBookmark*>& input,
                                  const std::function<void(zelta::ICabItem*)>& options);
  void StoreFlags();

  int32_t flags_ = 0;
  bool running_ = false;
  std::vector<Record> records_;
  // The record of each list row.
  std::vector<size_t> rowRecord_;
  // Records arrive through the listener, possibly from another thread than the dialog's.
  std::mutex pendingLock_;
  std::vector<Record> pending_;
};

}  // namespace bm
