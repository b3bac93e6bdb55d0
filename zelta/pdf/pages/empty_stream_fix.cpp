#include "zelta/pdf/pages/empty_stream_fix.h"

#include <unordered_set>

namespace zelta::pdf {

namespace {

// Object numbers of every page's content streams.
std::unordered_set<int> PageContentStreams(MuCalls& mu) {
  std::unordered_set<int> nums;
  int pages = mu.PageCount();
  for (int p = 0; p < pages; ++p) {
    pdf_obj* contents = mu.Get(mu.PageObject(p), "Contents");
    if (mu.IsArray(contents)) {
      for (int i = 0, n = mu.Len(contents); i < n; ++i)
        if (pdf_obj* part = mu.At(contents, i); mu.IsIndirect(part)) nums.insert(mu.Num(part));
    } else if (mu.IsIndirect(contents)) {
      nums.insert(mu.Num(contents));
    }
  }
  return nums;
}

bool IsFormXObject(MuCalls& mu, int num) {
  MuObject obj = mu.Load(num);
  return obj && mu.ToName(mu.Get(obj.Get(), "Subtype")) == "Form";
}

}  // namespace

HRESULT FillEmptyContentStreams(MuCalls& mu) {
  if (!mu.IsEncrypted()) return S_OK;
  std::unordered_set<int> contents = PageContentStreams(mu);
  for (int num = 1, n = mu.XrefLength(); num < n; ++num) {
    if (!contents.count(num) && !IsFormXObject(mu, num)) continue;
    bool filled = false;
    if (HRESULT hr = mu.FillIfEmpty(num, &filled); Failed(hr)) return hr;
  }
  return S_OK;
}

}  // namespace zelta::pdf
