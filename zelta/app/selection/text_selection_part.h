// One part of a text selection: character ranges of one page, and how the program driving
// the host makes one from a rectangle on a page.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/document.h"
#include "host/page_text.h"

namespace zelta::app {

class TextSelectionPart final : public ComObject<IHostTextSelectionPart> {
 public:
  // (start, length) pairs in page-text character indexes.
  using Range = std::pair<int32_t, int32_t>;

  TextSelectionPart(int32_t page, std::vector<Range> ranges)
      : page_(page), ranges_(std::move(ranges)) {}

  HRESULT IsEmpty(bool* empty) override;
  HRESULT GetPageIndex(int32_t* page) override;
  HRESULT GetRangeCount(int32_t* count) override;
  HRESULT GetRange(int32_t index, int32_t* start, int32_t* length) override;

  const std::vector<Range>& Ranges() const { return ranges_; }

  // The characters whose box centre lies inside `area` (PDF user space, either corner
  // order), as ranges of consecutive characters; every character when `area` is none.
  static std::vector<Range> RangesIn(const PageTextChar* chars, int32_t count,
                                     const std::optional<PageBox>& area);

  // The characters in reading order from the one nearest `from` to the one nearest `to`
  // (either order; points in PDF user space), as one range; none for a page without text.
  static std::vector<Range> RangeBetween(const PageTextChar* chars, int32_t count, double fromX,
                                         double fromY, double toX, double toY);
  // Selects the text of a page (zero-based) from one point to another, as a reader drags
  // across lines; the errors of Select.
  static HRESULT SelectBetween(IHostDocument* document, int32_t page, double fromX, double fromY,
                               double toX, double toY, ComPtr<TextSelectionPart>* part,
                               std::string* error);

  // Selects the text of a page (zero-based) inside `area`. E_INVALIDARG with *error naming
  // the page when it is outside the document or its text cannot be read.
  static HRESULT Select(IHostDocument* document, int32_t page, const std::optional<PageBox>& area,
                        ComPtr<TextSelectionPart>* part, std::string* error);

  // Parses the program's "PAGE[:x0,y0,x1,y1]" (1-based page, points). False with *error
  // naming the text when it does not parse.
  static bool ParseArgument(std::string_view text, int32_t* page, std::optional<PageBox>* area,
                            std::string* error);

 private:
  ~TextSelectionPart() override = default;
  // The page's text; the errors of Select.
  static HRESULT ReadPageText(IHostDocument* document, int32_t page, ComPtr<IHostPageText>* text,
                              std::string* error);

  int32_t page_;
  std::vector<Range> ranges_;
};

}  // namespace zelta::app
