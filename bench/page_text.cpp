// The host's page text over the largest corpus document against MuPDF's own structured-text
// extraction of the same pages (the host adds its character array, flags, fonts and user-space
// rectangles: it must stay within 1.2x), and the prefetching reader against the plain one
// (wall time; the reader's second thread needs a second core to gain).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "zelta/pdf/host_document.h"
#include "zelta/pdf/text/page_text_extractor.h"
#include "zelta/pdf/text/page_text_service.h"

namespace {

using namespace zelta;

std::string LargestCorpusPdf() {
  std::string best;
  uintmax_t bestSize = 0;
  for (const auto& entry : std::filesystem::directory_iterator(ZELTA_CORPUS_DIR)) {
    if (entry.path().extension() != ".pdf") continue;
    if (entry.file_size() > bestSize) {
      bestSize = entry.file_size();
      best = entry.path().string();
    }
  }
  return best;
}

ComPtr<pdf::HostDocument> OpenLargest(benchmark::State& state) {
  ComPtr<pdf::HostDocument> document;
  std::string error;
  if (Failed(pdf::OpenDocument(LargestCorpusPdf(), "", &document, &error)))
    state.SkipWithError(error.c_str());
  return document;
}

int32_t PageCount(pdf::HostDocument* document) {
  int32_t count = 0;
  document->GetPageCount(&count);
  return count;
}

// MuPDF's own extraction of every page, the text walked once (as any consumer would).
void BM_MuPdfStructuredText(benchmark::State& state) {
  auto document = OpenLargest(state);
  if (!document) return;
  fz_context* ctx = document->Mu().Ctx();
  fz_document* doc = reinterpret_cast<fz_document*>(document->Mu().Doc());
  fz_stext_options options = pdf::PageTextOptions();
  int32_t pages = PageCount(document.Get());
  for (auto _ : state) {
    size_t chars = 0;
    for (int32_t page = 0; page < pages; ++page) {
      fz_stext_page* volatile text = nullptr;
      fz_try(ctx) { text = fz_new_stext_page_from_page_number(ctx, doc, page, &options); }
      fz_catch(ctx) { continue; }
      for (fz_stext_block* block = text->first_block; block; block = block->next)
        if (block->type == FZ_STEXT_BLOCK_TEXT)
          for (fz_stext_line* line = block->u.t.first_line; line; line = line->next)
            for (fz_stext_char* ch = line->first_char; ch; ch = ch->next)
              chars += static_cast<size_t>(ch->c != 0);
      fz_drop_stext_page(ctx, text);
    }
    benchmark::DoNotOptimize(chars);
  }
  state.counters["pages"] = pages;
}

// The host's page text of every page, one page at a time on the caller's thread.
void BM_HostPageText(benchmark::State& state) {
  auto document = OpenLargest(state);
  if (!document) return;
  auto service = pdf::MakePageTextService();
  int32_t pages = PageCount(document.Get());
  for (auto _ : state) {
    size_t chars = 0;
    for (int32_t page = 0; page < pages; ++page) {
      ComPtr<IHostPageText> text;
      if (Failed(service->GetPageText(document.Get(), page, text.Put()))) continue;
      int32_t count = 0;
      text->GetCharCount(&count);
      chars += static_cast<size_t>(count);
    }
    benchmark::DoNotOptimize(chars);
  }
  state.counters["pages"] = pages;
}

// The reader over every page with the given prefetch window (0: plain), while the caller does
// per-character work of its own on each page (a scan's worth: every character looked at).
void BM_PageTextReader(benchmark::State& state) {
  auto document = OpenLargest(state);
  if (!document) return;
  auto service = pdf::MakePageTextService();
  int32_t pages = PageCount(document.Get());
  std::vector<int32_t> list(static_cast<size_t>(pages));
  for (int32_t i = 0; i < pages; ++i) list[static_cast<size_t>(i)] = i;
  for (auto _ : state) {
    ComPtr<IHostPageTextReader> reader;
    service->OpenReader(document.Get(), list.data(), pages, static_cast<int32_t>(state.range(0)),
                        reader.Put());
    uint64_t sum = 0;
    for (;;) {
      ComPtr<IHostPageText> text;
      HRESULT hr = reader->Next(nullptr, text.Put());
      if (hr == S_FALSE) break;
      if (Failed(hr)) continue;
      const PageTextChar* chars = nullptr;
      int32_t count = 0;
      text->GetChars(&chars, &count);
      for (int32_t i = 0; i < count; ++i) sum += chars[i].code + chars[i].flags + chars[i].fontId;
    }
    benchmark::DoNotOptimize(sum);
  }
}

BENCHMARK(BM_MuPdfStructuredText)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HostPageText)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PageTextReader)->Arg(0)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
