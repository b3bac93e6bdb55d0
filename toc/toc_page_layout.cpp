#include "toc/toc_page_layout.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "framework/host_strings.h"
#include "platform/bidi_text.h"

namespace bm {

using zelta::HRESULT;
using zelta::PageBox;

namespace {

// A leader run longer than this is cut (a line of leaders is never wider than a page).
constexpr double kMaxLeaders = 2000;

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

}  // namespace

TocPageLayout::TocPageLayout(zelta::IHostDocument* document, zelta::IHostPageEditor* editor,
                             zelta::IHostContentWriter* writer, Page page, int32_t flags,
                             int32_t firstPage, const std::vector<TocLevelFormat>& formats,
                             const std::vector<TocEntry>& entries)
    : document_(document),
      editor_(editor),
      writer_(writer),
      page_(page),
      flags_(flags),
      firstPage_(firstPage),
      formats_(formats),
      entries_(entries) {}

std::u16string TocPageLayout::TidySpaces(std::u16string_view text) {
  std::u16string tidy;
  bool blank = false;
  for (char16_t c : text) {
    if (IsBlank(c)) {
      blank = true;
      continue;
    }
    if (blank && !tidy.empty()) tidy.push_back(u' ');
    blank = false;
    tidy.push_back(c);
  }
  return tidy;
}

HRESULT TocPageLayout::Count(int32_t assumedPages, int32_t* pages) {
  counting_ = true;
  recording_ = false;
  inserted_ = assumedPages;
  progress_ = nullptr;
  links_ = nullptr;
  HRESULT hr = Run();
  *pages = pageIndex_ - firstPage_ + 1;
  writer_->Reset();
  return hr;
}

HRESULT TocPageLayout::Draw(int32_t pages, const Progress& progress,
                            std::vector<zelta::ComPtr<zelta::IHostAnnotation>>* links) {
  counting_ = false;
  recording_ = false;
  inserted_ = pages;
  progress_ = &progress;
  links_ = links;
  linkRects_.clear();
  linkActions_.clear();
  writer_->Reset();
  return Run();
}

bool TocPageLayout::CanRecord() const { return !(flags_ & (kTocPageLabels | kTocBatesNumbers)); }

HRESULT TocPageLayout::Record(int32_t assumedPages, const Progress& progress, int32_t* pages) {
  if (!CanRecord()) return zelta::E_FAIL;
  counting_ = false;
  recording_ = true;
  inserted_ = assumedPages;
  progress_ = &progress;
  links_ = nullptr;
  recorded_.clear();
  linkRects_.clear();
  linkActions_.clear();
  writer_->Reset();
  HRESULT hr = Run();
  *pages = pageIndex_ - firstPage_ + 1;
  return hr;
}

HRESULT TocPageLayout::Commit(std::vector<zelta::ComPtr<zelta::IHostAnnotation>>* links) {
  links_ = links;
  for (size_t i = 0; i < recorded_.size(); ++i) {
    RecordedPage& page = recorded_[i];
    const int32_t index = firstPage_ + static_cast<int32_t>(i);
    if (page.content) {
      HRESULT hr = editor_->AppendContent(index, page.content.Get());
      if (zelta::Failed(hr)) return hr;
    }
    CreateLinks(index, page.linkRects, page.linkActions);
  }
  recorded_.clear();
  return zelta::S_OK;
}

HRESULT TocPageLayout::Run() {
  pageIndex_ = firstPage_ - 1;
  // The drawing pass keeps the widths the last count used: the document has changed since.
  HRESULT hr = counting_ ? WidestLabel() : zelta::S_OK;
  for (size_t i = 0; zelta::Succeeded(hr) && i < entries_.size(); ++i) {
    if (progress_) hr = (*progress_)(entries_[i]);
    if (zelta::Succeeded(hr)) hr = LayoutEntry(entries_[i]);
  }
  return zelta::Succeeded(hr) ? HandContent() : hr;
}

const TocLevelFormat& TocPageLayout::FormatOf(const TocEntry& entry) const {
  // Deeper levels than the formats reach take the last format's font (IndentOf moves them).
  const size_t index = std::min(static_cast<size_t>(entry.depth), formats_.size() - 1);
  return formats_[index];
}

double TocPageLayout::IndentOf(const TocEntry& entry) const {
  const size_t last = formats_.size() - 1;
  const size_t depth = static_cast<size_t>(std::max(entry.depth, 0));
  if (depth <= last) return formats_[depth].indent;
  // Each level beyond the formats steps in once more, so that the hierarchy still shows: by
  // the step between the last two bookmark levels, else by the last indent, else by one and
  // a half of the last font size. Half the line is kept for the title.
  double step = last >= 2 ? formats_[last].indent - formats_[last - 1].indent : 0;
  if (step <= 0) step = formats_[last].indent;
  if (step <= 0) step = 1.5 * formats_[last].size;
  const double room = (page_.width - page_.right) - page_.left;
  const double deepest = std::max(formats_[last].indent, room / 2);
  return std::min(formats_[last].indent + step * static_cast<double>(depth - last), deepest);
}

HRESULT TocPageLayout::ApplyFormat(const TocLevelFormat& format) {
  HRESULT hr = writer_->SetFontSize(format.size);
  if (zelta::Succeeded(hr)) hr = writer_->SetFillColor(format.fill, format.hasFill);
  if (zelta::Succeeded(hr)) hr = writer_->SetStrokeColor(format.stroke, format.hasStroke);
  if (zelta::Succeeded(hr)) hr = writer_->SetFont(format.font.Get());
  return hr;
}

double TocPageLayout::Width(std::u16string_view text) {
  double width = 0, height = 0;
  if (text.empty() ||
      zelta::Failed(writer_->MeasureText(text.data(), static_cast<int32_t>(text.size()),
                                         FormatOf(*current_).size, &width, &height)))
    return 0;
  return width;
}

std::u16string TocPageLayout::NumberText(const TocEntry& entry) {
  if (entry.targetPage < 0) return {};
  // Pages from the first table-of-contents page on move back by the pages inserted.
  const int32_t shown = entry.targetPage + (entry.targetPage >= firstPage_ ? inserted_ : 0);
  zelta::OwnedString text;
  if ((flags_ & kTocPageLabels) && !counting_) {
    document_->GetPageLabel(shown, text.Put());
  } else if ((flags_ & kTocBatesNumbers) && !(flags_ & kTocPageLabels) && editor_) {
    editor_->GetBatesNumber(shown, text.Put());
  }
  if (!text.View().empty()) return text.Str();
  return bm::NumberText(static_cast<uint64_t>(shown) + 1);
}

HRESULT TocPageLayout::WidestLabel() {
  widestLabel_ = 0;
  if (!(flags_ & kTocPageLabels)) return zelta::S_OK;
  // Both what a label reads now and the page number a page without a label will show: the
  // pages' labels stay with them when the table of contents goes in.
  for (const TocEntry& entry : entries_) {
    if (entry.targetPage < 0) continue;
    current_ = &entry;
    HRESULT hr = ApplyFormat(FormatOf(entry));
    if (zelta::Failed(hr)) return hr;
    zelta::OwnedString label;
    document_->GetPageLabel(entry.targetPage, label.Put());
    const int32_t shown = entry.targetPage + (entry.targetPage >= firstPage_ ? inserted_ : 0);
    widestLabel_ = std::max({widestLabel_, Width(label.Str() + u"Ww"),
                             Width(bm::NumberText(static_cast<uint64_t>(shown) + 1) + u"Ww")});
  }
  return zelta::S_OK;
}

HRESULT TocPageLayout::BeginPage() {
  ++pageIndex_;
  if (!counting_ && !recording_ && pageIndex_ >= firstPage_ + inserted_) return zelta::E_FAIL;
  Prepare(true);
  return zelta::S_OK;
}

void TocPageLayout::Prepare(bool newPage) {
  if (newPage) {
    line_.top = page_.height - page_.top;
    freshPage_ = true;
  }
  line_.left = page_.left + IndentOf(*current_);
  line_.right = page_.width - page_.right;
  line_.bottom = page_.bottom;
  number_ = current_->bookmark ? NumberText(*current_) : std::u16string();

  title_ = line_;
  numberBox_ = line_;
  const double d = line_.right - line_.left;
  numberBox_.left += d / 3;
  title_.right -= 2 * d / 3;
  const double w = (flags_ & kTocPageLabels) ? widestLabel_ : Width(number_);
  if (!number_.empty() && w < numberBox_.right - numberBox_.left) {
    title_.right = line_.right - w;
    numberBox_.left = numberBox_.right - w;
  } else if (number_.empty()) {
    title_.right = line_.right;
    numberBox_.left = numberBox_.right;
  } else {
    // A number wider than two thirds of the line stands on a line of its own below the
    // title, which keeps the whole line.
    title_.right = line_.right;
    numberBox_.left = line_.left;
  }
}

HRESULT TocPageLayout::LayoutEntry(const TocEntry& entry) {
  current_ = &entry;
  const TocLevelFormat& format = FormatOf(entry);
  HRESULT hr = ApplyFormat(format);
  if (zelta::Failed(hr)) return hr;
  const bool isTitleLine = entry.depth == 0;
  mode_ = isTitleLine ? Mode::kTitleLine : Mode::kTitle;
  if (isTitleLine) {
    hr = BeginPage();
    if (zelta::Failed(hr)) return hr;
  } else {
    Prepare(false);
  }

  // The writer places glyphs left to right: a right-to-left title goes in the order it is
  // seen, flush right within its column.
  const platform::VisualText text =
      platform::VisualOrder((flags_ & kTocTidySpaces) ? TidySpaces(entry.title) : entry.title);
  PageBox area = isTitleLine ? line_ : title_;
  PageBox used{};
  hr = writer_->FlowText(text.text.c_str(), static_cast<int32_t>(text.text.size()), &area, this,
                         FlowFlags() | (text.rightToLeft ? zelta::kFlowAlignRight : 0), &used);
  if (zelta::Failed(hr)) return hr;
  MakeLink(entry, used);
  if (isTitleLine || number_.empty()) return zelta::S_OK;

  mode_ = Mode::kNumber;
  const std::u16string leader = (flags_ & kTocLeaderSpace)        ? u" "
                                : (flags_ & kTocLeaderUnderscore) ? u"_"
                                                                  : u".";
  const double leaderWidth = Width(leader);
  const double numberWidth = Width(number_);
  // The leaders run from the end of the title's last line to where the number begins (with
  // labels, the number may be narrower than the room kept for the widest one).
  const double room = (numberBox_.right - numberWidth) - leaderStart_;
  // A number that does not fit beside the title's last line goes below it, flush right.
  const bool below = room < 0;
  const double count = leaderWidth > 0 && room > 0 && !below
                           ? std::min(std::floor(room / leaderWidth), kMaxLeaders)
                           : 0;
  std::u16string numberText;
  numberText.reserve(static_cast<size_t>(count) + number_.size());
  for (int i = 0; i < static_cast<int>(count); ++i) numberText += leader;
  numberText += number_;
  PageBox numberArea = numberBox_;
  if (below) {
    numberArea.left = line_.left;
    numberArea.top = numberBox_.bottom;
    numberArea.bottom = line_.bottom;
  } else {
    numberArea.left = std::min(leaderStart_, numberBox_.right - numberWidth);
  }
  hr = writer_->FlowText(numberText.c_str(), static_cast<int32_t>(numberText.size()), &numberArea,
                         this, zelta::kFlowAlignRight | FlowFlags(), &used);
  if (zelta::Failed(hr)) return hr;
  MakeLink(entry, used);
  return zelta::S_OK;
}

int32_t TocPageLayout::FlowFlags() const {
  return (freshPage_ ? 0 : zelta::kFlowAreaInUse) | (counting_ ? zelta::kFlowLayoutOnly : 0);
}

HRESULT TocPageLayout::NewArea(PageBox* area, int32_t* bits) {
  if (!area || !bits) return zelta::E_POINTER;
  HRESULT hr = HandContent();
  if (zelta::Failed(hr)) return hr;
  hr = BeginPage();
  if (zelta::Failed(hr)) return hr;
  *area = mode_ == Mode::kTitle ? title_ : mode_ == Mode::kNumber ? numberBox_ : line_;
  *bits = zelta::kFlowAreaChanged | zelta::kFlowNewPage;
  return zelta::S_OK;
}

HRESULT TocPageLayout::LinesPlaced(const PageBox* lines, int32_t count) {
  if (!lines || count <= 0) return zelta::S_OK;
  const PageBox& last = lines[count - 1];
  leaderStart_ = last.right;
  numberBox_.bottom = last.bottom;
  numberBox_.top = last.top;
  line_.top = last.bottom;
  title_.top = last.bottom;
  freshPage_ = false;
  return zelta::S_OK;
}

// The content goes to the page when the page is full and after the last entry (Run), so
// that a page gets its text in one piece rather than two per entry.
HRESULT TocPageLayout::EndOfText() { return zelta::S_OK; }

HRESULT TocPageLayout::HandContent() {
  if (counting_) return zelta::S_OK;
  zelta::ComPtr<zelta::IHostContent> content;
  HRESULT hr = writer_->TakeContent(content.Put());
  if (zelta::Failed(hr)) return hr;
  if (recording_) {
    const size_t index = static_cast<size_t>(pageIndex_ - firstPage_);
    if (recorded_.size() <= index) recorded_.resize(index + 1);
    RecordedPage& page = recorded_[index];
    if (hr == zelta::S_OK) page.content = content;
    page.linkRects.swap(linkRects_);
    page.linkActions.swap(linkActions_);
    linkRects_.clear();
    linkActions_.clear();
    return zelta::S_OK;
  }
  if (hr == zelta::S_OK) hr = editor_->AppendContent(pageIndex_, content.Get());
  if (zelta::Failed(hr)) return hr;
  CreateLinks(pageIndex_, linkRects_, linkActions_);
  return zelta::S_OK;
}

void TocPageLayout::MakeLink(const TocEntry& entry, const PageBox& used) {
  if (counting_ || !entry.actions || (!links_ && !recording_) || used.right <= used.left ||
      used.top <= used.bottom)
    return;
  linkRects_.push_back(used);
  linkActions_.push_back(entry.actions);
}

void TocPageLayout::CreateLinks(int32_t page, std::vector<PageBox>& rects,
                                std::vector<zelta::ComPtr<zelta::IHostActionList>>& lists) {
  const size_t count = rects.size();
  if (count == 0 || !links_) return;
  std::vector<zelta::IHostActionList*> actions(count);
  for (size_t i = 0; i < count; ++i) actions[i] = lists[i].Get();
  std::vector<zelta::IHostAnnotation*> made(count, nullptr);
  if (zelta::Succeeded(editor_->CreateLinks(page, static_cast<int32_t>(count), rects.data(),
                                            actions.data(), made.data()))) {
    for (zelta::IHostAnnotation* link : made)
      if (link) links_->push_back(zelta::ComPtr<zelta::IHostAnnotation>::Adopt(link));
  } else {
    // One at a time, so that a link whose actions cannot be written is still made.
    for (size_t i = 0; i < count; ++i) {
      zelta::ComPtr<zelta::IHostAnnotation> link;
      if (zelta::Failed(editor_->CreateAnnotation(page, u"Link", 4, &rects[i], -1, link.Put())) ||
          !link)
        continue;
      // Made: it is recorded whatever else fails, so that undo takes it away with the rest.
      links_->push_back(link);
      zelta::OwnedString name;
      if (zelta::Succeeded(link->ProposeName(name.Put())))
        link->SetName(name.View().data(), static_cast<int32_t>(name.View().size()));
      link->SetActions(zelta::kTriggerActivate, actions[i]);
      link->SetBorderWidth(0);
    }
  }
  rects.clear();
  lists.clear();
}

}  // namespace bm
