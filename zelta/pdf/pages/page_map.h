// Page object numbers to page indexes, built once on first use (a destination names its page
// by reference, and looking each one up in the page tree again would cost a walk per call).
#pragma once

#include <unordered_map>
#include <vector>

#include "zelta/pdf/mu_calls.h"

namespace zelta::pdf {

class PageMap {
 public:
  // The 0-based index of the page that `pageRef` refers to, or -1 when it is no page of the
  // document.
  int IndexOf(MuCalls& mu, pdf_obj* pageRef);
  // The object number of the page at a 0-based index, or 0 when there is none. Pages below
  // kDirectLookups are looked up in the tree while the map is not built.
  int ObjectNumber(MuCalls& mu, int index);
  // Forgets the map (after pages were added or removed).
  void Invalidate() { built_ = false; }

 private:
  static constexpr int kDirectLookups = 32;

  void Build(MuCalls& mu);
  // Lists the page objects in one walk of the page tree; false when the tree is damaged.
  bool WalkPageTree(MuCalls& mu);

  bool built_ = false;
  std::unordered_map<int, int> indexByNum_;
  std::vector<int> numByIndex_;
};

}  // namespace zelta::pdf
