#include "zelta/pdf/pages/host_annotation.h"

#include <cmath>

#include "host/call_guard.h"
#include "zelta/base/text_codec.h"
#include "zelta/pdf/actions/action_writer.h"
#include "zelta/pdf/actions/host_action_list.h"
#include "zelta/pdf/host_document.h"
#include "zelta/pdf/text/pdf_text.h"

namespace zelta::pdf {

HRESULT HostAnnotation::GetPageIndex(int32_t* page) {
  if (!page) return E_POINTER;
  *page = document_->AnnotationPage(page_.Get(), annotation_.Get());
  return S_OK;
}

HRESULT HostAnnotation::GetType(BString* type) {
  MuCalls& mu = document_->Mu();
  return ReturnString(base::LossyUtf16(mu.ToName(mu.Get(annotation_.Get(), "Subtype"))), type);
}

HRESULT HostAnnotation::GetRect(PageBox* rect) {
  if (!rect) return E_POINTER;
  MuCalls& mu = document_->Mu();
  pdf_obj* box = mu.Get(annotation_.Get(), "Rect");
  *rect = PageBox{mu.ToReal(mu.At(box, 0)), mu.ToReal(mu.At(box, 1)), mu.ToReal(mu.At(box, 2)),
                  mu.ToReal(mu.At(box, 3))};
  return S_OK;
}

HRESULT HostAnnotation::ProposeName(BString* name) {
  // Object numbers are unique within the document, so the name is too.
  return ReturnString(
      base::LossyUtf16("zelta-annot-" + std::to_string(document_->Mu().Num(annotation_.Get()))),
      name);
}

HRESULT HostAnnotation::SetName(const char16_t* name, int32_t length) {
  if (length < -1) return E_INVALIDARG;
  MuCalls& mu = document_->Mu();
  MuObject text;
  HRESULT hr = mu.NewString(EncodeTextString(InString(name, length)), &text);
  if (Succeeded(hr)) hr = mu.Put(annotation_.Get(), "NM", text.Get());
  return hr;
}

HRESULT HostAnnotation::SetActions(int32_t trigger, IHostActionList* actions) {
  if (trigger != kTriggerActivate) return E_INVALIDARG;
  MuCalls& mu = document_->Mu();
  if (!actions) {
    HRESULT hr = mu.Del(annotation_.Get(), "A");
    return Succeeded(hr) ? mu.Del(annotation_.Get(), "Dest") : hr;
  }
  auto* list = dynamic_cast<HostActionList*>(actions);
  if (!list || list->Document() != document_.Get()) return E_INVALIDARG;
  return GuardCall(
      [&]() -> HRESULT { return WriteItemActions(mu, annotation_.Get(), list->Actions()); });
}

HRESULT HostAnnotation::SetBorderWidth(double width) {
  if (!std::isfinite(width) || width < 0) return E_INVALIDARG;
  MuCalls& mu = document_->Mu();
  MuObject border, number;
  HRESULT hr = mu.NewArray(&border);
  for (double v : {0.0, 0.0, width}) {
    if (Succeeded(hr)) hr = mu.NewReal(v, &number);
    if (Succeeded(hr)) hr = mu.Push(border.Get(), number.Get());
  }
  if (Succeeded(hr)) hr = mu.Put(annotation_.Get(), "Border", border.Get());
  return hr;
}

}  // namespace zelta::pdf
