// Add Text to Bookmark Title: puts a prefix before and a suffix after the titles of the whole
// outline (all levels, or one level with or without the levels below it) or of the selected
// bookmarks (with or without their sub-bookmarks). Prefix and suffix are title templates
// expanded for each bookmark. One undo step.
#pragma once

#include <memory>
#include <string>

#include "framework/bookmark_list.h"
#include "macros/title_macro_expander.h"
#include "macros/title_template.h"
#include "tools/title/title_tool_operation.h"

namespace bm {

// ATBOptions Flags.
inline constexpr int32_t kAtbIncludeSubLevels = 0x1;
inline constexpr int32_t kAtbRemoveSpaces = 0x2;
inline constexpr int32_t kAtbOneLevel = 0x4;  // only StartLevel (source Document)
inline constexpr int32_t kAtbSourceSelected = 0x8;

class ATBOperation : public TitleToolOperation {
 public:
  ATBOperation(PluginContext* plugin, const OperationRow& row);
  ~ATBOperation() override;

  zelta::HRESULT Run(int32_t flags, intptr_t extra) override;

 protected:
  // Reads the "Input" array: the document, and with the source "Selected Bookmarks" the
  // bookmarks to work on (the document's bookmark selection when none is given).
  zelta::HRESULT ReadInputs() override;

 private:
  zelta::HRESULT Rewrite(zelta::IHostBookmark* bookmark, std::u16string_view original,
                         std::u16string* title) override;
  zelta::HRESULT NewTitle(zelta::IHostBookmark* bookmark, std::u16string& title);
  bool SourceSelected() const { return optionFlags_ & kAtbSourceSelected; }
  bool IncludeSubLevels() const { return optionFlags_ & kAtbIncludeSubLevels; }
  bool IncludeSubBookmarks() const override { return IncludeSubLevels(); }

  int32_t startLevel_ = 1;
  std::u16string prefix_;
  std::u16string suffix_;

  // Made once per operation, for its document.
  std::unique_ptr<TitleMacroExpander> expander_;
  TitleTemplate prefixTemplate_;
  TitleTemplate suffixTemplate_;
};

}  // namespace bm
