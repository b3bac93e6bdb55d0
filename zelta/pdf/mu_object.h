// A counted reference to a MuPDF object (pdf_obj). Copies keep the object, destruction drops
// it. Keeping and dropping never throw in MuPDF, so no guard is needed here.
#pragma once

#include <utility>

extern "C" {
#include <mupdf/pdf.h>
}

namespace zelta::pdf {

class MuObject {
 public:
  MuObject() = default;
  // Takes over a reference the caller already owns (a pdf_new_* or pdf_load_* result).
  static MuObject Adopt(fz_context* ctx, pdf_obj* obj) {
    MuObject o;
    o.ctx_ = ctx;
    o.obj_ = obj;
    return o;
  }
  // Adds a reference to a borrowed object (a pdf_dict_get result).
  static MuObject Keep(fz_context* ctx, pdf_obj* obj) { return Adopt(ctx, pdf_keep_obj(ctx, obj)); }

  MuObject(const MuObject& o)
      : ctx_(o.ctx_), obj_(o.obj_ ? pdf_keep_obj(o.ctx_, o.obj_) : nullptr) {}
  MuObject(MuObject&& o) noexcept : ctx_(o.ctx_), obj_(std::exchange(o.obj_, nullptr)) {}
  MuObject& operator=(MuObject o) noexcept {
    std::swap(ctx_, o.ctx_);
    std::swap(obj_, o.obj_);
    return *this;
  }
  ~MuObject() {
    if (obj_) pdf_drop_obj(ctx_, obj_);
  }

  pdf_obj* Get() const { return obj_; }
  explicit operator bool() const { return obj_ != nullptr; }

 private:
  fz_context* ctx_ = nullptr;
  pdf_obj* obj_ = nullptr;
};

}  // namespace zelta::pdf
