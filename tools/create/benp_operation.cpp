#include "tools/create/benp_operation.h"

#include <memory>
#include <vector>

#include "framework/atom_table.h"
#include "framework/cab_access.h"
#include "framework/host_strings.h"
#include "framework/new_bookmarks.h"
#include "host/page_range.h"
#include "macros/title_macro_expander.h"
#include "macros/title_template.h"
#include "support/title_limit.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;

namespace {

constexpr std::u16string_view kLabelId = u"bookmarksPlugin.DlgBookmarkEveryNthPage";
constexpr std::u16string_view kProgressTitleId =
    u"bookmarksPlugin.progress.bookmarkEveryNthPage.title";
constexpr std::u16string_view kProgressTextId =
    u"bookmarksPlugin.progress.bookmarkEveryNthPage.text";
constexpr std::u16string_view kProgressStatusId =
    u"bookmarksPlugin.progress.bookmarkEveryNthPage.status";
constexpr char kPageRangeComponent[] = "AUX";
// How the page-range object reads PagesRange: every type, filter and the reversed flag.
constexpr int32_t kPageRangeLoadAll = 0x72;
constexpr int32_t kFillAll = -1;
constexpr std::u16string_view kUntitled = u"Untitled";

}  // namespace

BENPOperation::BENPOperation(PluginContext* plugin, const OperationRow& row)
    : BookmarkOperation(plugin, row) {}

HRESULT BENPOperation::SelectPages(std::vector<int32_t>* pages) {
  auto service = GetHostComponent<zelta::IPageRangeService>(App(), kPageRangeComponent);
  if (!service) return zelta::E_POINTER;
  int32_t pageCount = 0;
  HRESULT hr = Document()->GetPageCount(&pageCount);
  ComPtr<zelta::IHostPageRange> range;
  ComPtr<zelta::IHostPageIndexList> list;
  if (zelta::Succeeded(hr)) hr = service->CreatePageRange(range.Put());
  if (zelta::Succeeded(hr)) hr = service->CreatePageIndexList(list.Put());
  if (zelta::Succeeded(hr) && (!range || !list)) hr = zelta::E_POINTER;
  if (zelta::Succeeded(hr)) hr = range->SetPageCount(pageCount);
  if (zelta::Failed(hr)) return hr;
  hr = range->Load(CabItem(Options().Get(), u"PagesRange").Get(), kPageRangeLoadAll);
  if (zelta::Failed(hr)) {
    zelta::OwnedString why;
    range->GetError(why.Put());
    ReportFailureDetail(u"PagesRange: " + why.Str());
    return hr;
  }
  hr = range->Fill(list.Get(), kFillAll);
  const int32_t* items = nullptr;
  int32_t count = 0;
  if (zelta::Succeeded(hr)) hr = list->GetItems(&items, &count);
  if (zelta::Failed(hr)) return hr;
  if (items && count > 0) pages->assign(items, items + count);
  return zelta::S_OK;
}

HRESULT BENPOperation::Run(int32_t flags, intptr_t) {
  const int32_t step = CabInt(Options().Get(), u"Step", 1);
  if (step < 1) {
    ReportFailureDetail(u"Step " + (step < 0 ? u"-" + NumberText(-int64_t{step}) : u"0") +
                        u" is below 1: give the distance between bookmarked pages");
    return zelta::E_INVALIDARG;
  }
  // Without the item the template is the page's own title macro.
  const std::u16string text = CabItem(Options().Get(), u"TitleText")
                                  ? CabText(Options().Get(), u"TitleText", u"")
                                  : std::u16string(u"%[Title]");
  std::vector<int32_t> pages;
  std::unique_ptr<TitleMacroExpander> expander;
  TitleTemplate titleTemplate;
  HRESULT hr = SelectPages(&pages);
  if (zelta::Failed(hr)) return hr;
  expander = std::make_unique<TitleMacroExpander>(App(), Document());
  hr = expander->RegisterMacros(titleTemplate, kEveryNthPageMacros);
  if (zelta::Succeeded(hr)) hr = expander->ParseTemplate(titleTemplate, text);
  if (zelta::Failed(hr)) return hr;
  if (const std::u16string warning = expander->TakeUnknownMacroWarning(); !warning.empty())
    ReportWarning(warning);
  expander->LoadDocumentValues();
  ComPtr<zelta::IHostBookmark> root;
  if (zelta::Failed(Document()->GetOutlineRoot(root.Put())) || !root) return zelta::E_FAIL;

  const size_t count = (pages.size() + static_cast<size_t>(step) - 1) / static_cast<size_t>(step);
  if (count == 0) return FinishRun(zelta::S_OK, {});
  OpenProgress(flags, kProgressTitleId, kProgressTextId, kProgressStatusId);
  StartProgress(static_cast<uint32_t>(count));
  hr = OpenChangeGroup(flags, kLabelId);
  if (zelta::Failed(hr)) return FinishRun(hr, {});

  BookmarkList created;
  NewBookmarks pending(App(), created);
  std::u16string tooLong;
  created.reserve(count);
  for (size_t k = 0; k < pages.size() && zelta::Succeeded(hr); k += static_cast<size_t>(step)) {
    ComPtr<zelta::IHostBookmark> bookmark;
    zelta::PageDestination destination;  // XYZ with every value left open
    destination.page = pages[k];
    std::u16string title;
    HRESULT made = root->InsertNewChild(-1, bookmark.Put());
    if (zelta::Succeeded(made) && !bookmark) made = zelta::E_FAIL;
    if (zelta::Succeeded(made)) {
      created.push_back(bookmark);
      ComPtr<zelta::IHostActionList> actions;
      made = Document()->CreateActionList(actions.Put());
      if (zelta::Succeeded(made) && !actions) made = zelta::E_FAIL;
      if (zelta::Succeeded(made)) made = actions->AppendGoTo(&destination, nullptr);
      if (zelta::Succeeded(made)) made = bookmark->SetActions(actions.Get());
      if (zelta::Succeeded(made)) made = expander->SetBookmark(bookmark.Get());
      if (zelta::Succeeded(made)) made = titleTemplate.Render(title);
      if (zelta::Succeeded(made) && title.empty()) title = kUntitled;
      if (zelta::Succeeded(made) && title.size() > kMaxTitleLength) {
        tooLong = TitleTooLongText(title);
        hr = zelta::E_INVALIDARG;
        break;
      }
      if (zelta::Succeeded(made))
        made = bookmark->SetTitle(title.c_str(), static_cast<int32_t>(title.size()));
    }
    if (zelta::Failed(made)) {
      // This page is left out; the others still get theirs.
      MarkProblem();
      if (bookmark) {
        bookmark->Remove();
        if (!created.empty() && created.back().Get() == bookmark.Get()) created.pop_back();
      }
    }
    hr = StepProgress(title);
  }
  if (zelta::Succeeded(hr) && !created.empty()) {
    MarkChanged();
    hr = pending.Commit(flags);
  }
  if (zelta::Failed(hr)) {
    if (!tooLong.empty()) ReportFailureDetail(tooLong);
    return FinishRun(hr, {});
  }
  std::vector<zelta::IUnknown*> output;
  for (const auto& bookmark : created) output.push_back(bookmark.Get());
  return FinishRun(zelta::S_OK, output);
}

}  // namespace bm
