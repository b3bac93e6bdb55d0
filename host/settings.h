// The plug-in's settings node in the host's persisted settings store.
#pragma once

#include "host/cab.h"
#include "host/com.h"

namespace zelta {

struct IHostSettings : IUnknown {
  static constexpr Guid kIid{0x5A1E0A01, 0x0001, 0x4C0B, {0x9A, 0x10, 0, 0, 0, 0, 0, 19}};
  // Shapes the node by a template root: every item the template declares and the node lacks
  // is added with its default; stored values of the right type are kept; stored items that
  // the template does not know are kept as they are.
  virtual HRESULT AttachTemplate(const char16_t* templateText, int32_t length,
                                 const char16_t* rootId) = 0;
  // The node's root Dictionary (empty before AttachTemplate).
  virtual HRESULT GetRoot(ICabItem** root) = 0;
};

}  // namespace zelta
