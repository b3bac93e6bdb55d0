// Sort Bookmarks: reorders the children of each parent, alphabetically by title or by the
// page and place each bookmark leads to, ascending or descending, on every level or on one
// level (optionally with the levels below it). Bookmarks never change parent. The whole run
// is one undo step; groups that are already in order are left as they are.
#pragma once

#include <vector>

#include "framework/bookmark_operation.h"
#include "host/object_list.h"

namespace bm {

// SBOptions Flags.
inline constexpr int32_t kSbAlphabetical = 0x1;
inline constexpr int32_t kSbOneLevel = 0x2;
inline constexpr int32_t kSbWithLevelsBelow = 0x4;
inline constexpr int32_t kSbIgnoreCase = 0x8;
inline constexpr int32_t kSbDescending = 0x10;

class SBOperation : public BookmarkOperation {
 public:
  SBOperation(PluginContext* plugin, const OperationRow& row);

  // Without "Sort all bookmarks levels" (0x2 set) the stored Level stands; otherwise Level
  // becomes -1, every level.
  zelta::HRESULT LoadLastUsedOptions() override;
  zelta::HRESULT Run(int32_t flags, intptr_t extra) override;

 protected:
  zelta::HRESULT ReadInputs() override { return ReadDocumentInput(); }

 private:
  struct Group {
    zelta::ComPtr<zelta::IHostBookmark> parent;
    int32_t depth = 0;
  };

  // Whether the children of a parent at this depth are put in order (else only passed
  // through on the way to deeper groups).
  bool SortsGroupAt(int32_t depth) const;
  // The groups the run enters, parents before their descendants.
  zelta::HRESULT CollectGroups(zelta::IHostBookmark* root, std::vector<Group>& groups,
                               uint32_t& visits);
  zelta::HRESULT SortGroup(const Group& group);
  // The order of the children: indexes into children, sorted.
  std::vector<size_t> SortedOrder(const std::vector<zelta::ComPtr<zelta::IHostBookmark>>& children);
  // Takes the children out and puts them back in the new order, through the host operations
  // that record the undo.
  zelta::HRESULT ApplyOrder(zelta::IHostBookmark* parent,
                            const std::vector<zelta::ComPtr<zelta::IHostBookmark>>& ordered);
  zelta::HRESULT RunHostOperation(std::u16string_view id, zelta::IHostObjectList* list);

  int32_t optionFlags_ = 0;
  int32_t level_ = -1;
  int32_t viewRotation_ = 0;
  int32_t doFlags_ = 0;
  zelta::ComPtr<zelta::IObjectListFactory> lists_;
};

}  // namespace bm
