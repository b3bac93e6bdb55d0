// The host's IHostAnnotation: a view of one annotation dictionary and the page it was made on.
#pragma once

#include "host/page_content.h"
#include "zelta/pdf/host_document.h"
#include "zelta/pdf/mu_object.h"

namespace zelta::pdf {

class HostAnnotation final : public ComObject<IHostAnnotation> {
 public:
  // `page` is the page object, `annotation` the reference to the annotation dictionary.
  HostAnnotation(ComPtr<HostDocument> document, MuObject page, MuObject annotation)
      : document_(std::move(document)),
        page_(std::move(page)),
        annotation_(std::move(annotation)) {}

  HRESULT GetPageIndex(int32_t* page) override;
  HRESULT GetType(BString* type) override;
  HRESULT GetRect(PageBox* rect) override;
  HRESULT ProposeName(BString* name) override;
  HRESULT SetName(const char16_t* name, int32_t length) override;
  HRESULT SetActions(int32_t trigger, IHostActionList* actions) override;
  HRESULT SetBorderWidth(double width) override;

  HostDocument* Document() const { return document_.Get(); }
  pdf_obj* Page() const { return page_.Get(); }
  pdf_obj* Annotation() const { return annotation_.Get(); }

 private:
  ~HostAnnotation() override = default;

  ComPtr<HostDocument> document_;
  MuObject page_;
  MuObject annotation_;
};

}  // namespace zelta::pdf
