#include "zelta/pdf/text/text_prefetch.h"

#include <algorithm>

#include "zelta/pdf/text/page_text_extractor.h"

extern "C" {
#include <mupdf/pdf.h>
}

namespace zelta::pdf {

TextPrefetch::TextPrefetch(std::unique_ptr<SecondHandle> handle, std::vector<int32_t> pages,
                           std::vector<int> objectNumbers, size_t window)
    : handle_(std::move(handle)),
      pages_(std::move(pages)),
      objectNumbers_(std::move(objectNumbers)),
      window_(window < 1 ? 1 : window) {
  if (!handle_) return;
  try {
    worker_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    // No thread: the caller makes every page.
  }
}

TextPrefetch::~TextPrefetch() { Stop(); }

void TextPrefetch::Stop() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  if (worker_.joinable()) worker_.join();
}

std::unique_ptr<SecondHandle> TextPrefetch::Release() {
  Stop();
  return std::move(handle_);
}

void TextPrefetch::Run() {
  pdf_document* doc = handle_->Doc();
  for (;;) {
    size_t position = 0;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] {
        return stop_ || !doc || next_ >= pages_.size() || next_ < taken_ + window_;
      });
      if (stop_ || !doc || next_ >= pages_.size()) break;
      position = next_++;
      slots_[position];
    }
    auto data = Extract(doc, position);
    {
      std::lock_guard lock(mutex_);
      auto& slot = slots_[position];
      slot.done = true;
      slot.byWorker = true;
      slot.data = std::move(data);
    }
    changed_.notify_all();
  }
}

std::shared_ptr<const PageTextData> TextPrefetch::Extract(pdf_document* doc, size_t position) {
  return ExtractSharedPageText(handle_->Ctx(), doc, pages_[position],
                               std::max(objectNumbers_[position], 0));
}

std::shared_ptr<const PageTextData> TextPrefetch::Take(size_t position,
                                                       const CallerExtract& extract) {
  std::shared_ptr<const PageTextData> data;
  std::unique_lock lock(mutex_);
  for (;;) {
    if (position >= next_) {
      // Nobody has claimed it: the caller makes it now.
      next_ = position + 1;
      lock.unlock();
      data = extract(pages_[position]);
      lock.lock();
      break;
    }
    auto found = slots_.find(position);
    if (found == slots_.end()) break;
    if (found->second.done) {
      data = std::move(found->second.data);
      if (data && found->second.byWorker) ++prefetched_;
      slots_.erase(found);
      break;
    }
    // The worker is on it: make a later page meanwhile rather than wait.
    if (next_ < pages_.size() && next_ < position + window_) {
      size_t ahead = next_++;
      slots_[ahead];
      lock.unlock();
      auto made = extract(pages_[ahead]);
      lock.lock();
      auto& slot = slots_[ahead];
      slot.done = true;
      slot.data = std::move(made);
      continue;
    }
    changed_.wait(lock);
  }
  // Positions skipped by the caller are dropped.
  slots_.erase(slots_.begin(), slots_.lower_bound(position));
  taken_ = position + 1;
  lock.unlock();
  changed_.notify_all();
  return data;
}

size_t TextPrefetch::Prefetched() const {
  std::lock_guard lock(mutex_);
  return prefetched_;
}

}  // namespace zelta::pdf
