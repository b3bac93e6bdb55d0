#include "zelta/pdf/actions/destination.h"

#include <charconv>
#include <cstring>

#include "host/limits.h"

namespace zelta::pdf {
namespace {

constexpr const char* kFitNames[] = {"XYZ",  "Fit",  "FitH",  "FitV",
                                     "FitR", "FitB", "FitBH", "FitBV"};
// How many values each fit type takes after its name.
constexpr int kValueCount[] = {3, 0, 1, 1, 4, 0, 1, 1};

// The file keeps reals in single precision: a value read back is the shortest decimal that
// names that float, so that 123.4 written comes back as 123.4, not 123.40000152587891.
double ShortestReal(double value) {
  char text[64];
  const auto [end, ec] = std::to_chars(text, text + sizeof text, static_cast<float>(value));
  double out = value;
  if (ec == std::errc()) std::from_chars(text, end, out);
  return out;
}

}  // namespace

const char* FitTypeName(int32_t fitType) {
  return fitType >= 0 && fitType < 8 ? kFitNames[fitType] : nullptr;
}

bool ParseRawDestination(MuCalls& mu, PageMap& pages, pdf_obj* array, PageDestination* dest) {
  if (!mu.IsArray(array) || mu.Len(array) < 1) return false;
  pdf_obj* page = mu.At(array, 0);
  int index = -1;
  if (mu.IsIndirect(page) || mu.IsDict(page))
    index = pages.IndexOf(mu, page);
  else if (mu.IsNumber(page))
    index = mu.ToInt(page);  // remote files, and some local writers
  PageDestination out;
  out.page = index;
  std::string fit = mu.ToName(mu.At(array, 1));
  out.fitType = kFitXYZ;
  for (int i = 0; i < 8; ++i)
    if (fit == kFitNames[i]) out.fitType = i;
  out.flags = 15;
  int count = kValueCount[out.fitType];
  int length = mu.Len(array);
  for (int i = 0; i < count && 2 + i < length; ++i) {
    pdf_obj* value = mu.At(array, 2 + i);
    if (!mu.IsNumber(value)) continue;  // null or junk: the value stays open
    out.values[i] = ShortestReal(mu.ToReal(value));
    out.flags &= ~(1u << i);
  }
  *dest = out;
  return true;
}

bool ParseDestination(MuCalls& mu, PageMap& pages, pdf_obj* array, bool remote,
                      PageDestination* dest) {
  PageDestination out;
  if (!ParseRawDestination(mu, pages, array, &out)) return false;
  if (out.page < 0 || (!remote && out.page >= mu.PageCount())) return false;
  *dest = out;
  return true;
}

HRESULT BuildDestination(MuCalls& mu, PageMap& pages, const PageDestination& dest, bool remote,
                         MuObject* array) {
  const char* fitName = FitTypeName(dest.fitType);
  if (!fitName || dest.page < 0) return E_INVALIDARG;
  for (int i = 0; i < kValueCount[dest.fitType]; ++i)
    if (!(dest.flags & (1u << i)) && !DestinationValueInRange(dest.fitType, i, dest.values[i]))
      return E_INVALIDARG;
  MuObject out, page, fit;
  HRESULT hr = mu.NewArray(&out);
  if (Failed(hr)) return hr;
  if (remote) {
    hr = mu.NewInt(dest.page, &page);
  } else {
    int num = pages.ObjectNumber(mu, dest.page);
    if (num <= 0) return E_INVALIDARG;
    hr = mu.NewRef(num, &page);
  }
  if (Succeeded(hr)) hr = mu.Push(out.Get(), page.Get());
  if (Succeeded(hr)) hr = mu.NewName(fitName, &fit);
  if (Succeeded(hr)) hr = mu.Push(out.Get(), fit.Get());
  for (int i = 0; Succeeded(hr) && i < kValueCount[dest.fitType]; ++i) {
    MuObject value;
    if (dest.flags & (1u << i))
      hr = mu.NewNull(&value);
    else
      hr = mu.NewReal(dest.values[i], &value);
    if (Succeeded(hr)) hr = mu.Push(out.Get(), value.Get());
  }
  if (Succeeded(hr)) *array = std::move(out);
  return hr;
}

}  // namespace zelta::pdf
