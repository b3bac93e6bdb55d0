#include "zelta/cli/outline_changes.h"

#include <algorithm>
#include <vector>

#include "zelta/pdf/outline/host_bookmark.h"
#include "zelta/pdf/text/pdf_text.h"

namespace zelta::cli {

OutlineSnapshot OutlineSnapshot::Take(IHostBookmark* root) {
  OutlineSnapshot snapshot;
  auto* top = dynamic_cast<pdf::HostBookmark*>(root);
  if (!top || !top->Document()) return snapshot;
  pdf::HostDocument& document = *top->Document();
  snapshot.document = ComPtr<pdf::HostDocument>(&document);
  pdf::MuCalls& mu = document.Mu();
  pdf::Outline& outline = document.GetOutline();
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
         child != pdf::OutlineIndex::kNone && snapshot.entries.size() < most;) {
      const pdf::MuObject dict = outline.Dict(mu, child);
      pdf_obj* title = dict ? mu.Resolve(mu.Get(dict.Get(), "Title")) : nullptr;
      snapshot.entries.push_back({child, parent, previous, pdf::MuObject::Keep(mu.Ctx(), title)});
      parents.push_back(child);
      previous = child;
      const pdf::OutlineNode* item = index.Find(child);
      child = item ? item->next : pdf::OutlineIndex::kNone;
    }
  }
  std::sort(snapshot.entries.begin(), snapshot.entries.end(),
            [](const Entry& a, const Entry& b) { return a.key < b.key; });
  snapshot.entries.erase(std::unique(snapshot.entries.begin(), snapshot.entries.end(),
                                     [](const Entry& a, const Entry& b) { return a.key == b.key; }),
                         snapshot.entries.end());
  return snapshot;
}

const OutlineSnapshot::Entry* OutlineSnapshot::Find(int key) const {
  auto found = std::lower_bound(entries.begin(), entries.end(), key,
                                [](const Entry& entry, int k) { return entry.key < k; });
  return found != entries.end() && found->key == key ? &*found : nullptr;
}

namespace {

// Titles are the same text when they are one object, the same bytes, or bytes in two
// encodings of one text.
bool SameTitle(pdf::MuCalls& mu, const pdf::MuObject& a, const pdf::MuObject& b) {
  if (a.Get() == b.Get()) return true;
  return pdf::SameTextString(mu.StringView(a.Get()), mu.StringView(b.Get()));
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
  const ComPtr<pdf::HostDocument>& document = after.document ? after.document : before.document;
  for (const OutlineSnapshot::Entry& entry : after.entries) {
    const OutlineSnapshot::Entry* old = before.Find(entry.key);
    if (!old) {
      ++changes.made;
      continue;
    }
    if (document && !SameTitle(document->Mu(), old->title, entry.title)) ++changes.renamed;
    if (old->parent != entry.parent ||
        keptPrevious(before, after, *old) != keptPrevious(after, before, entry))
      ++changes.moved;
  }
  for (const OutlineSnapshot::Entry& entry : before.entries)
    if (!after.Find(entry.key)) ++changes.removed;
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
