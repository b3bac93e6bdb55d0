#include "zelta/desktop/page_cache.h"

namespace zelta::desktop {

size_t PageCache::SizeOf(const Entry& entry) {
  // A failed page still costs its message and bookkeeping; counting it keeps a document of
  // broken pages from growing the cache without bound.
  return static_cast<size_t>(entry.image.sizeInBytes()) + sizeof(Entry) +
         static_cast<size_t>(entry.error.size()) * sizeof(QChar);
}

const PageCache::Entry* PageCache::Find(int page, double scale) {
  auto found = byPage_.find(page);
  if (found == byPage_.end() || found->second->scale != scale) return nullptr;
  entries_.splice(entries_.begin(), entries_, found->second);
  return &entries_.front();
}

void PageCache::Insert(Entry entry) {
  if (auto found = byPage_.find(entry.page); found != byPage_.end()) {
    bytes_ -= SizeOf(*found->second);
    entries_.erase(found->second);
    byPage_.erase(found);
  }
  bytes_ += SizeOf(entry);
  entries_.push_front(std::move(entry));
  byPage_[entries_.front().page] = entries_.begin();
  Trim();
}

void PageCache::SetLimit(size_t limitBytes) {
  limit_ = limitBytes;
  Trim();
}

void PageCache::Trim() {
  while (bytes_ > limit_ && entries_.size() > 1) {
    bytes_ -= SizeOf(entries_.back());
    byPage_.erase(entries_.back().page);
    entries_.pop_back();
  }
}

void PageCache::Clear() {
  entries_.clear();
  byPage_.clear();
  bytes_ = 0;
}

}  // namespace zelta::desktop
