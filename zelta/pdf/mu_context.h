// Owner of one MuPDF context. MuPDF reports errors with longjmp; the guarded calls in
// mu_calls.h turn them into HRESULTs and leave the message here. An out-of-memory error
// poisons the context: the document on it must not be changed or written afterwards.
#pragma once

#include <string>

#include "host/com.h"

extern "C" {
#include <mupdf/fitz.h>
}

namespace zelta::pdf {

class MuContext {
 public:
  MuContext();
  ~MuContext();
  MuContext(const MuContext&) = delete;
  MuContext& operator=(const MuContext&) = delete;

  // Null when MuPDF could not create a context (out of memory).
  fz_context* Get() const { return ctx_; }

  // Called inside fz_catch: records the caught error and maps it to an HRESULT.
  HRESULT Caught();
  // Records a failure found without MuPDF.
  HRESULT Fail(HRESULT hr, std::string message);

  // The message of the last failure ("" when none).
  const std::string& LastError() const { return lastError_; }
  // True after MuPDF ran out of memory.
  bool OutOfMemory() const { return outOfMemory_; }

 private:
  static void OnWarning(void* user, const char* message);

  fz_context* ctx_ = nullptr;
  std::string lastError_;
  bool outOfMemory_ = false;
};

}  // namespace zelta::pdf
