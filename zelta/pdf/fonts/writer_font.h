// The host's IHostWriterFont: a font name resolved for one document.
#pragma once

#include <string>

#include "host/page_content.h"
#include "zelta/pdf/fonts/font_face.h"
#include "zelta/pdf/host_document.h"

namespace zelta::pdf {

class WriterFont final : public ComObject<IHostWriterFont> {
 public:
  WriterFont(ComPtr<HostDocument> document, FontFace* face, std::u16string requested,
             bool substitute)
      : document_(std::move(document)),
        face_(face),
        requested_(std::move(requested)),
        substitute_(substitute) {}

  HRESULT GetRequestedName(BString* name) override;
  HRESULT GetName(BString* name) override;
  HRESULT IsSubstitute(bool* substitute) override;

  HostDocument* Document() const { return document_.Get(); }
  // Owned by the document's fonts, which live as long as the document.
  FontFace* Face() const { return face_; }

 private:
  ~WriterFont() override = default;

  ComPtr<HostDocument> document_;
  FontFace* face_;
  std::u16string requested_;
  bool substitute_;
};

}  // namespace zelta::pdf
