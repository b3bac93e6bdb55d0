#include "zelta/pdf/fonts/font_table.h"

namespace zelta::pdf {

FontTable& FontTable::Instance() {
  static FontTable table;
  return table;
}

uint32_t FontTable::IdFor(const std::string& fullName, int32_t flags) {
  std::lock_guard lock(mutex_);
  auto found = ids_.find(fullName);
  if (found != ids_.end()) return found->second;
  entries_.push_back(FontEntry{fullName, StripSubsetTag(fullName), flags});
  auto id = static_cast<uint32_t>(entries_.size());
  ids_.emplace(fullName, id);
  return id;
}

std::optional<FontEntry> FontTable::Find(uint32_t id) const {
  std::lock_guard lock(mutex_);
  if (id == 0 || id > entries_.size()) return std::nullopt;
  return entries_[id - 1];
}

std::string FontTable::StripSubsetTag(const std::string& fullName) {
  if (fullName.size() < 7 || fullName[6] != '+') return fullName;
  for (size_t i = 0; i < 6; ++i)
    if (fullName[i] < 'A' || fullName[i] > 'Z') return fullName;
  return fullName.substr(7);
}

}  // namespace zelta::pdf
