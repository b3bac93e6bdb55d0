#include "zelta/pdf/fonts/font_handle.h"

#include "zelta/base/text_codec.h"
#include "zelta/pdf/text/pdf_text.h"

namespace zelta::pdf {

HRESULT FontHandle::GetId(uint32_t* id) {
  if (!id) return E_POINTER;
  *id = id_;
  return S_OK;
}

HRESULT FontHandle::GetName(BString* name) {
  return ReturnString(base::LossyUtf16(entry_.name), name);
}

HRESULT FontHandle::GetFullName(BString* name) {
  return ReturnString(base::LossyUtf16(entry_.fullName), name);
}

HRESULT FontHandle::GetFlags(int32_t* flags) {
  if (!flags) return E_POINTER;
  *flags = entry_.flags;
  return S_OK;
}

}  // namespace zelta::pdf
