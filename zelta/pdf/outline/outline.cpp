#include "zelta/pdf/outline/outline.h"

#include <algorithm>
#include <iterator>
#include <unordered_set>
#include <utility>

namespace zelta::pdf {
namespace {

pdf_obj* Catalog(MuCalls& mu) { return mu.Get(mu.Trailer(), "Root"); }

// How a finding names an item: /Outlines by that name, the others by object number.
std::string ItemName(int key, int rootNum) {
  return key == rootNum ? "/Outlines (item " + std::to_string(key) + ")"
                        : "item " + std::to_string(key);
}

std::string LinkText(MuCalls& mu, pdf_obj* link, int rootNum) {
  if (!link) return "missing";
  if (!mu.IsIndirect(link)) return "not a reference";
  return ItemName(mu.Num(link), rootNum);
}

}  // namespace

MuObject Outline::Dict(MuCalls& mu, int key) {
  if (key != OutlineIndex::kRoot) return mu.Load(key);
  pdf_obj* root = mu.Get(Catalog(mu), "Outlines");
  return mu.IsDict(root) ? MuObject::Keep(mu.Ctx(), root) : MuObject();
}

void Outline::Load(MuCalls& mu, std::vector<std::string>* warnings) {
  index_.Clear();
  cuts_.clear();
  findings_.clear();
  rootNum_ = 0;
  pdf_obj* root = mu.Get(Catalog(mu), "Outlines");
  if (!root) return;
  if (!mu.IsDict(root)) {
    warnings->push_back("the /Outlines entry is not a dictionary; the outline is read as empty");
    findings_.push_back({0, "the /Outlines entry is not a dictionary"});
    return;
  }
  if (mu.IsIndirect(root)) rootNum_ = mu.Num(root);

  // Damage the walk cuts is a warning on every open and a finding; the rest is a finding only.
  auto cut = [&](int item, const std::string& text, const std::string& consequence) {
    warnings->push_back(text + "; " + consequence);
    findings_.push_back({item, text});
  };
  auto linkText = [&](pdf_obj* link) { return LinkText(mu, link, rootNum_); };

  // An item is visited once it is in the index; those met below the depth limit never get
  // there, and /Outlines itself is no item.
  std::unordered_set<int> tooDeep;
  auto visited = [&](int num) {
    return num <= 0 || num == rootNum_ || index_.Contains(num) || tooDeep.count(num) != 0;
  };
  std::vector<int> order;
  std::vector<std::pair<int, int>> storedCounts{
      {OutlineIndex::kRoot, mu.ToInt(mu.Get(root, "Count"))}};
  // Items with children, to be walked: (item, depth). Leaves never get here.
  std::vector<std::pair<int, int>> stack{{OutlineIndex::kRoot, 0}};
  pdf_obj* const listKeys[] = {PDF_NAME(First), PDF_NAME(Last)};
  enum { kParent, kCount, kNext, kFirst };
  pdf_obj* const itemKeys[] = {PDF_NAME(Parent), PDF_NAME(Count), PDF_NAME(Next), PDF_NAME(First)};
  while (!stack.empty()) {
    auto [parent, depth] = stack.back();
    stack.pop_back();
    MuObject parentDict = Dict(mu, parent);
    if (!parentDict) continue;
    pdf_obj* ends[2];
    mu.DictEntries(parentDict.Get(), listKeys, ends);
    pdf_obj* current = ends[0];
    pdf_obj* const lastLink = ends[1];
    MuObject holder = parentDict;  // keeps the dictionary that owns `current` alive
    int prev = OutlineIndex::kNone;
    const char* link = "/First";
    const int parentNum = parent == OutlineIndex::kRoot ? rootNum_ : parent;
    int from = parentNum;
    bool complete = true;
    while (current) {
      // Named only when there is damage to describe: most items need no text at all.
      auto where = [&] { return "outline item " + std::to_string(from) + ": " + link; };
      pdf_obj* entries[std::size(itemKeys)];
      if (!mu.IsIndirect(current) || !mu.DictEntries(current, itemKeys, entries)) {
        cut(from, where() + " is not an outline item", "the rest of that list is skipped");
        cuts_.push_back(prev == OutlineIndex::kNone ? parent : prev);
        complete = false;
        break;
      }
      int num = mu.Num(current);
      if (visited(num)) {
        cut(from, where() + " points back to item " + std::to_string(num) + " (a loop)",
            "the link is cut there");
        cuts_.push_back(prev == OutlineIndex::kNone ? parent : prev);
        complete = false;
        break;
      }
      if (depth + 1 > kMaxDepth) {
        tooDeep.insert(num);
        cut(from, where() + " nests deeper than " + std::to_string(kMaxDepth) + " levels",
            "the items below are skipped");
        cuts_.push_back(parent);
        complete = false;
        break;
      }
      // A /Parent that disagrees with the list the item is in: the list wins, and the first
      // change writes the link anew.
      pdf_obj* parentLink = entries[kParent];
      if (parentNum != 0 && (!mu.IsIndirect(parentLink) || mu.Num(parentLink) != parentNum)) {
        findings_.push_back({num, "outline item " + std::to_string(num) + ": /Parent is " +
                                      linkText(parentLink) + ", but the item is listed under " +
                                      ItemName(parentNum, rootNum_)});
        cuts_.push_back(num);
      }
      const int count = mu.ToInt(entries[kCount]);
      {
        OutlineNode& node = index_.Add(num);  // the one new key: the references below hold
        node.parent = parent;
        node.prev = prev;
        node.open = count > 0;
        OutlineNode& parentNode = index_.Add(parent);
        if (prev == OutlineIndex::kNone)
          parentNode.first = num;
        else
          index_.Add(prev).next = num;
        parentNode.last = num;
      }
      storedCounts.emplace_back(num, count);
      order.push_back(num);
      if (entries[kFirst]) stack.emplace_back(num, depth + 1);

      prev = num;
      from = num;
      link = "/Next";
      MuObject itemDict = MuObject::Keep(mu.Ctx(), current);
      current = entries[kNext];
      holder = std::move(itemDict);
    }
    if (complete && prev != OutlineIndex::kNone &&
        (!mu.IsIndirect(lastLink) || mu.Num(lastLink) != prev)) {
      findings_.push_back({parentNum, "outline item " + std::to_string(parentNum) + ": /Last is " +
                                          linkText(lastLink) + ", but its list ends at item " +
                                          std::to_string(prev)});
      cuts_.push_back(parent);
    }
  }
  index_.Recount(order);
  CheckCounts(order, storedCounts);
  index_.TakeDirty();
}

// /Count: open, the number of descendants shown; closed, minus the number it would show.
// Many writers give the number of all descendants instead, which readers take as well: only
// a count that is neither lies.
void Outline::CheckCounts(const std::vector<int>& order,
                          const std::vector<std::pair<int, int>>& storedCounts) {
  // All descendants by key (keys are object numbers, below the cross-reference length).
  int largest = OutlineIndex::kRoot;
  for (int key : order) largest = std::max(largest, key);
  std::vector<int> descendants(static_cast<size_t>(largest) + 1, 0);
  for (auto it = order.rbegin(); it != order.rend(); ++it)
    descendants[index_.Find(*it)->parent] += 1 + descendants[*it];
  for (auto [key, stored] : storedCounts) {
    const OutlineNode* node = index_.Find(key);
    const int shown = node ? node->visible : 0;
    const int all = descendants[key];
    if (stored == 0 || stored == shown || stored == -shown || stored == all || stored == -all)
      continue;
    const int item = key == OutlineIndex::kRoot ? rootNum_ : key;
    findings_.push_back({item, "outline item " + std::to_string(item) + ": /Count is " +
                                   std::to_string(stored) + ", but " + std::to_string(shown) +
                                   " item" + (shown == 1 ? "" : "s") + " below it " +
                                   (stored < 0   ? "would show"
                                    : shown == 1 ? "shows"
                                                 : "show")});
    cuts_.push_back(key);
  }
}

HRESULT Outline::EnsureRoot(MuCalls& mu) {
  if (rootNum_ != 0) return S_OK;
  pdf_obj* catalog = Catalog(mu);
  if (!mu.IsDict(catalog))
    return mu.Context().Fail(E_FAIL, "the document has no catalog dictionary");
  MuObject dict, name, ref;
  HRESULT hr = mu.NewDict(&dict);
  if (Succeeded(hr)) hr = mu.NewName("Outlines", &name);
  if (Succeeded(hr)) hr = mu.Put(dict.Get(), "Type", name.Get());
  if (Succeeded(hr)) hr = mu.AddObject(dict.Get(), &ref);
  if (Succeeded(hr)) hr = mu.Put(catalog, "Outlines", ref.Get());
  if (Failed(hr)) return hr;
  rootNum_ = mu.Num(ref.Get());
  // Whatever the old /Outlines held is replaced: every root link is rewritten.
  index_.MarkDirty(OutlineIndex::kRoot);
  for (int k = index_.Find(OutlineIndex::kRoot)->first; k != OutlineIndex::kNone;
       k = index_.Find(k)->next)
    index_.MarkDirty(k);
  return S_OK;
}

HRESULT Outline::NewItem(MuCalls& mu, int* key) {
  MuObject dict, ref, title;
  HRESULT hr = mu.NewDict(&dict);
  if (Succeeded(hr)) hr = mu.NewString("", &title);
  if (Succeeded(hr)) hr = mu.Put(dict.Get(), "Title", title.Get());
  if (Succeeded(hr)) hr = mu.AddObject(dict.Get(), &ref);
  if (Failed(hr)) return hr;
  *key = mu.Num(ref.Get());
  index_.Add(*key);
  return S_OK;
}

HRESULT Outline::Move(MuCalls& mu, int parent, int position, int key) {
  if (!index_.Contains(parent) || !index_.Contains(key) || key == OutlineIndex::kRoot)
    return E_INVALIDARG;
  if (index_.IsSelfOrAncestor(key, parent)) return E_INVALIDARG;
  HRESULT hr = EnsureRoot(mu);
  if (Failed(hr)) return hr;
  NoteChange();
  index_.Unlink(key);
  index_.Link(parent, position, key);
  return S_OK;
}

HRESULT Outline::Remove(MuCalls&, int key) {
  if (key == OutlineIndex::kRoot || !index_.Contains(key)) return E_FAIL;
  NoteChange();
  index_.Unlink(key);
  return S_OK;
}

HRESULT Outline::SetOpen(MuCalls&, int key, bool open) {
  if (!index_.Contains(key)) return E_INVALIDARG;
  NoteChange();
  index_.SetOpen(key, open);
  return S_OK;
}

void Outline::NoteChange() {
  for (int key : cuts_) index_.MarkDirty(key);
  cuts_.clear();
}

HRESULT Outline::Flush(MuCalls& mu) {
  std::vector<int> keys = index_.TakeDirty();
  for (size_t i = 0; i < keys.size(); ++i) {
    // A root that is not (yet) an indirect object has nothing to write.
    if (keys[i] == OutlineIndex::kRoot && rootNum_ == 0) continue;
    HRESULT hr = WriteNode(mu, keys[i]);
    if (Failed(hr)) {
      // What was not written is written by the next flush.
      for (size_t j = i; j < keys.size(); ++j) index_.MarkDirty(keys[j]);
      return hr;
    }
  }
  return S_OK;
}

size_t Outline::WatchTitles() {
  ++titleWatches_;
  return titleLog_.size();
}

void Outline::UnwatchTitles() {
  if (titleWatches_ > 0 && --titleWatches_ == 0) titleLog_ = {};
}

void Outline::NoteTitleReplaced(int key, MuObject former) {
  if (titleWatches_ > 0) titleLog_.push_back({key, std::move(former)});
}

HRESULT Outline::PutLink(MuCalls& mu, pdf_obj* dict, const char* name, int key) {
  if (key == OutlineIndex::kNone) return mu.Del(dict, name);
  MuObject ref;
  HRESULT hr = mu.NewRef(key == OutlineIndex::kRoot ? rootNum_ : key, &ref);
  return Succeeded(hr) ? mu.Put(dict, name, ref.Get()) : hr;
}

HRESULT Outline::WriteNode(MuCalls& mu, int key) {
  const OutlineNode* node = index_.Find(key);
  MuObject dict = Dict(mu, key);
  if (!node || !dict) return S_OK;  // an item whose dictionary vanished has nothing to keep right
  pdf_obj* d = dict.Get();
  HRESULT hr = PutLink(mu, d, "First", node->first);
  if (Succeeded(hr)) hr = PutLink(mu, d, "Last", node->last);
  if (Succeeded(hr) && key != OutlineIndex::kRoot) {
    hr = PutLink(mu, d, "Parent", node->parent);
    if (Succeeded(hr)) hr = PutLink(mu, d, "Prev", node->prev);
    if (Succeeded(hr)) hr = PutLink(mu, d, "Next", node->next);
  }
  if (Failed(hr)) return hr;
  // Open: the number of descendants shown; closed: minus the number it would show.
  if (node->visible == 0) return mu.Del(d, "Count");
  MuObject count;
  hr = mu.NewInt(node->open ? node->visible : -node->visible, &count);
  return Succeeded(hr) ? mu.Put(d, "Count", count.Get()) : hr;
}

}  // namespace zelta::pdf
