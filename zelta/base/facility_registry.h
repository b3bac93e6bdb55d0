// The process-wide registry of result-code families (facilities): number, name and own
// message table. One lock guards every change and lookup; lookups hand out copies so that
// texts are built outside the lock.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/results.h"

namespace zelta::base {

class FacilityRegistry {
 public:
  static FacilityRegistry& Instance();

  // Adds a facility. The first use of the registry also adds the built-in facilities.
  // Returns false when the number is already registered (nothing changes) or the number is
  // outside the nine facility bits. Null texts in the table are skipped.
  bool Register(uint16_t number, const FacilityMessage* table, size_t rows,
                std::u16string_view name);
  // Removes a facility; false when it was not registered. Later entries close the gap.
  bool Unregister(uint16_t number);

  // What the registry knows of a code of a facility, copied out under the lock.
  struct Lookup {
    std::u16string name;
    std::optional<std::u16string> ownText;  // from the facility's own table only
  };
  // nullopt when the facility is not registered.
  std::optional<Lookup> Find(uint16_t number, uint16_t code);
  bool Contains(uint16_t number);
  size_t Count();

 private:
  struct Entry {
    uint16_t number;
    std::u16string name;
    std::vector<std::pair<uint16_t, std::u16string>> messages;
  };

  FacilityRegistry() = default;
  // Caller holds mutex_.
  void EnsureBuiltIns();
  bool AddLocked(uint16_t number, const FacilityMessage* table, size_t rows,
                 std::u16string_view name);
  const Entry* FindLocked(uint16_t number) const;

  std::mutex mutex_;
  bool builtInsAdded_ = false;
  std::vector<Entry> entries_;
};

}  // namespace zelta::base
