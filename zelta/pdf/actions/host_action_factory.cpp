#include "zelta/pdf/actions/host_action_factory.h"

#include "host/call_guard.h"
#include "zelta/base/text_codec.h"
#include "zelta/pdf/actions/action_writer.h"
#include "zelta/pdf/actions/destination.h"
#include "zelta/pdf/text/pdf_text.h"

namespace zelta::pdf {
namespace {

// One key of a new action dictionary. `value` is null for a key left out.
struct Entry {
  const char* key;
  MuObject value;
};

// A new action dictionary /S type with the entries, wrapped as the action's own object.
HRESULT Make(HostDocument* document, const char* type, std::initializer_list<Entry> entries,
             ComPtr<HostAction>* action) {
  HRESULT hr = document->CanChange();
  if (Failed(hr)) return hr;
  MuCalls& mu = document->Mu();
  MuObject dict, name;
  hr = mu.NewDict(&dict);
  if (Succeeded(hr)) hr = mu.NewName(type, &name);
  if (Succeeded(hr)) hr = mu.Put(dict.Get(), "S", name.Get());
  for (const Entry& entry : entries)
    if (Succeeded(hr) && entry.value) hr = mu.Put(dict.Get(), entry.key, entry.value.Get());
  if (Failed(hr)) return hr;
  *action = MakeCom<HostAction>(ComPtr<HostDocument>(document), std::move(dict), false, true);
  return S_OK;
}

HRESULT TextString(MuCalls& mu, std::u16string_view text, MuObject* out) {
  if (text.empty()) return E_INVALIDARG;
  return mu.NewString(EncodeTextString(text), out);
}

HRESULT FileSpec(MuCalls& mu, std::u16string_view file, MuObject* out) {
  if (file.empty()) return E_INVALIDARG;
  return NewFileSpec(mu, file, out);
}

}  // namespace

HRESULT HostActionFactory::MakeGoTo(HostDocument* document, const PageDestination* dest,
                                    ComPtr<HostAction>* action) {
  if (!dest) return E_POINTER;
  MuObject array;
  HRESULT hr = BuildDestination(document->Mu(), document->Pages(), *dest, false, &array);
  return Succeeded(hr) ? Make(document, "GoTo", {{"D", array}}, action) : hr;
}

HRESULT HostActionFactory::MakeGoToNamed(HostDocument* document, std::u16string_view name,
                                         ComPtr<HostAction>* action) {
  MuObject value;
  HRESULT hr = TextString(document->Mu(), name, &value);
  return Succeeded(hr) ? Make(document, "GoTo", {{"D", value}}, action) : hr;
}

HRESULT HostActionFactory::MakeGoToRemote(HostDocument* document, std::u16string_view file,
                                          const PageDestination* dest, ComPtr<HostAction>* action) {
  if (!dest) return E_POINTER;
  MuObject fileRef, array;
  HRESULT hr = FileSpec(document->Mu(), file, &fileRef);
  if (Succeeded(hr)) hr = BuildDestination(document->Mu(), document->Pages(), *dest, true, &array);
  return Succeeded(hr) ? Make(document, "GoToR", {{"F", fileRef}, {"D", array}}, action) : hr;
}

HRESULT HostActionFactory::MakeGoToRemoteNamed(HostDocument* document, std::u16string_view file,
                                               std::u16string_view name,
                                               ComPtr<HostAction>* action) {
  MuObject fileRef, value;
  HRESULT hr = FileSpec(document->Mu(), file, &fileRef);
  if (Succeeded(hr)) hr = TextString(document->Mu(), name, &value);
  return Succeeded(hr) ? Make(document, "GoToR", {{"F", fileRef}, {"D", value}}, action) : hr;
}

HRESULT HostActionFactory::MakeUri(HostDocument* document, std::u16string_view uri,
                                   ComPtr<HostAction>* action) {
  if (uri.empty()) return E_INVALIDARG;
  MuObject value;
  HRESULT hr = document->Mu().NewString(base::LossyUtf8(uri), &value);  // /URI is a byte string
  return Succeeded(hr) ? Make(document, "URI", {{"URI", value}}, action) : hr;
}

HRESULT HostActionFactory::MakeLaunch(HostDocument* document, std::u16string_view file,
                                      ComPtr<HostAction>* action) {
  MuObject fileRef;
  HRESULT hr = FileSpec(document->Mu(), file, &fileRef);
  return Succeeded(hr) ? Make(document, "Launch", {{"F", fileRef}}, action) : hr;
}

HRESULT HostActionFactory::MakeJavaScript(HostDocument* document, std::u16string_view script,
                                          ComPtr<HostAction>* action) {
  MuObject value;
  HRESULT hr = TextString(document->Mu(), script, &value);
  return Succeeded(hr) ? Make(document, "JavaScript", {{"JS", value}}, action) : hr;
}

namespace {
// The COM entry points share the makers under the guard; the action goes out on success only.
template <class Maker>
HRESULT Give(IHostAction** out, Maker&& make) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return GuardCall([&] {
    ComPtr<HostAction> made;
    const HRESULT hr = make(&made);
    return Failed(hr) ? hr : made.CopyTo(out);
  });
}
}  // namespace

HRESULT HostActionFactory::CreateGoTo(const PageDestination* dest, IHostAction** action) {
  return Give(action,
              [&](ComPtr<HostAction>* made) { return MakeGoTo(document_.Get(), dest, made); });
}

HRESULT HostActionFactory::CreateGoToNamed(const char16_t* name, int32_t length,
                                           IHostAction** action) {
  return Give(action, [&](ComPtr<HostAction>* made) {
    return MakeGoToNamed(document_.Get(), InString(name, length), made);
  });
}

HRESULT HostActionFactory::CreateGoToRemote(const char16_t* file, int32_t fileLength,
                                            const PageDestination* dest, IHostAction** action) {
  return Give(action, [&](ComPtr<HostAction>* made) {
    return MakeGoToRemote(document_.Get(), InString(file, fileLength), dest, made);
  });
}

HRESULT HostActionFactory::CreateGoToRemoteNamed(const char16_t* file, int32_t fileLength,
                                                 const char16_t* name, int32_t nameLength,
                                                 IHostAction** action) {
  return Give(action, [&](ComPtr<HostAction>* made) {
    return MakeGoToRemoteNamed(document_.Get(), InString(file, fileLength),
                               InString(name, nameLength), made);
  });
}

HRESULT HostActionFactory::CreateUri(const char16_t* uri, int32_t length, IHostAction** action) {
  return Give(action, [&](ComPtr<HostAction>* made) {
    return MakeUri(document_.Get(), InString(uri, length), made);
  });
}

HRESULT HostActionFactory::CreateLaunch(const char16_t* file, int32_t length,
                                        IHostAction** action) {
  return Give(action, [&](ComPtr<HostAction>* made) {
    return MakeLaunch(document_.Get(), InString(file, length), made);
  });
}

HRESULT HostActionFactory::CreateJavaScript(const char16_t* script, int32_t length,
                                            IHostAction** action) {
  return Give(action, [&](ComPtr<HostAction>* made) {
    return MakeJavaScript(document_.Get(), InString(script, length), made);
  });
}

}  // namespace zelta::pdf
