// Process-wide cache of ICU collators, one per (locale, strength), created on first use.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

struct UCollator;

namespace bm::platform {

class CollatorCache {
 public:
  static CollatorCache& Instance();

  // The collator for an ICU locale id ("" is root). ignoreCase selects secondary strength.
  // Null only when ICU cannot open even the root collation. The collator lives as long as
  // the process; comparing with it from several threads at once is safe.
  const UCollator* Get(const std::string& locale, bool ignoreCase);

  // The ICU locale id for collation taken from the environment: "de_DE.UTF-8@euro" gives
  // "de_DE"; "C", "POSIX" and unset give "".
  static std::string LocaleFromEnvironment();

 private:
  struct CloseCollator {
    void operator()(UCollator* c) const;
  };
  using Key = std::pair<std::string, bool>;

  std::mutex mutex_;
  std::map<Key, std::unique_ptr<UCollator, CloseCollator>> collators_;
};

}  // namespace bm::platform
