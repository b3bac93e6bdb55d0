// The document's page services: content writers and fonts, appending content, annotations,
// and the page-list changes the host's page operations make.
#include <algorithm>
#include <cmath>
#include <new>
#include <unordered_set>

#include "host/call_guard.h"
#include "zelta/base/text_codec.h"
#include "zelta/pdf/actions/action_writer.h"
#include "zelta/pdf/actions/host_action_list.h"
#include "zelta/pdf/fonts/writer_font.h"
#include "zelta/pdf/host_document.h"
#include "zelta/pdf/pages/content_piece.h"
#include "zelta/pdf/pages/content_undo.h"
#include "zelta/pdf/pages/content_writer.h"
#include "zelta/pdf/pages/host_annotation.h"

namespace zelta::pdf {
namespace {

constexpr std::u16string_view kAppendLabel = u"op.document.appendContent";

// A reference to the page at an index, through the page map (looking a page up in the page
// tree costs a walk per call); null for a page outside the document.
MuObject PageRef(MuCalls& mu, PageMap& pages, int32_t page) {
  if (page < 0 || page >= mu.PageCount()) return MuObject();
  if (int number = pages.ObjectNumber(mu, page)) {
    MuObject ref;
    if (Succeeded(mu.NewRef(number, &ref))) return ref;
  }
  pdf_obj* object = mu.PageObject(page);
  return object ? MuObject::Keep(mu.Ctx(), object) : MuObject();
}

bool IsLink(MuCalls& mu, pdf_obj* annotation) {
  return mu.IsDict(annotation) && mu.ToName(mu.Get(annotation, "Subtype")) == "Link";
}

// The Link annotations of a page, in its annotation order.
std::vector<pdf_obj*> PageLinks(MuCalls& mu, pdf_obj* page) {
  std::vector<pdf_obj*> links;
  pdf_obj* annots = mu.Get(page, "Annots");
  for (int i = 0, n = mu.Len(annots); i < n; ++i)
    if (pdf_obj* annotation = mu.At(annots, i); IsLink(mu, annotation)) links.push_back(annotation);
  return links;
}

}  // namespace

HRESULT HostDocument::GetLinkCount(int32_t page, int32_t* count) {
  if (!count) return E_POINTER;
  *count = 0;
  const MuObject pageRef = PageRef(mu_, pages_, page);
  if (!pageRef) return E_INVALIDARG;
  return GuardCall([&] {
    *count = static_cast<int32_t>(PageLinks(mu_, pageRef.Get()).size());
    return S_OK;
  });
}

HRESULT HostDocument::CountAllLinks(int64_t* links) {
  if (!links) return E_POINTER;
  *links = 0;
  return GuardCall([&] {
    const int32_t count = mu_.PageCount();
    for (int32_t page = 0; page < count; ++page) {
      // Through the page map, without a reference or a list made per page.
      pdf_obj* annots = mu_.Get(PageObject(page), "Annots");
      for (int i = 0, n = mu_.Len(annots); i < n; ++i) *links += IsLink(mu_, mu_.At(annots, i));
    }
    return S_OK;
  });
}

HRESULT HostDocument::GetLink(int32_t page, int32_t index, PageBox* rect,
                              IHostActionList** actions) {
  if (actions) *actions = nullptr;
  const MuObject pageRef = PageRef(mu_, pages_, page);
  if (!pageRef) return E_INVALIDARG;
  return GuardCall([&]() -> HRESULT {
    const std::vector<pdf_obj*> links = PageLinks(mu_, pageRef.Get());
    if (index < 0 || static_cast<size_t>(index) >= links.size()) return E_INVALIDARG;
    pdf_obj* link = links[static_cast<size_t>(index)];
    if (rect) {
      pdf_obj* box = mu_.Get(link, "Rect");
      double v[4];
      for (int i = 0; i < 4; ++i) v[i] = mu_.ToReal(mu_.At(box, i));
      *rect = {std::min(v[0], v[2]), std::min(v[1], v[3]), std::max(v[0], v[2]),
               std::max(v[1], v[3])};
    }
    if (!actions) return S_OK;
    return HostActionList::ForDict(ComPtr<HostDocument>(this), link).CopyTo(actions);
  });
}

DocumentFonts& HostDocument::Fonts() {
  if (!fonts_) fonts_ = std::make_unique<DocumentFonts>(mu_);
  return *fonts_;
}

HRESULT HostDocument::CreateContentWriter(IHostContentWriter** writer) {
  if (!writer) return E_POINTER;
  *writer = nullptr;
  return GuardCall(
      [&] { return MakeCom<ContentWriter>(ComPtr<HostDocument>(this)).CopyTo(writer); });
}

HRESULT HostDocument::ResolveFont(const char16_t* name, int32_t length, IHostWriterFont** font) {
  if (!font) return E_POINTER;
  *font = nullptr;
  if (length < -1) return E_INVALIDARG;
  std::u16string requested(InString(name, length));
  if (requested.empty()) return E_INVALIDARG;
  return GuardCall([&]() -> HRESULT {
    FontFace* face = nullptr;
    bool substitute = false;
    HRESULT hr = Fonts().Resolve(base::LossyUtf8(requested), &face, &substitute);
    if (Failed(hr)) return hr;
    hr = MakeCom<WriterFont>(ComPtr<HostDocument>(this), face, std::move(requested), substitute)
             .CopyTo(font);
    return Failed(hr) ? hr : substitute ? S_FALSE : S_OK;
  });
}

HRESULT HostDocument::GetBatesNumber(int32_t page, BString* number) {
  if (!number) return E_POINTER;
  *number = nullptr;
  if (page < 0 || page >= mu_.PageCount()) return E_INVALIDARG;
  // A plain PDF carries no Bates numbering.
  HRESULT hr = ReturnString(std::u16string_view(), number);
  return Failed(hr) ? hr : S_FALSE;
}

HRESULT HostDocument::AppendContent(int32_t page, IHostContent* content) {
  auto* piece = dynamic_cast<ContentPiece*>(content);
  if (!piece || piece->Document() != this) return E_INVALIDARG;
  const MuObject pageRef = PageRef(mu_, pages_, page);
  pdf_obj* pageObj = pageRef.Get();
  if (!pageObj) return E_INVALIDARG;
  if (piece->Bytes().empty()) return S_FALSE;
  HRESULT hr = CanChange();
  if (Failed(hr)) return hr;
  return GuardCall([&]() -> HRESULT {
    ContentUndo::Entries before{MuObject::Keep(mu_.Ctx(), mu_.Get(pageObj, "Contents")),
                                MuObject::Keep(mu_.Ctx(), mu_.Get(pageObj, "Resources"))};

    // Resources first: nothing is drawn with a font the page does not name.
    pdf_obj* resources = mu_.Inherited(pageObj, PDF_NAME(Resources));
    pdf_obj* fonts = mu_.Get(resources, "Font");
    bool complete = true;
    for (const auto& [number, ref] : piece->Fonts())
      if (mu_.Num(mu_.Get(fonts, ContentPiece::FontResourceName(number).c_str())) != number)
        complete = false;
    if (!complete) {
      // Copies, so that resources shared with other pages stay as they are.
      MuObject ownResources, ownFonts;
      hr = mu_.IsDict(resources) ? mu_.CopyDict(resources, &ownResources)
                                 : mu_.NewDict(&ownResources);
      if (Succeeded(hr))
        hr = mu_.IsDict(fonts) ? mu_.CopyDict(fonts, &ownFonts) : mu_.NewDict(&ownFonts);
      for (const auto& [number, ref] : piece->Fonts())
        if (Succeeded(hr))
          hr = mu_.Put(ownFonts.Get(), ContentPiece::FontResourceName(number).c_str(), ref.Get());
      if (Succeeded(hr)) hr = mu_.Put(ownResources.Get(), "Font", ownFonts.Get());
      if (Succeeded(hr)) hr = mu_.Put(pageObj, "Resources", ownResources.Get());
      if (Failed(hr)) return hr;
    }

    // Into the page's last stream when it is one of the host's own, else a new stream after
    // the page's content, which is wrapped in q/Q so that its graphics state ends there.
    pdf_obj* contents = mu_.Get(pageObj, "Contents");
    pdf_obj* last = mu_.IsArray(contents) ? mu_.At(contents, mu_.Len(contents) - 1) : contents;
    int stream = mu_.IsIndirect(last) ? mu_.Num(last) : 0;
    size_t streamLength = 0;
    if (stream && IsOwnStream(stream)) {
      streamLength = ownStreams_[stream].bytes.size();
      hr = AppendToOwnStream(stream, piece->Bytes());
    } else {
      stream = 0;
      MuObject added, list, open, close;
      hr = mu_.AddStream(piece->Bytes(), nullptr, &added);
      if (Succeeded(hr)) ownStreams_[mu_.Num(added.Get())].bytes = piece->Bytes();
      if (Succeeded(hr)) hr = mu_.NewArray(&list);
      if (Succeeded(hr) && contents) {
        hr = mu_.AddStream("q\n", nullptr, &open);
        if (Succeeded(hr)) hr = mu_.Push(list.Get(), open.Get());
        if (mu_.IsArray(contents)) {
          for (int i = 0, n = mu_.Len(contents); Succeeded(hr) && i < n; ++i)
            hr = mu_.Push(list.Get(), mu_.At(contents, i));
        } else if (Succeeded(hr)) {
          hr = mu_.Push(list.Get(), contents);
        }
        if (Succeeded(hr)) hr = mu_.AddStream("\nQ\n", nullptr, &close);
        if (Succeeded(hr)) hr = mu_.Push(list.Get(), close.Get());
      }
      if (Succeeded(hr)) hr = mu_.Push(list.Get(), added.Get());
      if (Succeeded(hr)) hr = mu_.Put(pageObj, "Contents", list.Get());
    }
    if (Failed(hr)) {
      // Back as it was: a half-made change is not left behind.
      MakeCom<ContentUndo>(ComPtr<HostDocument>(this), MuObject::Keep(mu_.Ctx(), pageObj), before,
                           ContentUndo::Entries{}, stream, streamLength, std::string())
          ->Undo();
      return hr;
    }
    ContentUndo::Entries after{MuObject::Keep(mu_.Ctx(), mu_.Get(pageObj, "Contents")),
                               MuObject::Keep(mu_.Ctx(), mu_.Get(pageObj, "Resources"))};
    auto undo = MakeCom<ContentUndo>(ComPtr<HostDocument>(this), MuObject::Keep(mu_.Ctx(), pageObj),
                                     std::move(before), std::move(after), stream, streamLength,
                                     piece->Bytes());
    modified_ = true;
    return RecordChange(kAppendLabel, undo.Get());
  });
}

HRESULT HostDocument::RecordChange(std::u16string_view label, IUndoItem* item) {
  if (!undoHistory_) return S_OK;
  ComPtr<IHostChangeGroup> group;
  std::u16string text(label);
  HRESULT hr =
      undoHistory_->BeginGroup(text.c_str(), static_cast<int32_t>(text.size()), group.Put());
  if (Succeeded(hr) && group) hr = group->AddItem(item);
  if (group) {
    HRESULT closed = Succeeded(hr) ? group->Commit() : group->Rollback();
    if (Succeeded(hr) && Failed(closed)) hr = closed;
  }
  return hr;
}

HRESULT HostDocument::CreateAnnotation(int32_t page, const char16_t* type, int32_t typeLength,
                                       const PageBox* rect, int32_t position,
                                       IHostAnnotation** annotation) {
  if (!annotation || !rect) return E_POINTER;
  *annotation = nullptr;
  if (typeLength < -1 || InString(type, typeLength) != u"Link") return E_INVALIDARG;
  const MuObject pageRef = PageRef(mu_, pages_, page);
  pdf_obj* pageObj = pageRef.Get();
  if (!pageObj) return E_INVALIDARG;
  if (!std::isfinite(rect->left) || !std::isfinite(rect->right) || !std::isfinite(rect->bottom) ||
      !std::isfinite(rect->top) || rect->right <= rect->left || rect->top <= rect->bottom)
    return E_INVALIDARG;
  HRESULT hr = CanChange();
  if (Failed(hr)) return hr;
  return GuardCall([&] {
    MuObject dict, name, box, number, ref;
    hr = mu_.NewDict(&dict);
    if (Succeeded(hr)) hr = mu_.NewName("Annot", &name);
    if (Succeeded(hr)) hr = mu_.Put(dict.Get(), "Type", name.Get());
    if (Succeeded(hr)) hr = mu_.NewName("Link", &name);
    if (Succeeded(hr)) hr = mu_.Put(dict.Get(), "Subtype", name.Get());
    if (Succeeded(hr)) hr = mu_.NewArray(&box);
    for (double v : {rect->left, rect->bottom, rect->right, rect->top}) {
      if (Succeeded(hr)) hr = mu_.NewReal(v, &number);
      if (Succeeded(hr)) hr = mu_.Push(box.Get(), number.Get());
    }
    if (Succeeded(hr)) hr = mu_.Put(dict.Get(), "Rect", box.Get());
    if (Succeeded(hr)) hr = mu_.Put(dict.Get(), "P", pageObj);
    if (Succeeded(hr)) hr = mu_.AddObject(dict.Get(), &ref);
    if (Succeeded(hr)) hr = AttachAnnotation(pageObj, ref.Get(), position);
    if (Failed(hr)) return hr;
    modified_ = true;
    return MakeCom<HostAnnotation>(ComPtr<HostDocument>(this), MuObject::Keep(mu_.Ctx(), pageObj),
                                   std::move(ref))
        .CopyTo(annotation);
  });
}

HRESULT HostDocument::CreateLinks(int32_t page, int32_t count, const PageBox* rects,
                                  IHostActionList* const* actions, IHostAnnotation** links) {
  if (count < 0) return E_INVALIDARG;
  if (count > 0 && (!rects || !actions || !links)) return E_POINTER;
  for (int32_t i = 0; i < count; ++i) links[i] = nullptr;
  const MuObject pageRef = PageRef(mu_, pages_, page);
  pdf_obj* pageObj = pageRef.Get();
  if (!pageObj) return E_INVALIDARG;
  std::vector<fz_rect> boxes(static_cast<size_t>(count));
  std::vector<HostActionList*> lists(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    const PageBox& r = rects[i];
    if (!std::isfinite(r.left) || !std::isfinite(r.right) || !std::isfinite(r.bottom) ||
        !std::isfinite(r.top) || r.right <= r.left || r.top <= r.bottom)
      return E_INVALIDARG;
    boxes[i] = fz_make_rect(static_cast<float>(r.left), static_cast<float>(r.bottom),
                            static_cast<float>(r.right), static_cast<float>(r.top));
    if (!actions[i]) continue;
    auto* list = dynamic_cast<HostActionList*>(actions[i]);
    if (!list || list->Document() != this) return E_INVALIDARG;
    for (const auto& action : list->Actions())
      if (!action || !action->IsComplete()) return E_INVALIDARG;
    lists[i] = list;
  }
  if (count == 0) return S_OK;
  HRESULT hr = CanChange();
  if (Failed(hr)) return hr;
  return GuardCall([&]() -> HRESULT {
    std::vector<MuObject> refs;
    hr = mu_.AddLinkAnnotations(pageObj, boxes, "zelta-annot-", &refs);
    if (Failed(hr)) return hr;
    modified_ = true;
    for (size_t i = 0; Succeeded(hr) && i < refs.size(); ++i)
      if (lists[i] && !lists[i]->Actions().empty())
        hr = WriteItemActions(mu_, refs[i].Get(), lists[i]->Actions());
    std::vector<ComPtr<IHostAnnotation>> made(refs.size());
    for (size_t i = 0; Succeeded(hr) && i < refs.size(); ++i)
      hr = MakeCom<HostAnnotation>(ComPtr<HostDocument>(this), MuObject::Keep(mu_.Ctx(), pageObj),
                                   refs[i])
               .CopyTo(made[i].Put());
    if (Failed(hr)) {
      int position = -1;
      for (size_t i = refs.size(); i-- > 0;) DetachAnnotation(pageObj, refs[i].Get(), &position);
      return hr;
    }
    for (size_t i = 0; i < made.size(); ++i) made[i].CopyTo(&links[i]);
    return S_OK;
  });
}

bool HostDocument::AnnotationsOnTheirPages(
    const std::vector<std::pair<pdf_obj*, pdf_obj*>>& pageAndAnnots) {
  int page = 0;
  std::unordered_set<int> onPage;
  for (const auto& [pageObj, annotation] : pageAndAnnots) {
    const int number = mu_.Num(pageObj);
    if (number == 0 || number != page) {
      if (pages_.IndexOf(mu_, pageObj) < 0) return false;
      page = number;
      onPage.clear();
      pdf_obj* annots = mu_.Get(pageObj, "Annots");
      for (int i = 0, n = mu_.Len(annots); i < n; ++i) onPage.insert(mu_.Num(mu_.At(annots, i)));
    }
    if (!onPage.count(mu_.Num(annotation))) return false;
  }
  return true;
}

int HostDocument::AnnotationPage(pdf_obj* page, pdf_obj* annotation) {
  pdf_obj* annots = mu_.Get(page, "Annots");
  const int number = mu_.Num(annotation);
  // From the end: the annotation asked about is most often one just made.
  for (int i = mu_.Len(annots) - 1; i >= 0; --i)
    if (mu_.Num(mu_.At(annots, i)) == number) return pages_.IndexOf(mu_, page);
  return -1;
}

HRESULT HostDocument::DetachAnnotation(pdf_obj* page, pdf_obj* annotation, int* position) {
  *position = -1;
  pdf_obj* annots = mu_.Get(page, "Annots");
  const int number = mu_.Num(annotation);
  for (int i = mu_.Len(annots) - 1; i >= 0; --i) {
    if (mu_.Num(mu_.At(annots, i)) != number) continue;
    HRESULT hr = mu_.Delete(annots, i);
    if (Failed(hr)) return hr;
    *position = i;
    modified_ = true;
    return S_OK;
  }
  return S_FALSE;
}

HRESULT HostDocument::AttachAnnotation(pdf_obj* page, pdf_obj* annotation, int position) {
  pdf_obj* annots = mu_.Get(page, "Annots");
  HRESULT hr = S_OK;
  if (!mu_.IsArray(annots)) {
    MuObject made;
    hr = mu_.NewArray(&made);
    if (Succeeded(hr)) hr = mu_.Put(page, "Annots", made.Get());
    if (Failed(hr)) return hr;
    annots = mu_.Get(page, "Annots");
  }
  const int count = mu_.Len(annots);
  hr = position < 0 || position >= count ? mu_.Push(annots, annotation)
                                         : mu_.Insert(annots, annotation, position);
  if (Succeeded(hr)) modified_ = true;
  return hr;
}

HRESULT HostDocument::MakeEmptyPages(int count, double width, double height,
                                     std::vector<MuObject>* pages) {
  HRESULT hr = CanChange();
  if (Failed(hr)) return hr;
  pages->clear();
  pages->reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    MuObject page;
    hr = mu_.NewPage(width, height, &page);
    if (Failed(hr)) return hr;
    // Text written onto the page goes into its own (empty) content stream.
    if (int stream = mu_.Num(mu_.Get(page.Get(), "Contents"))) ownStreams_[stream];
    pages->push_back(std::move(page));
  }
  return S_OK;
}

