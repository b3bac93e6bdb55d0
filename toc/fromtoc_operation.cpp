#include "toc/fromtoc_operation.h"

#include <algorithm>
#include <cmath>

#include "framework/atom_table.h"
#include "framework/cab_access.h"
#include "framework/host_strings.h"
#include "framework/new_bookmarks.h"
#include "host/page_links.h"
#include "host/page_text.h"
#include "host/selection.h"
#include "support/title_limit.h"
#include "toc/title_lookup.h"
#include "toc/toc_entry_levels.h"
#include "toc/toc_entry_reader.h"
#include "toc/toc_title.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;

namespace {

constexpr std::u16string_view kLabelId = u"bookmarksPlugin.op.GenerateBookmarks";
constexpr std::u16string_view kProgressTitleId = u"bookmarksPlugin.progress.generatingBookmarks";
constexpr std::u16string_view kProgressTextId = u"bookmarksPlugin.progress.generateBookmarks";
// A destination's zoom of 1.0 with the left and the fourth value left open.
constexpr uint32_t kLeftOpen = 0x1 | 0x8;
// After a found title: left and top set, zoom and the fourth value open.
constexpr uint32_t kZoomOpen = 0x4 | 0x8;

}  // namespace

FromTOCOperation::FromTOCOperation(PluginContext* plugin, const OperationRow& row)
    : BookmarkOperation(plugin, row) {}

HRESULT FromTOCOperation::ReadOptions() {
  auto options = Options();
  optionFlags_ = CabInt(options.Get(), u"Flags", 0);
  pageOffset_ = CabInt(options.Get(), u"PageOffset", 0);
  topIndent_ = CabDouble(options.Get(), u"TopIndent", 0);
  bottomIndent_ = CabDouble(options.Get(), u"BottomIndent", 0);
  if (!std::isfinite(topIndent_) || !std::isfinite(bottomIndent_)) {
    ReportFailureDetail(u"TopIndent and BottomIndent must be numbers of points");
    return zelta::E_INVALIDARG;
  }
  if ((optionFlags_ & kFromTocNoBookmarks) && (optionFlags_ & kFromTocNoLinks)) {
    ReportFailureDetail(u"Flags: with 0x10 and 0x20 the run would add neither bookmarks nor links");
    return zelta::E_INVALIDARG;
  }
  return zelta::S_OK;
}

std::map<std::u16string, int32_t> FromTOCOperation::PageLabels() const {
  std::map<std::u16string, int32_t> labels;
  for (int32_t page = 0; page < pageCount_; ++page) {
    zelta::OwnedString label;
    if (Document()->GetPageLabel(page, label.Put()) != zelta::S_OK || label.View().empty())
      continue;
    labels.emplace(label.Str(), page);  // emplace keeps the first page's
  }
  return labels;
}

HRESULT FromTOCOperation::ReadEntries(std::vector<TocLineEntry>* entries) {
  ComPtr<zelta::IUnknown> object;
  if (!Selections() || Selections()->GetTextSelection(Document(), object.Put()) != zelta::S_OK)
    return zelta::S_FALSE;
  auto selection = zelta::QueryAs<zelta::IHostTextSelection>(object.Get());
  auto texts = GetHostComponent<zelta::IPageTextService>(App(), "ZLT");
  if (!selection || !texts) return zelta::S_FALSE;
  TocEntryReader reader(
      {optionFlags_ & kFromTocSeparatorMask, pageOffset_, topIndent_, bottomIndent_, pageCount_},
      PageLabels());
  int32_t parts = 0;
  selection->GetPartCount(&parts);
  for (int32_t p = 0; p < parts; ++p) {
    ComPtr<zelta::IHostTextSelectionPart> part;
    bool empty = true;
    int32_t page = -1, ranges = 0;
    if (selection->GetPart(p, part.Put()) != zelta::S_OK || !part ||
        zelta::Failed(part->IsEmpty(&empty)) || empty || zelta::Failed(part->GetPageIndex(&page)) ||
        page < 0 || page >= pageCount_ || zelta::Failed(part->GetRangeCount(&ranges)))
      continue;
    std::vector<std::pair<int32_t, int32_t>> spans;
    for (int32_t r = 0; r < ranges; ++r) {
      int32_t start = 0, length = 0;
      if (zelta::Succeeded(part->GetRange(r, &start, &length)) && length > 0)
        spans.emplace_back(start, length);
    }
    ComPtr<zelta::IHostPageText> text;
    HRESULT hr = texts->GetPageText(Document(), page, text.Put());
    if (zelta::Failed(hr)) return hr;
    const zelta::PageTextChar* chars = nullptr;
    int32_t count = 0;
    if (!text || zelta::Failed(text->GetChars(&chars, &count))) return zelta::E_FAIL;
    zelta::PageBox box;
    if (zelta::Failed(Document()->GetPageBox(page, zelta::kBoxCrop, &box))) return zelta::E_FAIL;
    reader.ReadPage(page, box, chars, count, spans);
    if (!(optionFlags_ & kFromTocNoExistingLinks)) {
      hr = ReadLinks(page);
      if (zelta::Failed(hr)) return hr;
    }
    hr = StepProgress(NumberText(static_cast<uint32_t>(page) + 1));
    if (zelta::Failed(hr)) return hr;
  }
  reader.Finish();
  if (reader.OutsideCount() > 0) {
    MarkProblem();
    ReportWarning(NumberText(static_cast<uint32_t>(reader.OutsideCount())) +
                  u" entries give a page number that leads to no page of the document; they lead "
                  u"to their own "
                  u"table-of-contents page");
  }
  *entries = std::move(reader.Entries());
  return zelta::S_OK;
}

