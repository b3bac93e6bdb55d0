#include "zelta/pdf/file_window.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zelta::pdf {

namespace {

// A read that goes on from the last one takes a large window (a content stream, a run of
// objects); the first read after a seek elsewhere takes as much as MuPDF's own stream, so
// that looking up one object far away costs no more than it did.
constexpr size_t kWindow = 32 * 1024;
constexpr size_t kFirstRead = 4 * 1024;

struct Window {
  int fd = -1;
  int64_t start = 0;    // file offset of buffer[0]
  size_t length = 0;    // bytes of the file in buffer
  bool sought = false;  // the next read is the first after a seek out of the window
  unsigned char buffer[kWindow];
};

int NextWindow(fz_context* ctx, fz_stream* stm, size_t) {
  auto* window = static_cast<Window*>(stm->state);
  ssize_t n;
  do {
    n = pread(window->fd, window->buffer, window->sought ? kFirstRead : kWindow,
              static_cast<off_t>(stm->pos));
  } while (n < 0 && errno == EINTR);
  if (n < 0) fz_throw(ctx, FZ_ERROR_GENERIC, "read error: %s", strerror(errno));
  window->sought = false;
  window->start = stm->pos;
  window->length = static_cast<size_t>(n);
  stm->rp = window->buffer;
  stm->wp = window->buffer + n;
  stm->pos += n;
  if (n == 0) return EOF;
  return *stm->rp++;
}

void SeekWindow(fz_context* ctx, fz_stream* stm, int64_t offset, int whence) {
  auto* window = static_cast<Window*>(stm->state);
  int64_t target = offset;
  if (whence == SEEK_CUR) {
    target += stm->pos - (stm->wp - stm->rp);
  } else if (whence == SEEK_END) {
    struct stat info {};
    if (fstat(window->fd, &info) != 0) fz_throw(ctx, FZ_ERROR_GENERIC, "cannot seek");
    target += info.st_size;
  }
  if (target < 0) fz_throw(ctx, FZ_ERROR_GENERIC, "cannot seek before the start of the file");
  if (target >= window->start && target < window->start + static_cast<int64_t>(window->length)) {
    stm->rp = window->buffer + (target - window->start);
    stm->wp = window->buffer + window->length;
    stm->pos = window->start + static_cast<int64_t>(window->length);
    return;
  }
  // Read lazily: a seek to the end to learn the length reads nothing.
  window->start = target;
  window->length = 0;
  window->sought = true;
  stm->rp = stm->wp = window->buffer;
  stm->pos = target;
}

void DropWindow(fz_context* ctx, void* state) {
  auto* window = static_cast<Window*>(state);
  if (window->fd >= 0) close(window->fd);
  fz_free(ctx, window);
}

}  // namespace

fz_stream* OpenFileWindow(fz_context* ctx, const char* path) {
  auto* window = static_cast<Window*>(fz_malloc(ctx, sizeof(Window)));
  window->fd = open(path, O_RDONLY | O_CLOEXEC);
  window->start = 0;
  window->length = 0;
  window->sought = false;
  if (window->fd < 0) {
    const int error = errno;
    fz_free(ctx, window);
    fz_throw(ctx, FZ_ERROR_GENERIC, "cannot open %s: %s", path, strerror(error));
  }
  // On failure fz_new_stream drops the window itself.
  fz_stream* stm = fz_new_stream(ctx, window, NextWindow, DropWindow);
  stm->seek = SeekWindow;
  return stm;
}

pdf_document* OpenPdfThroughWindow(fz_context* ctx, const char* path) {
  fz_stream* file = OpenFileWindow(ctx, path);
  pdf_document* volatile doc = nullptr;
  fz_try(ctx) { doc = pdf_open_document_with_stream(ctx, file); }
  fz_always(ctx) { fz_drop_stream(ctx, file); }
  fz_catch(ctx) { fz_rethrow(ctx); }
  return doc;
}

}  // namespace zelta::pdf
