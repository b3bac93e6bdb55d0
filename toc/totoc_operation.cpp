#include "toc/totoc_operation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <unordered_set>

#include "framework/atom_table.h"
#include "framework/bookmark_target.h"
#include "framework/bookmark_walker.h"
#include "framework/cab_access.h"
#include "framework/host_strings.h"
#include "host/validation.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;
using zelta::IHostBookmark;

namespace {

constexpr std::u16string_view kLabelId = u"bookmarksPlugin.DlgToTOC";
constexpr std::u16string_view kProgressTitleId = u"bookmarksPlugin.progress.toTOC.title";
constexpr std::u16string_view kProgressTextId = u"bookmarksPlugin.progress.toTOC.text";
constexpr std::u16string_view kProgressStatusId = u"bookmarksPlugin.progress.toTOC.status";
constexpr std::u16string_view kUntitledId = u"Untitled2";
// The validation checks of skip-invalid: empty title, a GoTo that leads nowhere, no GoTo.
constexpr int32_t kSkipChecks =
    zelta::kVbCheckEmptyTitle | zelta::kVbCheckGoTo | zelta::kVbCheckMissingGoTo;
// The page size the options template gives Width and Height (A4 rounded to a tenth).
constexpr double kTemplateWidth = 595.3, kTemplateHeight = 841.9;
// Page sizes PDF readers are built for (points), as the page insertion accepts them.
constexpr double kMinSide = 3, kMaxSide = 14400;
// The counting pass repeats with the page count it found until the count holds; page numbers
// that grow by a digit can move a line, so one repetition rarely suffices to be sure.
constexpr int kMaxCounts = 6;

std::u16string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return std::u16string(text, text + std::strlen(text));
}

std::u16string Int(int64_t value) {
  return value < 0 ? u"-" + NumberText(static_cast<uint64_t>(-value))
                   : NumberText(static_cast<uint64_t>(value));
}

}  // namespace

ToTOCOperation::ToTOCOperation(PluginContext* plugin, const OperationRow& row)
    : BookmarkOperation(plugin, row) {
  ApplyBuiltInLevels();
}

HRESULT ToTOCOperation::LoadLastUsedOptions() {
  HRESULT hr = BookmarkOperation::LoadLastUsedOptions();
  ApplyBuiltInLevels();
  return hr;
}

void ToTOCOperation::ApplyBuiltInLevels() {
  auto options = Options();
  auto levels = CabItem(options.Get(), u"Levels");
  int32_t count = 0;
  if (!levels || zelta::Failed(levels->GetCount(&count)) || count > 0) return;
  const struct {
    const char16_t* name;
    double size, indent;
  } kBuiltIn[] = {{u"Arial-BoldMT", 22, 0}, {u"Arial-BoldMT", 18, 0}, {u"ArialMT", 16, 36}};
  for (const auto& format : kBuiltIn) {
    ComPtr<zelta::ICabItem> level;
    if (zelta::Failed(levels->Insert(-1, level.Put())) || !level) return;
    level->SetText(u"Name", format.name, -1);
    level->SetDouble(u"Size", format.size);
    level->SetDouble(u"Indent", format.indent);
  }
  if (auto margins = CabItem(options.Get(), u"Margins"))
    for (const char16_t* side : {u"top", u"bottom", u"left", u"right"})
      margins->SetDouble(side, 72);
  options->SetInt(u"PageNumber", 1);
  // All levels come from StartingLevel 1 and EndingLevel -1, so that setting either alone
  // takes effect.
  options->SetInt(u"Flags", kTocSkipInvalid);
  if (CabText(options.Get(), u"Title", u"").empty()) {
    const std::u16string title = LoadString(u"bookmarksPlugin.ttoc.tableOfContents");
    options->SetText(u"Title", title.c_str(), static_cast<int32_t>(title.size()));
  }
}

HRESULT ToTOCOperation::Fail(std::u16string detail) {
  ReportFailureDetail(std::move(detail));
  return zelta::E_INVALIDARG;
}

