// The host's operation runner: runs operations in the host's frame and remembers the last run.
#pragma once

#include <optional>

#include "host/operation.h"

namespace zelta::app {

struct OperationRun {
  ComPtr<IHostOperation> operation;
  Atom id = kNoAtom;
  HRESULT result = S_OK;
};

class OperationRunner {
 public:
  // Calls operation->Do(flags, extra) and records the run. Runs may nest (a plug-in operation
  // running host operations); each is recorded as it ends, so after the outer run returns it
  // is the last one. An exception escaping Do becomes E_FAIL (E_OUTOFMEMORY for bad_alloc).
  HRESULT Run(IHostOperation* operation, int32_t flags, intptr_t extra);

  const std::optional<OperationRun>& LastRun() const { return last_; }
  int Depth() const { return depth_; }
  void Forget() { last_.reset(); }

 private:
  std::optional<OperationRun> last_;
  int depth_ = 0;
};

}  // namespace zelta::app
