// Build Table of Contents: pages listing the bookmarks (title, leaders, page number, indented
// by level) inserted before a chosen page, each title and number a link that does what its
// bookmark does. The pages are counted first, inserted in one host operation, then written;
// the whole change is one undo step.
#pragma once

#include <string>
#include <vector>

#include "framework/bookmark_operation.h"
#include "host/page_content.h"
#include "toc/toc_entry.h"
#include "toc/toc_level_format.h"
#include "toc/toc_page_layout.h"

namespace bm {

// ToTOCOptions Flags read by the run (the layout's in toc_page_layout.h).
inline constexpr int32_t kTocSkipInvalid = 0x2;
inline constexpr int32_t kTocAllLevels = 0x4;

class ToTOCOperation : public BookmarkOperation {
 public:
  ToTOCOperation(PluginContext* plugin, const OperationRow& row);

  zelta::HRESULT Run(int32_t flags, intptr_t extra) override;
  // Options without level formats get the built-in set, as the dialog gives them.
  zelta::HRESULT LoadLastUsedOptions() override;

 protected:
  zelta::HRESULT ReadInputs() override { return ReadDocumentInput(); }

 private:
  // The built-in level set (title 22 pt, level 1 18 pt, level 2 16 pt indented), margins of
  // 72 points, before page 1, skipping invalid bookmarks, all levels, and the title text.
  void ApplyBuiltInLevels();
  // Everything the options say, checked before anything changes.
  zelta::HRESULT ReadOptions();
  zelta::HRESULT ReadPageSize();
  zelta::HRESULT ResolveFonts();
  zelta::HRESULT Build(int32_t flags);
  zelta::HRESULT CollectEntries();
  // The bookmarks validation finds invalid (skip-invalid), by the host's validation run.
  zelta::HRESULT FindInvalid(std::vector<zelta::ComPtr<zelta::IHostBookmark>>* invalid);
  zelta::HRESULT CountPages(TocPageLayout& layout, int32_t* pages);
  zelta::HRESULT InsertPages(int32_t count, int32_t flags);
  zelta::HRESULT AddLinks(const std::vector<zelta::ComPtr<zelta::IHostAnnotation>>& links,
                          int32_t flags);
  zelta::HRESULT RunHostOperation(std::u16string_view id,
                                  const std::vector<zelta::IUnknown*>& input, int32_t flags,
                                  const std::function<void(zelta::ICabItem*)>& options);
  void Raise(std::u16string_view event, zelta::HRESULT result);
  zelta::HRESULT Fail(std::u16string detail);

  int32_t optionFlags_ = 0;
  std::u16string title_;
  int32_t pageNumber_ = 1;
  int32_t pageCount_ = 0;
  int32_t startLevel_ = 1;
  uint32_t endLevel_ = 0xFFFFFFFFu;
  TocPageLayout::Page page_;
  std::vector<TocLevelFormat> formats_;
  std::vector<TocEntry> entries_;
  zelta::ComPtr<zelta::IHostPageEditor> editor_;
};

}  // namespace bm
