#include "zelta/base/atom_table.h"

#include "zelta/base/text_codec.h"

namespace zelta::base {

AtomTable& AtomTable::Global() {
  static AtomTable table;
  return table;
}

Atom AtomTable::Intern(std::u16string_view text) {
  if (text.empty()) return kNoAtom;
  std::lock_guard lock(mutex_);
  auto found = byText_.find(std::u16string(text));
  if (found != byText_.end()) return found->second;
  texts_.emplace_back(text);
  auto atom = static_cast<Atom>(texts_.size());
  byText_.emplace(texts_.back(), atom);
  return atom;
}

Atom AtomTable::Intern(std::string_view utf8) { return Intern(LossyUtf16(utf8)); }

std::optional<std::u16string> AtomTable::Text(Atom atom) const {
  std::lock_guard lock(mutex_);
  if (atom == kNoAtom || atom > texts_.size()) return std::nullopt;
  return texts_[atom - 1];
}

std::string AtomTable::Utf8(Atom atom) const {
  auto text = Text(atom);
  return text ? LossyUtf8(*text) : std::string();
}

size_t AtomTable::Size() const {
  std::lock_guard lock(mutex_);
  return texts_.size();
}

Atom Intern(std::string_view utf8) { return AtomTable::Global().Intern(utf8); }

}  // namespace zelta::base
