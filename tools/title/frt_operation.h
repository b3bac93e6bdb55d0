// Find And Replace Bookmark Text: replaces a text in the titles of the whole outline or of the
// selected bookmarks (with or without their sub-bookmarks), literally or by a regular
// expression, as one undo step.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "framework/bookmark_list.h"
#include "support/bounded_regex.h"
#include "tools/title/title_tool_operation.h"

namespace bm {

// FRTOptions Flags.
inline constexpr int32_t kFrtMatchCase = 0x1;
inline constexpr int32_t kFrtWholeWord = 0x2;  // literal search only
inline constexpr int32_t kFrtRegex = 0x4;
inline constexpr int32_t kFrtSourceSelected = 0x10;
inline constexpr int32_t kFrtIncludeSubBookmarks = 0x20;

// The most recent entries a find or replace history keeps.
inline constexpr size_t kFrtHistorySize = 16;

// Puts text at the front of a history: an entry equal to it moves to the front; otherwise the
// oldest entry goes when the history is full.
void PushHistory(std::vector<std::u16string>& history, const std::u16string& text);

// Whether a pattern compiles as the run would compile it; nullopt when it does (an empty
// pattern included), else the regular-expression error code (see RegexErrorText).
std::optional<int> CheckFindPattern(std::u16string_view pattern, bool matchCase);

class FRTOperation : public TitleToolOperation {
 public:
  FRTOperation(PluginContext* plugin, const OperationRow& row);

  zelta::HRESULT Run(int32_t flags, intptr_t extra) override;

  // The regular-expression error of the last run (a pattern that did not compile or could
  // not be matched within bounds); nullopt when there was none.
  std::optional<int> PatternError() const { return patternError_; }

 protected:
  // Reads the "Input" array: the document, and the bookmarks to work on. With the source
  // "Selected Bookmarks" and no bookmark given, the document's bookmark selection is taken;
  // an empty selection is E_INVALIDARG.
  zelta::HRESULT ReadInputs() override;

 private:
  int32_t SelectedSourceBit() const override { return kFrtSourceSelected; }
  zelta::HRESULT Rewrite(zelta::IHostBookmark* bookmark, std::u16string_view original,
                         std::u16string* title) override;
  // Keeps the error, shows its text with what it was found in, and gives the run's result.
  zelta::HRESULT FailOnPattern(int code, std::u16string_view where);
  bool SourceSelected() const { return optionFlags_ & kFrtSourceSelected; }
  bool IncludeSubBookmarks() const override { return optionFlags_ & kFrtIncludeSubBookmarks; }

  std::optional<int> patternError_;
  // The run's texts, and its compiled pattern with bit 0x4.
  std::u16string find_;
  std::u16string replacement_;
  BoundedRegex regex_;
};

}  // namespace bm