HRESULT ToTOCOperation::ReadOptions() {
  zelta::ICabItem* options = Options().Get();
  optionFlags_ = CabInt(options, u"Flags", 0);
  title_ = CabText(options, u"Title", u"");
  pageNumber_ = CabInt(options, u"PageNumber", 1);
  if (optionFlags_ & kTocAllLevels) {
    startLevel_ = 1;
    endLevel_ = 0xFFFFFFFFu;
  } else {
    startLevel_ = CabInt(options, u"StartingLevel", 1);
    endLevel_ = static_cast<uint32_t>(CabInt(options, u"EndingLevel", -1));
  }
  Document()->GetPageCount(&pageCount_);
  if (pageCount_ <= 0)
    return Fail(u"the document has no pages to take the size of the contents pages from");
  if (pageNumber_ < 1 || pageNumber_ > pageCount_ + 1)
    return Fail(u"PageNumber " + Int(pageNumber_) + u" is not a page to insert before: 1 to " +
                Int(pageCount_ + 1) + u" (after the last page)");

  // A margin missing from the dictionary counts as one point.
  ComPtr<zelta::ICabItem> margins = CabItem(options, u"Margins");
  auto margin = [&](const char16_t* name) {
    return margins ? CabDouble(margins.Get(), name, 1.0) : 1.0;
  };
  page_.top = margin(u"top");
  page_.bottom = margin(u"bottom");
  page_.left = margin(u"left");
  page_.right = margin(u"right");
  HRESULT hr = ReadPageSize();
  if (zelta::Failed(hr)) return hr;
  for (double m : {page_.top, page_.bottom, page_.left, page_.right})
    if (!std::isfinite(m) || m < 0)
      return Fail(u"Margins: " + Number(m) + u" is not a margin (0 points or more)");
  if (page_.top + page_.bottom >= page_.height || page_.left + page_.right >= page_.width)
    return Fail(u"Margins (top " + Number(page_.top) + u", bottom " + Number(page_.bottom) +
                u", left " + Number(page_.left) + u", right " + Number(page_.right) +
                u") leave no room on a page of " + Number(page_.width) + u" x " +
                Number(page_.height) + u" points");

  std::u16string error;
  formats_ = ReadLevelFormats(CabItem(options, u"Levels").Get(), HostColors(App()).Get(), &error);
  if (!error.empty()) return Fail(error);
  if (formats_.empty())
    return Fail(u"Levels is empty: the title line and each bookmark level need a format");
  for (size_t i = 0; i < formats_.size(); ++i) {
    if (page_.left + formats_[i].indent >= page_.width - page_.right)
      return Fail(u"Levels[" + NumberText(i) + u"].Indent " + Number(formats_[i].indent) +
                  u" leaves no room between the margins");
    if (page_.left + formats_[i].indent < 0)
      return Fail(u"Levels[" + NumberText(i) + u"].Indent " + Number(formats_[i].indent) +
                  u" puts the text off the page: the left margin is " + Number(page_.left) +
                  u" points, so the indent must be -" + Number(page_.left) + u" or more");
    if (formats_[i].size >= page_.height - page_.top - page_.bottom)
      return Fail(u"Levels[" + NumberText(i) + u"].Size " + Number(formats_[i].size) +
                  u" is taller than the room between the top and bottom margins (" +
                  Number(page_.height - page_.top - page_.bottom) + u" points)");
  }
  return ResolveFonts();
}

