// Lays the entries of a table of contents out onto pages, through the host's content writer:
// the title line, then per entry its title (wrapped within the title column), leaders and the
// page number flush right on the title's last line. It is the writer's text-flow callback:
// text that does not fit continues on the next page.
//
// A counting pass only learns how many pages are needed; a drawing pass writes onto the
// pages inserted for it and makes the links. Every pass numbers the pages as they will be
// once the table of contents is in, so they all need the same pages. When the page numbers
// read nothing from the document, a recording pass keeps each page's content and links
// instead: once its count holds, the pages go in and the recording is written onto them,
// which saves the pass that confirms the count.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/document.h"
#include "host/page_content.h"
#include "toc/toc_entry.h"
#include "toc/toc_level_format.h"

namespace bm {

// Flags of ToTOCOptions that the layout reads.
inline constexpr int32_t kTocPageLabels = 0x10;
inline constexpr int32_t kTocBatesNumbers = 0x20;
inline constexpr int32_t kTocLeaderUnderscore = 0x100;
inline constexpr int32_t kTocLeaderSpace = 0x200;
inline constexpr int32_t kTocTidySpaces = 0x400;

class TocPageLayout final : public zelta::ComObject<zelta::ITextFlowCallback> {
 public:
  struct Page {
    double width = 0, height = 0;
    double left = 0, bottom = 0, right = 0, top = 0;  // margins
  };
  // Called before each entry of the drawing pass; a failure (cancellation) ends the pass.
  using Progress = std::function<zelta::HRESULT(const TocEntry& entry)>;

  TocPageLayout(zelta::IHostDocument* document, zelta::IHostPageEditor* editor,
                zelta::IHostContentWriter* writer, Page page, int32_t flags, int32_t firstPage,
                const std::vector<TocLevelFormat>& formats, const std::vector<TocEntry>& entries);

  // The pages the entries need when `assumedPages` pages are inserted before them.
  zelta::HRESULT Count(int32_t assumedPages, int32_t* pages);
  // Writes onto the `pages` pages inserted at the first page, and makes a link over each
  // title and each number of an entry with a bookmark. E_FAIL when the entries would need
  // more pages: nothing is written onto the document's own pages.
  zelta::HRESULT Draw(int32_t pages, const Progress& progress,
                      std::vector<zelta::ComPtr<zelta::IHostAnnotation>>* links);
  // Whether Record may be used: the numbers shown are not read from the document (page
  // labels and Bates numbers are read from pages that move when the table goes in).
  bool CanRecord() const;
  // Lays the entries out for `assumedPages` pages inserted at the first page and keeps what
  // Draw would write; *pages is the count the layout needed.
  zelta::HRESULT Record(int32_t assumedPages, const Progress& progress, int32_t* pages);
  // Writes the recording onto the pages inserted for it (as many as it needed).
  zelta::HRESULT Commit(std::vector<zelta::ComPtr<zelta::IHostAnnotation>>* links);

  // ITextFlowCallback
  zelta::HRESULT NewArea(zelta::PageBox* area, int32_t* bits) override;
  zelta::HRESULT LinesPlaced(const zelta::PageBox* lines, int32_t count) override;
  zelta::HRESULT EndOfText() override;

  // Blanks trimmed at both ends and each run of blanks inside made one space.
  static std::u16string TidySpaces(std::u16string_view text);

 private:
  enum class Mode { kTitle, kNumber, kTitleLine };

  zelta::HRESULT Run();
  zelta::HRESULT LayoutEntry(const TocEntry& entry);
  zelta::HRESULT ApplyFormat(const TocLevelFormat& format);
  const TocLevelFormat& FormatOf(const TocEntry& entry) const;
  // The entry's indent from the left margin.
  double IndentOf(const TocEntry& entry) const;
  zelta::HRESULT BeginPage();
  void Prepare(bool newPage);
  // The page number as the entry shows it, once the table of contents is in.
  std::u16string NumberText(const TocEntry& entry);
  double Width(std::u16string_view text);
  zelta::HRESULT WidestLabel();
  zelta::HRESULT HandContent();
  int32_t FlowFlags() const;
  // Keeps a link over `used` for the page being filled; HandContent makes the page's links.
  void MakeLink(const TocEntry& entry, const zelta::PageBox& used);
  void CreateLinks(int32_t page, std::vector<zelta::PageBox>& rects,
                   std::vector<zelta::ComPtr<zelta::IHostActionList>>& actions);

  zelta::IHostDocument* document_;
  zelta::IHostPageEditor* editor_;
  zelta::IHostContentWriter* writer_;
  Page page_;
  int32_t flags_;
  int32_t firstPage_;
  const std::vector<TocLevelFormat>& formats_;
  const std::vector<TocEntry>& entries_;

  bool counting_ = true;
  bool recording_ = false;
  struct RecordedPage {
    zelta::ComPtr<zelta::IHostContent> content;
    std::vector<zelta::PageBox> linkRects;
    std::vector<zelta::ComPtr<zelta::IHostActionList>> linkActions;
  };
  std::vector<RecordedPage> recorded_;
  int32_t inserted_ = 0;   // pages assumed (counting) or inserted (drawing) before the entries
  int32_t pageIndex_ = 0;  // the page being filled
  bool freshPage_ = false;
  Mode mode_ = Mode::kTitleLine;
  const TocEntry* current_ = nullptr;
  std::u16string number_;
  double widestLabel_ = 0;
  zelta::PageBox line_{}, title_{}, numberBox_{};
  double leaderStart_ = 0;
  const Progress* progress_ = nullptr;
  std::vector<zelta::ComPtr<zelta::IHostAnnotation>>* links_ = nullptr;
  // The links of the page being filled, made when the page is done.
  std::vector<zelta::PageBox> linkRects_;
  std::vector<zelta::ComPtr<zelta::IHostActionList>> linkActions_;
};

}  // namespace bm
