#include "framework/new_bookmarks.h"

#include "framework/atom_table.h"
#include "framework/cab_access.h"
#include "host/object_list.h"
#include "host/operation.h"

namespace bm {

using zelta::ComPtr;
using zelta::HRESULT;

namespace {

constexpr std::u16string_view kAddNewId = u"op.bookmarks.addNew.simple";
constexpr char kListComponent[] = "LST";

}  // namespace

NewBookmarks::~NewBookmarks() {
  if (committed_) return;
  for (auto it = bookmarks_.rbegin(); it != bookmarks_.rend(); ++it) (*it)->Remove();
}

HRESULT NewBookmarks::Commit(int32_t doFlags) {
  const HRESULT hr = Record(doFlags);
  committed_ = zelta::Succeeded(hr);
  return hr;
}

HRESULT NewBookmarks::Record(int32_t doFlags) const {
  const BookmarkList& bookmarks = bookmarks_;
  if (bookmarks.empty()) return zelta::S_FALSE;
  if (!app_) return zelta::E_FAIL;
  ComPtr<zelta::IUnknown> component;
  app_->GetComponent(kListComponent, component.Put());
  auto lists = zelta::QueryAs<zelta::IObjectListFactory>(component.Get());
  if (!lists) return zelta::E_POINTER;
  ComPtr<zelta::IHostObjectList> list;
  HRESULT hr = lists->CreateObjectList(list.Put());
  if (zelta::Succeeded(hr) && !list) hr = zelta::E_POINTER;
  for (size_t i = 0; zelta::Succeeded(hr) && i < bookmarks.size(); ++i)
    hr = list->Insert(-1, bookmarks[i].Get());
  ComPtr<zelta::IHostOperation> operation;
  if (zelta::Succeeded(hr))
    hr = app_->CreateOperation(InternId(app_.Get(), kAddNewId), operation.Put());
  if (zelta::Succeeded(hr) && !operation) hr = zelta::E_FAIL;
  ComPtr<zelta::ICab> params;
  if (zelta::Succeeded(hr)) hr = operation->GetParams(params.Put());
  if (zelta::Succeeded(hr))
    hr = SetCabObjects(CabItem(CabRoot(params.Get()).Get(), u"Input").Get(), {list.Get()});
  if (zelta::Failed(hr)) return hr;
  // The host operation records its undo item in the run's change group.
  return operation->Do(zelta::kDoNoProgress | (doFlags & zelta::kDoNoChangeGroup), 0);
}

}  // namespace bm
