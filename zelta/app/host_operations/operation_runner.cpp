#include "zelta/app/host_operations/operation_runner.h"

#include "host/call_guard.h"

namespace zelta::app {

HRESULT OperationRunner::Run(IHostOperation* operation, int32_t flags, intptr_t extra) {
  if (!operation) return E_POINTER;
  ComPtr<IHostOperation> keep(operation);
  OperationRun run;
  run.operation = keep;
  operation->GetOperationId(&run.id);
  ++depth_;
  run.result = GuardCall([&] { return operation->Do(flags, extra); });
  --depth_;
  HRESULT result = run.result;
  last_ = std::move(run);
  return result;
}

}  // namespace zelta::app
