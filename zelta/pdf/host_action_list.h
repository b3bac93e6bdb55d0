// The ordered actions of an outline item: its /Dest (as a GoTo action), then /A followed by
// its /Next chain, flattened depth-first. The chain is walked once, without recursion and
// with a visited set, so a looping /Next ends the list instead of hanging.
#pragma once

#include <vector>

#include "host/action.h"
#include "zelta/pdf/host_action.h"
#include "zelta/pdf/host_document.h"

namespace zelta::pdf {

class HostActionList final : public ComObject<IHostActionList> {
 public:
  // Longest action list read; longer chains are cut.
  static constexpr size_t kMaxActions = 10000;

  // The actions of outline item `key` (empty for the root).
  static ComPtr<HostActionList> ForItem(const ComPtr<HostDocument>& document, int key);

  HRESULT GetCount(int32_t* count) override;
  HRESULT GetItem(int32_t index, IHostAction** action) override;

 private:
  HostActionList() = default;
  ~HostActionList() override = default;

  std::vector<ComPtr<HostAction>> actions_;
};

}  // namespace zelta::pdf
