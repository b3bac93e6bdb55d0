#include "zelta/pdf/outline/name_tree.h"

#include <algorithm>
#include <unordered_set>

namespace zelta::pdf {
namespace {

bool ReadLimits(MuCalls& mu, pdf_obj* node, std::string* low, std::string* high) {
  pdf_obj* limits = mu.Get(node, "Limits");
  if (!mu.IsArray(limits) || mu.Len(limits) < 2) return false;
  *low = mu.ToBytes(mu.At(limits, 0));
  *high = mu.ToBytes(mu.At(limits, 1));
  return true;
}

HRESULT WriteLimits(MuCalls& mu, pdf_obj* node, const std::string& low, const std::string& high) {
  MuObject limits, lowObj, highObj;
  HRESULT hr = mu.NewArray(&limits);
  if (Succeeded(hr)) hr = mu.NewString(low, &lowObj);
  if (Succeeded(hr)) hr = mu.NewString(high, &highObj);
  if (Succeeded(hr)) hr = mu.Push(limits.Get(), lowObj.Get());
  if (Succeeded(hr)) hr = mu.Push(limits.Get(), highObj.Get());
  return Succeeded(hr) ? mu.Put(node, "Limits", limits.Get()) : hr;
}

// Recomputes a node's exact /Limits from its entries or kids. *empty when it holds nothing.
HRESULT RefreshLimits(MuCalls& mu, pdf_obj* node, bool* empty) {
  pdf_obj* kids = mu.Get(node, "Kids");
  std::string low, high, unused;
  if (mu.IsArray(kids)) {
    int n = mu.Len(kids);
    *empty = n == 0;
    if (*empty || !ReadLimits(mu, mu.At(kids, 0), &low, &unused) ||
        !ReadLimits(mu, mu.At(kids, n - 1), &unused, &high))
      return S_OK;
  } else {
    pdf_obj* names = mu.Get(node, "Names");
    int n = mu.Len(names) / 2;
    *empty = n == 0;
    if (*empty) return S_OK;
    low = mu.ToBytes(mu.At(names, 0));
    high = mu.ToBytes(mu.At(names, 2 * (n - 1)));
  }
  return WriteLimits(mu, node, low, high);
}

// A leaf holding more pairs than this after an insertion is split in two.
constexpr int kMaxLeafPairs = 128;

// The path from the root down to the leaf whose range holds a name.
struct Descent {
  std::vector<MuObject> path;      // path[0] is the root, path.back() the leaf
  std::vector<int> indexInParent;  // of path[i] in path[i - 1]'s /Kids; -1 for the root
  bool damaged = false;            // some node was out of order or lacked /Limits
};

// Index of the kid of `kids` whose range holds `name`: the first one whose high limit is not
// below it, or the last. Binary search over /Limits; a kid without readable limits, or limits
// out of order among the probed kids, marks the node damaged and falls back to a linear scan.
int ChooseKid(MuCalls& mu, pdf_obj* kids, int n, const std::string& name, bool* damaged) {
  int lo = 0, hi = n;
  bool sorted = true;
  while (lo < hi) {
    int mid = lo + (hi - lo) / 2;
    std::string low, high;
    if (!ReadLimits(mu, mu.At(kids, mid), &low, &high) || high < low) {
      sorted = false;
      break;
    }
    if (high < name)
      lo = mid + 1;
    else
      hi = mid;
  }
  if (sorted && lo > 0 && lo < n) {
    // The neighbours of the choice must not overlap it.
    std::string prevLow, prevHigh, low, high;
    sorted = ReadLimits(mu, mu.At(kids, lo - 1), &prevLow, &prevHigh) &&
             ReadLimits(mu, mu.At(kids, lo), &low, &high) && prevHigh < low;
  }
  if (sorted) return lo < n ? lo : n - 1;
  *damaged = true;
  for (int i = 0; i < n; ++i) {
    std::string low, high;
    if (ReadLimits(mu, mu.At(kids, i), &low, &high) && name <= high) return i;
  }
  return n - 1;
}

HRESULT Descend(MuCalls& mu, pdf_obj* root, const std::string& name, Descent* out) {
  out->path.push_back(MuObject::Keep(mu.Ctx(), root));
  out->indexInParent.push_back(-1);
  std::unordered_set<int> visited;
  if (mu.IsIndirect(root)) visited.insert(mu.Num(root));
  for (int depth = 0;; ++depth) {
    pdf_obj* kids = mu.Get(out->path.back().Get(), "Kids");
    int n = mu.Len(kids);
    if (!mu.IsArray(kids) || n == 0) return S_OK;
    if (depth >= NameTree::kMaxDepth) {
      out->damaged = true;
      return mu.Context().Fail(E_FAIL, "the name tree is nested deeper than " +
                                           std::to_string(NameTree::kMaxDepth) + " levels");
    }
    int index = ChooseKid(mu, kids, n, name, &out->damaged);
    pdf_obj* chosen = mu.At(kids, index);
    if (!mu.IsDict(chosen) || (mu.IsIndirect(chosen) && !visited.insert(mu.Num(chosen)).second)) {
      out->damaged = true;
      return mu.Context().Fail(
          E_FAIL, "the name tree is damaged (a loop or a node that is not a dictionary)");
    }
    out->path.push_back(MuObject::Keep(mu.Ctx(), chosen));
    out->indexInParent.push_back(index);
  }
}

// Position of `name` among the key/value pairs of a leaf's /Names (a pair index): where it
// is, or where it belongs. Binary search; keys that are not strings or out of order around
// the answer mark the leaf damaged and fall back to a linear scan.
int FindInLeaf(MuCalls& mu, pdf_obj* names, const std::string& name, bool* found, bool* damaged) {
  int pairs = mu.Len(names) / 2;
  auto keyAt = [&](int pair, std::string* key) {
    pdf_obj* obj = mu.At(names, 2 * pair);
    if (!mu.IsString(obj)) return false;
    *key = mu.ToBytes(obj);
    return true;
  };
  int lo = 0, hi = pairs;
  bool sorted = true;
  std::string key;
  while (sorted && lo < hi) {
    int mid = lo + (hi - lo) / 2;
    if (!keyAt(mid, &key))
      sorted = false;
    else if (key < name)
      lo = mid + 1;
    else
      hi = mid;
  }
  std::string first, last, next;
  if (sorted && pairs > 0) sorted = keyAt(0, &first) && keyAt(pairs - 1, &last) && first <= last;
  if (sorted && lo < pairs) {
    sorted = keyAt(lo, &key);
    if (sorted && lo + 1 < pairs) sorted = keyAt(lo + 1, &next) && key < next;
  }
  if (sorted) {
    *found = lo < pairs && key == name;
    return lo;
  }
  *damaged = true;
  for (int i = 0; i < pairs; ++i) {
    std::string k = mu.ToBytes(mu.At(names, 2 * i));
    if (k == name) {
      *found = true;
      return i;
    }
    if (k > name) return i;
  }
  return pairs;
}

// A new indirect leaf holding the entries [from, to) of `names`; *ref refers to it.
HRESULT NewLeaf(MuCalls& mu, pdf_obj* names, int from, int to, MuObject* ref) {
  MuObject dict, array;
  HRESULT hr = mu.NewDict(&dict);
  if (Succeeded(hr)) hr = mu.NewArray(&array);
  for (int i = from; Succeeded(hr) && i < to; ++i) hr = mu.Push(array.Get(), mu.At(names, i));
  if (Succeeded(hr)) hr = mu.Put(dict.Get(), "Names", array.Get());
  bool empty = false;
  if (Succeeded(hr)) hr = RefreshLimits(mu, dict.Get(), &empty);
  if (Succeeded(hr)) hr = mu.AddObject(dict.Get(), ref);
  return hr;
}

// Splits an overfull leaf at the end of `descent` into even parts of at most kMaxLeafPairs
// pairs (two halves after a single insertion; more for an oversized leaf from the file). A
// root leaf becomes the parent of all parts (a root carries no /Limits); any other leaf keeps
// the first part and the others go into the parent's /Kids right after it.
HRESULT SplitLeaf(MuCalls& mu, const Descent& descent) {
  pdf_obj* leaf = descent.path.back().Get();
  pdf_obj* names = mu.Get(leaf, "Names");
  int n = mu.Len(names);
  int pairs = n / 2;
  int parts = std::max(2, (pairs + kMaxLeafPairs - 1) / kMaxLeafPairs);
  auto start = [&](int part) { return part == parts ? n : 2 * (pairs * part / parts); };
  bool isRoot = descent.path.size() == 1;
  MuObject kids;
  HRESULT hr = mu.NewArray(&kids);
  for (int part = isRoot ? 0 : 1; Succeeded(hr) && part < parts; ++part) {
    MuObject ref;
    hr = NewLeaf(mu, names, start(part), start(part + 1), &ref);
    if (Succeeded(hr)) hr = mu.Push(kids.Get(), ref.Get());
  }
  if (Failed(hr)) return hr;
  if (isRoot) {
    hr = mu.Put(leaf, "Kids", kids.Get());
    if (Succeeded(hr)) hr = mu.Del(leaf, "Names");
    if (Succeeded(hr) && mu.Get(leaf, "Limits")) hr = mu.Del(leaf, "Limits");
    return hr;
  }
  // Deleting from the end keeps each deletion cheap.
  for (int i = n - 1; Succeeded(hr) && i >= start(1); --i) hr = mu.Delete(names, i);
  pdf_obj* parentKids = mu.Get(descent.path[descent.path.size() - 2].Get(), "Kids");
  for (int i = 0; Succeeded(hr) && i < mu.Len(kids.Get()); ++i)
    hr = mu.Insert(parentKids, mu.At(kids.Get(), i), descent.indexInParent.back() + 1 + i);
  return hr;
}

// Gives every node of the path below the root exact limits again.
HRESULT RefreshPath(MuCalls& mu, const Descent& descent) {
  HRESULT hr = S_OK;
  for (size_t i = descent.path.size() - 1; Succeeded(hr) && i >= 1; --i) {
    bool empty = false;
    hr = RefreshLimits(mu, descent.path[i].Get(), &empty);
  }
  return hr;
}

// Removal in a tree that is not sorted: a depth-first search of every leaf, skipping loops.
HRESULT RemoveBySearch(MuCalls& mu, pdf_obj* root, const std::string& name, bool* removed) {
  struct Frame {
    MuObject node;
    int parent;  // index of the parent frame, -1 for the root
    int indexInParent;
    int depth;
  };
  std::vector<Frame> frames{{MuObject::Keep(mu.Ctx(), root), -1, 0, 0}};
  std::unordered_set<int> visited;
  // Depth-first search for the leaf holding the name; frames stay so the path can be rebuilt.
  std::vector<int> todo{0};
  int found = -1, foundAt = -1;
  while (!todo.empty() && found < 0) {
    int f = todo.back();
    todo.pop_back();
    pdf_obj* node = frames[f].node.Get();
    pdf_obj* kids = mu.Get(node, "Kids");
    if (mu.IsArray(kids)) {
      if (frames[f].depth >= NameTree::kMaxDepth) continue;
      for (int i = mu.Len(kids) - 1; i >= 0; --i) {
        pdf_obj* kid = mu.At(kids, i);
        if (!mu.IsDict(kid) || (mu.IsIndirect(kid) && !visited.insert(mu.Num(kid)).second))
          continue;
        frames.push_back({MuObject::Keep(mu.Ctx(), kid), f, i, frames[f].depth + 1});
        todo.push_back(static_cast<int>(frames.size()) - 1);
      }
      continue;
    }
    pdf_obj* names = mu.Get(node, "Names");
    int n = mu.Len(names);
    for (int i = 0; i + 1 < n; i += 2) {
      if (mu.ToBytes(mu.At(names, i)) == name) {
        found = f;
        foundAt = i;
        break;
      }
    }
  }
  if (found < 0) return S_OK;
  pdf_obj* names = mu.Get(frames[found].node.Get(), "Names");
  HRESULT hr = mu.Delete(names, foundAt + 1);
  if (Succeeded(hr)) hr = mu.Delete(names, foundAt);
  if (Failed(hr)) return hr;
  *removed = true;
  // Walk back up: drop emptied nodes from their parents, give the others exact limits.
  for (int f = found; Succeeded(hr) && frames[f].parent >= 0; f = frames[f].parent) {
    bool empty = false;
    hr = RefreshLimits(mu, frames[f].node.Get(), &empty);
    if (Succeeded(hr) && empty)
      hr = mu.Delete(mu.Get(frames[frames[f].parent].node.Get(), "Kids"), frames[f].indexInParent);
  }
  return hr;
}

}  // namespace

std::vector<NameTree::Entry> NameTree::Collect(MuCalls& mu, pdf_obj* root, const char* leafKey,
                                               const std::string& what,
                                               std::vector<std::string>* warnings) {
  std::vector<Entry> entries;
  if (!mu.IsDict(root)) return entries;
  bool numbers = std::string(leafKey) == "Nums";
  std::unordered_set<int> visited;
  if (mu.IsIndirect(root)) visited.insert(mu.Num(root));
  std::vector<std::pair<MuObject, int>> stack;
  stack.emplace_back(MuObject::Keep(mu.Ctx(), root), 0);
  while (!stack.empty()) {
    auto [holder, depth] = std::move(stack.back());
    stack.pop_back();
    pdf_obj* node = holder.Get();
    pdf_obj* kids = mu.Get(node, "Kids");
    if (mu.IsArray(kids)) {
      if (depth >= kMaxDepth) {
        warnings->push_back(what + ": nested deeper than " + std::to_string(kMaxDepth) +
                            " levels; the deeper part is skipped");
        continue;
      }
      for (int i = mu.Len(kids) - 1; i >= 0; --i) {
        pdf_obj* kid = mu.At(kids, i);
        if (!mu.IsDict(kid)) {
          warnings->push_back(what + ": a /Kids entry is not a dictionary; it is skipped");
          continue;
        }
        if (mu.IsIndirect(kid) && !visited.insert(mu.Num(kid)).second) {
          warnings->push_back(what + ": node " + std::to_string(mu.Num(kid)) +
                              " is reached twice (a loop); it is skipped");
          continue;
        }
        stack.emplace_back(MuObject::Keep(mu.Ctx(), kid), depth + 1);
      }
      continue;
    }
    pdf_obj* leaves = mu.Get(node, leafKey);
    int n = mu.Len(leaves);
    for (int i = 0; i + 1 < n; i += 2) {
      pdf_obj* key = mu.At(leaves, i);
      Entry entry;
      if (numbers ? !mu.IsNumber(key) : !mu.IsString(key)) continue;
      if (numbers)
        entry.number = mu.ToInt(key);
      else
        entry.name = mu.ToBytes(key);
      entry.value = MuObject::Keep(mu.Ctx(), mu.At(leaves, i + 1));
      entries.push_back(std::move(entry));
    }
  }
  return entries;
}

HRESULT NameTree::Insert(MuCalls& mu, pdf_obj* root, const std::string& name, pdf_obj* value) {
  Descent descent;
  HRESULT hr = Descend(mu, root, name, &descent);
  if (Failed(hr)) return hr;
  pdf_obj* leaf = descent.path.back().Get();
  // An empty /Kids would hide the /Names added here from every reader.
  if (mu.IsArray(mu.Get(leaf, "Kids"))) hr = mu.Del(leaf, "Kids");
  pdf_obj* names = mu.Get(leaf, "Names");
  if (Succeeded(hr) && !mu.IsArray(names)) {
    MuObject array;
    hr = mu.NewArray(&array);
    if (Succeeded(hr)) hr = mu.Put(leaf, "Names", array.Get());
    names = mu.Get(leaf, "Names");
  }
  if (Failed(hr)) return hr;
  bool found = false, damaged = false;
  int position = 2 * FindInLeaf(mu, names, name, &found, &damaged);
  if (found) {
    hr = mu.Delete(names, position + 1);
    return Succeeded(hr) ? mu.Insert(names, value, position + 1) : hr;
  }
  MuObject key;
  hr = mu.NewString(name, &key);
  if (Succeeded(hr)) hr = mu.Insert(names, key.Get(), position);
  if (Succeeded(hr)) hr = mu.Insert(names, value, position + 1);
  if (Succeeded(hr) && mu.Len(names) / 2 > kMaxLeafPairs) hr = SplitLeaf(mu, descent);
  if (Succeeded(hr)) hr = RefreshPath(mu, descent);
  return hr;
}

HRESULT NameTree::Remove(MuCalls& mu, pdf_obj* root, const std::string& name, bool* removed) {
  *removed = false;
  // A sorted tree answers along one path; a damaged one is searched whole.
  Descent descent;
  HRESULT hr = Descend(mu, root, name, &descent);
  pdf_obj* names = Succeeded(hr) ? mu.Get(descent.path.back().Get(), "Names") : nullptr;
  bool found = false;
  int at = mu.IsArray(names) ? FindInLeaf(mu, names, name, &found, &descent.damaged) : 0;
  if (Failed(hr) || descent.damaged) return RemoveBySearch(mu, root, name, removed);
  if (!found) return S_OK;
  hr = mu.Delete(names, 2 * at + 1);
  if (Succeeded(hr)) hr = mu.Delete(names, 2 * at);
  if (Failed(hr)) return hr;
  *removed = true;
  // Walk back up: drop emptied nodes from their parents, give the others exact limits.
  for (size_t i = descent.path.size() - 1; Succeeded(hr) && i >= 1; --i) {
    bool empty = false;
    hr = RefreshLimits(mu, descent.path[i].Get(), &empty);
    if (Succeeded(hr) && empty)
      hr = mu.Delete(mu.Get(descent.path[i - 1].Get(), "Kids"), descent.indexInParent[i]);
  }
  return hr;
}

}  // namespace zelta::pdf
