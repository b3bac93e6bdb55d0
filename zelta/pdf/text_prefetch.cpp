#include "zelta/pdf/text_prefetch.h"

#include "zelta/pdf/page_text_extractor.h"

extern "C" {
#include <mupdf/pdf.h>
}

namespace zelta::pdf {

namespace {

void Quiet(void*, const char*) {}

pdf_document* OpenQuietly(fz_context* ctx, const char* path) {
  pdf_document* volatile doc = nullptr;
  fz_var(doc);
  fz_try(ctx) {
    doc = pdf_open_document(ctx, path);
    // The caller's handle was opened with the password; without it this one cannot read.
    if (pdf_needs_password(ctx, doc)) fz_throw(ctx, FZ_ERROR_GENERIC, "encrypted");
  }
  fz_catch(ctx) {
    pdf_drop_document(ctx, doc);
    return nullptr;
  }
  return doc;
}

int PageObjectNumber(fz_context* ctx, pdf_document* doc, int page) {
  volatile int num = -1;
  fz_try(ctx) { num = pdf_to_num(ctx, pdf_lookup_page_obj(ctx, doc, page)); }
  fz_catch(ctx) { num = -1; }
  return num;
}

}  // namespace

TextPrefetch::TextPrefetch(fz_context* parent, std::string path, FileMark mark, std::vector<int32_t> pages,
                           std::vector<int> objectNumbers, size_t window)
    : path_(std::move(path)),
      mark_(mark),
      pages_(std::move(pages)),
      objectNumbers_(std::move(objectNumbers)),
      window_(window < 1 ? 1 : window) {
  // The clone is made here, on the parent's thread, as MuPDF requires.
  ctx_ = parent ? fz_clone_context(parent) : nullptr;
  if (!ctx_) {
    workerGone_ = true;
    return;
  }
  fz_set_warning_callback(ctx_, &Quiet, nullptr);
  fz_set_error_callback(ctx_, &Quiet, nullptr);
  try {
    worker_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    fz_drop_context(ctx_);
    ctx_ = nullptr;
    workerGone_ = true;
  }
}

TextPrefetch::~TextPrefetch() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  if (worker_.joinable()) worker_.join();
}

void TextPrefetch::Run() {
  fz_context* ctx = ctx_;
  pdf_document* doc = OpenQuietly(ctx, path_.c_str());
  if (doc && (doc->startxref != mark_.startxref || doc->file_size != mark_.fileSize)) {
    // The file was replaced since the caller opened it.
    pdf_drop_document(ctx, doc);
    doc = nullptr;
  }
  for (;;) {
    size_t position = 0;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return stop_ || !doc || next_ >= pages_.size() || next_ < taken_ + window_; });
      if (stop_ || !doc || next_ >= pages_.size()) break;
      position = next_++;
      slots_[position];
    }
    auto data = Extract(ctx, doc, position);
    {
      std::lock_guard lock(mutex_);
      auto& slot = slots_[position];
      slot.done = true;
      slot.data = std::move(data);
    }
    changed_.notify_all();
  }
  {
    std::lock_guard lock(mutex_);
    workerGone_ = true;
  }
  changed_.notify_all();
  if (doc) pdf_drop_document(ctx, doc);
  fz_drop_context(ctx);
}

std::shared_ptr<const PageTextData> TextPrefetch::Extract(fz_context* ctx, void* handle, size_t position) {
  auto* doc = static_cast<pdf_document*>(handle);
  int page = pages_[position];
  if (PageObjectNumber(ctx, doc, page) != objectNumbers_[position]) return nullptr;
  try {
    auto data = std::make_shared<PageTextData>();
    if (Failed(ExtractPageText(ctx, doc, page, data.get(), nullptr))) return nullptr;
    return data;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

std::shared_ptr<const PageTextData> TextPrefetch::Take(size_t position) {
  std::shared_ptr<const PageTextData> data;
  {
    std::unique_lock lock(mutex_);
    if (position >= next_) {
      // Not started by the worker: the caller makes it now.
      next_ = position + 1;
    } else {
      changed_.wait(lock, [&] {
        auto found = slots_.find(position);
        return found == slots_.end() || found->second.done;
      });
      auto found = slots_.find(position);
      if (found != slots_.end()) {
        data = std::move(found->second.data);
        slots_.erase(found);
        if (data) ++prefetched_;
      }
    }
    // Positions skipped by the caller are dropped.
    slots_.erase(slots_.begin(), slots_.lower_bound(position));
    taken_ = position + 1;
  }
  changed_.notify_all();
  return data;
}

size_t TextPrefetch::Prefetched() const {
  std::lock_guard lock(mutex_);
  return prefetched_;
}

}  // namespace zelta::pdf