HRESULT ToTOCOperation::ReadPageSize() {
  zelta::ICabItem* options = Options().Get();
  const int32_t paperType = CabInt(options, u"PaperType", 1);
  double width = 0, height = 0;
  // Width and Height are read with the custom paper type only: said so rather than ignored.
  const double givenWidth = CabDouble(options, u"Width", kTemplateWidth),
               givenHeight = CabDouble(options, u"Height", kTemplateHeight);
  if (paperType != 2 && (std::abs(givenWidth - kTemplateWidth) > 0.01 ||
                         std::abs(givenHeight - kTemplateHeight) > 0.01))
    ReportWarning(u"Width and Height take effect only with PaperType 2 (custom); PaperType " +
                  Int(paperType) +
                  (paperType == 0 ? u" takes the size of the document's page"
                                  : u" takes the standard paper of StdPaperIndex") +
                  u". Set PaperType=custom to use them.");
  if (paperType == 2) {
    width = CabDouble(options, u"Width", 595.2755905511812);
    height = CabDouble(options, u"Height", 841.8897637795276);
  } else if (paperType == 1) {
    auto papers = GetHostComponent<zelta::IHostPaperList>(App(), "PPR");
    const int32_t index = CabInt(options, u"StdPaperIndex", 4);
    if (!papers || zelta::Failed(papers->GetPaper(index, nullptr, &width, &height)))
      width = height = 0;
    if (CabBool(options, u"Landscape", false)) std::swap(width, height);
  }
  if (!std::isfinite(width) || !std::isfinite(height) || width > kMaxSide || height > kMaxSide)
    return Fail(u"Width " + Number(width) + u" x Height " + Number(height) +
                u" is not a page size (up to 14400 points)");
  if (width <= kMinSide || height <= kMinSide) {
    // The size of the page that will follow the table of contents, or of the last page.
    const int32_t page = pageNumber_ - 1 < pageCount_ ? pageNumber_ - 1 : pageCount_ - 1;
    zelta::PageBox box;
    HRESULT hr = Document()->GetPageBox(page, zelta::kBoxCrop, &box);
    if (zelta::Failed(hr)) return zelta::E_FAIL;
    if (width <= kMinSide) width = box.right - box.left;
    if (height <= kMinSide) height = box.top - box.bottom;
  }
  page_.width = std::clamp(width, kMinSide, kMaxSide);
  page_.height = std::clamp(height, kMinSide, kMaxSide);
  return zelta::S_OK;
}

HRESULT ToTOCOperation::ResolveFonts() {
  std::vector<std::u16string> warned;
  for (TocLevelFormat& format : formats_) {
    HRESULT hr = editor_->ResolveFont(
        format.fontName.c_str(), static_cast<int32_t>(format.fontName.size()), format.font.Put());
    if (zelta::Failed(hr) || !format.font) return zelta::E_FAIL;
    if (hr == zelta::S_FALSE &&
        std::find(warned.begin(), warned.end(), format.fontName) == warned.end()) {
      warned.push_back(format.fontName);
      zelta::OwnedString used;
      format.font->GetName(used.Put());
      ReportWarning(u"Font \"" + format.fontName + u"\" was not found; " + used.Str() +
                    u" is used instead.");
    }
  }
  return zelta::S_OK;
}

HRESULT ToTOCOperation::Run(int32_t flags, intptr_t) {
  editor_ = zelta::QueryAs<zelta::IHostPageEditor>(Document());
  if (!editor_) return zelta::E_FAIL;
  HRESULT hr = ReadOptions();
  if (zelta::Failed(hr)) return hr;

  OpenProgress(flags, kProgressTitleId, kProgressTextId, kProgressStatusId);
  Raise(u"e.document.beforeChangePagesList", zelta::S_OK);
  hr = OpenChangeGroup(flags, kLabelId);
  if (zelta::Succeeded(hr)) hr = Build(flags);
  hr = FinishRun(hr, {});
  Raise(u"e.document.afterChangePagesList", hr);
  entries_.clear();
  formats_.clear();
  return hr;
}