HRESULT HostDocument::PutPages(int position, const std::vector<MuObject>& pages) {
  HRESULT hr = CanChange();
  if (Failed(hr)) return hr;
  if (position < 0 || position > mu_.PageCount()) return E_INVALIDARG;
  for (size_t i = 0; i < pages.size(); ++i) {
    hr = mu_.InsertPage(position + static_cast<int>(i), pages[i].Get());
    if (Failed(hr)) {
      for (size_t k = 0; k < i; ++k) mu_.DeletePage(position);
      PagesChanged();
      return hr;
    }
  }
  PagesChanged();
  return S_OK;
}

HRESULT HostDocument::TakePages(int position, int count, std::vector<MuObject>* pages) {
  HRESULT hr = CanChange();
  if (Failed(hr)) return hr;
  if (position < 0 || count < 0 || position + count > mu_.PageCount()) return E_INVALIDARG;
  pages->clear();
  for (int i = 0; i < count; ++i) pages->push_back(PageRef(mu_, pages_, position + i));
  for (int i = 0; i < count; ++i) {
    hr = mu_.DeletePage(position);
    if (Failed(hr)) {
      // Those already taken go back, so the page list is whole again.
      std::vector<MuObject> taken(pages->begin(), pages->begin() + i);
      PutPages(position, taken);
      return hr;
    }
  }
  PagesChanged();
  return S_OK;
}

