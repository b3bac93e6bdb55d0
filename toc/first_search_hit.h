// The callback of a host text search that keeps the first hit and ends the search there.
#pragma once

#include <optional>

#include "host/search.h"

namespace bm {

class FirstSearchHit final : public zelta::ComObject<zelta::ISearchHitCallback> {
 public:
  zelta::HRESULT OnHit(int32_t, const zelta::PageBox* box) override {
    if (!box) return zelta::E_POINTER;
    hit_ = *box;
    return zelta::S_FALSE;
  }
  const std::optional<zelta::PageBox>& Hit() const { return hit_; }

 private:
  friend struct zelta::ComAccess;
  FirstSearchHit() = default;
  ~FirstSearchHit() override = default;
  std::optional<zelta::PageBox> hit_;
};

}  // namespace bm
