#include "zelta/pdf/outline/outline_index.h"

#include <stdexcept>

namespace zelta::pdf {

void OutlineIndex::Clear() {
  slots_.clear();
  nodes_.clear();
  dirty_.clear();
  countChanged_.clear();
  ++shape_;
  Add(kRoot).open = true;  // the root always shows its children
}

OutlineNode& OutlineIndex::Add(int key) {
  if (key < 0) throw std::out_of_range("outline item key");
  const auto at = static_cast<size_t>(key);
  if (at >= slots_.size()) slots_.resize(at + 1, 0);
  if (slots_[at] == 0) {
    nodes_.emplace_back();
    slots_[at] = static_cast<uint32_t>(nodes_.size());
  }
  return nodes_[slots_[at] - 1];
}

const OutlineNode& OutlineIndex::At(int key) const {
  const OutlineNode* node = Find(key);
  if (!node) throw std::out_of_range("unknown outline item");
  return *node;
}

void OutlineIndex::MarkDirty(int key) {
  if (!Contains(key) || At(key).dirty) return;
  At(key).dirty = true;
  dirty_.push_back(key);
}

void OutlineIndex::Recount(const std::vector<int>& order) {
  for (OutlineNode& node : nodes_) {
    node.childCount = 0;
    node.visible = 0;
    node.counted = 0;
    node.pending = 0;
  }
  countChanged_.clear();
  ++shape_;
  // Children come after their parents in `order`, so a backward pass sees every item's
  // children before the item itself.
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    OutlineNode& node = At(*it);
    if (node.parent == kNone) continue;
    OutlineNode& parent = At(node.parent);
    parent.childCount++;
    node.counted = Contribution(node);
    parent.visible += node.counted;
  }
}

bool OutlineIndex::IsSelfOrAncestor(int ancestor, int key) const {
  if (ancestor == key) return true;
  const OutlineNode& top = At(ancestor);
  if (top.first == kNone) return false;
  // Two searches in step: up from key, and through ancestor's subtree in document order.
  // Whichever ends first answers, so the cost is the smaller of the two. Parent links never
  // form a loop: Link refuses to make one.
  int up = At(key).parent;
  int down = top.first;
  for (;;) {
    if (up == ancestor || down == key) return true;
    if (up == kNone) return false;
    up = At(up).parent;
    // The next item of ancestor's subtree after `down`, or kNone past its end.
    const OutlineNode& node = At(down);
    if (node.first != kNone) {
      down = node.first;
      continue;
    }
    while (down != ancestor && At(down).next == kNone) down = At(down).parent;
    if (down == ancestor) return false;
    down = At(down).next;
  }
}

bool OutlineIndex::IsAttached(int key) const {
  if (!Contains(key)) return false;
  // Walk up to the root, a detached top, or an item answered since the last change...
  bool answer = false;
  int k = key;
  for (;;) {
    if (k == kNone) break;
    if (k == kRoot) {
      answer = true;
      break;
    }
    const OutlineNode& node = At(k);
    if (node.attachedMark == shape_) {
      answer = node.attached;
      break;
    }
    k = node.parent;
  }
  // ... and remember the answer on the way, so that the next walk stops there.
  for (int m = key; m != k; m = At(m).parent) {
    const OutlineNode& node = At(m);
    node.attachedMark = shape_;
    node.attached = answer;
  }
  return answer;
}

int OutlineIndex::ChildAt(int parent, int position) const {
  if (position < 0) return kNone;
  int k = At(parent).first;
  for (int i = 0; i < position && k != kNone; ++i) k = At(k).next;
  return k;
}

void OutlineIndex::Unlink(int key) {
  OutlineNode& node = At(key);
  if (node.parent == kNone) return;
  ++shape_;
  OutlineNode& parent = At(node.parent);
  if (node.prev != kNone) {
    At(node.prev).next = node.next;
    MarkDirty(node.prev);
  } else {
    parent.first = node.next;
  }
  if (node.next != kNone) {
    At(node.next).prev = node.prev;
    MarkDirty(node.next);
  } else {
    parent.last = node.prev;
  }
  parent.childCount--;
  parent.pending -= node.counted;
  node.counted = 0;
  MarkDirty(node.parent);
  countChanged_.push_back(node.parent);
  node.parent = node.prev = node.next = kNone;
  MarkDirty(key);
}

void OutlineIndex::Link(int parentKey, int position, int key) {
  ++shape_;
  OutlineNode& node = At(key);
  OutlineNode& parent = At(parentKey);
  int after = position < 0 || position >= parent.childCount ? parent.last
                                                            : ChildAt(parentKey, position - 1);
  int before = after == kNone ? parent.first : At(after).next;
  node.parent = parentKey;
  node.prev = after;
  node.next = before;
  if (after != kNone) {
    At(after).next = key;
    MarkDirty(after);
  } else {
    parent.first = key;
  }
  if (before != kNone) {
    At(before).prev = key;
    MarkDirty(before);
  } else {
    parent.last = key;
  }
  parent.childCount++;
  MarkDirty(parentKey);
  MarkDirty(key);
  // A detached item counts for nothing; what it adds to its new parent is settled by the
  // next UpdateCounts.
  node.counted = 0;
  countChanged_.push_back(key);
}

void OutlineIndex::SetOpen(int key, bool open) {
  OutlineNode& node = At(key);
  if (key == kRoot || node.open == open) return;
  node.open = open;
  MarkDirty(key);
  countChanged_.push_back(key);
}

void OutlineIndex::UpdateCounts() {
  if (countChanged_.empty()) return;
  // The items to settle: every changed item and its ancestors, each taken once.
  const uint32_t pass = ++countPass_;
  std::vector<int> settle;
  for (int key : countChanged_) {
    for (int k = key; k != kNone; k = At(k).parent) {
      OutlineNode& node = At(k);
      if (node.countMark == pass) break;
      node.countMark = pass;
      node.waiting = 0;
      settle.push_back(k);
    }
  }
  countChanged_.clear();
  for (int key : settle) {
    int parent = At(key).parent;
    if (parent != kNone) At(parent).waiting++;
  }
  // Children before parents: an item settles once all its changed children passed their
  // change up to it.
  std::vector<int> ready;
  for (int key : settle)
    if (At(key).waiting == 0) ready.push_back(key);
  while (!ready.empty()) {
    int key = ready.back();
    ready.pop_back();
    OutlineNode& node = At(key);
    if (node.pending != 0) {
      node.visible += node.pending;
      node.pending = 0;
      MarkDirty(key);
    }
    if (node.parent == kNone) continue;
    OutlineNode& parent = At(node.parent);
    int now = Contribution(node);
    parent.pending += now - node.counted;
    node.counted = now;
    if (--parent.waiting == 0) ready.push_back(node.parent);
  }
}

std::vector<int> OutlineIndex::TakeDirty() {
  UpdateCounts();
  for (int key : dirty_) At(key).dirty = false;
  return std::exchange(dirty_, {});
}

}  // namespace zelta::pdf
