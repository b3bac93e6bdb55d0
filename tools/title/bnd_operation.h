// Convert To Named Destinations: makes the last "GoTo" action of each bookmark use a named
// destination instead of its explicit one. Each name comes from a mask (a title template),
// made unique with "_1", "_2", ... suffixes, and is added to the document with the old
// destination, so the bookmark leads where it led before. One undo step (NamedDestUndo).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/bookmark_list.h"
#include "framework/bookmark_list_operation.h"
#include "tools/title/bnd_unique_names.h"
#include "tools/title/named_dest_undo.h"

namespace bm {

// BNDOptions Flags.
inline constexpr int32_t kBndSourceSelected = 0x1;
inline constexpr int32_t kBndIncludeSubBookmarks = 0x2;

class BndNameMask;

class BNDOperation : public BookmarkListOperation {
 public:
  BNDOperation(PluginContext* plugin, const OperationRow& row);
  ~BNDOperation() override;

  zelta::HRESULT Run(int32_t flags, intptr_t extra) override;

 protected:
  // The document, and with the source "Selected Bookmarks" the bookmarks of "Input" (or,
  // when there are none, the document's bookmark selection; an empty one is E_INVALIDARG).
  zelta::HRESULT ReadInputs() override;

 private:
  int32_t SelectedSourceBit() const override { return kBndSourceSelected; }
  zelta::HRESULT Convert(zelta::IHostBookmark* bookmark);
  // Converts the action at index; S_FALSE when it already uses a name.
  zelta::HRESULT ConvertAction(zelta::IHostBookmark* bookmark, zelta::IHostActionList* actions,
                               zelta::IHostAction* action, int32_t index);
  // Input bookmarks count only with the source "Selected Bookmarks".
  bool CollectsInputBookmarks() const override { return optionFlags_ & kBndSourceSelected; }
  bool IncludeSubBookmarks() const override {
    return !(optionFlags_ & kBndSourceSelected) || (optionFlags_ & kBndIncludeSubBookmarks);
  }

  // Run state.
  std::unique_ptr<BndNameMask> mask_;
  BndUniqueNames names_;
  zelta::ComPtr<NamedDestUndo> undo_;
  std::vector<zelta::IUnknown*> converted_;  // kept alive by the undo record
};

}  // namespace bm
