#include "zelta/pdf/name_tree.h"

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
    if (*empty || !ReadLimits(mu, mu.At(kids, 0), &low, &unused) || !ReadLimits(mu, mu.At(kids, n - 1), &unused, &high))
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

}  // namespace

std::vector<NameTree::Entry> NameTree::Collect(MuCalls& mu, pdf_obj* root, const char* leafKey, const std::string& what,
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
        warnings->push_back(what + ": nested deeper than " + std::to_string(kMaxDepth) + " levels; the deeper part is skipped");
        continue;
      }
      for (int i = mu.Len(kids) - 1; i >= 0; --i) {
        pdf_obj* kid = mu.At(kids, i);
        if (!mu.IsDict(kid)) {
          warnings->push_back(what + ": a /Kids entry is not a dictionary; it is skipped");
          continue;
        }
        if (mu.IsIndirect(kid) && !visited.insert(mu.Num(kid)).second) {
          warnings->push_back(what + ": node " + std::to_string(mu.Num(kid)) + " is reached twice (a loop); it is skipped");
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
      if (numbers) entry.number = mu.ToInt(key);
      else entry.name = mu.ToBytes(key);
      entry.value = MuObject::Keep(mu.Ctx(), mu.At(leaves, i + 1));
      entries.push_back(std::move(entry));
    }
  }
  return entries;
}

HRESULT NameTree::Insert(MuCalls& mu, pdf_obj* root, const std::string& name, pdf_obj* value) {
  // Descend to the leaf whose range holds the name (or the nearest one), remembering the path.
  std::vector<MuObject> path{MuObject::Keep(mu.Ctx(), root)};
  std::unordered_set<int> visited;
  for (int depth = 0;; ++depth) {
    pdf_obj* kids = mu.Get(path.back().Get(), "Kids");
    int n = mu.Len(kids);
    if (!mu.IsArray(kids) || n == 0) break;
    if (depth >= kMaxDepth) return mu.Context().Fail(E_FAIL, "the name tree is nested too deeply to add a name");
    pdf_obj* chosen = mu.At(kids, n - 1);
    for (int i = 0; i < n; ++i) {
      std::string low, high;
      if (ReadLimits(mu, mu.At(kids, i), &low, &high) && name <= high) {
        chosen = mu.At(kids, i);
        break;
      }
    }
    if (!mu.IsDict(chosen) || (mu.IsIndirect(chosen) && !visited.insert(mu.Num(chosen)).second))
      return mu.Context().Fail(E_FAIL, "the name tree is damaged (a loop or a bad node); no name can be added");
    path.push_back(MuObject::Keep(mu.Ctx(), chosen));
  }
  pdf_obj* leaf = path.back().Get();
  pdf_obj* names = mu.Get(leaf, "Names");
  HRESULT hr = S_OK;
  if (!mu.IsArray(names)) {
    MuObject array;
    hr = mu.NewArray(&array);
    if (Succeeded(hr)) hr = mu.Put(leaf, "Names", array.Get());
    if (Failed(hr)) return hr;
    names = mu.Get(leaf, "Names");
  }
  int n = mu.Len(names);
  int position = n - n % 2;
  for (int i = 0; i + 1 < n; i += 2) {
    std::string key = mu.ToBytes(mu.At(names, i));
    if (key == name) {
      hr = mu.Delete(names, i + 1);
      return Succeeded(hr) ? mu.Insert(names, value, i + 1) : hr;
    }
    if (key > name) {
      position = i;
      break;
    }
  }
  MuObject key;
  hr = mu.NewString(name, &key);
  if (Succeeded(hr)) hr = mu.Insert(names, key.Get(), position);
  if (Succeeded(hr)) hr = mu.Insert(names, value, position + 1);
  // Every node below the root carries exact limits.
  for (size_t i = path.size() - 1; Succeeded(hr) && i >= 1; --i) {
    bool empty = false;
    hr = RefreshLimits(mu, path[i].Get(), &empty);
  }
  return hr;
}

HRESULT NameTree::Remove(MuCalls& mu, pdf_obj* root, const std::string& name, bool* removed) {
  *removed = false;
  struct Frame {
    MuObject node;
    int parent;      // index of the parent frame, -1 for the root
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
      if (frames[f].depth >= kMaxDepth) continue;
      for (int i = mu.Len(kids) - 1; i >= 0; --i) {
        pdf_obj* kid = mu.At(kids, i);
        if (!mu.IsDict(kid) || (mu.IsIndirect(kid) && !visited.insert(mu.Num(kid)).second)) continue;
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
    if (Succeeded(hr) && empty) hr = mu.Delete(mu.Get(frames[frames[f].parent].node.Get(), "Kids"), frames[f].indexInParent);
  }
  return hr;
}

}  // namespace zelta::pdf
