#include "zelta/cli/outline_changes.h"

#include <utility>
#include <vector>

#include "zelta/pdf/outline/host_bookmark.h"
#include "zelta/pdf/text/pdf_text.h"

namespace zelta::cli {

OutlineSnapshot::OutlineSnapshot(OutlineSnapshot&& other) noexcept
    : document(std::move(other.document)),
      entries(std::move(other.entries)),
      titleLogFrom(other.titleLogFrom),
      places_(std::move(other.places_)),
      watching_(std::exchange(other.watching_, false)) {}

OutlineSnapshot& OutlineSnapshot::operator=(OutlineSnapshot&& other) noexcept {
  // The other snapshot takes this one's watch and closes it when it goes.
  std::swap(document, other.document);
  std::swap(entries, other.entries);
  std::swap(titleLogFrom, other.titleLogFrom);
  std::swap(places_, other.places_);
  std::swap(watching_, other.watching_);
  return *this;
}

OutlineSnapshot::~OutlineSnapshot() {
  if (watching_ && document) document->GetOutline().UnwatchTitles();
}

OutlineSnapshot OutlineSnapshot::Take(IHostBookmark* root) {
  OutlineSnapshot snapshot;
  auto* top = dynamic_cast<pdf::HostBookmark*>(root);
  if (!top || !top->Document()) return snapshot;
  pdf::HostDocument& document = *top->Document();
  snapshot.document = ComPtr<pdf::HostDocument>(&document);
  pdf::Outline& outline = document.GetOutline();
  snapshot.titleLogFrom = outline.WatchTitles();
  snapshot.watching_ = true;
  const pdf::OutlineIndex& index = outline.Index();
  // A tree holds each item once: more entries than the index has items would be a loop.
  const size_t most = index.Size();
  snapshot.entries.reserve(most);
  std::vector<int> parents{top->Key()};
  while (!parents.empty() && snapshot.entries.size() < most) {
    const int parent = parents.back();
    parents.pop_back();
    const pdf::OutlineNode* node = index.Find(parent);
    int previous = pdf::OutlineIndex::kNone;
    for (int child = node ? node->first : pdf::OutlineIndex::kNone;
         child >= 0 && snapshot.entries.size() < most;) {
      const auto at = static_cast<size_t>(child);
      if (at >= snapshot.places_.size()) snapshot.places_.resize(at + 1, 0);
      const pdf::OutlineNode* item = index.Find(child);
      // An item met twice is kept where it was met first.
      if (snapshot.places_[at] == 0) {
        snapshot.entries.push_back({child, parent, previous});
        snapshot.places_[at] = static_cast<uint32_t>(snapshot.entries.size());
        if (item && item->first != pdf::OutlineIndex::kNone) parents.push_back(child);
      }
      previous = child;
      child = item ? item->next : pdf::OutlineIndex::kNone;
    }
  }
  return snapshot;
}

namespace {

// Titles are the same text when they are one object, the same bytes, or bytes in two
// encodings of one text.
bool SameTitle(pdf::MuCalls& mu, pdf_obj* a, pdf_obj* b) {
  if (a == b) return true;
  return pdf::SameTextString(mu.StringView(a), mu.StringView(b));
}

// Items both trees hold whose title text changed: each retitled item's title when `before`
// was taken (its first entry in the log since) against the one it has now.
size_t CountRenamed(const OutlineSnapshot& before, const OutlineSnapshot& after) {
  if (!before.document) return 0;
  pdf::HostDocument& document = *before.document;
  pdf::MuCalls& mu = document.Mu();
  pdf::Outline& outline = document.GetOutline();
  const std::vector<pdf::Outline::TitleChange>& log = outline.TitleLog();
  std::vector<bool> compared(before.Size(), false);  // by place in before.entries
  size_t renamed = 0;
  for (size_t i = before.titleLogFrom; i < log.size(); ++i) {
    const pdf::Outline::TitleChange& change = log[i];
    const OutlineSnapshot::Entry* old = before.Find(change.key);
    if (!old || !after.Find(change.key)) continue;
    const auto place = static_cast<size_t>(old - before.entries.data());
    if (compared[place]) continue;
    compared[place] = true;
    // Text reads resolve a reference: the title need not be resolved to be compared.
    const pdf::MuObject dict = outline.Dict(mu, change.key);
    pdf_obj* now = dict ? mu.Get(dict.Get(), PDF_NAME(Title)) : nullptr;
    if (!SameTitle(mu, change.former.Get(), now)) ++renamed;
  }
  return renamed;
}

}  // namespace

OutlineChanges CompareOutlines(const OutlineSnapshot& before, const OutlineSnapshot& after) {
  OutlineChanges changes;
  // The nearest earlier sibling that the other tree holds too.
  auto keptPrevious = [](const OutlineSnapshot& tree, const OutlineSnapshot& other,
                         const OutlineSnapshot::Entry& entry) {
    int previous = entry.previous;
    while (previous != pdf::OutlineIndex::kNone && !other.Find(previous)) {
      const OutlineSnapshot::Entry* earlier = tree.Find(previous);
      previous = earlier ? earlier->previous : pdf::OutlineIndex::kNone;
    }
    return previous;
  };
  for (const OutlineSnapshot::Entry& entry : after.entries) {
    const OutlineSnapshot::Entry* old = before.Find(entry.key);
    if (!old) {
      ++changes.made;
      continue;
    }
    if (old->parent != entry.parent ||
        keptPrevious(before, after, *old) != keptPrevious(after, before, entry))
      ++changes.moved;
  }
  for (const OutlineSnapshot::Entry& entry : before.entries)
    if (!after.Find(entry.key)) ++changes.removed;
  changes.renamed = CountRenamed(before, after);
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

PageTally PageTally::Take(pdf::HostDocument* document) {
  PageTally tally;
  int32_t pages = 0;
  if (!document || Failed(document->GetPageCount(&pages))) return tally;
  tally.pages = pages;
  document->CountAllLinks(&tally.links);
  return tally;
}

}  // namespace zelta::cli
