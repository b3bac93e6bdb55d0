// The host operations the application can create by id ("op.bookmarks.delete", ...).
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host/operation.h"

namespace zelta::app {

// Makes a fresh operation object; answers its failure through the HRESULT.
using HostOperationFactory = std::function<HRESULT(IHostOperation** operation)>;

class OperationRegistry {
 public:
  // Adds or replaces the factory of an id. E_INVALIDARG for kNoAtom or an empty factory.
  HRESULT Register(Atom id, HostOperationFactory factory);
  // The same for a module's factory object, which is asked with the id, with the name,
  // traits and menu command the module gives the operation.
  HRESULT Register(Atom id, IOperationFactory* factory, std::u16string abbreviation = {},
                   int32_t traits = 0, Atom command = kNoAtom);
  // Forgets the modules' factories (at shutdown: they hold module objects).
  void DropModuleFactories();
  // E_INVALIDARG for an unknown id; E_FAIL when the factory reported success and gave
  // nothing.
  HRESULT Create(Atom id, IHostOperation** operation) const;
  bool Has(Atom id) const { return factories_.count(id) != 0; }

  // A module's operation as it registered it.
  struct ModuleOperation {
    Atom id;
    std::u16string abbreviation;  // empty for an operation users do not name
    int32_t traits;               // OperationTraits
    Atom command;                 // the menu command that runs it; kNoAtom for none
  };
  // The modules' operations, in the order they were first registered.
  std::vector<ModuleOperation> ModuleOperations() const;

 private:
  struct Entry {
    HostOperationFactory make;
    bool fromModule = false;
    std::u16string abbreviation;
    int32_t traits = 0;
    Atom command = kNoAtom;
    uint32_t order = 0;  // registration order of a module's entry
  };
  std::map<Atom, Entry> factories_;
  uint32_t registrations_ = 0;
};

}  // namespace zelta::app
