#include "zelta/pdf/mu_context.h"

#include <mutex>

namespace zelta::pdf {

namespace {

// MuPDF's own locks (store, glyph cache, fonts...). Every context gets them so that it can be
// cloned for another thread (fz_clone_context refuses a context without locks); the clones
// share the store and the font caches of their parent.
std::mutex muLocks[FZ_LOCK_MAX];

void LockMu(void*, int lock) { muLocks[lock].lock(); }
void UnlockMu(void*, int lock) { muLocks[lock].unlock(); }

fz_locks_context muLocksContext{nullptr, &LockMu, &UnlockMu};

}  // namespace

MuContext::MuContext() {
  ctx_ = fz_new_context(nullptr, &muLocksContext, FZ_STORE_DEFAULT);
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
