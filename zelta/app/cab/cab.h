// A parameter dictionary made from one template root: the ICab that the AUX component hands
// out. It owns the root item; items taken from it may outlive it.
#pragma once

#include "host/cab.h"
#include "zelta/app/cab/cab_item.h"

namespace zelta::app {

class Cab final : public ComObject<ICab> {
 public:
  // A Cab for `rootId` of the template `text`, every item at its default. E_INVALIDARG for
  // an empty text or an unknown root, E_FAIL for a malformed template (reason in *error).
  static HRESULT Create(std::u16string_view text, std::u16string_view rootId, ComPtr<Cab>* cab,
                        std::string* error = nullptr);

  CabItem* Root() const { return root_.Get(); }

  HRESULT GetRoot(ICabItem** root) override;
  HRESULT Clone(ICab** copy) override;

 private:
  friend struct zelta::ComAccess;
  explicit Cab(ComPtr<CabItem> root) : root_(std::move(root)) {}

  ComPtr<CabItem> root_;
};

}  // namespace zelta::app
