// The in-memory shape of the outline: parent, children and sibling links of every item,
// keyed by the item's PDF object number (the root has key kRoot). Navigation is O(1) per
// step and nothing here recurses.
//
// Edits cost O(1) whatever the depth: an edit only relinks its neighbours and notes where
// the shown counts changed. UpdateCounts brings every `visible` up to date in one pass over
// the changed items and their ancestors (each visited once), so a batch of edits under a
// deep branch pays for the branch once, not once per edit. Every item whose links or count
// changed is remembered as dirty until the writer takes it.
//
// Keys are object numbers, which MuPDF keeps below the length of its cross-reference table:
// items are found through a table indexed by key (4 bytes per object number up to the
// largest key, beside the dozens MuPDF spends per object), not through hashing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace zelta::pdf {

struct OutlineNode {
  int parent = -1;
  int first = -1;
  int last = -1;
  int next = -1;
  int prev = -1;
  int childCount = 0;
  // Descendants shown when this item is open (the magnitude of /Count); right after
  // UpdateCounts, possibly stale between edits.
  int visible = 0;
  bool open = false;

  // Bookkeeping of the deferred counts: what this item adds to its parent's `visible` as
  // that value stands, and the change its own `visible` still has to take.
  int counted = 0;
  int pending = 0;
  // Marks of the passes over the index (which pass last visited the item).
  uint32_t countMark = 0;
  mutable uint32_t attachedMark = 0;
  mutable bool attached = false;
  bool dirty = false;  // waiting for the writer
  int waiting = 0;     // children still to settle in the current count pass
};

class OutlineIndex {
 public:
  static constexpr int kNone = -1;
  static constexpr int kRoot = 0;

  OutlineIndex() { Clear(); }

  // Forgets everything except an empty root.
  void Clear();
  // Adds a detached item without links, or returns the item when the key is known. Adding a
  // new key may move the items: references and pointers to them last until then. A negative
  // key is refused with std::out_of_range.
  OutlineNode& Add(int key);
  bool Contains(int key) const { return Find(key) != nullptr; }
  // Null for an unknown key.
  const OutlineNode* Find(int key) const {
    if (key < 0 || static_cast<size_t>(key) >= slots_.size() || slots_[key] == 0) return nullptr;
    return &nodes_[slots_[key] - 1];
  }
  size_t Size() const { return nodes_.size(); }

  // Recomputes child counts and visible counts after a bulk build. `order` lists the items
  // so that every item comes after its parent (the order a top-down walk found them in).
  void Recount(const std::vector<int>& order);

  // True when `ancestor` is key itself or one of its ancestors. Costs the smaller of key's
  // depth and the size of ancestor's subtree (a leaf, such as a new item, answers at once).
  bool IsSelfOrAncestor(int ancestor, int key) const;
  // True when the item hangs, through its parents, from the root. Answers are remembered
  // until the next structural change, so asking for many items of one branch walks it once.
  bool IsAttached(int key) const;
  // The child at position (0-based), or kNone. -1 or a position past the end gives kNone.
  int ChildAt(int parent, int position) const;

  // Takes an item (with its subtree) out of its parent's list; a detached item is left alone.
  void Unlink(int key);
  // Puts a detached item into parent's children at position (-1 or past the end: last).
  void Link(int parent, int position, int key);
  // Sets the open state of an item; the counts follow at the next UpdateCounts.
  void SetOpen(int key, bool open);

  // Brings `visible` of every item up to date and marks the items whose /Count changed.
  void UpdateCounts();

  // Marks an item for rewriting of its links and /Count (an unknown key has nothing to write).
  void MarkDirty(int key);
  // The items whose links or counts changed since the last call (counts brought up to date).
  std::vector<int> TakeDirty();
  bool HasChanges() const { return !dirty_.empty() || !countChanged_.empty(); }

 private:
  // The item of a known key; std::out_of_range for an unknown one.
  OutlineNode& At(int key) { return const_cast<OutlineNode&>(std::as_const(*this).At(key)); }
  const OutlineNode& At(int key) const;
  // What an item adds to its parent's visible count.
  static int Contribution(const OutlineNode& node) { return 1 + (node.open ? node.visible : 0); }

  std::vector<uint32_t> slots_;     // by key: 1 + the item's place in nodes_, 0 for none
  std::vector<OutlineNode> nodes_;  // in the order the keys were added
  std::vector<int> dirty_;          // keys of the items marked dirty, each once
  std::vector<int> countChanged_;   // items whose own or children's counts changed
  uint32_t countPass_ = 0;
  uint32_t shape_ = 1;  // bumped by every structural change
};

}  // namespace zelta::pdf
