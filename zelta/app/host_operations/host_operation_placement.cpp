#include "zelta/app/host_operations/host_operation_placement.h"

#include <algorithm>
#include <map>
#include <numeric>

namespace zelta::app {

HRESULT FindPlaces(const std::vector<ComPtr<IHostBookmark>>& bookmarks, BookmarkPlaces* places) {
  places->assign(bookmarks.size(), std::nullopt);
  // Group the bookmarks by parent, then number each parent's children once.
  std::map<IHostBookmark*, ComPtr<IHostBookmark>> parents;
  std::map<IHostBookmark*, std::vector<size_t>> wanted;  // bookmark -> its entries in the list
  for (size_t i = 0; i < bookmarks.size(); ++i) {
    bool attached = false;
    bookmarks[i]->IsAttached(&attached);
    ComPtr<IHostBookmark> parent;
    if (!attached || bookmarks[i]->GetParent(parent.Put()) != S_OK || !parent) continue;
    parents.emplace(parent.Get(), parent);
    wanted[bookmarks[i].Get()].push_back(i);
  }
  for (auto& [raw, parent] : parents) {
    ComPtr<IHostBookmark> child;
    parent->GetFirstChild(child.Put());
    for (int32_t index = 0; child; ++index) {
      auto found = wanted.find(child.Get());
      if (found != wanted.end())
        for (size_t entry : found->second) (*places)[entry] = BookmarkPlace{parent, index};
      ComPtr<IHostBookmark> next;
      if (Failed(child->GetNextSibling(next.Put()))) return E_FAIL;
      child = next;
    }
  }
  return S_OK;
}

HRESULT ApplyPlaces(const std::vector<ComPtr<IHostBookmark>>& bookmarks,
                    const BookmarkPlaces& places) {
  HRESULT first = S_OK;
  auto note = [&first](HRESULT hr) {
    if (Failed(hr) && Succeeded(first)) first = hr;
  };
  // Every bookmark leaves its parent, also one inside a subtree that is out already, so
  // that a bookmark without a place is not brought back with its old ancestor.
  for (const auto& bookmark : bookmarks) note(bookmark->Remove());
  std::vector<size_t> order(bookmarks.size());
  std::iota(order.begin(), order.end(), size_t{0});
  order.erase(std::remove_if(order.begin(), order.end(), [&](size_t i) { return !places[i]; }),
              order.end());
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return places[a]->index < places[b]->index; });
  for (size_t i : order) note(places[i]->parent->InsertChild(places[i]->index, bookmarks[i].Get()));
  return first;
}

}  // namespace zelta::app
