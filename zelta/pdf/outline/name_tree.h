// Name trees (/Names) and number trees (/Nums): a cycle-safe, depth-capped reader, and
// insertion and removal that keep a name tree sorted with exact /Limits.
#pragma once

#include <string>
#include <vector>

#include "host/com.h"
#include "zelta/pdf/mu_calls.h"

namespace zelta::pdf {

class NameTree {
 public:
  static constexpr int kMaxDepth = 32;

  struct Entry {
    std::string name;  // string key bytes (name trees)
    int number = 0;    // integer key (number trees)
    MuObject value;
  };

  // Collects the leaves of the tree under `root` in tree order. `leafKey` is "Names" or
  // "Nums". Loops, too deep nesting and malformed nodes are skipped and described in
  // `warnings` (prefixed with `what`).
  static std::vector<Entry> Collect(MuCalls& mu, pdf_obj* root, const char* leafKey,
                                    const std::string& what, std::vector<std::string>* warnings);

  // Adds or replaces `name` in the name tree under `root`.
  static HRESULT Insert(MuCalls& mu, pdf_obj* root, const std::string& name, pdf_obj* value);
  // Removes `name`; *removed tells whether it was there. Emptied subtrees are taken out.
  static HRESULT Remove(MuCalls& mu, pdf_obj* root, const std::string& name, bool* removed);
};

}  // namespace zelta::pdf
