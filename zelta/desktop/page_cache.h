// The rendered pages a view keeps: the most recently used ones, up to a memory limit, so
// that scrolling through thousands of pages holds only a screenful or two.
#pragma once

#include <QImage>
#include <QString>
#include <cstddef>
#include <list>
#include <unordered_map>

namespace zelta::desktop {

class PageCache {
 public:
  // A page drawn at a scale: its image, or why it could not be drawn.
  struct Entry {
    int page = -1;
    double scale = 0;
    QImage image;   // null when the page failed
    QString error;  // why it failed
  };

  explicit PageCache(size_t limitBytes) : limit_(limitBytes) {}
  PageCache(const PageCache&) = delete;
  PageCache& operator=(const PageCache&) = delete;

  // The page at exactly this scale, marked as the most recently used; null when absent.
  const Entry* Find(int page, double scale);
  // Keeps the entry (replacing the page's earlier one) and drops the least recently used
  // pages until the cache is within its limit again. The newest entry always stays, even
  // when it alone is larger than the limit.
  void Insert(Entry entry);
  void Clear();
  // A new limit; pages beyond it are dropped at once.
  void SetLimit(size_t limitBytes);

  size_t Bytes() const { return bytes_; }
  size_t Count() const { return entries_.size(); }
  size_t Limit() const { return limit_; }

 private:
  static size_t SizeOf(const Entry& entry);
  void Trim();

  size_t limit_;
  size_t bytes_ = 0;
  std::list<Entry> entries_;  // most recently used first
  std::unordered_map<int, std::list<Entry>::iterator> byPage_;
};

}  // namespace zelta::desktop
