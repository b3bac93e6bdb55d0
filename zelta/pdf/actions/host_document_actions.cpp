// The document's action services: the action factory and new action lists.
#include "host/call_guard.h"
#include "zelta/pdf/actions/host_action_factory.h"
#include "zelta/pdf/actions/host_action_list.h"
#include "zelta/pdf/host_document.h"

namespace zelta::pdf {

HRESULT HostDocument::GetActionFactory(IHostActionFactory** factory) {
  if (!factory) return E_POINTER;
  *factory = nullptr;
  return GuardCall(
      [&] { return MakeCom<HostActionFactory>(ComPtr<HostDocument>(this)).CopyTo(factory); });
}

HRESULT HostDocument::CreateActionList(IHostActionList** actions) {
  if (!actions) return E_POINTER;
  *actions = nullptr;
  return GuardCall(
      [&] { return HostActionList::Empty(ComPtr<HostDocument>(this)).CopyTo(actions); });
}

}  // namespace zelta::pdf
