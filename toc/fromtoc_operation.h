// Bookmark Table of Contents: reads a printed table of contents from the selected text, finds
// the page each entry's printed number means, and adds a bookmark for each entry (nested by
// style or by indent), a link over each entry, or both. The whole change is one undo step.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "framework/bookmark_list.h"
#include "framework/bookmark_operation.h"
#include "host/page_content.h"
#include "toc/toc_line_entry.h"

namespace bm {

// FromTOCOptions Flags (the title ones are in toc_title.h).
inline constexpr int32_t kFromTocSeparatorMask = 0x0F;
inline constexpr int32_t kFromTocNoBookmarks = 0x10;
inline constexpr int32_t kFromTocNoLinks = 0x20;
inline constexpr int32_t kFromTocNoExistingLinks = 0x40;
inline constexpr int32_t kFromTocImproveDestinations = 0x80;
inline constexpr int32_t kFromTocLevelsByIndent = 0x100;

class FromTOCOperation : public BookmarkOperation {
 public:
  zelta::HRESULT Run(int32_t flags, intptr_t extra) override;

 protected:
  zelta::HRESULT ReadInputs() override { return ReadDocumentInput(); }

 private:
  friend struct zelta::ComAccess;
  FromTOCOperation(PluginContext* plugin, const OperationRow& row);

  zelta::HRESULT ReadOptions();
  // Page label to page: the first page that carries a label keeps it.
  std::map<std::u16string, int32_t> PageLabels() const;
  zelta::HRESULT ReadEntries(std::vector<TocLineEntry>* entries);
  // The links already on a table-of-contents page, read once per page.
  zelta::HRESULT ReadLinks(int32_t page);
  // The actions of an existing link over one of the entry's lines; null when there is none.
  zelta::IHostActionList* ExistingLinkActions(const TocLineEntry& entry) const;
  zelta::HRESULT Create(const std::vector<TocLineEntry>& entries, zelta::IHostBookmark* root,
                        BookmarkList* created);
  // The top of a page's crop box; none when the page has no box.
  std::optional<double> PageTop(int32_t page);
  // The first place each entry's title stands on its target page.
  zelta::HRESULT FindTitles(const std::vector<TocLineEntry>& entries,
                            const std::vector<std::u16string>& titles,
                            std::vector<std::optional<zelta::PageBox>>* hits);
  zelta::HRESULT AddLinks(const TocLineEntry& entry, zelta::IHostActionList* actions);
  zelta::HRESULT RecordLinks(int32_t flags);

  int32_t optionFlags_ = 0;
  int32_t pageOffset_ = 0;
  double topIndent_ = 0, bottomIndent_ = 0;
  int32_t pageCount_ = 0;
  zelta::ComPtr<zelta::IHostPageEditor> editor_;
  std::vector<zelta::ComPtr<zelta::IHostAnnotation>> links_;
  struct ExistingLink {
    zelta::PageBox rect;
    zelta::ComPtr<zelta::IHostActionList> actions;
  };
  std::map<int32_t, std::vector<ExistingLink>> existingLinks_;
  std::map<int32_t, double> pageTops_;  // the top of the crop box of pages met so far
};

}  // namespace bm
