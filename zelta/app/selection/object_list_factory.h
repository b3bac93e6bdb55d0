// The "LST" component: makes the host's object lists.
#pragma once

#include "host/object_list.h"

namespace zelta::app {

class ObjectListFactory final : public ComObject<IObjectListFactory> {
 public:
  HRESULT CreateObjectList(IHostObjectList** list) override;

 private:
  ~ObjectListFactory() override = default;
};

}  // namespace zelta::app
