#include "zelta/app/operation_runner.h"

#include <new>

namespace zelta::app {

HRESULT OperationRunner::Run(IHostOperation* operation, int32_t flags, intptr_t extra) {
  if (!operation) return E_POINTER;
  ComPtr<IHostOperation> keep(operation);
  OperationRun run;
  run.operation = keep;
  operation->GetOperationId(&run.id);
  ++depth_;
  try {
    run.result = operation->Do(flags, extra);
  } catch (const std::bad_alloc&) {
    run.result = E_OUTOFMEMORY;
  } catch (...) {
    run.result = E_FAIL;
  }
  --depth_;
  HRESULT result = run.result;
  last_ = std::move(run);
  return result;
}

}  // namespace zelta::app
