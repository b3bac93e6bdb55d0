#include "zelta/app/object_list_factory.h"

#include <new>

#include "zelta/app/object_list.h"

namespace zelta::app {

HRESULT ObjectListFactory::CreateObjectList(IHostObjectList** list) {
  if (!list) return E_POINTER;
  *list = nullptr;
  try {
    *list = MakeCom<ObjectList>().Detach();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

}  // namespace zelta::app
