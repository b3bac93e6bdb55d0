// The document's named destinations: the /Names /Dests name tree and the legacy /Dests
// dictionary, read into one index on first use (names tree first; a name in both stores
// counts once and resolves through the tree). Resolved destinations are cached; any change
// drops the index and the cache.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/action.h"
#include "zelta/pdf/mu_calls.h"
#include "zelta/pdf/pages/page_map.h"

namespace zelta::pdf {

class NamedDests {
 public:
  // Null when the name is unknown or does not lead to a page of this document.
  std::optional<PageDestination> Resolve(MuCalls& mu, PageMap& pages, const std::u16string& name);
  // Looks a destination up by the raw PDF key: string bytes (name tree) or name (legacy).
  std::optional<PageDestination> ResolveRaw(MuCalls& mu, PageMap& pages, pdf_obj* key);
  HRESULT Add(MuCalls& mu, PageMap& pages, const std::u16string& name, const PageDestination& dest);
  // *removed tells whether the name was in either store.
  HRESULT Remove(MuCalls& mu, const std::u16string& name, bool* removed);
  int Count(MuCalls& mu);
  // Null for an index out of range.
  const std::u16string* NameAt(MuCalls& mu, int index);
  // Damage met while reading the stores.
  const std::vector<std::string>& Warnings() const { return warnings_; }
  void Invalidate();

 private:
  struct Entry {
    std::u16string name;
    std::string legacyKey;  // the name object's text when it comes from the legacy dictionary
    MuObject value;
  };
  void Build(MuCalls& mu);

  bool built_ = false;
  std::vector<Entry> entries_;
  std::unordered_map<std::u16string, size_t> byName_;
  std::unordered_map<std::u16string, std::optional<PageDestination>> resolved_;
  std::vector<std::string> warnings_;
};

}  // namespace zelta::pdf
