// What a validation run tells whoever watches it (the validation dialog): the total, each
// record as it is found, and the end; it may also stop the run.
#pragma once

#include <cstdint>

#include "host/bookmark.h"

namespace bm {

class ValidationListener {
 public:
  virtual ~ValidationListener() = default;
  // Once, before the first bookmark: the number of bookmarks below the outline root.
  virtual void OnTotal(double total) = 0;
  // Before each bookmark: true ends the run with E_CANCELLED.
  virtual bool IsCancelled() = 0;
  // An invalid bookmark and its warning bits, the moment it is found.
  virtual void OnRecord(zelta::IHostBookmark* bookmark, int32_t warnings) = 0;
  // Once, when the run ends, whatever its result.
  virtual void OnFinished(zelta::HRESULT result) = 0;
};

}  // namespace bm
