#include "zelta/pdf/actions/action_writer.h"

#include <algorithm>

#include "zelta/base/text_codec.h"
#include "zelta/pdf/text/pdf_text.h"

namespace zelta::pdf {

HRESULT CopyDict(MuCalls& mu, pdf_obj* dict, const char* skipKey, MuObject* copy) {
  MuObject out;
  HRESULT hr = mu.NewDict(&out);
  int length = mu.DictLen(dict);
  for (int i = 0; Succeeded(hr) && i < length; ++i) {
    std::string key = mu.ToName(mu.DictKey(dict, i));
    if (key.empty() || (skipKey && key == skipKey)) continue;
    hr = mu.Put(out.Get(), key.c_str(), mu.DictValue(dict, i));
  }
  if (Succeeded(hr)) *copy = std::move(out);
  return hr;
}

HRESULT NewFileSpec(MuCalls& mu, std::u16string_view file, MuObject* fileRef) {
  std::string bytes = base::LossyUtf8(file);
  bool ascii = std::all_of(bytes.begin(), bytes.end(),
                           [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii) return mu.NewString(bytes, fileRef);
  MuObject dict, type, f, uf;
  HRESULT hr = mu.NewDict(&dict);
  if (Succeeded(hr)) hr = mu.NewName("Filespec", &type);
  if (Succeeded(hr)) hr = mu.Put(dict.Get(), "Type", type.Get());
  if (Succeeded(hr)) hr = mu.NewString(bytes, &f);
  if (Succeeded(hr)) hr = mu.Put(dict.Get(), "F", f.Get());
  if (Succeeded(hr)) hr = mu.NewString(EncodeTextString(file), &uf);
  if (Succeeded(hr)) hr = mu.Put(dict.Get(), "UF", uf.Get());
  if (Succeeded(hr)) *fileRef = std::move(dict);
  return hr;
}

namespace {

// The dictionary an action is written as: a copy of its own, or a GoTo around a bare
// destination. The chain link is left out; the caller sets it.
HRESULT ActionDict(MuCalls& mu, HostAction& action, MuObject* dict) {
  if (!action.IsBareDest()) return CopyDict(mu, action.Object(), "Next", dict);
  MuObject out, name;
  HRESULT hr = mu.NewDict(&out);
  if (Succeeded(hr)) hr = mu.NewName("GoTo", &name);
  if (Succeeded(hr)) hr = mu.Put(out.Get(), "S", name.Get());
  if (Succeeded(hr)) hr = mu.Put(out.Get(), "D", action.Object());
  if (Succeeded(hr)) *dict = std::move(out);
  return hr;
}

}  // namespace

HRESULT WriteItemActions(MuCalls& mu, pdf_obj* item,
                         const std::vector<ComPtr<HostAction>>& actions) {
  if (!mu.IsDict(item)) return E_FAIL;
  for (const auto& action : actions)
    if (!action || !action->IsComplete()) return E_INVALIDARG;

  if (actions.size() == 1 && actions[0]->IsBareDest()) {
    MuObject dest = MuObject::Keep(mu.Ctx(), actions[0]->Object());
    HRESULT hr = mu.Put(item, "Dest", dest.Get());
    if (Succeeded(hr)) hr = mu.Del(item, "A");
    if (Succeeded(hr)) actions[0]->Rebind(dest, true);
    return hr;
  }

  // Build the chain back to front, so each dictionary can point at the next one's object.
  // Every place gets its own object: a list that names one action twice cannot loop.
  std::vector<MuObject> refs(actions.size());
  MuObject next;
  for (size_t i = actions.size(); i-- > 0;) {
    MuObject dict;
    HRESULT hr = ActionDict(mu, *actions[i], &dict);
    if (Succeeded(hr) && next) hr = mu.Put(dict.Get(), "Next", next.Get());
    if (Succeeded(hr)) hr = mu.AddObject(dict.Get(), &refs[i]);
    if (Failed(hr)) return hr;
    next = refs[i];
  }
  HRESULT hr = actions.empty() ? mu.Del(item, "A") : mu.Put(item, "A", refs[0].Get());
  if (Succeeded(hr)) hr = mu.Del(item, "Dest");
  if (Failed(hr)) return hr;
  for (size_t i = 0; i < actions.size(); ++i) actions[i]->Rebind(refs[i], false);
  return S_OK;
}

}  // namespace zelta::pdf
