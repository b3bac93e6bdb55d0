// Checks a document's page tree against the /Count values it claims before anything relies on
// them. MuPDF takes /Count on trust (it sizes tables and indexes pages by it), so a negative or
// inflated count in a damaged file would cost memory and time out of all proportion to the
// file. The walk visits each object once, so its work is bounded by the file's real objects.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "zelta/pdf/mu_calls.h"

namespace zelta::pdf {

class PageTreeCheck {
 public:
  // Counts the pages each node of the tree really holds and writes that count over every
  // /Count that differs, with a warning. A damaged link (a loop, a kid that is no object,
  // nesting deeper than kMaxDepth) is skipped with a warning. Fails, with *error naming the
  // page tree, only when the tree cannot be walked at all while the root claims pages.
  static HRESULT Repair(MuCalls& mu, std::vector<std::string>* warnings, std::string* error);

  // Whether a node's kids can be taken as pages without reading them: its /Count equals the
  // number of its kids, and they are distinct references none of which `visited` holds (they
  // are added to it). The claim is then bounded by the array the node stores, and reading
  // every page object of a long document would be most of the cost of opening it.
  static bool KidsArePages(MuCalls& mu, pdf_obj* node, pdf_obj* kids,
                           std::unordered_set<int>* visited);

  static constexpr size_t kMaxDepth = 64;
};

}  // namespace zelta::pdf
