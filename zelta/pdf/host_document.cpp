#include "zelta/pdf/host_document.h"

#include <sys/stat.h>

#include <algorithm>
#include <optional>

#include "host/call_guard.h"
#include "zelta/base/text_codec.h"
#include "zelta/pdf/atomic_save.h"
#include "zelta/pdf/outline/host_bookmark.h"
#include "zelta/pdf/pages/empty_stream_fix.h"
#include "zelta/pdf/pages/page_tree_check.h"
#include "zelta/pdf/text/pdf_text.h"

namespace zelta::pdf {

HostDocument::HostDocument(std::string path) : mu_(context_, nullptr), path_(std::move(path)) {}

HRESULT OpenDocument(const std::string& path, const std::string& password,
                     ComPtr<HostDocument>* document, std::string* error, OutlineRead outline) {
  if (!document || !error) return E_POINTER;
  document->Reset();
  ComPtr<HostDocument> doc;
  try {
    doc = MakeCom<HostDocument>(path);
  } catch (const std::bad_alloc&) {
    *error = path + ": out of memory";
    return E_OUTOFMEMORY;
  }
  HRESULT hr = doc->Open(password, outline, error);
  if (Failed(hr)) return hr;
  *document = std::move(doc);
  return S_OK;
}

HRESULT HostDocument::Open(const std::string& password, OutlineRead outline, std::string* error) {
  if (!context_.Get()) {
    *error = path_ + ": out of memory (no MuPDF context)";
    return E_OUTOFMEMORY;
  }
  struct stat info {};
  if (stat(path_.c_str(), &info) != 0) {
    *error = path_ + ": file not found";
    return E_FILE_NOT_FOUND;
  }
  if (!S_ISREG(info.st_mode)) {
    *error = path_ + ": not a regular file";
    return E_INVALIDARG;
  }
  pdf_document* raw = nullptr;
  HRESULT hr = MuOpenDocument(context_, path_.c_str(), &raw);
  if (Failed(hr)) {
    *error = path_ + ": cannot open as PDF: " + context_.LastError();
    return hr;
  }
  doc_ = MuDocument(context_.Get(), raw);
  mu_.SetDocument(raw);
  openMark_ = {raw->startxref, raw->file_size};
  bool needsPassword = false;
  hr = mu_.NeedsPassword(&needsPassword);
  if (Succeeded(hr) && needsPassword) {
    if (password.empty()) {
      *error = path_ + ": a password is needed";
      return E_ACCESS_DENIED;
    }
    bool ok = false;
    hr = mu_.Authenticate(password.c_str(), &ok);
    if (Succeeded(hr) && !ok) {
      *error = path_ + ": wrong password";
      return E_ACCESS_DENIED;
    }
    password_ = password;
  }
  if (Failed(hr)) {
    *error = path_ + ": cannot open as PDF: " + context_.LastError();
    return hr;
  }
  if (!mu_.IsDict(mu_.Get(mu_.Trailer(), "Root"))) {
    *error = path_ + ": cannot open as PDF: no document catalog found";
    return E_FAIL;
  }
  try {
    std::string damage;
    hr = PageTreeCheck::Repair(mu_, &warnings_, &damage);
    if (Failed(hr)) {
      *error = path_ + ": cannot open as PDF: " + damage;
      return hr;
    }
    if (outline == OutlineRead::kAtOpen) {
      outlineRead_ = true;
      outline_.Load(mu_, &warnings_);
    }
  } catch (const std::bad_alloc&) {
    *error = path_ + ": out of memory while reading the page tree and the outline";
    return E_OUTOFMEMORY;
  }
  if (context_.OutOfMemory()) {
    *error = path_ + ": out of memory while reading the document";
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

void HostDocument::ReadOutline() {
  outlineRead_ = true;
  try {
    outline_.Load(mu_, &warnings_);
  } catch (const std::bad_alloc&) {
    outlineLost_ = true;
  }
  if (outlineLost_ || context_.OutOfMemory())
    warnings_.push_back("out of memory while reading the outline; the document takes no changes");
}

HRESULT HostDocument::BookmarkFor(int key, ComPtr<HostBookmark>* bookmark) {
  auto it = bookmarks_.find(key);
  if (it != bookmarks_.end()) {
    *bookmark = ComPtr<HostBookmark>(it->second);
    return S_OK;
  }
  return GuardCall([&] {
    auto made = MakeCom<HostBookmark>(ComPtr<HostDocument>(this), key);
    bookmarks_.emplace(key, made.Get());
    *bookmark = std::move(made);
    return S_OK;
  });
}

HRESULT HostDocument::CanChange() const {
  return context_.OutOfMemory() || outlineLost_ ? E_OUTOFMEMORY : S_OK;
}

void HostDocument::Raise(Atom event, IUnknown* object) {
  if (events_.server && event) events_.server->Raise(event, object, 0);
}

void HostDocument::BookmarkChanged(IHostBookmark* bookmark) {
  modified_ = true;
  ++outlineEdits_;
  Raise(events_.bookmarksChanged, bookmark);
}

HRESULT HostDocument::GetOutlineRoot(IHostBookmark** root) {
  if (!root) return E_POINTER;
  *root = nullptr;
  ComPtr<HostBookmark> bookmark;
  HRESULT hr = BookmarkFor(OutlineIndex::kRoot, &bookmark);
  if (Failed(hr)) return hr;
  return bookmark.CopyTo(root);
}

HRESULT HostDocument::IsPermitted(int32_t kind, int32_t, int32_t, int32_t* answer) {
  if (!answer) return E_POINTER;
  fz_permission permission;
  switch (kind) {
    case kPermPrint:
      permission = FZ_PERMISSION_PRINT;
      break;
    case kPermCopy:
      permission = FZ_PERMISSION_COPY;
      break;
    case kPermAnnotate:
      permission = FZ_PERMISSION_ANNOTATE;
      break;
    case kPermModify:
      permission = FZ_PERMISSION_EDIT;
      break;
    default:
      return E_INVALIDARG;
  }
  bool allowed = false;
  HRESULT hr = mu_.HasPermission(permission, &allowed);
  if (Failed(hr)) return hr;
  *answer = allowed ? 1 : 0;
  return S_OK;
}

HRESULT HostDocument::GetPageCount(int32_t* count) {
  if (!count) return E_POINTER;
  *count = mu_.PageCount();
  return S_OK;
}

pdf_obj* HostDocument::PageObject(int32_t page) {
  if (page < 0 || page >= mu_.PageCount()) return nullptr;
  // Through the page map: MuPDF looks a page up by walking the page tree each time, which
  // costs a walk of a long flat page list per call. The document's own table keeps the
  // object alive, so the pointer stays valid as one from the tree would.
  if (const int number = pages_.ObjectNumber(mu_, page); number > 0)
    if (MuObject object = mu_.Load(number); object && mu_.IsDict(object.Get())) return object.Get();
  return mu_.PageObject(page);
}

HRESULT HostDocument::GetPageBox(int32_t page, int32_t kind, PageBox* box) {
  if (!box) return E_POINTER;
  pdf_obj* pageObj = PageObject(page);
  if (!pageObj || kind < kBoxMedia || kind > kBoxCrop) return E_INVALIDARG;
  if (kind == kBoxContents) {
    fz_rect bounds;
    fz_matrix ctm;
    HRESULT hr = mu_.ContentsBox(page, &bounds, &ctm);
    if (Failed(hr)) return hr;
    if (fz_is_empty_rect(bounds)) {
      *box = PageBox{};
      return S_FALSE;  // nothing is drawn on the page
    }
    // Back from MuPDF's page space into PDF user space.
    fz_rect user = fz_transform_rect(bounds, fz_invert_matrix(ctm));
    *box = PageBox{user.x0, user.y0, user.x1, user.y1};
    return S_OK;
  }
  auto read = [&](pdf_obj* key) {
    pdf_obj* value = mu_.Inherited(pageObj, key);
    if (!mu_.IsArray(value) || mu_.Len(value) < 4) return std::optional<fz_rect>();
    double v[4];
    for (int i = 0; i < 4; ++i) v[i] = mu_.ToReal(mu_.At(value, i));
    return std::optional<fz_rect>(fz_make_rect(
        static_cast<float>(std::min(v[0], v[2])), static_cast<float>(std::min(v[1], v[3])),
        static_cast<float>(std::max(v[0], v[2])), static_cast<float>(std::max(v[1], v[3]))));
  };
  // Missing boxes default as PDF says: media box to Letter, crop box to the media box, the
  // other three to the crop box; the crop box never reaches outside the media box.
  fz_rect media = read(PDF_NAME(MediaBox)).value_or(fz_make_rect(0, 0, 612, 792));
  fz_rect crop = fz_intersect_rect(read(PDF_NAME(CropBox)).value_or(media), media);
  fz_rect result = media;
  if (kind == kBoxCrop)
    result = crop;
  else if (kind == kBoxBleed)
    result = read(PDF_NAME(BleedBox)).value_or(crop);
  else if (kind == kBoxTrim)
    result = read(PDF_NAME(TrimBox)).value_or(crop);
  else if (kind == kBoxArt)
    result = read(PDF_NAME(ArtBox)).value_or(crop);
  *box = PageBox{result.x0, result.y0, result.x1, result.y1};
  return S_OK;
}

HRESULT HostDocument::GetPageRotation(int32_t page, int32_t* degrees) {
  if (!degrees) return E_POINTER;
  pdf_obj* pageObj = PageObject(page);
  if (!pageObj) return E_INVALIDARG;
  int rotate = mu_.ToInt(mu_.Inherited(pageObj, PDF_NAME(Rotate)));
  // Only multiples of 90 are meaningful; others round down to one.
  rotate = ((rotate / 90) % 4 + 4) % 4;
  *degrees = rotate * 90;
  return S_OK;
}

HRESULT HostDocument::GetPageLabel(int32_t page, BString* label) {
  if (!label) return E_POINTER;
  *label = nullptr;
  if (page < 0 || page >= mu_.PageCount()) return E_INVALIDARG;
  return GuardCall([&] { return ReturnString(labels_.Label(mu_, page, &warnings_), label); });
}

HRESULT HostDocument::ResolveNamedDest(const char16_t* name, int32_t length,
                                       PageDestination* dest) {
  if (!dest) return E_POINTER;
  return GuardCall([&] {
    auto found = names_.Resolve(mu_, pages_, std::u16string(InString(name, length)));
    if (!found) return S_FALSE;
    *dest = *found;
    return S_OK;
  });
}

HRESULT HostDocument::AddNamedDest(const char16_t* name, int32_t length,
                                   const PageDestination* dest) {
  if (!dest) return E_POINTER;
  HRESULT hr = CanChange();
  if (Failed(hr)) return hr;
  hr = GuardCall(
      [&] { return names_.Add(mu_, pages_, std::u16string(InString(name, length)), *dest); });
  if (Failed(hr)) return hr;
  modified_ = true;
  Raise(events_.namedDestsInserted, static_cast<IHostDocument*>(this));
  return S_OK;
}

HRESULT HostDocument::RemoveNamedDest(const char16_t* name, int32_t length) {
  HRESULT hr = CanChange();
  if (Failed(hr)) return hr;
  bool removed = false;
  hr = GuardCall(
      [&] { return names_.Remove(mu_, std::u16string(InString(name, length)), &removed); });
  if (Failed(hr)) return hr;
  if (!removed) return S_FALSE;
  modified_ = true;
  Raise(events_.namedDestsDeleted, static_cast<IHostDocument*>(this));
  return S_OK;
}

HRESULT HostDocument::GetNamedDestCount(int32_t* count) {
  if (!count) return E_POINTER;
  return GuardCall([&] {
    *count = names_.Count(mu_);
    return S_OK;
  });
}

HRESULT HostDocument::GetNamedDestName(int32_t index, BString* name) {
  if (!name) return E_POINTER;
  *name = nullptr;
  return GuardCall([&] {
    const std::u16string* found = names_.NameAt(mu_, index);
    return found ? ReturnString(*found, name) : E_INVALIDARG;
  });
}

HRESULT HostDocument::GetFilePath(BString* path) {
  return ReturnString(base::LossyUtf16(path_), path);
}

HRESULT HostDocument::GetInfoTitle(BString* title) {
  pdf_obj* value = mu_.Get(mu_.Get(mu_.Trailer(), "Info"), "Title");
  return ReturnString(DecodeTextString(mu_.ToBytes(value)), title);
}

HRESULT HostDocument::GetUndoHistory(IHostUndoHistory** history) {
  if (!history) return E_POINTER;
  undoHistory_.CopyTo(history);
  return undoHistory_ ? S_OK : S_FALSE;
}

HRESULT HostDocument::Save(const std::string& path, std::string* error) {
  if (!error) return E_POINTER;
  if (context_.OutOfMemory()) {
    *error = path_ + ": not saved: MuPDF ran out of memory while working on this document";
    return E_OUTOFMEMORY;
  }
  if (HRESULT hr = GuardCall([&] { return outline_.Flush(mu_); }); Failed(hr)) {
    *error = path_ + ": not saved: the outline could not be written: " + context_.LastError();
    return hr;
  }
  if (HRESULT hr = PackOwnStreams(); Failed(hr)) {
    *error = path_ + ": not saved: " + context_.LastError();
    return hr;
  }
  if (HRESULT hr = FillEmptyContentStreams(mu_); Failed(hr)) {
    *error = path_ + ": not saved: " + context_.LastError();
    return hr;
  }
  // A second handle may hold the file that is about to be replaced.
  spareHandle_.reset();
  return SaveAtomically(mu_, path, error);
}

std::unique_ptr<SecondHandle> HostDocument::TakeSecondHandle() {
  if (spareHandle_) return std::move(spareHandle_);
  if (!context_.Get() || context_.OutOfMemory()) return nullptr;
  try {
    return SecondHandle::Make(path_, password_, openMark_);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void HostDocument::ReturnSecondHandle(std::unique_ptr<SecondHandle> handle) {
  if (handle && !spareHandle_) spareHandle_ = std::move(handle);
}

}  // namespace zelta::pdf
