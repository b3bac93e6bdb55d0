#include "zelta/pdf/actions/host_action_list.h"

#include <unordered_set>

#include "host/call_guard.h"
#include "zelta/pdf/actions/host_action_factory.h"

namespace zelta::pdf {

ComPtr<HostActionList> HostActionList::Empty(const ComPtr<HostDocument>& document) {
  return MakeCom<HostActionList>(document);
}

ComPtr<HostActionList> HostActionList::ForItem(const ComPtr<HostDocument>& document, int key) {
  if (key == OutlineIndex::kRoot) return MakeCom<HostActionList>(document);
  MuObject item = document->GetOutline().Dict(document->Mu(), key);
  return ForDict(document, item.Get());
}

ComPtr<HostActionList> HostActionList::ForDict(const ComPtr<HostDocument>& document,
                                               pdf_obj* dict) {
  auto list = MakeCom<HostActionList>(document);
  if (!dict) return list;
  MuCalls& mu = document->Mu();
  MuObject item = MuObject::Keep(mu.Ctx(), dict);
  pdf_obj* dest = mu.Get(item.Get(), "Dest");
  if (dest)
    list->actions_.push_back(MakeCom<HostAction>(document, MuObject::Keep(mu.Ctx(), dest), true));

  std::unordered_set<int> visited;
  std::vector<MuObject> stack;
  if (pdf_obj* first = mu.Get(item.Get(), "A")) stack.push_back(MuObject::Keep(mu.Ctx(), first));
  size_t steps = 0;
  while (!stack.empty() && list->actions_.size() < kMaxActions && ++steps < 4 * kMaxActions) {
    MuObject current = std::move(stack.back());
    stack.pop_back();
    pdf_obj* obj = current.Get();
    if (mu.IsIndirect(obj) && !visited.insert(mu.Num(obj)).second) continue;  // a loop in /Next
    if (mu.IsArray(obj)) {
      // /Next may be an array of actions, run in order.
      for (int i = mu.Len(obj) - 1; i >= 0; --i)
        stack.push_back(MuObject::Keep(mu.Ctx(), mu.At(obj, i)));
      continue;
    }
    if (!mu.IsDict(obj)) continue;
    list->actions_.push_back(MakeCom<HostAction>(document, current, false));
    if (pdf_obj* next = mu.Get(obj, "Next")) stack.push_back(MuObject::Keep(mu.Ctx(), next));
  }
  return list;
}

HostAction* HostActionList::Own(IHostAction* action) const {
  auto* own = dynamic_cast<HostAction*>(action);
  return own && own->Document() == document_.Get() ? own : nullptr;
}

HRESULT HostActionList::GetCount(int32_t* count) {
  if (!count) return E_POINTER;
  *count = static_cast<int32_t>(actions_.size());
  return S_OK;
}

HRESULT HostActionList::GetItem(int32_t index, IHostAction** action) {
  if (!action) return E_POINTER;
  *action = nullptr;
  if (index < 0 || static_cast<size_t>(index) >= actions_.size()) return S_FALSE;
  return actions_[index].CopyTo(action);
}

HRESULT HostActionList::Append(IHostAction* action) { return Insert(-1, action); }

HRESULT HostActionList::Insert(int32_t index, IHostAction* action) {
  HostAction* own = Own(action);
  if (!own) return E_INVALIDARG;
  if (index == -1) index = static_cast<int32_t>(actions_.size());
  if (index < 0 || static_cast<size_t>(index) > actions_.size()) return E_INVALIDARG;
  if (actions_.size() >= kMaxActions) return E_OUTOFMEMORY;
  return GuardCall([&] {
    actions_.insert(actions_.begin() + index, ComPtr<HostAction>(own));
    return S_OK;
  });
}

HRESULT HostActionList::RemoveAt(int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= actions_.size()) return E_INVALIDARG;
  actions_.erase(actions_.begin() + index);
  return S_OK;
}

HRESULT HostActionList::Replace(int32_t index, IHostAction* action) {
  HostAction* own = Own(action);
  if (!own || index < 0 || static_cast<size_t>(index) >= actions_.size()) return E_INVALIDARG;
  actions_[index] = ComPtr<HostAction>(own);
  return S_OK;
}

HRESULT HostActionList::AppendMade(HRESULT made, ComPtr<HostAction>& action, IHostAction** out) {
  if (out) *out = nullptr;
  if (Failed(made)) return made;
  HRESULT hr = Insert(-1, action.Get());
  if (Failed(hr)) return hr;
  return out ? action.CopyTo(out) : S_OK;
}

HRESULT HostActionList::AppendGoTo(const PageDestination* dest, IHostAction** action) {
  ComPtr<HostAction> made;
  return AppendMade(HostActionFactory::MakeGoTo(document_.Get(), dest, &made), made, action);
}

HRESULT HostActionList::AppendGoToNamed(const char16_t* name, int32_t length,
                                        IHostAction** action) {
  ComPtr<HostAction> made;
  return AppendMade(
      HostActionFactory::MakeGoToNamed(document_.Get(), InString(name, length), &made), made,
      action);
}

HRESULT HostActionList::AppendGoToRemote(const char16_t* file, int32_t fileLength,
                                         const PageDestination* dest, IHostAction** action) {
  ComPtr<HostAction> made;
  return AppendMade(
      HostActionFactory::MakeGoToRemote(document_.Get(), InString(file, fileLength), dest, &made),
      made, action);
}

HRESULT HostActionList::AppendGoToRemoteNamed(const char16_t* file, int32_t fileLength,
                                              const char16_t* name, int32_t nameLength,
                                              IHostAction** action) {
  ComPtr<HostAction> made;
  return AppendMade(
      HostActionFactory::MakeGoToRemoteNamed(document_.Get(), InString(file, fileLength),
                                             InString(name, nameLength), &made),
      made, action);
}

HRESULT HostActionList::AppendUri(const char16_t* uri, int32_t length, IHostAction** action) {
  ComPtr<HostAction> made;
  return AppendMade(HostActionFactory::MakeUri(document_.Get(), InString(uri, length), &made), made,
                    action);
}

HRESULT HostActionList::AppendLaunch(const char16_t* file, int32_t length, IHostAction** action) {
  ComPtr<HostAction> made;
  return AppendMade(HostActionFactory::MakeLaunch(document_.Get(), InString(file, length), &made),
                    made, action);
}

HRESULT HostActionList::AppendJavaScript(const char16_t* script, int32_t length,
                                         IHostAction** action) {
  ComPtr<HostAction> made;
  return AppendMade(
      HostActionFactory::MakeJavaScript(document_.Get(), InString(script, length), &made), made,
      action);
}

}  // namespace zelta::pdf
