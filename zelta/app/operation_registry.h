// The host operations the application can create by id ("op.bookmarks.delete", ...).
#pragma once

#include <functional>
#include <map>

#include "host/operation.h"

namespace zelta::app {

// Makes a fresh operation object; answers its failure through the HRESULT.
using HostOperationFactory = std::function<HRESULT(IHostOperation** operation)>;

class OperationRegistry {
 public:
  // Adds or replaces the factory of an id. E_INVALIDARG for kNoAtom or an empty factory.
  HRESULT Register(Atom id, HostOperationFactory factory);
  // The same for a module's factory object, which is asked with the id.
  HRESULT Register(Atom id, IOperationFactory* factory);
  // Forgets the modules' factories (at shutdown: they hold module objects).
  void DropModuleFactories();
  // E_INVALIDARG for an unknown id; E_FAIL when the factory reported success and gave
  // nothing.
  HRESULT Create(Atom id, IHostOperation** operation) const;
  bool Has(Atom id) const { return factories_.count(id) != 0; }

 private:
  struct Entry {
    HostOperationFactory make;
    bool fromModule = false;
  };
  std::map<Atom, Entry> factories_;
};

}  // namespace zelta::app
