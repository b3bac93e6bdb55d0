// The frame of the host's page and annotation operations: the parameter Cab and the objects
// of its "Input". Each operation makes its change in Do and records its undo item.
#pragma once

#include <vector>

#include "host/cab.h"
#include "host/operation.h"

namespace zelta::app {

class HostObjectOperation : public ComObject<IHostOperation> {
 public:
  HRESULT GetOperationId(Atom* id) override;
  HRESULT GetParams(ICab** params) override;
  HRESULT GetKind(int32_t* kind) override;
  HRESULT ShowDialog(WindowHandle owner, intptr_t extra) override;
  HRESULT GetObject(Atom id, IUnknown** object) override;

 protected:
  HostObjectOperation(Atom id, ComPtr<ICab> params) : id_(id), params_(std::move(params)) {}
  ~HostObjectOperation() override = default;

  // The objects of "Input" in order; E_INVALIDARG for a null element.
  HRESULT InputObjects(std::vector<ComPtr<IUnknown>>* objects) const;
  ComPtr<ICabItem> Options() const;
  // The undo label: the operation id.
  std::u16string Label() const;

 private:
  Atom id_;
  ComPtr<ICab> params_;
};

}  // namespace zelta::app
