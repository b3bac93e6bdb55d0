// A second MuPDF handle on the file a document was opened from, for reading pages on another
// thread (MuPDF allows one thread per document handle at a time).
//
// The handle has a context of its own rather than a clone of the document's: nothing is
// shared, so the two threads never meet on MuPDF's store and font locks (contention there cost
// more than the second core gained). The file is opened on first use by whichever thread uses
// the handle, so that a slow open never holds up the caller. The document keeps the handle
// between readers: fonts and page resources loaded once stay warm for the next run.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

extern "C" {
#include <mupdf/fitz.h>
#include <mupdf/pdf.h>
}

namespace zelta::pdf {

class SecondHandle {
 public:
  // What identifies the file the first handle read (MuPDF's startxref and file size); a
  // second handle reads nothing from a file that differs.
  struct FileMark {
    int64_t startxref = -1;
    int64_t fileSize = -1;
  };

  // Null when no context can be made.
  static std::unique_ptr<SecondHandle> Make(std::string path, std::string password, FileMark mark);
  ~SecondHandle();
  SecondHandle(const SecondHandle&) = delete;
  SecondHandle& operator=(const SecondHandle&) = delete;

  fz_context* Ctx() const { return ctx_; }
  // The open document, opened on the first call; null when the file cannot be opened or is
  // not the one the first handle read (the answer is kept).
  pdf_document* Doc();

 private:
  SecondHandle(fz_context* ctx, std::string path, std::string password, FileMark mark);

  fz_context* ctx_;
  std::string path_;
  std::string password_;
  FileMark mark_;
  pdf_document* doc_ = nullptr;
  bool tried_ = false;
};

}  // namespace zelta::pdf
