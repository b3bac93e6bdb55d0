#include "zelta/pdf/outline/named_dests.h"

#include "zelta/base/text_codec.h"
#include "zelta/pdf/actions/destination.h"
#include "zelta/pdf/outline/name_tree.h"
#include "zelta/pdf/text/pdf_text.h"

namespace zelta::pdf {
namespace {

pdf_obj* Catalog(MuCalls& mu) { return mu.Get(mu.Trailer(), "Root"); }

}  // namespace

void NamedDests::Invalidate() {
  built_ = false;
  entries_.clear();
  byName_.clear();
  resolved_.clear();
}

void NamedDests::Build(MuCalls& mu) {
  Invalidate();
  warnings_.clear();
  pdf_obj* catalog = Catalog(mu);
  pdf_obj* tree = mu.Get(mu.Get(catalog, "Names"), "Dests");
  for (auto& leaf : NameTree::Collect(mu, tree, "Names", "named destinations", &warnings_)) {
    std::u16string name = DecodeTextString(leaf.name);
    if (byName_.count(name)) continue;
    byName_.emplace(name, entries_.size());
    entries_.push_back({std::move(name), {}, std::move(leaf.value)});
  }
  pdf_obj* legacy = mu.Get(catalog, "Dests");
  int n = mu.IsDict(legacy) ? mu.DictLen(legacy) : 0;
  for (int i = 0; i < n; ++i) {
    std::string key = mu.ToName(mu.DictKey(legacy, i));
    std::u16string name = base::LossyUtf16(key);
    if (key.empty() || byName_.count(name)) continue;
    byName_.emplace(name, entries_.size());
    entries_.push_back({std::move(name), key, MuObject::Keep(mu.Ctx(), mu.DictValue(legacy, i))});
  }
  built_ = true;
}

std::optional<PageDestination> NamedDests::Resolve(MuCalls& mu, PageMap& pages,
                                                   const std::u16string& name) {
  if (!built_) Build(mu);
  auto cached = resolved_.find(name);
  if (cached != resolved_.end()) return cached->second;
  std::optional<PageDestination> result;
  auto it = byName_.find(name);
  if (it != byName_.end()) {
    pdf_obj* value = entries_[it->second].value.Get();
    // The value is a destination array, or a dictionary whose /D is one.
    if (mu.IsDict(value)) value = mu.Get(value, "D");
    PageDestination dest;
    if (ParseDestination(mu, pages, value, false, &dest)) result = dest;
  }
  resolved_.emplace(name, result);
  return result;
}

std::optional<PageDestination> NamedDests::ResolveRaw(MuCalls& mu, PageMap& pages, pdf_obj* key) {
  if (mu.IsString(key)) return Resolve(mu, pages, DecodeTextString(mu.ToBytes(key)));
  if (mu.IsName(key)) return Resolve(mu, pages, base::LossyUtf16(mu.ToName(key)));
  return std::nullopt;
}

HRESULT NamedDests::Add(MuCalls& mu, PageMap& pages, const std::u16string& name,
                        const PageDestination& dest) {
  if (name.empty()) return E_INVALIDARG;
  MuObject array;
  HRESULT hr = BuildDestination(mu, pages, dest, false, &array);
  if (Failed(hr)) return hr;
  pdf_obj* catalog = Catalog(mu);
  if (!mu.IsDict(catalog))
    return mu.Context().Fail(E_FAIL, "the document has no catalog dictionary");
  Invalidate();
  // Make /Names and its /Dests tree when they are missing.
  pdf_obj* names = mu.Get(catalog, "Names");
  if (!mu.IsDict(names)) {
    MuObject dict, ref;
    hr = mu.NewDict(&dict);
    if (Succeeded(hr)) hr = mu.AddObject(dict.Get(), &ref);
    if (Succeeded(hr)) hr = mu.Put(catalog, "Names", ref.Get());
    if (Failed(hr)) return hr;
    names = mu.Get(catalog, "Names");
  }
  pdf_obj* tree = mu.Get(names, "Dests");
  if (!mu.IsDict(tree)) {
    MuObject dict, ref;
    hr = mu.NewDict(&dict);
    if (Succeeded(hr)) hr = mu.AddObject(dict.Get(), &ref);
    if (Succeeded(hr)) hr = mu.Put(names, "Dests", ref.Get());
    if (Failed(hr)) return hr;
    tree = mu.Get(names, "Dests");
  }
  return NameTree::Insert(mu, tree, EncodeTextString(name), array.Get());
}

HRESULT NamedDests::Remove(MuCalls& mu, const std::u16string& name, bool* removed) {
  *removed = false;
  if (!built_) Build(mu);
  auto it = byName_.find(name);
  std::string legacyKey =
      it != byName_.end() ? entries_[it->second].legacyKey : base::LossyUtf8(name);
  Invalidate();
  pdf_obj* catalog = Catalog(mu);
  pdf_obj* tree = mu.Get(mu.Get(catalog, "Names"), "Dests");
  HRESULT hr = S_OK;
  if (mu.IsDict(tree)) {
    // The tree may hold the name in either text encoding.
    std::string encoded = EncodeTextString(name);
    std::string wide = "\xFE\xFF";
    for (char16_t c : name) {
      wide.push_back(static_cast<char>(c >> 8));
      wide.push_back(static_cast<char>(c & 0xFF));
    }
    for (const std::string& key : {encoded, wide}) {
      bool gone = false;
      hr = NameTree::Remove(mu, tree, key, &gone);
      if (Failed(hr)) return hr;
      *removed = *removed || gone;
    }
  }
  pdf_obj* legacy = mu.Get(catalog, "Dests");
  if (mu.IsDict(legacy) && !legacyKey.empty() && mu.Get(legacy, legacyKey.c_str())) {
    hr = mu.Del(legacy, legacyKey.c_str());
    if (Succeeded(hr)) *removed = true;
  }
  return hr;
}

int NamedDests::Count(MuCalls& mu) {
  if (!built_) Build(mu);
  return static_cast<int>(entries_.size());
}

const std::u16string* NamedDests::NameAt(MuCalls& mu, int index) {
  if (!built_) Build(mu);
  if (index < 0 || static_cast<size_t>(index) >= entries_.size()) return nullptr;
  return &entries_[index].name;
}

}  // namespace zelta::pdf
