#include "zelta/app/cab/cab_factory.h"

#include "zelta/app/cab/cab.h"

namespace zelta::app {

HRESULT CabFactory::CreateCab(const char16_t* templateText, int32_t length, const char16_t* rootId,
                              ICab** cab) {
  if (!cab) return E_POINTER;
  *cab = nullptr;
  std::u16string_view text = InString(templateText, length);
  if (text.empty() || !rootId) return E_INVALIDARG;
  ComPtr<Cab> made;
  HRESULT hr = Cab::Create(text, rootId, &made);
  if (Failed(hr)) return hr;
  return made.CopyTo(cab);
}

ComPtr<ICabFactory> MakeCabFactory() { return MakeCom<CabFactory>(); }

}  // namespace zelta::app
