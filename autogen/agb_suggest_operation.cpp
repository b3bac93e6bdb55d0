#include "autogen/agb_suggest_operation.h"

#include "autogen/level_options.h"
#include "autogen/level_suggester.h"
#include "autogen/page_source.h"
#include "autogen/stop_words.h"
#include "autogen/typography_survey.h"
#include "framework/atom_table.h"
#include "framework/cab_access.h"
#include "framework/host_strings.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;

namespace {

HRESULT SetCabText(zelta::ICabItem* dictionary, const char16_t* name, std::u16string_view text) {
  return dictionary->SetText(name, text.data(), static_cast<int32_t>(text.size()));
}

constexpr std::u16string_view kProgressTitleId = u"bookmarksPlugin.progress.readingTextStyles";
constexpr std::u16string_view kProgressTextId = u"bookmarksPlugin.progress.readTextStyles";

// Font names and weights from the host's page text service.
class HostFontFacts : public FontFacts {
 public:
  HostFontFacts(zelta::IPageTextService* text, zelta::IHostDocument* document)
      : text_(text), document_(document) {}

  bool Describe(uint32_t fontId, std::u16string* name, bool* bold) override {
    ComPtr<zelta::IHostFont> font;
    if (!text_ || text_->GetFont(document_, fontId, font.Put()) != zelta::S_OK || !font)
      return false;
    zelta::OwnedString text;
    int32_t flags = 0;
    if (zelta::Failed(font->GetName(text.Put()))) return false;
    font->GetFlags(&flags);
    *name = text.Str();
    *bold = (flags & zelta::kFontBold) != 0;
    return true;
  }

 private:
  zelta::IPageTextService* text_;
  zelta::IHostDocument* document_;
};

HRESULT WriteSuggestion(zelta::ICabItem* output, const SuggestedOptions& suggestion,
                        std::u16string_view operation) {
  HRESULT hr = SetCabText(output, u"Operation", operation);
  auto options = CabItem(output, u"Options");
  auto levels = options ? CabItem(options.Get(), u"Levels") : nullptr;
  if (zelta::Succeeded(hr) && !levels) hr = zelta::E_FAIL;
  if (zelta::Succeeded(hr)) hr = levels->Clear();
  for (size_t i = 0; zelta::Succeeded(hr) && i < suggestion.levels.size(); ++i) {
    ComPtr<zelta::ICabItem> item;
    hr = levels->Insert(-1, item.Put());
    if (zelta::Succeeded(hr)) hr = WriteLevel(item.Get(), suggestion.levels[i]);
  }
  if (zelta::Succeeded(hr)) hr = options->SetInt(u"Flags", suggestion.flags);
  if (zelta::Succeeded(hr) && !suggestion.stopWords.empty()) {
    auto stop = CabItem(options.Get(), u"StopWordsData");
    hr = stop ? SetCabStrings(CabItem(stop.Get(), u"StopWords").Get(), suggestion.stopWords)
              : zelta::E_FAIL;
    if (zelta::Succeeded(hr)) hr = stop->SetInt(u"StopWordsFlags", kStopMatchCase | kStopRegex);
  }
  if (zelta::Succeeded(hr) && !suggestion.pages.empty()) {
    auto range = CabItem(options.Get(), u"PagesRange");
    hr = range ? range->SetInt(u"Type", 1) : zelta::E_FAIL;
    if (zelta::Succeeded(hr)) hr = SetCabText(range.Get(), u"Text", suggestion.pages);
  }
  if (zelta::Succeeded(hr)) hr = output->SetBool(u"Found", !suggestion.levels.empty());
  if (zelta::Succeeded(hr)) hr = SetCabText(output, u"Explanation", suggestion.explanation);
  if (zelta::Succeeded(hr)) hr = output->SetDouble(u"Confidence", suggestion.confidence);
  if (zelta::Succeeded(hr)) hr = SetCabText(output, u"Doubt", suggestion.doubt);
  if (zelta::Succeeded(hr)) hr = SetCabText(output, u"Warning", suggestion.warning);
  return hr;
}

}  // namespace

AGBSuggestOperation::AGBSuggestOperation(PluginContext* plugin, const OperationRow& row)
    : BookmarkOperation(plugin, row) {}

HRESULT AGBSuggestOperation::Run(int32_t flags, intptr_t) {
  auto output = Output();
  if (!output) return zelta::E_FAIL;

  PageSource pages(App(), Document());
  std::u16string error;
  HRESULT hr = pages.SelectPages(CabItem(Options().Get(), u"PagesRange").Get(), &error);
  if (zelta::Failed(hr)) {
    ReportFailureDetail(error);
    return hr;
  }
  OpenProgress(flags, kProgressTitleId, kProgressTextId, u"");
  StartProgress(static_cast<uint32_t>(pages.Count()));
  TypographySurvey survey;
  hr = pages.Open();
  while (zelta::Succeeded(hr)) {
    int32_t page = -1;
    ComPtr<zelta::IHostPageText> text;
    hr = pages.Next(&page, &text);
    if (hr == zelta::S_FALSE) {
      hr = zelta::S_OK;
      break;
    }
    if (zelta::Succeeded(hr)) hr = StepProgress(NumberText(static_cast<uint32_t>(page) + 1));
    const zelta::PageTextChar* chars = nullptr;
    int32_t count = 0;
    if (zelta::Succeeded(hr)) hr = text->GetChars(&chars, &count);
    if (zelta::Succeeded(hr)) survey.AddPage(page, chars, count);
  }
  pages.Close();
  if (zelta::Succeeded(hr)) {
    HostFontFacts fonts(PageTextService(App()).Get(), Document());
    hr = WriteSuggestion(output.Get(), LevelSuggester(survey, fonts).Suggest(),
                         u"op.bookmarks.autoGenerateFromText");
  }
  return FinishRun(hr, {});
}

}  // namespace bm
