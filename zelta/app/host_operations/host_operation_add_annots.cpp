#include "zelta/app/host_operations/host_operation_add_annots.h"

#include <new>
#include <utility>
#include <vector>

#include "host/call_guard.h"
#include "zelta/app/host_operations/annotation_addition_undo.h"
#include "zelta/app/host_operations/host_operation_base.h"

namespace zelta::app {

HRESULT HostOperationAddAnnots::Do(int32_t flags, intptr_t) {
  return GuardCall([&]() -> HRESULT {
    std::vector<ComPtr<IUnknown>> input;
    HRESULT hr = InputObjects(&input);
    if (Failed(hr)) return hr;
    if (input.empty()) return S_FALSE;
    std::vector<ComPtr<pdf::HostAnnotation>> annotations;
    std::vector<std::pair<pdf_obj*, pdf_obj*>> placed;
    annotations.reserve(input.size());
    placed.reserve(input.size());
    pdf::HostDocument* document = nullptr;
    for (const auto& object : input) {
      auto annotation = QueryAs<IHostAnnotation>(object.Get());
      auto* own = dynamic_cast<pdf::HostAnnotation*>(annotation.Get());
      if (!own || (document && own->Document() != document)) return E_INVALIDARG;
      document = own->Document();
      placed.emplace_back(own->Page(), own->Annotation());
      annotations.push_back(ComPtr<pdf::HostAnnotation>(own));
    }
    if (!document->AnnotationsOnTheirPages(placed)) return E_INVALIDARG;
    int32_t answer = 0;
    if (Failed(document->IsPermitted(kPermAnnotate, kPermAddItems, kPermReserved, &answer)) ||
        answer != 1)
      return E_NO_PERMISSION;
    auto undo = MakeCom<AnnotationAdditionUndo>(std::move(annotations));
    hr = RecordUndoItem(document, flags, Label(), undo.Get());
    if (Failed(hr)) {
      undo->Undo();
      return hr;
    }
    return S_OK;
  });
}

}  // namespace zelta::app
