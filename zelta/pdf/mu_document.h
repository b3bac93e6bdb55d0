// Owner of one MuPDF PDF document handle.
#pragma once

#include <utility>

extern "C" {
#include <mupdf/pdf.h>
}

namespace zelta::pdf {

class MuDocument {
 public:
  MuDocument() = default;
  MuDocument(fz_context* ctx, pdf_document* doc) : ctx_(ctx), doc_(doc) {}
  MuDocument(const MuDocument&) = delete;
  MuDocument& operator=(const MuDocument&) = delete;
  MuDocument(MuDocument&& o) noexcept : ctx_(o.ctx_), doc_(std::exchange(o.doc_, nullptr)) {}
  MuDocument& operator=(MuDocument&& o) noexcept {
    if (this != &o) {
      Reset();
      ctx_ = o.ctx_;
      doc_ = std::exchange(o.doc_, nullptr);
    }
    return *this;
  }
  ~MuDocument() { Reset(); }

  pdf_document* Get() const { return doc_; }
  explicit operator bool() const { return doc_ != nullptr; }

 private:
  // pdf_drop_document does not throw.
  void Reset() {
    if (doc_) pdf_drop_document(ctx_, std::exchange(doc_, nullptr));
  }

  fz_context* ctx_ = nullptr;
  pdf_document* doc_ = nullptr;
};

}  // namespace zelta::pdf