HRESULT ToTOCOperation::Build(int32_t flags) {
  HRESULT hr = CollectEntries();
  if (zelta::Failed(hr)) return hr;
  ComPtr<zelta::IHostContentWriter> writer;
  hr = editor_->CreateContentWriter(writer.Put());
  if (zelta::Failed(hr) || !writer) return zelta::E_FAIL;
  TocPageLayout layout(Document(), editor_.Get(), writer.Get(), page_, optionFlags_,
                       pageNumber_ - 1, formats_, entries_);
  const TocPageLayout::Progress progress = [&](const TocEntry& entry) {
    return StepProgress(ProgressShown() ? entry.title : u"");
  };
  std::vector<ComPtr<zelta::IHostAnnotation>> links;
  int32_t pages = 0;
  if (layout.CanRecord()) {
    // The count of a layout-only pass, confirmed by the recording made for it.
    hr = layout.Count(1, &pages);
    for (int i = 0; zelta::Succeeded(hr) && i < kMaxCounts; ++i) {
      StartProgress(static_cast<uint32_t>(entries_.size()));
      int32_t needed = 0;
      hr = layout.Record(pages, progress, &needed);
      if (zelta::Failed(hr)) return hr;
      if (needed == pages) {
        hr = InsertPages(pages, flags);
        if (zelta::Failed(hr)) return hr;
        MarkChanged();
        hr = layout.Commit(&links);
        return zelta::Succeeded(hr) ? AddLinks(links, flags) : hr;
      }
      pages = needed;
    }
    if (zelta::Failed(hr)) return hr;
  }

  hr = CountPages(layout, &pages);
  if (zelta::Failed(hr)) return hr;
  hr = InsertPages(pages, flags);
  if (zelta::Failed(hr)) return hr;
  MarkChanged();

  StartProgress(static_cast<uint32_t>(entries_.size()));
  hr = layout.Draw(pages, progress, &links);
  if (zelta::Succeeded(hr)) hr = AddLinks(links, flags);
  return hr;
}

HRESULT ToTOCOperation::FindInvalid(std::vector<ComPtr<IHostBookmark>>* invalid) {
  zelta::IHostApp* app = App();
  if (!app) return zelta::E_FAIL;
  ComPtr<zelta::IHostOperation> validation;
  HRESULT hr = app->CreateOperation(InternId(app, u"op.bookmarks.validate"), validation.Put());
  if (zelta::Failed(hr) || !validation) return zelta::Failed(hr) ? hr : zelta::E_FAIL;
  ComPtr<zelta::ICab> params;
  validation->GetParams(params.Put());
  auto root = CabRoot(params.Get());
  hr = SetCabObjects(CabItem(root.Get(), u"Input").Get(), {Document()});
  if (zelta::Succeeded(hr)) CabItem(root.Get(), u"Options")->SetInt(u"Flags", kSkipChecks);
  if (zelta::Succeeded(hr)) hr = validation->Do(zelta::kDoNoProgress | zelta::kDoNoChangeGroup, 0);
  if (zelta::Failed(hr)) return hr;
  ComPtr<zelta::ICabItem> records = CabItem(root.Get(), u"Output");
  int32_t count = 0;
  if (records) records->GetCount(&count);
  for (int32_t i = 0; i < count; ++i) {
    ComPtr<zelta::ICabItem> record;
    records->GetItemAt(i, record.Put());
    auto bookmark = zelta::QueryAs<IHostBookmark>(CabObject(record.Get(), u"Bookmark").Get());
    if (bookmark) invalid->push_back(bookmark);
  }
  return zelta::S_OK;
}

HRESULT ToTOCOperation::CollectEntries() {
  entries_.clear();
  ComPtr<IHostBookmark> root;
  if (Document()->GetOutlineRoot(root.Put()) != zelta::S_OK || !root) return zelta::E_FAIL;
  // The references keep the bookmark objects, and so their identity, for the walk below: the
  // document makes a new object for a bookmark whose last reference went.
  std::vector<ComPtr<IHostBookmark>> found;
  std::unordered_set<IHostBookmark*> invalid;
  if (optionFlags_ & kTocSkipInvalid) {
    HRESULT hr = FindInvalid(&found);
    if (zelta::Failed(hr)) return hr;
    for (const auto& bookmark : found) invalid.insert(bookmark.Get());
  }
  entries_.push_back(TocEntry{title_, -1, nullptr, 0, nullptr});
  const std::u16string untitled = LoadString(kUntitledId);
  // The depth, in the table, of the entry that the bookmarks below each level of the current
  // path go under: a bookmark that is not listed passes its parent's on to its children.
  std::vector<int32_t> depthAt{0};
  return WalkBookmarks(root.Get(), 0, false, [&](IHostBookmark* bookmark, int32_t level) {
    if (static_cast<uint32_t>(level) > endLevel_) return zelta::S_FALSE;
    depthAt.resize(static_cast<size_t>(level) + 1);
    const int32_t parentDepth = depthAt[static_cast<size_t>(level) - 1];
    const bool listed = level >= startLevel_ && !invalid.count(bookmark);
    depthAt[static_cast<size_t>(level)] = listed ? parentDepth + 1 : parentDepth;
    if (!listed) return zelta::S_OK;
    zelta::OwnedString title;
    bookmark->GetTitle(title.Put());
    ComPtr<zelta::IHostActionList> actions;
    int32_t count = 0;
    if (bookmark->GetActions(actions.Put()) != zelta::S_OK || !actions ||
        zelta::Failed(actions->GetCount(&count)) || count == 0)
      actions.Reset();
    entries_.push_back(TocEntry{title.View().empty() ? untitled : title.Str(),
                                TargetOf(bookmark, actions.Get()).page,
                                ComPtr<IHostBookmark>(bookmark), parentDepth + 1, actions});
    return zelta::S_OK;
  });
}

