// Guarded MuPDF calls for pages, streams and shallow copies.
#include <cstdio>

#include "zelta/pdf/mu_calls.h"

namespace zelta::pdf {

HRESULT MuCalls::CopyDict(pdf_obj* dict, MuObject* copy) {
  fz_try(ctx_) { *copy = MuObject::Adopt(ctx_, pdf_copy_dict(ctx_, dict)); }
  fz_catch(ctx_) { return c_.Caught(); }
  return S_OK;
}

HRESULT MuCalls::CopyArray(pdf_obj* array, MuObject* copy) {
  fz_try(ctx_) { *copy = MuObject::Adopt(ctx_, pdf_copy_array(ctx_, array)); }
  fz_catch(ctx_) { return c_.Caught(); }
  return S_OK;
}

HRESULT MuCalls::AddStream(const std::string& bytes, pdf_obj* dict, MuObject* ref) {
  fz_buffer* volatile buffer = nullptr;
  pdf_obj* volatile made = nullptr;
  const unsigned char* data = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t size = bytes.size();
  fz_var(buffer);
  fz_try(ctx_) {
    buffer = fz_new_buffer_from_copied_data(ctx_, data, size);
    made = pdf_add_stream(ctx_, doc_, buffer, dict, 0);
  }
  fz_always(ctx_) { fz_drop_buffer(ctx_, buffer); }
  fz_catch(ctx_) { return c_.Caught(); }
  *ref = MuObject::Adopt(ctx_, made);
  return S_OK;
}

HRESULT MuCalls::UpdateStream(pdf_obj* ref, const std::string& bytes, bool deflate) {
  fz_buffer* volatile buffer = nullptr;
  unsigned char* volatile packed = nullptr;
  const unsigned char* data = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t size = bytes.size();
  fz_var(buffer);
  fz_var(packed);
  fz_try(ctx_) {
    if (deflate) {
      size_t packedSize = 0;
      packed = fz_new_deflated_data(ctx_, &packedSize, data, size, FZ_DEFLATE_BEST_SPEED);
      buffer = fz_new_buffer_from_data(ctx_, packed, packedSize);
      packed = nullptr;  // the buffer owns it now
      pdf_dict_put(ctx_, ref, PDF_NAME(Filter), PDF_NAME(FlateDecode));
      pdf_update_stream(ctx_, doc_, ref, buffer, 1);
    } else {
      buffer = fz_new_buffer_from_copied_data(ctx_, data, size);
      pdf_dict_del(ctx_, ref, PDF_NAME(Filter));
      pdf_dict_del(ctx_, ref, PDF_NAME(DecodeParms));
      pdf_update_stream(ctx_, doc_, ref, buffer, 0);
    }
  }
  fz_always(ctx_) {
    fz_free(ctx_, packed);
    fz_drop_buffer(ctx_, buffer);
  }
  fz_catch(ctx_) { return c_.Caught(); }
  return S_OK;
}

HRESULT MuCalls::NewPage(double width, double height, MuObject* page) {
  fz_buffer* volatile contents = nullptr;
  pdf_obj* volatile resources = nullptr;
  pdf_obj* volatile made = nullptr;
  fz_rect box = fz_make_rect(0, 0, static_cast<float>(width), static_cast<float>(height));
  fz_var(contents);
  fz_var(resources);
  fz_try(ctx_) {
    contents = fz_new_buffer(ctx_, 1);
    resources = pdf_new_dict(ctx_, doc_, 1);
    made = pdf_add_page(ctx_, doc_, box, 0, resources, contents);
  }
  fz_always(ctx_) {
    pdf_drop_obj(ctx_, resources);
    fz_drop_buffer(ctx_, contents);
  }
  fz_catch(ctx_) { return c_.Caught(); }
  *page = MuObject::Adopt(ctx_, made);
  return S_OK;
}

HRESULT MuCalls::InsertPage(int at, pdf_obj* page) {
  fz_try(ctx_) { pdf_insert_page(ctx_, doc_, at, page); }
  fz_catch(ctx_) { return c_.Caught(); }
  return S_OK;
}

HRESULT MuCalls::DeletePage(int index) {
  fz_try(ctx_) { pdf_delete_page(ctx_, doc_, index); }
  fz_catch(ctx_) { return c_.Caught(); }
  return S_OK;
}

HRESULT MuCalls::AddLinkAnnotations(pdf_obj* page, const std::vector<fz_rect>& rects,
                                    const char* namePrefix, std::vector<MuObject>* refs) {
  refs->clear();
  // Filled inside the try through the pointer, so that the catch sees what was made.
  std::vector<pdf_obj*> made(rects.size(), nullptr);
  pdf_obj** const slots = made.data();
  const fz_rect* const boxes = rects.data();
  const int count = static_cast<int>(rects.size());
  pdf_obj* volatile annots = nullptr;
  pdf_obj* volatile dict = nullptr;
  int volatile before = -1;
  fz_var(annots);
  fz_var(dict);
  fz_var(before);
  fz_try(ctx_) {
    annots = pdf_dict_get(ctx_, page, PDF_NAME(Annots));
    if (!pdf_is_array(ctx_, annots))
      annots = pdf_dict_put_array(ctx_, page, PDF_NAME(Annots), count);
    before = pdf_array_len(ctx_, annots);
    char name[64];
    for (int i = 0; i < count; ++i) {
      dict = pdf_new_dict(ctx_, doc_, 7);
      pdf_dict_put(ctx_, dict, PDF_NAME(Type), PDF_NAME(Annot));
      pdf_dict_put(ctx_, dict, PDF_NAME(Subtype), PDF_NAME(Link));
      pdf_obj* box = pdf_dict_put_array(ctx_, dict, PDF_NAME(Rect), 4);
      for (float v : {boxes[i].x0, boxes[i].y0, boxes[i].x1, boxes[i].y1})
        pdf_array_push_real(ctx_, box, v);
      pdf_dict_put(ctx_, dict, PDF_NAME(P), page);
      slots[i] = pdf_add_object(ctx_, doc_, dict);
      pdf_drop_obj(ctx_, dict);
      dict = nullptr;
      std::snprintf(name, sizeof name, "%s%d", namePrefix, pdf_to_num(ctx_, slots[i]));
      pdf_dict_puts_drop(ctx_, slots[i], "NM", pdf_new_text_string(ctx_, name));
      pdf_obj* border = pdf_dict_put_array(ctx_, slots[i], PDF_NAME(Border), 3);
      for (int k = 0; k < 3; ++k) pdf_array_push_real(ctx_, border, 0);
      pdf_array_push(ctx_, annots, slots[i]);
    }
  }
  fz_catch(ctx_) {
    const HRESULT hr = c_.Caught();
    pdf_drop_obj(ctx_, dict);
    for (pdf_obj* ref : made) pdf_drop_obj(ctx_, ref);
    if (annots && before >= 0) {
      fz_try(ctx_) {
        while (pdf_array_len(ctx_, annots) > before)
          pdf_array_delete(ctx_, annots, pdf_array_len(ctx_, annots) - 1);
      }
      fz_catch(ctx_) {}
    }
    return hr;
  }
  refs->reserve(made.size());
  for (pdf_obj* ref : made) refs->push_back(MuObject::Adopt(ctx_, ref));
  return S_OK;
}

}  // namespace zelta::pdf
