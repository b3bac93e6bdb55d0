// Prepares the text of the next pages of a list on a second thread while the caller works on
// the current one.
//
// MuPDF allows one thread per document handle, so the worker opens its own handle on the same
// file, on a context cloned from the caller's (they share MuPDF's store and font caches
// under MuPDF's locks). The caller takes the pages in list order: a page the worker has
// finished is handed over; a page the worker has not started is claimed by the caller, who
// extracts it on its own handle at once (so neither side ever waits for idle work). The
// worker's results can only differ from the caller's document when that document's pages
// were changed in memory; each page's object number is checked against the caller's, and a
// page that does not match is left to the caller.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "zelta/pdf/page_text_data.h"

extern "C" {
#include <mupdf/fitz.h>
}

namespace zelta::pdf {

class TextPrefetch {
 public:
  // What identifies the file the caller's handle was opened from (MuPDF's startxref and file
  // size); the worker reads nothing from a file that differs.
  struct FileMark {
    int64_t startxref = -1;
    int64_t fileSize = -1;
  };

  // `objectNumbers[i]` is the caller's page object number of `pages[i]`. At most `window`
  // pages are prepared ahead of the last one taken (window >= 1).
  TextPrefetch(fz_context* parent, std::string path, FileMark mark, std::vector<int32_t> pages,
               std::vector<int> objectNumbers, size_t window);
  ~TextPrefetch();
  TextPrefetch(const TextPrefetch&) = delete;
  TextPrefetch& operator=(const TextPrefetch&) = delete;

  // The text of list position `position` (taken in increasing order) when the worker made
  // it; null when the caller must extract the page itself (not started, failed, or the
  // worker could not open the file).
  std::shared_ptr<const PageTextData> Take(size_t position);

  // The number of pages the worker made that were handed over (for tests and benchmarks).
  size_t Prefetched() const;

 private:
  struct Slot {
    bool done = false;
    std::shared_ptr<const PageTextData> data;
  };

  void Run();
  std::shared_ptr<const PageTextData> Extract(fz_context* ctx, void* doc, size_t position);

  fz_context* ctx_ = nullptr;  // the worker's clone; used only by the worker
  std::string path_;
  FileMark mark_;
  std::vector<int32_t> pages_;
  std::vector<int> objectNumbers_;
  size_t window_;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  size_t next_ = 0;   // the next position nobody has claimed
  size_t taken_ = 0;  // positions below this were handed to the caller
  bool stop_ = false;
  bool workerGone_ = false;
  size_t prefetched_ = 0;
  std::map<size_t, Slot> slots_;  // positions the worker claimed and the caller did not take yet
  std::thread worker_;
};

}  // namespace zelta::pdf
