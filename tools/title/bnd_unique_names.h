// The names of a document's named destinations during one conversion run, and the making of
// new, unique ones: the wanted name itself when it is free, else the name followed by "_1",
// "_2" and on (the first that is free).
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>

#include "host/document.h"

namespace bm {

class BndUniqueNames {
 public:
  // Reads every name the document has. E_OUTOFMEMORY, or the host's failure.
  zelta::HRESULT Load(zelta::IHostDocument* document);

  bool Contains(const std::u16string& name) const { return names_.count(name) != 0; }
  // A name not taken yet (it is not taken by this call).
  std::u16string Make(const std::u16string& wanted);
  // Marks a name as taken.
  void Add(const std::u16string& name) { names_.insert(name); }

 private:
  std::unordered_set<std::u16string> names_;
  // Per wanted name, the suffix tried last: names are only ever added during a run, so the
  // search for the next free suffix goes on from there instead of from 1.
  std::unordered_map<std::u16string, uint64_t> nextSuffix_;
};

}  // namespace bm
