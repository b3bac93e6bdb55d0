#include "platform/bidi_text.h"

#include <unicode/ubidi.h>

#include <algorithm>
#include <memory>

namespace bm::platform {

namespace {

// Whether any code unit may be of a right-to-left script (Hebrew, Arabic, Syriac, Thaana,
// NKo, Samaritan, Mandaic and their presentation forms, or a directional control): text
// without one skips the algorithm.
bool MayBeRightToLeft(std::u16string_view text) {
  return std::any_of(text.begin(), text.end(), [](char16_t c) {
    return (c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) ||
           (c >= 0xFE70 && c <= 0xFEFF) || (c >= 0x200E && c <= 0x200F) ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) ||
           (c >= 0xD800 && c <= 0xDFFF);
  });
}

struct BidiClose {
  void operator()(UBiDi* bidi) const { ubidi_close(bidi); }
};

}  // namespace

VisualText VisualOrder(std::u16string_view logical) {
  VisualText out{std::u16string(logical), false};
  if (logical.empty() || logical.size() > INT32_MAX / 2 || !MayBeRightToLeft(logical)) return out;
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UBiDi, BidiClose> bidi(ubidi_open());
  if (!bidi) return out;
  const auto length = static_cast<int32_t>(logical.size());
  ubidi_setPara(bidi.get(), reinterpret_cast<const UChar*>(logical.data()), length,
                UBIDI_DEFAULT_LTR, nullptr, &status);
  if (U_FAILURE(status)) return out;
  std::u16string visual(logical.size() * 2, u'\0');
  const int32_t written = ubidi_writeReordered(
      bidi.get(), reinterpret_cast<UChar*>(visual.data()), static_cast<int32_t>(visual.size()),
      UBIDI_DO_MIRRORING | UBIDI_REMOVE_BIDI_CONTROLS, &status);
  if (U_FAILURE(status) || written < 0) return out;
  visual.resize(static_cast<size_t>(written));
  out.text = std::move(visual);
  out.rightToLeft = ubidi_getParaLevel(bidi.get()) % 2 == 1;
  return out;
}

}  // namespace bm::platform
