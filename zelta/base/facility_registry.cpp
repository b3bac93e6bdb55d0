#include "zelta/base/facility_registry.h"

#include <algorithm>
#include <iterator>

namespace zelta::base {
namespace {

constexpr uint16_t kMaxFacility = 0x1FF;

constexpr FacilityMessage kIoMessages[] = {
    {0x1001, u"Unexpected error reading from file"},
    {0x1002, u"Unexpected error writing to file"},
};
constexpr FacilityMessage kFrameBufferMessages[] = {
    {0x1001, u"Too many rectangles requested"},
    {0x1002, u"Rectangle intersects with another one"},
    {0x1003, u"Error accessing temporary file"},
};

}  // namespace

FacilityRegistry& FacilityRegistry::Instance() {
  // Never destroyed: results may be described while static objects are torn down.
  static FacilityRegistry* registry = new FacilityRegistry();
  return *registry;
}

void FacilityRegistry::EnsureBuiltIns() {
  if (builtInsAdded_) return;
  builtInsAdded_ = true;
  AddLocked(2, kIoMessages, std::size(kIoMessages), u"IO subsystem");
  AddLocked(0, nullptr, 0, u"Common");
  AddLocked(13, kFrameBufferMessages, std::size(kFrameBufferMessages), u"Frame buffer");
  AddLocked(1, nullptr, 0, u"Memory subsystem");
  AddLocked(511, nullptr, 0, u"Operating system");
}

bool FacilityRegistry::AddLocked(uint16_t number, const FacilityMessage* table, size_t rows,
                                 std::u16string_view name) {
  if (number > kMaxFacility || FindLocked(number)) return false;
  Entry entry{number, std::u16string(name), {}};
  if (table) {
    entry.messages.reserve(rows);
    for (size_t i = 0; i < rows; ++i)
      if (table[i].text) entry.messages.emplace_back(table[i].code, table[i].text);
  }
  entries_.push_back(std::move(entry));
  return true;
}

const FacilityRegistry::Entry* FacilityRegistry::FindLocked(uint16_t number) const {
  for (const Entry& entry : entries_)
    if (entry.number == number) return &entry;
  return nullptr;
}

bool FacilityRegistry::Register(uint16_t number, const FacilityMessage* table, size_t rows,
                                std::u16string_view name) {
  std::lock_guard<std::mutex> lock(mutex_);
  EnsureBuiltIns();
  return AddLocked(number, table, rows, name);
}

bool FacilityRegistry::Unregister(uint16_t number) {
  std::lock_guard<std::mutex> lock(mutex_);
  EnsureBuiltIns();
  auto it = std::find_if(entries_.begin(), entries_.end(),
                         [number](const Entry& e) { return e.number == number; });
  if (it == entries_.end()) return false;
  entries_.erase(it);
  return true;
}

bool FacilityRegistry::Contains(uint16_t number) {
  std::lock_guard<std::mutex> lock(mutex_);
  EnsureBuiltIns();
  return FindLocked(number) != nullptr;
}

std::optional<FacilityRegistry::Lookup> FacilityRegistry::Find(uint16_t number, uint16_t code) {
  std::lock_guard<std::mutex> lock(mutex_);
  EnsureBuiltIns();
  const Entry* entry = FindLocked(number);
  if (!entry) return std::nullopt;
  Lookup found{entry->name, std::nullopt};
  for (const auto& [messageCode, text] : entry->messages) {
    if (messageCode == code) {
      found.ownText = text;
      break;
    }
  }
  return found;
}

size_t FacilityRegistry::Count() {
  std::lock_guard<std::mutex> lock(mutex_);
  EnsureBuiltIns();
  return entries_.size();
}

}  // namespace zelta::base
