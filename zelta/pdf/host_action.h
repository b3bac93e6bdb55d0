// One action of an outline item: a live view over the action dictionary (or over a bare
// /Dest, which reads as a GoTo action).
#pragma once

#include "host/action.h"
#include "zelta/pdf/host_document.h"

namespace zelta::pdf {

class HostAction final : public ComObject<IHostAction> {
 public:
  // `object` is the action dictionary, or the destination when `bareDest` is set.
  HostAction(ComPtr<HostDocument> document, MuObject object, bool bareDest)
      : document_(std::move(document)), object_(std::move(object)), bareDest_(bareDest) {}

  HRESULT GetType(int32_t* type) override;
  HRESULT GetTypeName(BString* name) override;
  HRESULT GetDestination(PageDestination* dest) override;
  HRESULT GetDestinationName(BString* name) override;
  HRESULT GetFile(BString* file) override;
  HRESULT GetUri(BString* uri) override;
  HRESULT GetScript(BString* script) override;

 private:
  ~HostAction() override = default;
  std::string TypeName();
  int32_t Type();
  // The destination object of GoTo-like actions (null otherwise).
  pdf_obj* Destination();

  ComPtr<HostDocument> document_;
  MuObject object_;
  bool bareDest_;
};

}  // namespace zelta::pdf
