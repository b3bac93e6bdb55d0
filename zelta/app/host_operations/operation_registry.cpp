#include "zelta/app/host_operations/operation_registry.h"

#include <algorithm>
#include <new>

#include "host/call_guard.h"

namespace zelta::app {

HRESULT OperationRegistry::Register(Atom id, HostOperationFactory factory) {
  if (id == kNoAtom || !factory) return E_INVALIDARG;
  factories_[id] = Entry{std::move(factory), false, {}, 0, kNoAtom, 0};
  return S_OK;
}

HRESULT OperationRegistry::Register(Atom id, IOperationFactory* factory,
                                    std::u16string abbreviation, int32_t traits, Atom command) {
  if (id == kNoAtom || !factory) return E_INVALIDARG;
  ComPtr<IOperationFactory> held(factory);
  auto found = factories_.find(id);
  const uint32_t order = found != factories_.end() && found->second.fromModule ? found->second.order
                                                                               : ++registrations_;
  factories_[id] =
      Entry{[held, id](IHostOperation** out) { return held->CreateOperation(id, out); },
            true,
            std::move(abbreviation),
            traits,
            command,
            order};
  return S_OK;
}

std::vector<OperationRegistry::ModuleOperation> OperationRegistry::ModuleOperations() const {
  std::vector<std::pair<uint32_t, ModuleOperation>> ordered;
  for (const auto& [id, entry] : factories_)
    if (entry.fromModule)
      ordered.push_back({entry.order, {id, entry.abbreviation, entry.traits, entry.command}});
  std::sort(ordered.begin(), ordered.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<ModuleOperation> list;
  for (auto& [order, op] : ordered) list.push_back(std::move(op));
  return list;
}

void OperationRegistry::DropModuleFactories() {
  std::map<Atom, Entry> dropped;  // released after the map is consistent again
  for (auto it = factories_.begin(); it != factories_.end();) {
    if (it->second.fromModule) {
      dropped.insert(factories_.extract(it++));
    } else {
      ++it;
    }
  }
}

HRESULT OperationRegistry::Create(Atom id, IHostOperation** operation) const {
  if (!operation) return E_POINTER;
  *operation = nullptr;
  auto found = factories_.find(id);
  if (found == factories_.end()) return E_INVALIDARG;
  HRESULT hr = GuardCall([&] { return found->second.make(operation); });
  if (Failed(hr)) {
    if (*operation) (*operation)->Release();
    *operation = nullptr;
    return hr;
  }
  return *operation ? hr : E_FAIL;
}

}  // namespace zelta::app
