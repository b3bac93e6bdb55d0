// Prepares the text of the next pages of a list on a second thread while the caller works on
// the current one.
//
// The worker reads through a SecondHandle on the same file; the caller extracts on its own
// handle. Pages are claimed in list order by whichever side is free, at most `window` ahead
// of the page the caller is taking: a page nobody has claimed is made by the caller at once,
// and while the worker is still on the page the caller needs, the caller makes the next
// unclaimed one instead of waiting, so both cores stay busy. The worker's results can only
// differ from the caller's document when that document's pages were changed in memory; each
// page's object number is checked against the caller's, and a page that does not match is
// left to the caller.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "zelta/pdf/second_handle.h"
#include "zelta/pdf/text/page_text_data.h"

namespace zelta::pdf {

class TextPrefetch {
 public:
  // `objectNumbers[i]` is the caller's page object number of `pages[i]`. At most `window`
  // pages are prepared ahead of the last one taken (window >= 1).
  TextPrefetch(std::unique_ptr<SecondHandle> handle, std::vector<int32_t> pages,
               std::vector<int> objectNumbers, size_t window);
  ~TextPrefetch();
  TextPrefetch(const TextPrefetch&) = delete;
  TextPrefetch& operator=(const TextPrefetch&) = delete;

  // Makes one page on the caller's handle; null when it cannot.
  using CallerExtract = std::function<std::shared_ptr<const PageTextData>(int32_t page)>;

  // The text of list position `position` (taken in increasing order), made by either side;
  // null when it could not be made (the caller then asks its own handle why).
  std::shared_ptr<const PageTextData> Take(size_t position, const CallerExtract& extract);

  // The number of pages the worker made that were handed over (for tests and benchmarks).
  size_t Prefetched() const;

  // Stops the worker and gives its handle back for the next reader.
  std::unique_ptr<SecondHandle> Release();

 private:
  struct Slot {
    bool done = false;
    bool byWorker = false;
    std::shared_ptr<const PageTextData> data;
  };

  void Run();
  void Stop();
  std::shared_ptr<const PageTextData> Extract(pdf_document* doc, size_t position);

  std::unique_ptr<SecondHandle> handle_;  // used only by the worker while it runs
  std::vector<int32_t> pages_;
  std::vector<int> objectNumbers_;
  size_t window_;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  size_t next_ = 0;   // the next position nobody has claimed
  size_t taken_ = 0;  // positions below this were handed to the caller
  bool stop_ = false;
  size_t prefetched_ = 0;
  std::map<size_t, Slot> slots_;  // positions claimed ahead and not taken yet
  std::thread worker_;
};

}  // namespace zelta::pdf
