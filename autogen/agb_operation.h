// Generate Bookmarks From Page Text: scans the pages of a range, takes the text whose style
// and content match one of the levels as bookmark titles, and appends them to the outline as
// a hierarchy by level, each with a go-to action at the heading's place. One undo step; a
// cancelled or failed run removes everything it made.
#pragma once

#include <string>

#include "framework/bookmark_operation.h"

namespace bm {

inline constexpr std::u16string_view kGenerationOperationId = u"op.bookmarks.autoGenerateFromText";

// Deepest level a generation run builds (the outline depth the host handles by recursion).
inline constexpr int32_t kMaxGenerationDepth = 256;

class AGBOperation : public BookmarkOperation {
 public:
  AGBOperation(PluginContext* plugin, const OperationRow& row);

  zelta::HRESULT Run(int32_t flags, intptr_t extra) override;
  // Opens the generation dialog modeless on the active document, or brings the open one to
  // the front; the dialog's OK starts the run. S_OK once the dialog is shown; S_FALSE when no
  // one can answer a dialog (nothing runs).
  zelta::HRESULT Execute(bool runThroughHost, intptr_t extra) override;
  // The same dialog, modal and in options-only mode: its OK stores the options. The options
  // it leaves are kept whether or not the user confirmed; S_OK after OK, S_FALSE otherwise.
  zelta::HRESULT ShowDialog(zelta::WindowHandle owner, intptr_t extra) override;
  // The options are kept whatever the dialog answered.
  bool KeepOptions(zelta::HRESULT) const override { return true; }

  // How many pages the host may prepare ahead on its second thread while a page is scanned
  // (0 reads every page when it is needed; negative, the default, lets the host choose).
  void SetPrefetchWindow(int32_t pages) { prefetchWindow_ = pages; }

 protected:
  zelta::HRESULT ReadInputs() override { return ReadDocumentInput(); }

 private:
  class Generation;

  int32_t prefetchWindow_ = -1;
};

}  // namespace bm
