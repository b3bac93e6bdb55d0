#include "tools/title/bnd_unique_names.h"

#include <new>

#include "framework/host_strings.h"

namespace bm {

zelta::HRESULT BndUniqueNames::Load(zelta::IHostDocument* document) {
  names_.clear();
  nextSuffix_.clear();
  if (!document) return zelta::E_POINTER;
  int32_t count = 0;
  zelta::HRESULT hr = document->GetNamedDestCount(&count);
  if (zelta::Failed(hr)) return hr;
  names_.reserve(static_cast<size_t>(count > 0 ? count : 0));
  for (int32_t i = 0; i < count; ++i) {
    zelta::OwnedString name;
    if (document->GetNamedDestName(i, name.Put()) == zelta::S_OK) names_.insert(name.Str());
  }
  return zelta::S_OK;
}

std::u16string BndUniqueNames::Make(const std::u16string& wanted) {
  if (!Contains(wanted)) return wanted;
  uint64_t& suffix = nextSuffix_[wanted];
  std::u16string name;
  do {
    ++suffix;
    name = wanted + u"_" + NumberText(suffix);
  } while (Contains(name));
  return name;
}

}  // namespace bm
