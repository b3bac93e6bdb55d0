#include "zelta/cli/outline_changes.h"

#include <vector>

#include "host/page_links.h"

namespace zelta::cli {

namespace {
// More items than any real outline holds; a walk stops there rather than run away.
constexpr size_t kMaxItems = 10'000'000;
}  // namespace

OutlineSnapshot OutlineSnapshot::Take(IHostBookmark* root) {
  OutlineSnapshot snapshot;
  if (!root) return snapshot;
  std::vector<ComPtr<IHostBookmark>> parents{ComPtr<IHostBookmark>(root)};
  while (!parents.empty() && snapshot.entries.size() < kMaxItems) {
    ComPtr<IHostBookmark> parent = std::move(parents.back());
    parents.pop_back();
    ComPtr<IHostBookmark> child;
    parent->GetFirstChild(child.Put());
    IHostBookmark* previous = nullptr;
    while (child && snapshot.entries.size() < kMaxItems) {
      if (snapshot.entries.contains(child.Get())) break;  // a loop
      Entry entry{child, {}, parent.Get(), previous};
      OwnedString title;
      if (child->GetTitle(title.Put()) == S_OK) entry.title = std::u16string(title.View());
      snapshot.entries.emplace(child.Get(), std::move(entry));
      parents.push_back(child);
      previous = child.Get();
      ComPtr<IHostBookmark> next;
      child->GetNextSibling(next.Put());
      child = std::move(next);
    }
  }
  return snapshot;
}

OutlineChanges CompareOutlines(const OutlineSnapshot& before, const OutlineSnapshot& after) {
  OutlineChanges changes;
  // The nearest earlier sibling that the other tree holds too.
  auto keptPrevious = [](const OutlineSnapshot& tree, const OutlineSnapshot& other,
                         IHostBookmark* item) -> IHostBookmark* {
    IHostBookmark* previous = tree.entries.at(item).previous;
    while (previous && !other.entries.contains(previous))
      previous = tree.entries.at(previous).previous;
    return previous;
  };
  for (const auto& [item, entry] : after.entries) {
    auto old = before.entries.find(item);
    if (old == before.entries.end()) {
      ++changes.made;
      continue;
    }
    if (old->second.title != entry.title) ++changes.renamed;
    if (old->second.parent != entry.parent ||
        keptPrevious(before, after, item) != keptPrevious(after, before, item))
      ++changes.moved;
  }
  for (const auto& [item, entry] : before.entries)
    if (!after.entries.contains(item)) ++changes.removed;
  return changes;
}

std::string DescribeChanges(const OutlineChanges& changes) {
  std::string text;
  auto add = [&](size_t count, const char* what) {
    if (!count) return;
    text += text.empty() ? std::to_string(count) + (count == 1 ? " bookmark " : " bookmarks ")
                         : ", " + std::to_string(count) + " ";
    text += what;
  };
  add(changes.made, "made");
  add(changes.renamed, "renamed");
  add(changes.moved, "moved");
  add(changes.removed, "removed");
  auto count = [&](int64_t n, const char* one, const char* many, const char* more,
                   const char* fewer) {
    if (!n) return;
    const int64_t size = n < 0 ? -n : n;
    text += (text.empty() ? "" : ", ") + std::to_string(size) + " " + (size == 1 ? one : many) +
            " " + (n > 0 ? more : fewer);
  };
  count(changes.pages, "page", "pages", "inserted", "removed");
  count(changes.links, "link", "links", "made", "removed");
  return text;
}

PageTally PageTally::Take(IHostDocument* document) {
  PageTally tally;
  int32_t pages = 0;
  if (!document || Failed(document->GetPageCount(&pages))) return tally;
  tally.pages = pages;
  auto links = QueryAs<IHostPageLinks>(document);
  for (int32_t page = 0; links && page < pages; ++page) {
    int32_t count = 0;
    if (Succeeded(links->GetLinkCount(page, &count))) tally.links += count;
  }
  return tally;
}

}  // namespace zelta::cli