HRESULT FromTOCOperation::AddLinks(const TocLineEntry& entry, zelta::IHostActionList* actions) {
  if (!editor_) {
    editor_ = zelta::QueryAs<zelta::IHostPageEditor>(Document());
    if (!editor_) return zelta::E_FAIL;
  }
  for (const TocLineArea& area : entry.areas) {
    // Text of no size (a damaged font size or matrix) covers nothing a link could sit on.
    if (area.box.right <= area.box.left || area.box.top <= area.box.bottom) continue;
    ComPtr<zelta::IHostAnnotation> link;
    HRESULT hr = editor_->CreateAnnotation(area.page, u"Link", 4, &area.box, -1, link.Put());
    if (zelta::Failed(hr)) return hr;
    if (!link) return zelta::E_FAIL;
    // Made: recorded whatever else fails, so that a failed run takes it away with the rest.
    links_.push_back(link);
    zelta::OwnedString name;
    if (zelta::Succeeded(link->ProposeName(name.Put())))
      link->SetName(name.View().data(), static_cast<int32_t>(name.View().size()));
    hr = link->SetActions(zelta::kTriggerActivate, actions);
    if (zelta::Succeeded(hr)) hr = link->SetBorderWidth(0);
    if (zelta::Failed(hr)) return hr;
  }
  return zelta::S_OK;
}

HRESULT FromTOCOperation::ReadLinks(int32_t page) {
  if (existingLinks_.count(page)) return zelta::S_OK;
  std::vector<ExistingLink>& links = existingLinks_[page];
  auto pageLinks = zelta::QueryAs<zelta::IHostPageLinks>(Document());
  int32_t count = 0;
  if (!pageLinks) return zelta::S_OK;  // a host that cannot tell has none to offer
  HRESULT hr = pageLinks->GetLinkCount(page, &count);
  for (int32_t i = 0; zelta::Succeeded(hr) && i < count; ++i) {
    ExistingLink link;
    hr = pageLinks->GetLink(page, i, &link.rect, link.actions.Put());
    int32_t actions = 0;
    if (zelta::Succeeded(hr) && link.actions &&
        zelta::Succeeded(link.actions->GetCount(&actions)) && actions > 0)
      links.push_back(std::move(link));
  }
  return hr;
}

zelta::IHostActionList* FromTOCOperation::ExistingLinkActions(const TocLineEntry& entry) const {
  auto area = [](const zelta::PageBox& b) {
    return std::max(0.0, b.right - b.left) * std::max(0.0, b.top - b.bottom);
  };
  // A link over a line covers most of it, or the line most of the link (a link over the
  // title alone, or over the whole entry row).
  for (const TocLineArea& line : entry.areas) {
    auto page = existingLinks_.find(line.page);
    if (page == existingLinks_.end()) continue;
    const zelta::PageBox& box = line.box;
    for (const ExistingLink& link : page->second) {
      const zelta::PageBox common{
          std::max(box.left, link.rect.left), std::max(box.bottom, link.rect.bottom),
          std::min(box.right, link.rect.right), std::min(box.top, link.rect.top)};
      if (area(common) > 0 && area(common) >= 0.5 * std::min(area(box), area(link.rect)))
        return link.actions.Get();
    }
  }
  return nullptr;
}

