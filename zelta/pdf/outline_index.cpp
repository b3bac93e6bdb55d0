#include "zelta/pdf/outline_index.h"

namespace zelta::pdf {

void OutlineIndex::Clear() {
  nodes_.clear();
  dirty_.clear();
  nodes_[kRoot].open = true;  // the root always shows its children
}

OutlineNode& OutlineIndex::Add(int key) { return nodes_[key]; }

const OutlineNode* OutlineIndex::Find(int key) const {
  auto it = nodes_.find(key);
  return it == nodes_.end() ? nullptr : &it->second;
}

void OutlineIndex::Recount(const std::vector<int>& order) {
  for (auto& [key, node] : nodes_) {
    node.childCount = 0;
    node.visible = 0;
  }
  // Children come after their parents in `order`, so a backward pass sees every item's
  // children before the item itself.
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    OutlineNode& node = At(*it);
    if (node.parent == kNone) continue;
    OutlineNode& parent = At(node.parent);
    parent.childCount++;
    parent.visible += Contribution(node);
  }
}

bool OutlineIndex::IsSelfOrAncestor(int ancestor, int key) const {
  // Parent links in the index never form a loop: Link refuses to make one.
  for (int k = key; k != kNone; k = nodes_.at(k).parent)
    if (k == ancestor) return true;
  return false;
}

bool OutlineIndex::IsAttached(int key) const {
  return Contains(key) && IsSelfOrAncestor(kRoot, key);
}

int OutlineIndex::ChildAt(int parent, int position) const {
  if (position < 0) return kNone;
  int k = nodes_.at(parent).first;
  for (int i = 0; i < position && k != kNone; ++i) k = nodes_.at(k).next;
  return k;
}

void OutlineIndex::Propagate(int from, int delta) {
  for (int k = from; k != kNone && delta != 0;) {
    OutlineNode& node = At(k);
    node.visible += delta;
    dirty_.insert(k);
    // A closed item shows as one line whatever it holds: its parent does not change.
    if (!node.open) break;
    k = node.parent;
  }
}

void OutlineIndex::Unlink(int key) {
  OutlineNode& node = At(key);
  if (node.parent == kNone) return;
  OutlineNode& parent = At(node.parent);
  if (node.prev != kNone) {
    At(node.prev).next = node.next;
    dirty_.insert(node.prev);
  } else {
    parent.first = node.next;
  }
  if (node.next != kNone) {
    At(node.next).prev = node.prev;
    dirty_.insert(node.next);
  } else {
    parent.last = node.prev;
  }
  parent.childCount--;
  dirty_.insert(node.parent);
  int oldParent = node.parent;
  node.parent = node.prev = node.next = kNone;
  dirty_.insert(key);
  Propagate(oldParent, -Contribution(node));
}

void OutlineIndex::Link(int parentKey, int position, int key) {
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
    dirty_.insert(after);
  } else {
    parent.first = key;
  }
  if (before != kNone) {
    At(before).prev = key;
    dirty_.insert(before);
  } else {
    parent.last = key;
  }
  parent.childCount++;
  dirty_.insert(parentKey);
  dirty_.insert(key);
  Propagate(parentKey, Contribution(node));
}

void OutlineIndex::SetOpen(int key, bool open) {
  OutlineNode& node = At(key);
  if (key == kRoot || node.open == open) return;
  int before = Contribution(node);
  node.open = open;
  dirty_.insert(key);
  if (node.parent != kNone) Propagate(node.parent, Contribution(node) - before);
}

std::vector<int> OutlineIndex::TakeDirty() {
  std::vector<int> out(dirty_.begin(), dirty_.end());
  dirty_.clear();
  return out;
}

}  // namespace zelta::pdf
