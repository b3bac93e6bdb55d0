// An icon of the host's fixed set, known by its id.
#pragma once

#include "host/commands.h"

namespace zelta::ui {

class HostIcon : public ComObject<IHostIcon> {
 public:
  explicit HostIcon(Atom id) : id_(id) {}
  HRESULT GetId(Atom* id) override {
    if (!id) return E_POINTER;
    *id = id_;
    return S_OK;
  }

 private:
  Atom id_;
};

}  // namespace zelta::ui
