// Change Bookmark Case: rewrites the titles of the whole outline or of the selected bookmarks
// (with or without their sub-bookmarks) in one text case, as one undo step.
#pragma once

#include <memory>
#include <vector>

#include "framework/bookmark_list.h"
#include "tools/title/change_case.h"
#include "tools/title/title_tool_operation.h"

namespace bm {

// CBCOptions Flags besides the case mode and kApplyExcludedWords.
inline constexpr int32_t kCbcSourceDocument = 0x100;
inline constexpr int32_t kCbcSourceSelected = 0x200;
inline constexpr int32_t kCbcNoSubBookmarks = 0x1000;

class CBCOperation : public TitleToolOperation {
 public:
  CBCOperation(PluginContext* plugin, const OperationRow& row);

  zelta::HRESULT Run(int32_t flags, intptr_t extra) override;

 protected:
  // Reads the "Input" array: the document, and the bookmarks to work on. With the source
  // "Selected Bookmarks" and no bookmark given, the document's bookmark selection is taken;
  // an empty selection is E_INVALIDARG (it must not turn into a run over the whole outline).
  zelta::HRESULT ReadInputs() override;

 private:
  int32_t SelectedSourceBit() const override { return kCbcSourceSelected; }
  zelta::HRESULT Rewrite(zelta::IHostBookmark* bookmark, std::u16string_view original,
                         std::u16string* title) override;
  bool IncludeSubBookmarks() const override { return !(optionFlags_ & kCbcNoSubBookmarks); }

  std::unique_ptr<ChangeCaseEngine> engine_;  // the run's
};

}  // namespace bm