HRESULT FromTOCOperation::FindTitles(const std::vector<TocLineEntry>& entries,
                                     const std::vector<std::u16string>& titles,
                                     std::vector<std::optional<zelta::PageBox>>* hits) {
  auto texts = GetHostComponent<zelta::IPageTextService>(App(), "ZLT");
  if (!texts) return zelta::E_FAIL;
  // Each target page is read once, for all the titles that lead to it.
  std::map<int32_t, std::vector<size_t>> byPage;
  for (size_t i = 0; i < entries.size(); ++i)
    if (!titles[i].empty()) byPage[entries[i].target].push_back(i);
  hits->assign(entries.size(), std::nullopt);
  for (const auto& [page, indexes] : byPage) {
    ComPtr<zelta::IHostPageText> text;
    HRESULT hr = texts->GetPageText(Document(), page, text.Put());
    if (zelta::Failed(hr)) return hr;
    const zelta::PageTextChar* chars = nullptr;
    int32_t count = 0;
    if (!text || zelta::Failed(text->GetChars(&chars, &count))) return zelta::E_FAIL;
    const TitleLookup lookup(chars, count);
    for (size_t i : indexes) (*hits)[i] = lookup.Find(titles[i]);
  }
  return zelta::S_OK;
}

std::optional<double> FromTOCOperation::PageTop(int32_t page) {
  // Entries lead to the same pages again and again; looking a page up walks the page tree.
  if (auto known = pageTops_.find(page); known != pageTops_.end()) return known->second;
  zelta::PageBox box;
  if (zelta::Failed(Document()->GetPageBox(page, zelta::kBoxCrop, &box))) return std::nullopt;
  pageTops_.emplace(page, box.top);
  return box.top;
}

HRESULT FromTOCOperation::Create(const std::vector<TocLineEntry>& entries,
                                 zelta::IHostBookmark* root, BookmarkList* created) {
  const bool byIndent = optionFlags_ & kFromTocLevelsByIndent;
  // One destination serves the run: a found title moves it, and it stays for the entries
  // after it until the next one is found.
  zelta::PageDestination destination;
  destination.fitType = zelta::kFitXYZ;
  destination.flags = kLeftOpen;
  destination.values[2] = 1.0;
  bool found = false;
  // (level, bookmark) of the path from the outline root to the last bookmark made.
  std::vector<std::pair<int32_t, ComPtr<zelta::IHostBookmark>>> path;
  std::vector<std::u16string> titles;
  titles.reserve(entries.size());
  for (const TocLineEntry& entry : entries) {
    titles.push_back(TocTitle::Make(entry.pieces, optionFlags_));
    if (titles.back().size() > kMaxTitleLength) titles.back().resize(kMaxTitleLength);
  }
  std::vector<std::optional<zelta::PageBox>> hits;
  if (optionFlags_ & kFromTocImproveDestinations) {
    HRESULT hr = FindTitles(entries, titles, &hits);
    if (zelta::Failed(hr)) return hr;
  }
  for (size_t e = 0; e < entries.size(); ++e) {
    const TocLineEntry& entry = entries[e];
    const std::u16string& title = titles[e];
    if (title.empty()) continue;
    destination.page = entry.target;
    // Until a title is found the view opens at the top of the target page.
    if (!found) destination.values[1] = PageTop(entry.target).value_or(destination.values[1]);
    if (optionFlags_ & kFromTocImproveDestinations) {
      const std::optional<zelta::PageBox>& hit = hits[e];
      if (hit) {
        // The view opens a line's height above the title, so that a heading is not cut at
        // the window's edge and what comes just before it still shows.
        const double above = hit->top + (hit->top - hit->bottom);
        found = true;
        destination.values[0] = hit->left;
        destination.values[1] = std::min(above, PageTop(entry.target).value_or(hit->top));
        destination.flags = kZoomOpen;
      }
    }
    // An existing link over the entry already says where it leads.
    ComPtr<zelta::IHostActionList> actions(ExistingLinkActions(entry));
    const bool linked = static_cast<bool>(actions);
    HRESULT hr = zelta::S_OK;
    if (!linked) {
      hr = Document()->CreateActionList(actions.Put());
      if (zelta::Succeeded(hr) && !actions) hr = zelta::E_FAIL;
      if (zelta::Succeeded(hr)) hr = actions->AppendGoTo(&destination, nullptr);
      if (zelta::Failed(hr)) return hr;
    }

    if (!(optionFlags_ & kFromTocNoBookmarks)) {
      const int32_t level = byIndent ? entry.indentLevel : entry.styleLevel;
      while (!path.empty() && path.back().first >= level) path.pop_back();
      zelta::IHostBookmark* parent = path.empty() ? root : path.back().second.Get();
      ComPtr<zelta::IHostBookmark> bookmark;
      hr = parent->InsertNewChild(-1, bookmark.Put());
      if (zelta::Succeeded(hr) && !bookmark) hr = zelta::E_FAIL;
      if (zelta::Failed(hr)) return hr;
      if (path.empty()) created->push_back(bookmark);
      path.emplace_back(level, bookmark);
      hr = bookmark->SetTitle(title.c_str(), static_cast<int32_t>(title.size()));
      if (zelta::Succeeded(hr)) hr = bookmark->SetActions(actions.Get());
      if (zelta::Failed(hr)) return hr;
    }
    if (!(optionFlags_ & kFromTocNoLinks) && !linked) {
      hr = AddLinks(entry, actions.Get());
      if (zelta::Failed(hr)) return hr;
    }
  }
  return zelta::S_OK;
}

