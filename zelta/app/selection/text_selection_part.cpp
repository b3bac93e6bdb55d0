#include "zelta/app/selection/text_selection_part.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "zelta/pdf/text/page_text_service.h"

namespace zelta::app {

HRESULT TextSelectionPart::IsEmpty(bool* empty) {
  if (!empty) return E_POINTER;
  *empty =
      std::none_of(ranges_.begin(), ranges_.end(), [](const Range& r) { return r.second > 0; });
  return S_OK;
}

HRESULT TextSelectionPart::GetPageIndex(int32_t* page) {
  if (!page) return E_POINTER;
  *page = page_;
  return S_OK;
}

HRESULT TextSelectionPart::GetRangeCount(int32_t* count) {
  if (!count) return E_POINTER;
  *count = static_cast<int32_t>(ranges_.size());
  return S_OK;
}

HRESULT TextSelectionPart::GetRange(int32_t index, int32_t* start, int32_t* length) {
  if (!start || !length) return E_POINTER;
  if (index < 0 || static_cast<size_t>(index) >= ranges_.size()) return E_INVALIDARG;
  *start = ranges_[static_cast<size_t>(index)].first;
  *length = ranges_[static_cast<size_t>(index)].second;
  return S_OK;
}

std::vector<TextSelectionPart::Range> TextSelectionPart::RangesIn(
    const PageTextChar* chars, int32_t count, const std::optional<PageBox>& area) {
  std::vector<Range> ranges;
  if (count <= 0) return ranges;
  if (!area) {
    ranges.emplace_back(0, count);
    return ranges;
  }
  double x0 = std::min(area->left, area->right), x1 = std::max(area->left, area->right);
  double y0 = std::min(area->bottom, area->top), y1 = std::max(area->bottom, area->top);
  for (int32_t i = 0; i < count; ++i) {
    double x = (chars[i].left + chars[i].right) / 2, y = (chars[i].bottom + chars[i].top) / 2;
    if (x < x0 || x > x1 || y < y0 || y > y1) continue;
    if (!ranges.empty() && ranges.back().first + ranges.back().second == i)
      ++ranges.back().second;
    else
      ranges.emplace_back(i, 1);
  }
  return ranges;
}

std::vector<TextSelectionPart::Range> TextSelectionPart::RangeBetween(const PageTextChar* chars,
                                                                      int32_t count, double fromX,
                                                                      double fromY, double toX,
                                                                      double toY) {
  if (count <= 0) return {};
  // Distance to a character's box (0 inside it), so that a point on a character picks it
  // rather than a neighbour whose centre happens to be closer.
  auto nearest = [&](double x, double y) {
    int32_t best = 0;
    double bestDistance = -1;
    for (int32_t i = 0; i < count; ++i) {
      const PageTextChar& c = chars[i];
      const double dx = std::max({c.left - x, 0.0, x - c.right});
      const double dy = std::max({c.bottom - y, 0.0, y - c.top});
      const double distance = dx * dx + dy * dy;
      if (bestDistance < 0 || distance < bestDistance) {
        best = i;
        bestDistance = distance;
      }
    }
    return best;
  };
  int32_t first = nearest(fromX, fromY), last = nearest(toX, toY);
  if (first > last) std::swap(first, last);
  return {Range(first, last - first + 1)};
}

HRESULT TextSelectionPart::SelectBetween(IHostDocument* document, int32_t page, double fromX,
                                         double fromY, double toX, double toY,
                                         ComPtr<TextSelectionPart>* part, std::string* error) {
  ComPtr<IHostPageText> text;
  HRESULT hr = ReadPageText(document, page, &text, error);
  if (Failed(hr)) return hr;
  const PageTextChar* chars = nullptr;
  int32_t count = 0;
  text->GetChars(&chars, &count);
  *part = MakeCom<TextSelectionPart>(page, RangeBetween(chars, count, fromX, fromY, toX, toY));
  return S_OK;
}

HRESULT TextSelectionPart::ReadPageText(IHostDocument* document, int32_t page,
                                        ComPtr<IHostPageText>* text, std::string* error) {
  auto service = pdf::MakePageTextService();
  HRESULT hr = service->GetPageText(document, page, text->Put());
  if (Failed(hr) || !*text) {
    int32_t pages = 0;
    if (document) document->GetPageCount(&pages);
    if (error)
      *error = hr == E_INVALIDARG
                   ? "page " + std::to_string(page + 1) + " is outside the document (pages 1 to " +
                         std::to_string(pages) + ")"
                   : "the text of page " + std::to_string(page + 1) + " cannot be read";
    return Failed(hr) ? hr : E_FAIL;
  }
  return S_OK;
}

HRESULT TextSelectionPart::Select(IHostDocument* document, int32_t page,
                                  const std::optional<PageBox>& area,
                                  ComPtr<TextSelectionPart>* part, std::string* error) {
  ComPtr<IHostPageText> text;
  HRESULT hr = ReadPageText(document, page, &text, error);
  if (Failed(hr)) return hr;
  const PageTextChar* chars = nullptr;
  int32_t count = 0;
  text->GetChars(&chars, &count);
  *part = MakeCom<TextSelectionPart>(page, RangesIn(chars, count, area));
  return S_OK;
}

bool TextSelectionPart::ParseArgument(std::string_view text, int32_t* page,
                                      std::optional<PageBox>* area, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = "\"" + std::string(text) + "\": " + why;
    return false;
  };
  size_t colon = text.find(':');
  std::string_view pageText = text.substr(0, colon);
  int32_t number = 0;
  auto [end, ec] = std::from_chars(pageText.data(), pageText.data() + pageText.size(), number);
  if (ec != std::errc() || end != pageText.data() + pageText.size() || number < 1)
    return fail("the page must be a number from 1");
  *page = number - 1;
  area->reset();
  if (colon == std::string_view::npos) return true;
  double values[4];
  std::string_view rest = text.substr(colon + 1);
  for (int i = 0; i < 4; ++i) {
    size_t comma = rest.find(',');
    std::string_view item = rest.substr(0, comma);
    if ((i < 3) == (comma == std::string_view::npos))
      return fail("the rectangle must be x0,y0,x1,y1");
    auto [stop, err] = std::from_chars(item.data(), item.data() + item.size(), values[i]);
    if (err != std::errc() || stop != item.data() + item.size() || !std::isfinite(values[i]))
      return fail("\"" + std::string(item) + "\" is not a number");
    if (comma != std::string_view::npos) rest.remove_prefix(comma + 1);
  }
  *area = PageBox{values[0], values[1], values[2], values[3]};
  return true;
}

}  // namespace zelta::app
