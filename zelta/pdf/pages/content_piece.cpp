#include "zelta/pdf/pages/content_piece.h"

#include <limits>

namespace zelta::pdf {

HRESULT ContentPiece::GetSize(int32_t* bytes) {
  if (!bytes) return E_POINTER;
  *bytes =
      static_cast<int32_t>(std::min<size_t>(bytes_.size(), std::numeric_limits<int32_t>::max()));
  return S_OK;
}

}  // namespace zelta::pdf
