#include "autogen/agb_operation.h"

#include <vector>

#include "autogen/agb_dialog.h"
#include "autogen/bookmark_placer.h"
#include "autogen/generated_bookmarks_undo.h"
#include "autogen/level_options.h"
#include "autogen/page_scanner.h"
#include "autogen/page_source.h"
#include "framework/atom_table.h"
#include "framework/cab_access.h"
#include "framework/host_strings.h"
#include "framework/plugin_context.h"
#include "host/ui.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;

namespace {

constexpr std::u16string_view kLabelId = u"bookmarksPlugin.op.GenerateBookmarks";
constexpr std::u16string_view kProgressTitleId = u"bookmarksPlugin.progress.generatingBookmarks";
constexpr std::u16string_view kProgressTextId = u"bookmarksPlugin.progress.generateBookmarks";

std::u16string IntText(int32_t value) {
  return value < 0 ? u"-" + NumberText(static_cast<uint32_t>(-static_cast<int64_t>(value)))
                   : NumberText(static_cast<uint32_t>(value));
}

}  // namespace

// One run: the chain and its caches, the placing, and the page loop.
class AGBOperation::Generation : public TitleSink {
 public:
  Generation(LevelChain& chain, PageSource& pages, BookmarkPlacer& placer,
             const StopWords& stopWords, int32_t flags)
      : chain_(chain),
        matcher_(chain, pages),
        rules_(chain, stopWords, flags),
        placer_(placer),
        scanner_(chain, matcher_, rules_, *this) {}

  HRESULT PlaceTitle(const std::u16string& title, size_t position,
                     const zelta::PageDestination& destination) override {
    return placer_.Place(title, chain_.Node(position).options, destination);
  }

  HRESULT ScanPage(zelta::IHostPageText* text, int32_t page) {
    const zelta::PageTextChar* chars = nullptr;
    int32_t count = 0;
    HRESULT hr = text->GetChars(&chars, &count);
    if (zelta::Failed(hr)) return hr;
    return scanner_.Scan(chars, count, page);
  }
  const std::u16string& Error() const { return rules_.Error(); }

 private:
  LevelChain& chain_;
  LevelMatcher matcher_;
  TitleRules rules_;
  BookmarkPlacer& placer_;
  PageScanner scanner_;
};

AGBOperation::AGBOperation(PluginContext* plugin, const OperationRow& row)
    : BookmarkOperation(plugin, row) {}

HRESULT AGBOperation::Execute(bool, intptr_t) {
  if (AGBDialog* open = AGBDialog::Open()) {
    if (open->Dialog()) open->Dialog()->BringToFront();
    return zelta::S_OK;
  }
  if (!Plugin()) return zelta::E_FAIL;
  ComPtr<zelta::IHostDocument> document;
  if (App()) App()->GetActiveDocument(document.Put());
  if (document) SetInput({static_cast<zelta::IUnknown*>(document.Get())});
  // The dialog keeps its own options, filled from the last used ones.
  ComPtr<zelta::ICab> cab = Plugin()->CreateCab(std::u16string(Row().optionsRoot).c_str());
  ComPtr<zelta::ICabItem> options = CabRoot(cab.Get());
  if (!options) return zelta::E_FAIL;
  if (auto stored =
          CabItem(Plugin()->SettingsRoot().Get(), std::u16string(Row().lastUsedItem).c_str()))
    options->CopyFrom(stored.Get());
  zelta::WindowHandle owner = 0;
  if (zelta::IWindowService* windows = Plugin()->Windows()) windows->GetActiveWindow(&owner);
  auto dialog = zelta::MakeCom<AGBDialog>(Plugin(), options.Get(), document.Get(), false);
  return dialog->ShowModeless(owner);
}

HRESULT AGBOperation::ShowDialog(zelta::WindowHandle owner, intptr_t) {
  if (!Plugin()) return zelta::E_FAIL;
  ReadInputs();
  ComPtr<zelta::ICab> cab = Plugin()->CreateCab(std::u16string(Row().optionsRoot).c_str());
  ComPtr<zelta::ICabItem> working = CabRoot(cab.Get());
  auto options = Options();
  if (!working || !options) return zelta::E_FAIL;
  HRESULT hr = working->CopyFrom(options.Get());
  if (zelta::Failed(hr)) return hr;
  auto dialog = zelta::MakeCom<AGBDialog>(Plugin(), working.Get(), Document(), true);
  int32_t result = zelta::kDialogResultCancel;
  hr = dialog->RunModal(owner, &result);
  if (zelta::Failed(hr)) return hr;
  options->CopyFrom(working.Get());
  return hr == zelta::S_OK && result == zelta::kDialogResultOk ? zelta::S_OK : zelta::S_FALSE;
}

