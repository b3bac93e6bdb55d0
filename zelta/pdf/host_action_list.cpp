#include "zelta/pdf/host_action_list.h"

#include <unordered_set>

namespace zelta::pdf {

ComPtr<HostActionList> HostActionList::ForItem(const ComPtr<HostDocument>& document, int key) {
  ComPtr<HostActionList> list(new HostActionList());
  if (key == OutlineIndex::kRoot) return list;
  MuCalls& mu = document->Mu();
  MuObject item = document->GetOutline().Dict(mu, key);
  if (!item) return list;
  pdf_obj* dest = mu.Get(item.Get(), "Dest");
  if (dest) list->actions_.push_back(ComPtr<HostAction>(new HostAction(document, MuObject::Keep(mu.Ctx(), dest), true)));

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
      for (int i = mu.Len(obj) - 1; i >= 0; --i) stack.push_back(MuObject::Keep(mu.Ctx(), mu.At(obj, i)));
      continue;
    }
    if (!mu.IsDict(obj)) continue;
    list->actions_.push_back(ComPtr<HostAction>(new HostAction(document, current, false)));
    if (pdf_obj* next = mu.Get(obj, "Next")) stack.push_back(MuObject::Keep(mu.Ctx(), next));
  }
  return list;
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
  *action = actions_[index].Get();
  (*action)->AddRef();
  return S_OK;
}

}  // namespace zelta::pdf
