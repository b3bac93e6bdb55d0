#include "zelta/app/selection/object_list_factory.h"

#include <new>

#include "host/call_guard.h"
#include "zelta/app/selection/object_list.h"

namespace zelta::app {

HRESULT ObjectListFactory::CreateObjectList(IHostObjectList** list) {
  if (!list) return E_POINTER;
  *list = nullptr;
  return GuardCall([&] { return MakeCom<ObjectList>().CopyTo(list); });
}

}  // namespace zelta::app
