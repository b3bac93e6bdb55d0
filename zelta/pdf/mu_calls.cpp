#include "zelta/pdf/mu_calls.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "zelta/pdf/file_window.h"

namespace zelta::pdf {

// Reads: `result` is the only local touched inside fz_try, so it is volatile to survive the
// longjmp back into fz_catch.
#define ZELTA_MU_READ(type, fallback, call) \
  type volatile result = fallback;          \
  fz_try(ctx_) { result = (call); }         \
  fz_catch(ctx_) {                          \
    c_.Caught();                            \
    return fallback;                        \
  }                                         \
  return result

#define ZELTA_MU_DO(call)                \
  fz_try(ctx_) { call; }                 \
  fz_catch(ctx_) { return c_.Caught(); } \
  return S_OK

pdf_obj* MuCalls::Get(pdf_obj* dict, const char* key) {
  ZELTA_MU_READ(pdf_obj*, nullptr, pdf_dict_gets(ctx_, dict, key));
}
pdf_obj* MuCalls::Get(pdf_obj* dict, pdf_obj* key) {
  ZELTA_MU_READ(pdf_obj*, nullptr, pdf_dict_get(ctx_, dict, key));
}

bool MuCalls::DictEntries(pdf_obj* obj, std::span<pdf_obj* const> keys,
                          std::span<pdf_obj*> values) {
  pdf_obj* const* names = keys.data();
  pdf_obj** out = values.data();
  const size_t count = std::min(keys.size(), values.size());
  std::fill(values.begin(), values.end(), nullptr);
  bool volatile isDict = false;
  fz_try(ctx_) {
    pdf_obj* dict = pdf_resolve_indirect_chain(ctx_, obj);
    if (pdf_is_dict(ctx_, dict)) {
      isDict = true;
      for (size_t i = 0; i < count; ++i) out[i] = pdf_dict_get(ctx_, dict, names[i]);
    }
  }
  fz_catch(ctx_) {
    c_.Caught();
    std::fill(values.begin(), values.end(), nullptr);
    return false;
  }
  return isDict;
}

pdf_obj* MuCalls::At(pdf_obj* array, int index) {
  ZELTA_MU_READ(pdf_obj*, nullptr, pdf_array_get(ctx_, array, index));
}
int MuCalls::Len(pdf_obj* array) { ZELTA_MU_READ(int, 0, pdf_array_len(ctx_, array)); }
int MuCalls::DictLen(pdf_obj* dict) { ZELTA_MU_READ(int, 0, pdf_dict_len(ctx_, dict)); }
pdf_obj* MuCalls::DictKey(pdf_obj* dict, int index) {
  ZELTA_MU_READ(pdf_obj*, nullptr, pdf_dict_get_key(ctx_, dict, index));
}
pdf_obj* MuCalls::DictValue(pdf_obj* dict, int index) {
  ZELTA_MU_READ(pdf_obj*, nullptr, pdf_dict_get_val(ctx_, dict, index));
}
pdf_obj* MuCalls::Trailer() { ZELTA_MU_READ(pdf_obj*, nullptr, pdf_trailer(ctx_, doc_)); }
bool MuCalls::IsDict(pdf_obj* obj) { ZELTA_MU_READ(bool, false, pdf_is_dict(ctx_, obj) != 0); }
bool MuCalls::IsArray(pdf_obj* obj) { ZELTA_MU_READ(bool, false, pdf_is_array(ctx_, obj) != 0); }
bool MuCalls::IsString(pdf_obj* obj) { ZELTA_MU_READ(bool, false, pdf_is_string(ctx_, obj) != 0); }
bool MuCalls::IsName(pdf_obj* obj) { ZELTA_MU_READ(bool, false, pdf_is_name(ctx_, obj) != 0); }
bool MuCalls::IsNumber(pdf_obj* obj) { ZELTA_MU_READ(bool, false, pdf_is_number(ctx_, obj) != 0); }
bool MuCalls::IsIndirect(pdf_obj* obj) {
  ZELTA_MU_READ(bool, false, pdf_is_indirect(ctx_, obj) != 0);
}
int MuCalls::Num(pdf_obj* obj) { ZELTA_MU_READ(int, 0, pdf_to_num(ctx_, obj)); }
int MuCalls::ToInt(pdf_obj* obj) { ZELTA_MU_READ(int, 0, pdf_to_int(ctx_, obj)); }
double MuCalls::ToReal(pdf_obj* obj) { ZELTA_MU_READ(double, 0.0, pdf_to_real(ctx_, obj)); }
int MuCalls::PageCount() { ZELTA_MU_READ(int, 0, pdf_count_pages(ctx_, doc_)); }
pdf_obj* MuCalls::PageObject(int page) {
  ZELTA_MU_READ(pdf_obj*, nullptr, pdf_lookup_page_obj(ctx_, doc_, page));
}
pdf_obj* MuCalls::Inherited(pdf_obj* page, pdf_obj* key) {
  ZELTA_MU_READ(pdf_obj*, nullptr, pdf_dict_get_inheritable(ctx_, page, key));
}

std::string MuCalls::ToBytes(pdf_obj* obj) { return std::string(StringView(obj)); }

std::string_view MuCalls::StringView(pdf_obj* obj) {
  const char* volatile data = nullptr;
  size_t volatile size = 0;
  fz_try(ctx_) {
    data = pdf_to_str_buf(ctx_, obj);
    size = pdf_to_str_len(ctx_, obj);
  }
  fz_catch(ctx_) {
    c_.Caught();
    return {};
  }
  return data ? std::string_view(data, size) : std::string_view();
}

pdf_obj* MuCalls::Resolve(pdf_obj* obj) {
  ZELTA_MU_READ(pdf_obj*, nullptr, pdf_resolve_indirect(ctx_, obj));
}

std::string MuCalls::ToName(pdf_obj* obj) {
  const char* volatile name = nullptr;
  fz_try(ctx_) { name = pdf_to_name(ctx_, obj); }
  fz_catch(ctx_) {
    c_.Caught();
    return {};
  }
  return name ? std::string(name) : std::string();
}

bool MuCalls::IsStream(pdf_obj* obj) { ZELTA_MU_READ(bool, false, pdf_is_stream(ctx_, obj) != 0); }

std::string MuCalls::StreamBytes(pdf_obj* stream) {
  fz_buffer* volatile buffer = nullptr;
  fz_try(ctx_) { buffer = pdf_load_stream(ctx_, stream); }
  fz_catch(ctx_) {
    c_.Caught();
    return {};
  }
  unsigned char* data = nullptr;
  size_t size = fz_buffer_storage(ctx_, buffer, &data);
  std::string bytes(reinterpret_cast<const char*>(data), size);
  fz_drop_buffer(ctx_, buffer);
  return bytes;
}

MuObject MuCalls::Load(int num) {
  pdf_obj* volatile obj = nullptr;
  fz_try(ctx_) {
    if (num > 0 && num < pdf_xref_len(ctx_, doc_)) obj = pdf_load_object(ctx_, doc_, num);
  }
  fz_catch(ctx_) {
    c_.Caught();
    return {};
  }
  return MuObject::Adopt(ctx_, obj);
}

HRESULT MuCalls::NewNull(MuObject* out) {
  *out = MuObject::Adopt(ctx_, PDF_NULL);  // a constant: keeping and dropping it do nothing
  return S_OK;
}
HRESULT MuCalls::NewDict(MuObject* out) {
  ZELTA_MU_DO(*out = MuObject::Adopt(ctx_, pdf_new_dict(ctx_, doc_, 8)));
}
HRESULT MuCalls::NewArray(MuObject* out) {
  ZELTA_MU_DO(*out = MuObject::Adopt(ctx_, pdf_new_array(ctx_, doc_, 8)));
}
HRESULT MuCalls::NewInt(int64_t value, MuObject* out) {
  ZELTA_MU_DO(*out = MuObject::Adopt(ctx_, pdf_new_int(ctx_, value)));
}
HRESULT MuCalls::NewReal(double value, MuObject* out) {
  ZELTA_MU_DO(*out = MuObject::Adopt(ctx_, pdf_new_real(ctx_, static_cast<float>(value))));
}
HRESULT MuCalls::NewName(const char* name, MuObject* out) {
  ZELTA_MU_DO(*out = MuObject::Adopt(ctx_, pdf_new_name(ctx_, name)));
}
HRESULT MuCalls::NewString(const std::string& bytes, MuObject* out) {
  const char* data = bytes.data();
  size_t size = bytes.size();
  ZELTA_MU_DO(*out = MuObject::Adopt(ctx_, pdf_new_string(ctx_, data, size)));
}
HRESULT MuCalls::NewRef(int num, MuObject* out) {
  ZELTA_MU_DO(*out = MuObject::Adopt(ctx_, pdf_new_indirect(ctx_, doc_, num, 0)));
}
HRESULT MuCalls::AddObject(pdf_obj* obj, MuObject* ref) {
  ZELTA_MU_DO(*ref = MuObject::Adopt(ctx_, pdf_add_object(ctx_, doc_, obj)));
}

HRESULT MuCalls::Put(pdf_obj* dict, const char* key, pdf_obj* value) {
  ZELTA_MU_DO(pdf_dict_puts(ctx_, dict, key, value));
}
HRESULT MuCalls::Put(pdf_obj* dict, pdf_obj* key, pdf_obj* value) {
  ZELTA_MU_DO(pdf_dict_put(ctx_, dict, key, value));
}
HRESULT MuCalls::Del(pdf_obj* dict, const char* key) {
  ZELTA_MU_DO(pdf_dict_dels(ctx_, dict, key));
}
HRESULT MuCalls::Push(pdf_obj* array, pdf_obj* value) {
  ZELTA_MU_DO(pdf_array_push(ctx_, array, value));
}
HRESULT MuCalls::Insert(pdf_obj* array, pdf_obj* value, int index) {
  ZELTA_MU_DO(pdf_array_insert(ctx_, array, value, index));
}
HRESULT MuCalls::Delete(pdf_obj* array, int index) {
  ZELTA_MU_DO(pdf_array_delete(ctx_, array, index));
}

HRESULT MuCalls::NeedsPassword(bool* needs) {
  ZELTA_MU_DO(*needs = pdf_needs_password(ctx_, doc_) != 0);
}
HRESULT MuCalls::Authenticate(const char* password, bool* ok) {
  ZELTA_MU_DO(*ok = pdf_authenticate_password(ctx_, doc_, password) != 0);
}
HRESULT MuCalls::HasPermission(fz_permission permission, bool* allowed) {
  ZELTA_MU_DO(*allowed = pdf_has_permission(ctx_, doc_, permission) != 0);
}
namespace {

// Where MuPDF's output goes: a file descriptor and how much was written to it.
struct FileSink {
  int fd = -1;
  int64_t written = 0;
  int64_t handedOver = 0;  // bytes already given to writeback
  int error = 0;           // errno of a failed write
};

constexpr int kOutputBuffer = 64 << 10;
constexpr int64_t kWritebackStep = 1 << 20;

void SinkWrite(fz_context* ctx, void* opaque, const void* data, size_t size) {
  auto* sink = static_cast<FileSink*>(opaque);
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = write(sink->fd, bytes, size);
    if (n <= 0) {
      if (n < 0 && errno == EINTR) continue;
      sink->error = n < 0 ? errno : EIO;
      fz_throw(ctx, FZ_ERROR_GENERIC, "cannot write to file: %s", strerror(sink->error));
    }
    bytes += n;
    size -= static_cast<size_t>(n);
    sink->written += n;
  }
  if (sink->written - sink->handedOver >= kWritebackStep) {
    // A hint only: where it is not supported, the closing fsync does all the work.
    sync_file_range(sink->fd, sink->handedOver, sink->written - sink->handedOver,
                    SYNC_FILE_RANGE_WRITE);
    sink->handedOver = sink->written;
  }
}

int64_t SinkTell(fz_context*, void* opaque) { return static_cast<FileSink*>(opaque)->written; }

}  // namespace

