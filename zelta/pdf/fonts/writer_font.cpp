#include "zelta/pdf/fonts/writer_font.h"

#include "zelta/base/text_codec.h"

namespace zelta::pdf {

HRESULT WriterFont::GetRequestedName(BString* name) { return ReturnString(requested_, name); }

HRESULT WriterFont::GetName(BString* name) {
  return ReturnString(base::LossyUtf16(face_->Name()), name);
}

HRESULT WriterFont::IsSubstitute(bool* substitute) {
  if (!substitute) return E_POINTER;
  *substitute = substitute_;
  return S_OK;
}

}  // namespace zelta::pdf
