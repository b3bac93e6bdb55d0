#include "zelta/pdf/actions/host_action.h"

#include "host/call_guard.h"
#include "zelta/base/text_codec.h"
#include "zelta/pdf/actions/action_writer.h"
#include "zelta/pdf/actions/destination.h"
#include "zelta/pdf/text/pdf_text.h"

namespace zelta::pdf {
namespace {

HRESULT Empty(BString* out) {
  HRESULT hr = ReturnString(u"", out);
  return Failed(hr) ? hr : S_FALSE;
}

}  // namespace

std::string HostAction::TypeName() {
  if (bareDest_) return "GoTo";
  return document_->Mu().ToName(document_->Mu().Get(object_.Get(), "S"));
}

int32_t HostAction::Type() {
  std::string name = TypeName();
  if (name == "GoTo") return kActionGoTo;
  if (name == "GoToR") return kActionGoToR;
  if (name == "GoToE") return kActionGoToE;
  if (name == "Launch") return kActionLaunch;
  if (name == "URI") return kActionURI;
  if (name == "JavaScript") return kActionJavaScript;
  return kActionOther;
}

pdf_obj* HostAction::Destination() {
  if (bareDest_) return object_.Get();
  if (!object_) return nullptr;
  int32_t type = Type();
  if (type != kActionGoTo && type != kActionGoToR && type != kActionGoToE) return nullptr;
  return document_->Mu().Get(object_.Get(), "D");
}

HRESULT HostAction::GetType(int32_t* type) {
  if (!type) return E_POINTER;
  *type = Type();
  return S_OK;
}

HRESULT HostAction::GetTypeName(BString* name) {
  if (!name) return E_POINTER;
  return ReturnString(base::LossyUtf16(TypeName()), name);
}

HRESULT HostAction::GetDestination(PageDestination* dest) {
  if (!dest) return E_POINTER;
  MuCalls& mu = document_->Mu();
  pdf_obj* target = Destination();
  if (!target) return S_FALSE;
  bool remote = Type() != kActionGoTo;
  if (mu.IsArray(target))
    return ParseDestination(mu, document_->Pages(), target, remote, dest) ? S_OK : S_FALSE;
  if (remote) return S_FALSE;  // a name in another file cannot be resolved here
  auto found = document_->Names().ResolveRaw(mu, document_->Pages(), target);
  if (!found) return S_FALSE;
  *dest = *found;
  return S_OK;
}

HRESULT HostAction::GetDestinationName(BString* name) {
  if (!name) return E_POINTER;
  MuCalls& mu = document_->Mu();
  pdf_obj* target = Destination();
  if (mu.IsString(target)) return ReturnString(DecodeTextString(mu.ToBytes(target)), name);
  if (mu.IsName(target)) return ReturnString(base::LossyUtf16(mu.ToName(target)), name);
  return Empty(name);
}

HRESULT HostAction::GetFile(BString* file) {
  if (!file) return E_POINTER;
  int32_t type = Type();
  if (type != kActionGoToR && type != kActionGoToE && type != kActionLaunch) return Empty(file);
  MuCalls& mu = document_->Mu();
  pdf_obj* fileRef = mu.Get(object_.Get(), "F");
  if (!fileRef && type == kActionLaunch) fileRef = mu.Get(mu.Get(object_.Get(), "Win"), "F");
  if (mu.IsString(fileRef)) return ReturnString(DecodeTextString(mu.ToBytes(fileRef)), file);
  if (mu.IsDict(fileRef)) {
    // A file reference dictionary: the Unicode name first, then the byte name.
    for (const char* key : {"UF", "F", "Unix", "DOS", "Mac"}) {
      pdf_obj* value = mu.Get(fileRef, key);
      if (mu.IsString(value)) return ReturnString(DecodeTextString(mu.ToBytes(value)), file);
    }
  }
  return Empty(file);
}

HRESULT HostAction::GetUri(BString* uri) {
  if (!uri) return E_POINTER;
  if (Type() != kActionURI) return Empty(uri);
  MuCalls& mu = document_->Mu();
  pdf_obj* value = mu.Get(object_.Get(), "URI");
  if (!mu.IsString(value)) return Empty(uri);
  return ReturnString(base::LossyUtf16(mu.ToBytes(value)), uri);
}

HRESULT HostAction::GetScript(BString* script) {
  if (!script) return E_POINTER;
  if (Type() != kActionJavaScript) return Empty(script);
  MuCalls& mu = document_->Mu();
  pdf_obj* value = mu.Get(object_.Get(), "JS");
  return GuardCall([&] {
    if (mu.IsString(value)) return ReturnString(DecodeTextString(mu.ToBytes(value)), script);
    if (mu.IsStream(value)) return ReturnString(DecodeTextString(mu.StreamBytes(value)), script);
    return Empty(script);
  });
}

bool HostAction::HasDestinationView() {
  int32_t type = Type();
  return type == kActionGoTo || type == kActionGoToR;
}

bool HostAction::IsComplete() {
  if (bareDest_) return object_.Get() != nullptr;
  if (!document_->Mu().IsDict(object_.Get())) return false;
  return !HasDestinationView() || Destination() != nullptr;
}

void HostAction::Rebind(MuObject written, bool bareDest) {
  object_ = std::move(written);
  bareDest_ = bareDest;
  owned_ = false;
}

HRESULT HostAction::MakePrivate() {
  if (owned_ || bareDest_) return S_OK;
  MuObject copy;
  HRESULT hr = CopyDict(document_->Mu(), object_.Get(), nullptr, &copy);
  if (Failed(hr)) return hr;
  object_ = std::move(copy);
  owned_ = true;
  return S_OK;
}

HRESULT HostAction::PutDestination(MuObject value) {
  if (!HasDestinationView()) return E_FAIL;
  HRESULT hr = document_->CanChange();
  if (Failed(hr)) return hr;
  if (bareDest_) {
    object_ = std::move(value);  // the bare destination is the whole action
    owned_ = true;
    return S_OK;
  }
  hr = MakePrivate();
  if (Failed(hr)) return hr;
  MuCalls& mu = document_->Mu();
  return value ? mu.Put(object_.Get(), "D", value.Get()) : mu.Del(object_.Get(), "D");
}

HRESULT HostAction::IsDestinationNamed(bool* named) {
  if (!named) return E_POINTER;
  MuCalls& mu = document_->Mu();
  pdf_obj* target = Destination();
  *named = target && (mu.IsString(target) || mu.IsName(target));
  return S_OK;
}

HRESULT HostAction::GetExplicitDestination(PageDestination* dest) {
  if (!dest) return E_POINTER;
  pdf_obj* target = Destination();
  MuCalls& mu = document_->Mu();
  if (!mu.IsArray(target)) return S_FALSE;
  PageDestination out;
  if (!ParseRawDestination(mu, document_->Pages(), target, &out)) return S_FALSE;
  *dest = out;
  return S_OK;
}

HRESULT HostAction::SetDestinationName(const char16_t* name, int32_t length) {
  std::u16string_view text = InString(name, length);
  if (text.empty() || length < -1) return E_INVALIDARG;
  return GuardCall([&] {
    MuObject value;
    HRESULT hr = document_->Mu().NewString(EncodeTextString(text), &value);
    return Succeeded(hr) ? PutDestination(std::move(value)) : hr;
  });
}

HRESULT HostAction::SetDestination(const PageDestination* dest) {
  if (!dest) return E_POINTER;
  if (!HasDestinationView()) return E_FAIL;
  MuObject array;
  HRESULT hr =
      BuildDestination(document_->Mu(), document_->Pages(), *dest, Type() == kActionGoToR, &array);
  if (Failed(hr)) return hr;
  return PutDestination(std::move(array));
}

HRESULT HostAction::ClearDestination() { return PutDestination(MuObject()); }

HRESULT HostAction::IsValid(bool* valid) {
  if (!valid) return E_POINTER;
  MuCalls& mu = document_->Mu();
  *valid = false;
  if (bareDest_) {
    *valid = mu.IsArray(object_.Get()) || mu.IsString(object_.Get()) || mu.IsName(object_.Get());
    return S_OK;
  }
  pdf_obj* dict = object_.Get();
  if (!mu.IsDict(dict)) return S_OK;
  std::string type = TypeName();
  auto has = [&](const char* key) { return mu.Get(dict, key) != nullptr; };
  auto text = [&](const char* key) {
    pdf_obj* value = mu.Get(dict, key);
    return (mu.IsString(value) && !mu.ToBytes(value).empty()) || mu.IsStream(value);
  };
  pdf_obj* dest = mu.Get(dict, "D");
  bool goodDest = mu.IsArray(dest) ? mu.Len(dest) >= 1 : (mu.IsString(dest) || mu.IsName(dest));
  if (type.empty())
    *valid = false;
  else if (type == "GoTo")
    *valid = goodDest;
  else if (type == "GoToR" || type == "GoToE")
    *valid = goodDest && (has("F") || type == "GoToE");
  else if (type == "Launch")
    *valid = has("F") || has("Win") || has("Unix") || has("Mac");
  else if (type == "URI")
    *valid = text("URI");
  else if (type == "JavaScript")
    *valid = text("JS");
  else if (type == "Named")
    *valid = mu.IsName(mu.Get(dict, "N"));
  else if (type == "SubmitForm")
    *valid = has("F");
  else if (type == "Hide")
    *valid = has("T");
  else if (type == "Sound")
    *valid = mu.IsStream(mu.Get(dict, "Sound"));
  else if (type == "Movie")
    *valid = has("Annotation") || has("T");
  else if (type == "Thread")
    *valid = has("D");
  else
    *valid = true;
  return S_OK;
}

HRESULT HostAction::HasFileSpecification(bool* has) {
  if (!has) return E_POINTER;
  *has = false;
  int32_t type = Type();
  if (type != kActionGoToR && type != kActionGoToE && type != kActionLaunch) return S_OK;
  MuCalls& mu = document_->Mu();
  *has = mu.IsDict(mu.Get(object_.Get(), "F"));
  return S_OK;
}

}  // namespace zelta::pdf