HRESULT MuCalls::Write(int fd, const pdf_write_options* options, int* writeError) {
  FileSink sink;  // plain data, reached through its address: it survives the longjmp
  sink.fd = fd;
  *writeError = 0;
  fz_output* volatile out = nullptr;
  fz_try(ctx_) {
    out = fz_new_output(ctx_, kOutputBuffer, &sink, SinkWrite, nullptr, nullptr);
    out->tell = SinkTell;
    pdf_write_document(ctx_, doc_, out, options);
    fz_close_output(ctx_, out);
  }
  fz_always(ctx_) { fz_drop_output(ctx_, out); }
  fz_catch(ctx_) {
    *writeError = sink.error;
    return c_.Caught();
  }
  return S_OK;
}

bool MuCalls::IsEncrypted() { ZELTA_MU_READ(bool, false, doc_->crypt != nullptr); }
int MuCalls::XrefLength() { ZELTA_MU_READ(int, 0, pdf_xref_len(ctx_, doc_)); }

HRESULT MuCalls::FillIfEmpty(int num, bool* filled) {
  pdf_obj* volatile ref = nullptr;
  fz_buffer* volatile raw = nullptr;
  fz_buffer* volatile space = nullptr;
  fz_var(ref);
  fz_var(raw);
  fz_var(space);
  *filled = false;
  fz_try(ctx_) {
    if (pdf_obj_num_is_stream(ctx_, doc_, num)) {
      raw = pdf_load_raw_stream_number(ctx_, doc_, num);
      if (fz_buffer_storage(ctx_, raw, nullptr) == 0) {
        ref = pdf_new_indirect(ctx_, doc_, num, 0);
        space =
            fz_new_buffer_from_copied_data(ctx_, reinterpret_cast<const unsigned char*>(" "), 1);
        pdf_dict_del(ctx_, ref, PDF_NAME(Filter));
        pdf_dict_del(ctx_, ref, PDF_NAME(DecodeParms));
        pdf_update_stream(ctx_, doc_, ref, space, 0);
        *filled = true;
      }
    }
  }
  fz_always(ctx_) {
    fz_drop_buffer(ctx_, space);
    fz_drop_buffer(ctx_, raw);
    pdf_drop_obj(ctx_, ref);
  }
  fz_catch(ctx_) { return c_.Caught(); }
  return S_OK;
}

HRESULT MuCalls::ContentsBox(int page, fz_rect* box, fz_matrix* ctm) {
  pdf_page* volatile loaded = nullptr;
  fz_device* volatile device = nullptr;
  *box = fz_empty_rect;
  fz_var(loaded);
  fz_var(device);
  fz_try(ctx_) {
    loaded = pdf_load_page(ctx_, doc_, page);
    pdf_page_transform(ctx_, loaded, nullptr, ctm);
    device = fz_new_bbox_device(ctx_, box);
    pdf_run_page_contents(ctx_, loaded, device, fz_identity, nullptr);
    fz_close_device(ctx_, device);
  }
  fz_always(ctx_) {
    fz_drop_device(ctx_, device);
    fz_drop_page(ctx_, reinterpret_cast<fz_page*>(loaded));
  }
  fz_catch(ctx_) { return c_.Caught(); }
  return S_OK;
}

HRESULT MuOpenDocument(MuContext& context, const char* path, pdf_document** doc) {
  fz_context* ctx = context.Get();
  *doc = nullptr;
  fz_try(ctx) { *doc = OpenPdfThroughWindow(ctx, path); }
  fz_catch(ctx) { return context.Caught(); }
  return S_OK;
}

}  // namespace zelta::pdf
