#include "zelta/pdf/mu_context.h"

namespace zelta::pdf {

MuContext::MuContext() {
  // Without MuPDF's locks: a context and its documents are used by one thread at a time (the
  // page-text prefetch reads through a context of its own), and the locks cost several per cent
  // of text extraction.
  ctx_ = fz_new_context(nullptr, nullptr, FZ_STORE_DEFAULT);
  if (!ctx_) return;
  // MuPDF prints warnings and errors to stderr by default; the host reports problems
  // through its own results and warning lists instead.
  fz_set_warning_callback(ctx_, &MuContext::OnWarning, this);
  fz_set_error_callback(ctx_, &MuContext::OnWarning, this);
}

MuContext::~MuContext() {
  if (ctx_) fz_drop_context(ctx_);
}

void MuContext::OnWarning(void*, const char*) {}

HRESULT MuContext::Caught() {
  int code = fz_caught(ctx_);
  const char* message = fz_caught_message(ctx_);
  lastError_ = message ? message : "unknown MuPDF error";
  if (code == FZ_ERROR_MEMORY) {
    outOfMemory_ = true;
    return E_OUTOFMEMORY;
  }
  return E_FAIL;
}

HRESULT MuContext::Fail(HRESULT hr, std::string message) {
  lastError_ = std::move(message);
  return hr;
}

}  // namespace zelta::pdf
