// Bookmarks from a printed table of contents of 1,000 entries over 20 pages, in-process,
// against its floor measured in the same run: the host's plain text extraction of the
// contents pages; and with the titles looked for on their pages, against the extraction of
// the contents and target pages together. 40,000 entries over 1,000 contents pages, whose
// titles are looked for on 40 pages (1,000 titles each), against the same run without.
#include <benchmark/benchmark.h>

#include <memory>

#include "autogen/page_source.h"
#include "framework/cab_access.h"
#include "host/undo.h"
#include "tests/fixtures/text_pdf_builder.h"
#include "tests/harness/core_host.h"
#include "toc/fromtoc_operation.h"
#include "zelta/app/selection/text_selection.h"
#include "zelta/base/atom_table.h"

namespace {

using zelta::ComPtr;

constexpr int kTocPages = 20;
constexpr int kEntriesPerPage = 50;
constexpr int kEntriesPerTarget = 2;  // two headings on each target page
constexpr int kTargets = kTocPages * kEntriesPerPage / kEntriesPerTarget;

std::string Title(int entry) {
  static const char* words[] = {"Data",     "frames", "and",     "models", "of",    "the",
                                "graphics", "import", "objects", "lists",  "export"};
  std::string title = "Section " + std::to_string(entry + 1);
  for (int w = 0; w < 3 + entry % 4; ++w) title += std::string(" ") + words[(entry + w * 7) % 11];
  return title;
}

// 20 contents pages, each entry's title, leader dots and printed page number in one line
// (chapters in bold every tenth entry), then the target pages with each title as a heading.
zelta::testing::TextPdfSpec Layout() {
  using namespace zelta::testing;
  TextPdfSpec layout;
  for (int p = 0; p < kTocPages; ++p) {
    TextPageSpec page;
    for (int l = 0; l < kEntriesPerPage; ++l) {
      const int entry = p * kEntriesPerPage + l;
      const int printed = kTocPages + entry / kEntriesPerTarget + 1;
      const bool chapter = entry % 10 == 0;
      page.lines.push_back({chapter ? 72.0 : 90.0,
                            760.0 - 14 * l,
                            {{Title(entry) + " . . . . . . . " + std::to_string(printed),
                              chapter ? kBold : kRegular, 10}}});
    }
    layout.pages.push_back(page);
  }
  for (int t = 0; t < kTargets; ++t) {
    TextPageSpec page;
    for (int h = 0; h < kEntriesPerTarget; ++h) {
      const int entry = t * kEntriesPerTarget + h;
      page.lines.push_back({72, 720.0 - 320 * h, {{Title(entry), kBold, 14}}});
      for (int l = 1; l < 12; ++l)
        page.lines.push_back(
            {72,
             720.0 - 320 * h - 18 * l,
             {{"Body text of the section that follows its heading", kRegular, 10}}});
    }
    layout.pages.push_back(page);
  }
  return layout;
}

struct Fixture {
  std::unique_ptr<bm::testing::CoreHost> host = std::make_unique<bm::testing::CoreHost>();
  ComPtr<zelta::IHostDocument> document;
};

Fixture& Book() {
  static Fixture fixture = [] {
    Fixture f;
    f.document = f.host->OpenBytes(zelta::testing::BuildTextPdf(Layout()));
    ComPtr<zelta::app::TextSelection> text;
    std::string error;
    zelta::app::TextSelection::FromArguments(f.document.Get(), {"1-" + std::to_string(kTocPages)},
                                             &text, &error);
    f.host->App().SetSelection(
        f.document.Get(), zelta::base::Intern("selection.text"),
        {ComPtr<zelta::IUnknown>(static_cast<zelta::IHostTextSelection*>(text.Get()))});
    return f;
  }();
  return fixture;
}

// The floor: the host's text of pages [0, last), each character looked at once.
void Extract(benchmark::State& state, int32_t last) {
  Fixture& f = Book();
  auto service = bm::PageTextService(&f.host->App());
  for (auto _ : state) {
    uint64_t sum = 0;
    for (int32_t p = 0; p < last; ++p) {
      ComPtr<zelta::IHostPageText> text;
      service->GetPageText(f.document.Get(), p, text.Put());
      const zelta::PageTextChar* chars = nullptr;
      int32_t count = 0;
      text->GetChars(&chars, &count);
      for (int32_t i = 0; i < count; ++i) sum += chars[i].flags;
    }
    benchmark::DoNotOptimize(sum);
  }
}

// One run; its bookmarks and links are undone outside the timing.
void FromToc(benchmark::State& state, int32_t flags, Fixture& f = Book(),
             int entries = kTocPages * kEntriesPerPage) {
  ComPtr<zelta::IHostUndoHistory> history;
  f.document->GetUndoHistory(history.Put());
  for (auto _ : state) {
    auto operation = bm::testing::NewOperation<bm::FromTOCOperation>(&f.host->Plugin());
    bm::SetCabObjects(operation->Input().Get(), {f.document.Get()});
    operation->Options()->SetInt(u"Flags", flags);
    const zelta::HRESULT hr = operation->Do(zelta::kDoNoProgress, 0);
    state.PauseTiming();
    if (hr != zelta::S_OK) state.SkipWithError("the run failed");
    history->Undo();
    state.ResumeTiming();
  }
  state.counters["entries"] = entries;
}

// 1,000 contents pages of 40 entries each, every entry leading to one of the first 40 pages:
// each of those pages is the target of 1,000 titles.
Fixture& LongBook() {
  static Fixture fixture = [] {
    using namespace zelta::testing;
    constexpr int kLongPages = 1000, kLongEntries = 40;
    TextPdfSpec layout;
    for (int p = 0; p < kLongPages; ++p) {
      TextPageSpec page;
      for (int k = 0; k < kLongEntries; ++k)
        page.lines.push_back({72,
                              780.0 - 18 * k,
                              {{"Item " + std::to_string(p) + "." + std::to_string(k) + " " +
                                    std::string(30, '.') + " " + std::to_string(k + 1),
                                kRegular, 9}}});
      layout.pages.push_back(page);
    }
    Fixture f;
    f.document = f.host->OpenBytes(BuildTextPdf(layout));
    ComPtr<zelta::app::TextSelection> text;
    std::string error;
    zelta::app::TextSelection::FromArguments(f.document.Get(), {"1-" + std::to_string(kLongPages)},
                                             &text, &error);
    f.host->App().SetSelection(
        f.document.Get(), zelta::base::Intern("selection.text"),
        {ComPtr<zelta::IUnknown>(static_cast<zelta::IHostTextSelection*>(text.Get()))});
    return f;
  }();
  return fixture;
}

void BM_TocPagesText(benchmark::State& state) { Extract(state, kTocPages); }
void BM_TocAndTargetPagesText(benchmark::State& state) { Extract(state, kTocPages + kTargets); }
void BM_FromToc(benchmark::State& state) { FromToc(state, 0); }
void BM_FromTocSearch(benchmark::State& state) { FromToc(state, bm::kFromTocImproveDestinations); }
void BM_FromTocLong(benchmark::State& state) { FromToc(state, 0, LongBook(), 40000); }
void BM_FromTocLongSearch(benchmark::State& state) {
  FromToc(state, bm::kFromTocImproveDestinations, LongBook(), 40000);
}

BENCHMARK(BM_TocPagesText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FromToc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TocAndTargetPagesText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FromTocSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FromTocLong)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FromTocLongSearch)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