HRESULT AGBOperation::Run(int32_t flags, intptr_t) {
  // Options: every error here comes before any change.
  GenerationOptions options;
  std::u16string error;
  HRESULT hr = ReadGenerationOptions(Options().Get(), HostColors(App()).Get(), &options, &error);
  if (zelta::Failed(hr)) {
    ReportFailureDetail(error);
    return hr;
  }
  for (size_t i = 0; i < options.levels.size(); ++i) {
    const LevelOptions& level = options.levels[i];
    const std::u16string where = u"Levels[" + NumberText(i) + u"]: ";
    if (level.index > kMaxGenerationDepth) {
      ReportFailureDetail(where + u"Index " + NumberText(static_cast<uint32_t>(level.index)) +
                          u" is deeper than " + NumberText(kMaxGenerationDepth));
      return zelta::E_INVALIDARG;
    }
    // Allowed, but such a level places nothing: the user most likely meant 1.
    if (level.index < 1)
      ReportWarning(where + u"Index " + IntText(level.index) +
                    u" can never create a bookmark: bookmark levels count from 1 (the top level)");
    // Checked here so that a bad fit type fails before any bookmark is made, not at the first.
    if (level.appearance.destType < zelta::kFitXYZ || level.appearance.destType > zelta::kFitBV) {
      ReportFailureDetail(where + u"Appearance.DestType " + IntText(level.appearance.destType) +
                          u" is not a fit type (0 to 7)");
      return zelta::E_INVALIDARG;
    }
  }
  LevelChain chain(std::move(options.levels));
  StopWords stopWords(std::move(options.stopWords), options.stopWordsFlags);
  hr = chain.Prepare();
  if (zelta::Succeeded(hr) && (options.flags & kAgbStopWords)) {
    hr = stopWords.Prepare();
    if (zelta::Failed(hr)) error = stopWords.Error();
  } else if (zelta::Failed(hr)) {
    error = chain.Error();
  }
  if (zelta::Failed(hr)) {
    ReportFailureDetail(error);
    return hr;
  }
  PageSource pages(App(), Document());
  hr = pages.SelectPages(CabItem(Options().Get(), u"PagesRange").Get(), &error);
  if (zelta::Failed(hr)) {
    ReportFailureDetail(error);
    return hr;
  }
  ComPtr<zelta::IHostBookmark> root;
  if (zelta::Failed(Document()->GetOutlineRoot(root.Put())) || !root) return zelta::E_FAIL;

  OpenProgress(flags, kProgressTitleId, kProgressTextId, u"");
  StartProgress(static_cast<uint32_t>(pages.Count()));
  hr = OpenChangeGroup(flags, kLabelId);
  if (zelta::Failed(hr)) return FinishRun(hr, {});

  BookmarkPlacer placer(Document(), root.Get());
  Generation run(chain, pages, placer, stopWords, options.flags);
  hr = pages.Open(prefetchWindow_);
  while (zelta::Succeeded(hr)) {
    int32_t page = -1;
    ComPtr<zelta::IHostPageText> text;
    hr = pages.Next(&page, &text);
    if (hr == zelta::S_FALSE) {
      hr = zelta::S_OK;
      break;
    }
    if (zelta::Failed(hr)) break;
    hr = StepProgress(NumberText(static_cast<uint32_t>(page) + 1));
    if (zelta::Succeeded(hr)) hr = run.ScanPage(text.Get(), page);
  }
  pages.Close();

  BookmarkList created = placer.TakeCreated();
  if (zelta::Failed(hr)) {
    GeneratedBookmarksUndo::RemoveAll(created);
    if (!run.Error().empty()) ReportFailureDetail(run.Error());
    return FinishRun(hr, {});
  }
  if (!created.empty()) {
    MarkChanged();
    if (ChangeGroup()) {
      auto undo = zelta::MakeCom<GeneratedBookmarksUndo>(root.Get(), created);
      hr = ChangeGroup()->AddItem(undo.Get());
      if (zelta::Failed(hr)) {
        GeneratedBookmarksUndo::RemoveAll(created);
        return FinishRun(hr, {});
      }
    }
  }
  std::vector<zelta::IUnknown*> output;
  for (const auto& bookmark : created) output.push_back(bookmark.Get());
  hr = FinishRun(zelta::S_OK, output);
  // A run that finds no title still succeeds: it made nothing, so there is nothing to report
  // and no undo step (FinishRun dropped the change group).
  return hr == zelta::S_FALSE ? zelta::S_OK : hr;
}

}  // namespace bm
