#include "zelta/app/cab/cab_schema.h"

#include <mutex>
#include <new>

#include "host/call_guard.h"
#include "zelta/app/cab/cab_schema_parser.h"

namespace zelta::app {
namespace {

// Every operation creates a Cab from the same few templates, so a handful of entries is
// plenty; a failed parse is remembered too so a bad template is not parsed over and over.
constexpr size_t kMaxCachedTemplates = 8;

struct CachedSchema {
  HRESULT result = S_OK;
  std::string error;
  std::shared_ptr<const CabSchema> schema;
};

}  // namespace

HRESULT CabSchema::FromText(std::u16string_view text, std::shared_ptr<const CabSchema>* schema,
                            std::string* error) {
  if (!schema) return E_POINTER;
  schema->reset();
  if (text.empty()) {
    if (error) *error = "the template text is empty";
    return E_INVALIDARG;
  }
  static std::mutex mutex;
  static std::map<std::u16string, CachedSchema, std::less<>> cache;
  return GuardCall([&]() -> HRESULT {
    std::lock_guard lock(mutex);
    auto found = cache.find(text);
    if (found == cache.end()) {
      CachedSchema entry;
      auto parsed = std::make_shared<CabSchema>();
      entry.result = CabSchemaParser::Parse(text, parsed.get(), &entry.error);
      if (Succeeded(entry.result)) entry.schema = std::move(parsed);
      if (entry.result == E_OUTOFMEMORY) return E_OUTOFMEMORY;  // not a property of the text
      if (cache.size() >= kMaxCachedTemplates) cache.clear();
      found = cache.emplace(std::u16string(text), std::move(entry)).first;
    }
    if (error) *error = found->second.error;
    *schema = found->second.schema;
    return found->second.result;
  });
}

const CabItemDesc* CabSchema::Root(std::u16string_view id) const {
  auto found = roots_.find(id);
  return found == roots_.end() ? nullptr : found->second;
}

}  // namespace zelta::app
