#include "zelta/pdf/second_handle.h"

#include "zelta/pdf/file_window.h"

namespace zelta::pdf {

namespace {

void Quiet(void*, const char*) {}

pdf_document* OpenQuietly(fz_context* ctx, const char* path, const char* password) {
  pdf_document* volatile doc = nullptr;
  fz_var(doc);
  fz_try(ctx) {
    doc = OpenPdfThroughWindow(ctx, path);
    if (pdf_needs_password(ctx, doc) && !pdf_authenticate_password(ctx, doc, password))
      fz_throw(ctx, FZ_ERROR_GENERIC, "wrong password");
  }
  fz_catch(ctx) {
    pdf_drop_document(ctx, doc);
    return nullptr;
  }
  return doc;
}

}  // namespace

std::unique_ptr<SecondHandle> SecondHandle::Make(std::string path, std::string password,
                                                 FileMark mark) {
  // Without locks: the context is only ever used by one thread at a time.
  fz_context* ctx = fz_new_context(nullptr, nullptr, FZ_STORE_DEFAULT);
  if (!ctx) return nullptr;
  fz_set_warning_callback(ctx, &Quiet, nullptr);
  fz_set_error_callback(ctx, &Quiet, nullptr);
  return std::unique_ptr<SecondHandle>(
      new SecondHandle(ctx, std::move(path), std::move(password), mark));
}

SecondHandle::SecondHandle(fz_context* ctx, std::string path, std::string password, FileMark mark)
    : ctx_(ctx), path_(std::move(path)), password_(std::move(password)), mark_(mark) {}

SecondHandle::~SecondHandle() {
  if (doc_) pdf_drop_document(ctx_, doc_);
  fz_drop_context(ctx_);
}

pdf_document* SecondHandle::Doc() {
  if (tried_) return doc_;
  tried_ = true;
  doc_ = OpenQuietly(ctx_, path_.c_str(), password_.c_str());
  if (doc_ && (doc_->startxref != mark_.startxref || doc_->file_size != mark_.fileSize)) {
    // The file was replaced since the document was opened.
    pdf_drop_document(ctx_, doc_);
    doc_ = nullptr;
  }
  return doc_;
}

}  // namespace zelta::pdf
