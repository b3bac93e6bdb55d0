#include "zelta/app/cab/cab.h"

#include <new>

#include "host/call_guard.h"
#include "zelta/app/cab/cab_text.h"
#include "zelta/base/text_codec.h"

namespace zelta::app {

HRESULT Cab::Create(std::u16string_view text, std::u16string_view rootId, ComPtr<Cab>* cab,
                    std::string* error) {
  if (!cab) return E_POINTER;
  cab->Reset();
  if (rootId.empty()) {
    if (error) *error = "no root id given";
    return E_INVALIDARG;
  }
  std::shared_ptr<const CabSchema> schema;
  HRESULT hr = CabSchema::FromText(text, &schema, error);
  if (Failed(hr)) return hr;
  const CabItemDesc* rootDesc = schema->Root(rootId);
  if (!rootDesc) {
    if (error) *error = "the template has no root '" + base::LossyUtf8(rootId) + "'";
    return E_INVALIDARG;
  }
  ComPtr<CabItem> root;
  // The root is no field of a dictionary, so it has no name (error paths start below it).
  hr = CabItem::Create(schema, rootDesc, true, 0, &root);
  if (Failed(hr)) {
    if (error && hr == E_FAIL)
      *error = "root '" + base::LossyUtf8(rootId) + "' nests deeper than " +
               std::to_string(CabItem::kMaxDepth) + " levels or has too many items";
    return hr;
  }
  return GuardCall([&]() -> HRESULT {
    *cab = MakeCom<Cab>(std::move(root));
    return S_OK;
  });
}

HRESULT Cab::GetRoot(ICabItem** root) {
  if (!root) return E_POINTER;
  return root_.CopyTo(root);
}

HRESULT Cab::Clone(ICab** copy) {
  if (!copy) return E_POINTER;
  *copy = nullptr;
  ComPtr<CabItem> rootCopy;
  HRESULT hr = root_->Clone(&rootCopy);
  if (Failed(hr)) return hr;
  return GuardCall([&]() -> HRESULT { return MakeCom<Cab>(std::move(rootCopy)).CopyTo(copy); });
}

}  // namespace zelta::app
