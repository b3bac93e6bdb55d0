#include "zelta/app/operation_registry.h"

#include <new>

namespace zelta::app {

HRESULT OperationRegistry::Register(Atom id, HostOperationFactory factory) {
  if (id == kNoAtom || !factory) return E_INVALIDARG;
  factories_[id] = Entry{std::move(factory), false};
  return S_OK;
}

HRESULT OperationRegistry::Register(Atom id, IOperationFactory* factory) {
  if (id == kNoAtom || !factory) return E_INVALIDARG;
  ComPtr<IOperationFactory> held(factory);
  factories_[id] = Entry{[held, id](IHostOperation** out) { return held->CreateOperation(id, out); }, true};
  return S_OK;
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
  HRESULT hr;
  try {
    hr = found->second.make(operation);
  } catch (const std::bad_alloc&) {
    hr = E_OUTOFMEMORY;
  } catch (...) {
    hr = E_FAIL;
  }
  if (Failed(hr)) {
    if (*operation) (*operation)->Release();
    *operation = nullptr;
    return hr;
  }
  return *operation ? hr : E_FAIL;
}

}  // namespace zelta::app