HRESULT FromTOCOperation::RecordLinks(int32_t flags) {
  if (links_.empty()) return zelta::S_OK;
  zelta::IHostApp* app = App();
  if (!app) return zelta::E_FAIL;
  ComPtr<zelta::IHostOperation> operation;
  HRESULT hr = app->CreateOperation(InternId(app, u"op.annots.addNew"), operation.Put());
  if (zelta::Succeeded(hr) && !operation) hr = zelta::E_FAIL;
  ComPtr<zelta::ICab> params;
  if (zelta::Succeeded(hr)) hr = operation->GetParams(params.Put());
  std::vector<zelta::IUnknown*> input;
  for (const auto& link : links_) input.push_back(link.Get());
  if (zelta::Succeeded(hr))
    hr = SetCabObjects(CabItem(CabRoot(params.Get()).Get(), u"Input").Get(), input);
  if (zelta::Failed(hr)) return hr;
  // The host operation records its undo item in this run's change group.
  return operation->Do(zelta::kDoNoProgress | (flags & zelta::kDoNoChangeGroup), 0);
}

HRESULT FromTOCOperation::Run(int32_t flags, intptr_t) {
  links_.clear();
  existingLinks_.clear();
  pageTops_.clear();
  HRESULT hr = ReadOptions();
  if (zelta::Failed(hr)) return hr;
  // Links to the entries' pages need leave to annotate as well.
  int32_t answer = 0;
  if (!(optionFlags_ & kFromTocNoLinks) &&
      (zelta::Failed(Document()->IsPermitted(zelta::kPermAnnotate, zelta::kPermAddItems,
                                             zelta::kPermReserved, &answer)) ||
       answer != 1))
    return zelta::E_NO_PERMISSION;
  ComPtr<zelta::IHostBookmark> root;
  if (zelta::Failed(Document()->GetOutlineRoot(root.Put())) || !root) return zelta::E_FAIL;
  if (zelta::Failed(Document()->GetPageCount(&pageCount_))) return zelta::E_FAIL;

  OpenProgress(flags, kProgressTitleId, kProgressTextId, u"");
  hr = OpenChangeGroup(flags, kLabelId);
  if (zelta::Failed(hr)) return FinishRun(hr, {});

  std::vector<TocLineEntry> entries;
  hr = ReadEntries(&entries);
  if (zelta::Failed(hr)) return FinishRun(hr, {});
  TocEntryLevels::Merge(entries);
  TocEntryLevels::ByStyle(entries);
  if (optionFlags_ & kFromTocLevelsByIndent) TocEntryLevels::ByIndent(entries);

  BookmarkList created;
  NewBookmarks pending(App(), created);
  hr = Create(entries, root.Get(), &created);
  if (zelta::Succeeded(hr)) hr = pending.Commit(flags);
  // Links already made are recorded even when the run failed, so that rolling the change
  // group back takes them off their pages again.
  const HRESULT recorded = RecordLinks(flags);
  if (zelta::Succeeded(hr)) hr = recorded;
  if (zelta::Failed(hr)) return FinishRun(hr, {});
  if (!created.empty() || !links_.empty()) MarkChanged();
  std::vector<zelta::IUnknown*> output;
  for (const auto& bookmark : created) output.push_back(bookmark.Get());
  return FinishRun(zelta::S_OK, output);
}

}  // namespace bm
