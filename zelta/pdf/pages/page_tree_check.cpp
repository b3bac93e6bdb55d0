#include "zelta/pdf/pages/page_tree_check.h"

#include <unordered_set>

namespace zelta::pdf {

namespace {

struct Frame {
  pdf_obj* node;
  pdf_obj* kids;
  int next;
  int64_t pages;
};

}  // namespace

bool PageTreeCheck::KidsArePages(MuCalls& mu, pdf_obj* node, pdf_obj* kids,
                                 std::unordered_set<int>* visited) {
  pdf_obj* count = mu.Get(node, "Count");
  const int length = mu.Len(kids);
  if (!mu.IsNumber(count) || mu.ToInt(count) != length) return false;
  std::unordered_set<int> nums;
  for (int i = 0; i < length; ++i) {
    pdf_obj* kid = mu.At(kids, i);
    if (!mu.IsIndirect(kid) || visited->count(mu.Num(kid)) || !nums.insert(mu.Num(kid)).second)
      return false;
  }
  visited->insert(nums.begin(), nums.end());
  return true;
}

namespace {

// An empty page tree for a catalog that has none, so that pages can be inserted (and the
// written file has the tree every PDF must have).
HRESULT AddEmptyPageTree(MuCalls& mu, pdf_obj* catalog) {
  MuObject tree, kids, count, type, ref;
  HRESULT hr = mu.NewDict(&tree);
  if (Succeeded(hr)) hr = mu.NewArray(&kids);
  if (Succeeded(hr)) hr = mu.NewInt(0, &count);
  if (Succeeded(hr)) hr = mu.NewName("Pages", &type);
  if (Succeeded(hr)) hr = mu.Put(tree.Get(), "Type", type.Get());
  if (Succeeded(hr)) hr = mu.Put(tree.Get(), "Kids", kids.Get());
  if (Succeeded(hr)) hr = mu.Put(tree.Get(), "Count", count.Get());
  if (Succeeded(hr)) hr = mu.AddObject(tree.Get(), &ref);
  if (Succeeded(hr)) hr = mu.Put(catalog, "Pages", ref.Get());
  return hr;
}

}  // namespace

HRESULT PageTreeCheck::Repair(MuCalls& mu, std::vector<std::string>* warnings, std::string* error) {
  pdf_obj* catalog = mu.Get(mu.Trailer(), "Root");
  if (mu.Get(catalog, "Pages") == nullptr && mu.IsDict(catalog)) {
    if (Succeeded(AddEmptyPageTree(mu, catalog)) && warnings)
      warnings->push_back("the document catalog has no page tree; an empty one was made");
  }
  pdf_obj* root = mu.Get(catalog, "Pages");
  pdf_obj* rootKids = mu.Get(root, "Kids");
  if (!mu.IsArray(rootKids)) {
    if (mu.IsNumber(mu.Get(root, "Count")) && mu.ToInt(mu.Get(root, "Count")) != 0) {
      *error = "the page tree is damaged: its root claims /Count " +
               std::to_string(mu.ToInt(mu.Get(root, "Count"))) + " but has no /Kids array";
      return E_FAIL;
    }
    return S_OK;
  }
  std::vector<Frame> stack{{root, rootKids, 0, 0}};
  std::unordered_set<int> visited;
  if (mu.IsIndirect(root)) visited.insert(mu.Num(root));
  int repaired = 0;
  auto warn = [&](std::string text) {
    if (warnings) warnings->push_back(std::move(text));
  };
  while (!stack.empty()) {
    Frame& frame = stack.back();
    if (frame.next >= mu.Len(frame.kids)) {
      const int64_t pages = frame.pages;
      pdf_obj* node = frame.node;
      stack.pop_back();
      if (!stack.empty()) stack.back().pages += pages;
      pdf_obj* count = mu.Get(node, "Count");
      if (!mu.IsNumber(count) || mu.ToInt(count) != pages) {
        MuObject fixed;
        HRESULT hr = mu.NewInt(pages, &fixed);
        if (Succeeded(hr)) hr = mu.Put(node, "Count", fixed.Get());
        if (Failed(hr)) {
          *error = "the page tree is damaged and cannot be repaired: " + mu.Context().LastError();
          return hr;
        }
        ++repaired;
        if (stack.empty())
          warn("the page tree claims /Count " + std::to_string(mu.ToInt(count)) + " but holds " +
               std::to_string(pages) + " pages; the real pages are counted");
      }
      continue;
    }
    if (frame.next == 0 && KidsArePages(mu, frame.node, frame.kids, &visited)) {
      frame.pages = mu.Len(frame.kids);
      frame.next = static_cast<int>(frame.pages);
      continue;
    }
    const int index = frame.next++;
    pdf_obj* kid = mu.At(frame.kids, index);
    const std::string where =
        "page tree node " + std::to_string(mu.Num(frame.node)) + ", kid " + std::to_string(index);
    // A skipped kid leaves the array too: MuPDF walks /Kids itself when it looks a page up,
    // and would otherwise run into the loop (or count pages the counts above leave out).
    const auto skip = [&](const std::string& why) {
      warn(where + why);
      if (Succeeded(mu.Delete(frame.kids, index))) --frame.next;
    };
    if (!mu.IsIndirect(kid) || !mu.IsDict(kid)) {
      skip(" is not a page object; it is skipped");
      continue;
    }
    if (!visited.insert(mu.Num(kid)).second) {
      skip(" refers to object " + std::to_string(mu.Num(kid)) + " a second time; it is skipped");
      continue;
    }
    pdf_obj* kids = mu.Get(kid, "Kids");
    if (!mu.IsArray(kids)) {
      ++frame.pages;
      continue;
    }
    if (stack.size() >= kMaxDepth) {
      skip(" nests deeper than " + std::to_string(kMaxDepth) +
           " levels; the pages below are skipped");
      continue;
    }
    stack.push_back({kid, kids, 0, 0});
  }
  if (repaired > 1)
    warn(std::to_string(repaired) + " page-tree nodes had a wrong /Count; they were corrected");
  return S_OK;
}

}  // namespace zelta::pdf
