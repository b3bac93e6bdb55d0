// The in-memory shape of the outline: parent, children and sibling links of every item,
// keyed by the item's PDF object number (the root has key kRoot). Navigation is O(1) per
// step and nothing here recurses. The index also keeps, per item, the number of descendants
// shown when the item is open, so that /Count can be kept right for every ancestor after each
// change; every changed item is remembered as dirty until the writer takes it.
#pragma once

#include <cstddef>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace zelta::pdf {

struct OutlineNode {
  int parent = -1;
  int first = -1;
  int last = -1;
  int next = -1;
  int prev = -1;
  int childCount = 0;
  int visible = 0;  // descendants shown when this item is open (the magnitude of /Count)
  bool open = false;
};

class OutlineIndex {
 public:
  static constexpr int kNone = -1;
  static constexpr int kRoot = 0;

  OutlineIndex() { Clear(); }

  // Forgets everything except an empty root.
  void Clear();
  // Adds a detached item without links, or returns the item when the key is known.
  OutlineNode& Add(int key);
  bool Contains(int key) const { return nodes_.count(key) != 0; }
  // Null for an unknown key.
  const OutlineNode* Find(int key) const;
  size_t Size() const { return nodes_.size(); }

  // Recomputes child counts and visible counts after a bulk build. `order` lists the items
  // so that every item comes after its parent (the order a top-down walk found them in).
  void Recount(const std::vector<int>& order);

  // True when `ancestor` is key itself or one of its ancestors.
  bool IsSelfOrAncestor(int ancestor, int key) const;
  // True when the item hangs, through its parents, from the root.
  bool IsAttached(int key) const;
  // The child at position (0-based), or kNone. -1 or a position past the end gives kNone.
  int ChildAt(int parent, int position) const;

  // Takes an item (with its subtree) out of its parent's list; a detached item is left alone.
  void Unlink(int key);
  // Puts a detached item into parent's children at position (-1 or past the end: last).
  void Link(int parent, int position, int key);
  // Sets the open state of an item and keeps the ancestors' counts right.
  void SetOpen(int key, bool open);

  // Marks an item for rewriting of its links and /Count.
  void MarkDirty(int key) { dirty_.insert(key); }
  // The items whose links or counts changed since the last call.
  std::vector<int> TakeDirty();

 private:
  OutlineNode& At(int key) { return nodes_.at(key); }
  // What an item adds to its parent's visible count.
  static int Contribution(const OutlineNode& node) { return 1 + (node.open ? node.visible : 0); }
  // Adds delta to the visible count of `from` and of its ancestors as far as it shows.
  void Propagate(int from, int delta);

  std::unordered_map<int, OutlineNode> nodes_;
  std::unordered_set<int> dirty_;
};

}  // namespace zelta::pdf
