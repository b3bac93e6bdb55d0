#include "zelta/pdf/page_map.h"

namespace zelta::pdf {

void PageMap::Build(MuCalls& mu) {
  indexByNum_.clear();
  int count = mu.PageCount();
  for (int i = 0; i < count; ++i) {
    pdf_obj* page = mu.PageObject(i);
    if (page && mu.IsIndirect(page)) indexByNum_.emplace(mu.Num(page), i);
  }
  built_ = true;
}

int PageMap::IndexOf(MuCalls& mu, pdf_obj* pageRef) {
  if (!pageRef || !mu.IsIndirect(pageRef)) return -1;
  if (!built_) Build(mu);
  auto it = indexByNum_.find(mu.Num(pageRef));
  return it == indexByNum_.end() ? -1 : it->second;
}

}  // namespace zelta::pdf
