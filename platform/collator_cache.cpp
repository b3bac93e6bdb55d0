#include "platform/collator_cache.h"

#include <unicode/ucol.h>

#include <cstdlib>

namespace bm::platform {

CollatorCache& CollatorCache::Instance() {
  // Never destroyed: comparisons may still run while static objects are torn down.
  static CollatorCache* cache = new CollatorCache();
  return *cache;
}

void CollatorCache::CloseCollator::operator()(UCollator* c) const { ucol_close(c); }

const UCollator* CollatorCache::Get(const std::string& locale, bool ignoreCase) {
  std::lock_guard<std::mutex> lock(mutex_);
  Key key{locale, ignoreCase};
  auto found = collators_.find(key);
  if (found != collators_.end()) return found->second.get();

  UErrorCode status = U_ZERO_ERROR;
  UCollator* collator = ucol_open(locale.c_str(), &status);
  if (U_FAILURE(status) || !collator) {
    if (collator) ucol_close(collator);
    if (locale.empty()) return nullptr;
    status = U_ZERO_ERROR;
    collator = ucol_open("", &status);
    if (U_FAILURE(status) || !collator) return nullptr;
  }
  // Secondary strength ignores case (a tertiary difference) but keeps accents.
  ucol_setStrength(collator, ignoreCase ? UCOL_SECONDARY : UCOL_TERTIARY);
  auto& slot = collators_[key];
  slot.reset(collator);
  return collator;
}

std::string CollatorCache::LocaleFromEnvironment() {
  const char* value = nullptr;
  for (const char* name : {"LC_ALL", "LC_COLLATE", "LANG"}) {
    const char* v = std::getenv(name);
    if (v && *v) {
      value = v;
      break;
    }
  }
  if (!value) return {};
  std::string locale(value);
  // POSIX ids carry an encoding and a modifier that ICU does not take: "de_DE.UTF-8@euro".
  locale = locale.substr(0, locale.find_first_of(".@"));
  if (locale.empty() || locale == "C" || locale == "POSIX") return {};
  return locale;
}

}  // namespace bm::platform
