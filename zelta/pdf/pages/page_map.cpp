#include "zelta/pdf/pages/page_map.h"

#include <algorithm>
#include <unordered_set>

namespace zelta::pdf {

namespace {
// Page trees deeper than this are treated as damaged.
constexpr size_t kMaxPageTreeDepth = 64;
}  // namespace

bool PageMap::WalkPageTree(MuCalls& mu) {
  pdf_obj* root = mu.Get(mu.Get(mu.Trailer(), "Root"), "Pages");
  struct Frame {
    pdf_obj* kids;
    int next;
  };
  std::vector<Frame> stack;
  std::unordered_set<int> visited;
  if (!mu.IsArray(mu.Get(root, "Kids"))) return false;
  stack.push_back({mu.Get(root, "Kids"), 0});
  while (!stack.empty()) {
    Frame& frame = stack.back();
    if (frame.next >= mu.Len(frame.kids)) {
      stack.pop_back();
      continue;
    }
    pdf_obj* kid = mu.At(frame.kids, frame.next++);
    if (!mu.IsIndirect(kid) || !visited.insert(mu.Num(kid)).second) return false;
    pdf_obj* kids = mu.Get(kid, "Kids");
    if (mu.IsArray(kids)) {
      if (stack.size() >= kMaxPageTreeDepth) return false;
      stack.push_back({kids, 0});
    } else {
      numByIndex_.push_back(mu.Num(kid));
    }
  }
  return true;
}

void PageMap::Build(MuCalls& mu) {
  indexByNum_.clear();
  numByIndex_.clear();
  const int count = std::max(mu.PageCount(), 0);
  // One walk of the tree; asking MuPDF page by page walks it again for every page, which is
  // quadratic over long flat page lists. A damaged tree is left to MuPDF's own reading.
  if (!WalkPageTree(mu) || static_cast<int>(numByIndex_.size()) != count) {
    numByIndex_.assign(count, 0);
    for (int i = 0; i < count; ++i) {
      pdf_obj* page = mu.PageObject(i);
      if (page && mu.IsIndirect(page)) numByIndex_[i] = mu.Num(page);
    }
  }
  for (int i = 0; i < count; ++i)
    if (numByIndex_[i] > 0) indexByNum_.emplace(numByIndex_[i], i);
  built_ = true;
}

int PageMap::IndexOf(MuCalls& mu, pdf_obj* pageRef) {
  if (!pageRef || !mu.IsIndirect(pageRef)) return -1;
  if (!built_) Build(mu);
  auto it = indexByNum_.find(mu.Num(pageRef));
  return it == indexByNum_.end() ? -1 : it->second;
}

int PageMap::ObjectNumber(MuCalls& mu, int index) {
  // The first pages are found in the tree directly: a view that opens a long document shows
  // them first, and the map would read every page object before it could.
  if (!built_ && index >= 0 && index < kDirectLookups) {
    pdf_obj* page = mu.PageObject(index);
    return page && mu.IsIndirect(page) ? mu.Num(page) : 0;
  }
  if (!built_) Build(mu);
  return index >= 0 && index < static_cast<int>(numByIndex_.size()) ? numByIndex_[index] : 0;
}

}  // namespace zelta::pdf
