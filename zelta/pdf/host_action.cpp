#include "zelta/pdf/host_action.h"

#include "zelta/pdf/destination.h"
#include "zelta/pdf/pdf_text.h"

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
  return ReturnString(Utf8ToUtf16(TypeName()), name);
}

HRESULT HostAction::GetDestination(PageDestination* dest) {
  if (!dest) return E_POINTER;
  MuCalls& mu = document_->Mu();
  pdf_obj* target = Destination();
  if (!target) return S_FALSE;
  bool remote = Type() != kActionGoTo;
  if (mu.IsArray(target)) return ParseDestination(mu, document_->Pages(), target, remote, dest) ? S_OK : S_FALSE;
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
  if (mu.IsName(target)) return ReturnString(Utf8ToUtf16(mu.ToName(target)), name);
  return Empty(name);
}

HRESULT HostAction::GetFile(BString* file) {
  if (!file) return E_POINTER;
  int32_t type = Type();
  if (type != kActionGoToR && type != kActionGoToE && type != kActionLaunch) return Empty(file);
  MuCalls& mu = document_->Mu();
  pdf_obj* spec = mu.Get(object_.Get(), "F");
  if (!spec && type == kActionLaunch) spec = mu.Get(mu.Get(object_.Get(), "Win"), "F");
  if (mu.IsString(spec)) return ReturnString(DecodeTextString(mu.ToBytes(spec)), file);
  if (mu.IsDict(spec)) {
    // A file specification dictionary: the Unicode name first, then the byte name.
    for (const char* key : {"UF", "F", "Unix", "DOS", "Mac"}) {
      pdf_obj* value = mu.Get(spec, key);
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
  return ReturnString(Utf8ToUtf16(mu.ToBytes(value)), uri);
}

HRESULT HostAction::GetScript(BString* script) {
  if (!script) return E_POINTER;
  if (Type() != kActionJavaScript) return Empty(script);
  MuCalls& mu = document_->Mu();
  pdf_obj* value = mu.Get(object_.Get(), "JS");
  try {
    if (mu.IsString(value)) return ReturnString(DecodeTextString(mu.ToBytes(value)), script);
    if (mu.IsStream(value)) return ReturnString(DecodeTextString(mu.StreamBytes(value)), script);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return Empty(script);
}

}  // namespace zelta::pdf