HRESULT ToTOCOperation::CountPages(TocPageLayout& layout, int32_t* pages) {
  int32_t assumed = 1;
  for (int i = 0; i < kMaxCounts; ++i) {
    HRESULT hr = layout.Count(assumed, pages);
    if (zelta::Failed(hr)) return hr;
    if (*pages == assumed) return zelta::S_OK;
    assumed = *pages;
  }
  // Page numbers that keep changing the count: the drawing pass finds out, and fails rather
  // than write past the pages inserted.
  return zelta::S_OK;
}

HRESULT ToTOCOperation::RunHostOperation(std::u16string_view id,
                                         const std::vector<zelta::IUnknown*>& input, int32_t flags,
                                         const std::function<void(zelta::ICabItem*)>& options) {
  zelta::IHostApp* app = App();
  if (!app) return zelta::E_FAIL;
  ComPtr<zelta::IHostOperation> operation;
  HRESULT hr = app->CreateOperation(InternId(app, id), operation.Put());
  if (zelta::Failed(hr)) return hr;
  if (!operation) return zelta::E_FAIL;
  ComPtr<zelta::ICab> params;
  hr = operation->GetParams(params.Put());
  if (zelta::Failed(hr)) return hr;
  auto root = CabRoot(params.Get());
  hr = SetCabObjects(CabItem(root.Get(), u"Input").Get(), input);
  if (zelta::Failed(hr)) return hr;
  if (options) options(CabItem(root.Get(), u"Options").Get());
  // The host operation records its undo item in this run's change group.
  return operation->Do(zelta::kDoNoProgress | (flags & zelta::kDoNoChangeGroup), 0);
}

HRESULT ToTOCOperation::InsertPages(int32_t count, int32_t flags) {
  return RunHostOperation(u"op.document.insertEmptyPages", {Document()}, flags,
                          [&](zelta::ICabItem* options) {
                            if (!options) return;
                            options->SetInt(u"ZLT_PaperType", 2);
                            options->SetBool(u"Landscape", false);
                            options->SetDouble(u"Width", page_.width);
                            options->SetDouble(u"Height", page_.height);
                            options->SetInt(u"Count", count);
                            options->SetInt(u"Location", pageNumber_ - 1 == pageCount_ ? 1 : 0);
                            options->SetInt(u"Position", pageNumber_ - 1);
                          });
}

HRESULT ToTOCOperation::AddLinks(const std::vector<ComPtr<zelta::IHostAnnotation>>& links,
                                 int32_t flags) {
  if (links.empty()) return zelta::S_OK;
  std::vector<zelta::IUnknown*> input;
  input.reserve(links.size());
  for (const auto& link : links) input.push_back(link.Get());
  return RunHostOperation(u"op.annots.addNew", input, flags, nullptr);
}

void ToTOCOperation::Raise(std::u16string_view event, HRESULT result) {
  zelta::IHostApp* app = App();
  ComPtr<zelta::IEventServer> server;
  if (!app || zelta::Failed(app->GetEventServer(server.Put())) || !server) return;
  server->Raise(InternId(app, event), Document(), static_cast<intptr_t>(result));
}

}  // namespace bm
