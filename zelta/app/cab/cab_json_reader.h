// Applies a JSON value to a Cab item, in a strict mode (the first problem is an error) or a
// lenient one (problems become warnings and the item keeps its value). Problems are named by
// the dotted path of the item: "Options.Levels[0].Flags".
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "host/cab.h"

namespace zelta::app {

class CabJsonReader {
 public:
  // Strict: stops at the first problem. Lenient: collects warnings (may be null) and goes on.
  static CabJsonReader Strict() { return CabJsonReader(false, nullptr); }
  static CabJsonReader Lenient(std::vector<std::string>* warnings) {
    return CabJsonReader(true, warnings);
  }

  // Applies value to item at `path`. Strict mode: E_INVALIDARG and Error() at the first
  // problem (the item may be partly changed). Lenient mode: S_OK unless out of memory.
  HRESULT Apply(ICabItem* item, const nlohmann::json& value, const std::string& path);
  const std::string& Error() const { return error_; }

  // Strict and all-or-nothing: applies value to a copy of target and takes the copy over only
  // when every part applied; otherwise E_INVALIDARG, *error set, target unchanged.
  static HRESULT ApplyAll(ICabItem* target, const nlohmann::json& value, const std::string& path,
                          std::string* error);

  // A dotted path extended by a field name or an element index.
  static std::string Join(const std::string& path, const std::string& name);
  static std::string Index(const std::string& path, size_t index);
  // The type of an array's elements (kCabEmpty when it cannot be told).
  static int32_t ElementType(ICabItem* array);
  // "an integer", "a string", ... for a Cab type code.
  static const char* Expected(int32_t type);

 private:
  CabJsonReader(bool lenient, std::vector<std::string>* warnings)
      : lenient_(lenient), warnings_(warnings) {}
  // Records a problem; returns the result Apply gives for it.
  HRESULT Problem(const std::string& path, const std::string& message);
  HRESULT ApplyScalar(ICabItem* item, int32_t type, const nlohmann::json& value,
                      const std::string& path);
  HRESULT ApplyObject(ICabItem* item, const nlohmann::json& value, const std::string& path);
  HRESULT ApplyArray(ICabItem* item, const nlohmann::json& value, const std::string& path);

  bool lenient_;
  std::vector<std::string>* warnings_;
  std::string error_;
};

}  // namespace zelta::app