MuObject HostDocument::PageLabelTree() {
  pdf_obj* tree = mu_.Get(mu_.Get(mu_.Trailer(), "Root"), "PageLabels");
  return tree ? MuObject::Keep(mu_.Ctx(), tree) : MuObject();
}

HRESULT HostDocument::ShiftedPageLabels(int position, int count, MuObject* tree) {
  return PageLabels::ShiftedTree(mu_, position, count, &warnings_, tree);
}

HRESULT HostDocument::SetPageLabelTree(const MuObject& tree) {
  pdf_obj* root = mu_.Get(mu_.Trailer(), "Root");
  HRESULT hr = tree ? mu_.Put(root, "PageLabels", tree.Get()) : mu_.Del(root, "PageLabels");
  labels_.Invalidate();
  if (Succeeded(hr)) modified_ = true;
  return hr;
}

void HostDocument::PagesChanged() {
  modified_ = true;
  pages_.Invalidate();
  labels_.Invalidate();
  names_.Invalidate();
}

HRESULT HostDocument::SetOwnStreamLength(int number, size_t length) {
  auto found = ownStreams_.find(number);
  if (found == ownStreams_.end()) return E_INVALIDARG;
  std::string& bytes = found->second.bytes;
  if (length > bytes.size()) return E_INVALIDARG;
  bytes.resize(length);
  found->second.packed = false;
  MuObject ref;
  HRESULT hr = mu_.NewRef(number, &ref);
  return Succeeded(hr) ? mu_.UpdateStream(ref.Get(), bytes, false) : hr;
}

HRESULT HostDocument::AppendToOwnStream(int number, const std::string& bytes) {
  auto found = ownStreams_.find(number);
  if (found == ownStreams_.end()) return E_INVALIDARG;
  std::string& own = found->second.bytes;
  const size_t before = own.size();
  own += bytes;
  found->second.packed = false;
  MuObject ref;
  HRESULT hr = mu_.NewRef(number, &ref);
  if (Succeeded(hr)) hr = mu_.UpdateStream(ref.Get(), own, false);
  if (Failed(hr)) own.resize(before);
  return hr;
}

HRESULT HostDocument::PackOwnStreams() {
  for (auto& [number, stream] : ownStreams_) {
    if (stream.packed || stream.bytes.empty()) continue;
    MuObject ref;
    HRESULT hr = mu_.NewRef(number, &ref);
    if (Succeeded(hr)) hr = mu_.UpdateStream(ref.Get(), stream.bytes, true);
    if (Failed(hr)) return hr;
    stream.packed = true;
  }
  return S_OK;
}

}  // namespace zelta::pdf
