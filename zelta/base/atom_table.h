// The process-wide table of interned id strings.
#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "host/com.h"

namespace zelta::base {

// Gives every distinct text one atom for the life of the process. Atoms count from 1 in the
// order of first interning; kNoAtom is never handed out. Safe to use from any thread: module
// dialogs may intern from their callbacks.
class AtomTable {
 public:
  // The one table of the process. Plug-ins keep atoms in their own process-wide tables, so
  // every host object in the process must agree on them.
  static AtomTable& Global();

  // kNoAtom for empty text.
  Atom Intern(std::u16string_view text);
  Atom Intern(std::string_view utf8);
  // nullopt for an atom never handed out.
  std::optional<std::u16string> Text(Atom atom) const;
  // The text as UTF-8 ("" for an unknown atom), for messages and printing.
  std::string Utf8(Atom atom) const;
  size_t Size() const;

 private:
  mutable std::mutex mutex_;
  std::unordered_map<std::u16string, Atom> byText_;
  std::deque<std::u16string> texts_;  // texts_[atom - 1]
};

// Shorthand for AtomTable::Global().Intern(utf8).
Atom Intern(std::string_view utf8);

}  // namespace zelta::base
