#include "zelta/app/host_operations/host_operation_insert_pages.h"

#include <cmath>
#include <new>
#include <utility>

#include "host/call_guard.h"
#include "zelta/app/host_operations/host_operation_base.h"
#include "zelta/app/host_operations/page_insertion_undo.h"

namespace zelta::app {

HRESULT HostOperationInsertPages::Do(int32_t flags, intptr_t) {
  return GuardCall([&]() -> HRESULT {
    std::vector<ComPtr<IUnknown>> input;
    HRESULT hr = InputObjects(&input);
    if (Failed(hr)) return hr;
    auto document = input.size() == 1 ? QueryAs<IHostDocument>(input[0].Get()) : nullptr;
    auto* own = dynamic_cast<pdf::HostDocument*>(document.Get());
    if (!own) return E_INVALIDARG;
    int32_t answer = 0;
    if (Failed(own->IsPermitted(kPermModify, kPermInsertPages, kPermReserved, &answer)) ||
        answer != 1)
      return E_NO_PERMISSION;

    ComPtr<ICabItem> options = Options();
    if (!options) return E_INVALIDARG;
    int32_t count = 0, location = 0, position = 0, paperType = 2;
    double width = 0, height = 0;
    bool landscape = false;
    options->GetInt(u"Count", 0, &count);
    options->GetInt(u"Location", 0, &location);
    options->GetInt(u"Position", 0, &position);
    options->GetInt(u"ZLT_PaperType", 2, &paperType);
    options->GetDouble(u"Width", 0, &width);
    options->GetDouble(u"Height", 0, &height);
    options->GetBool(u"Landscape", false, &landscape);
    int32_t pageCount = 0;
    own->GetPageCount(&pageCount);
    if (location == 1) position = pageCount;
    if (landscape) std::swap(width, height);
    auto sideOk = [](double side) {
      return std::isfinite(side) && side >= kMinSide && side <= kMaxSide;
    };
    if (paperType != 2 || count < 1 || count > kMaxCount || position < 0 || position > pageCount ||
        !sideOk(width) || !sideOk(height))
      return E_INVALIDARG;

    pdf::MuObject labelsBefore = own->PageLabelTree(), labelsAfter;
    hr = own->ShiftedPageLabels(position, count, &labelsAfter);
    if (Failed(hr)) return hr;
    std::vector<pdf::MuObject> pages;
    hr = own->MakeEmptyPages(count, width, height, &pages);
    if (Failed(hr)) return hr;
    auto undo = MakeCom<PageInsertionUndo>(ComPtr<pdf::HostDocument>(own), position, pages,
                                           labelsBefore, labelsAfter);
    hr = undo->Redo();
    if (Failed(hr)) return hr;
    hr = RecordUndoItem(own, flags, Label(), undo.Get());
    if (Failed(hr)) {
      undo->Undo();  // a change that cannot be undone is not kept
      return hr;
    }
    return S_OK;
  });
}

}  // namespace zelta::app
