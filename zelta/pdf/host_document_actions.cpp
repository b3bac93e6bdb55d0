// The document's action services: the action factory and new action lists.
#include "zelta/pdf/host_action_factory.h"
#include "zelta/pdf/host_action_list.h"
#include "zelta/pdf/host_document.h"

namespace zelta::pdf {

HRESULT HostDocument::GetActionFactory(IHostActionFactory** factory) {
  if (!factory) return E_POINTER;
  *factory = nullptr;
  try {
    *factory = MakeCom<HostActionFactory>(ComPtr<HostDocument>(this)).Detach();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT HostDocument::CreateActionList(IHostActionList** actions) {
  if (!actions) return E_POINTER;
  *actions = nullptr;
  try {
    *actions = HostActionList::Empty(ComPtr<HostDocument>(this)).Detach();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

}  // namespace zelta::pdf
