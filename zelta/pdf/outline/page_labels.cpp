#include "zelta/pdf/outline/page_labels.h"

#include <algorithm>

#include "zelta/pdf/outline/name_tree.h"
#include "zelta/pdf/text/pdf_text.h"

namespace zelta::pdf {
namespace {

std::u16string Roman(int64_t n, bool upper) {
  static constexpr std::pair<int, const char*> kDigits[] = {
      {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"},
      {50, "l"},   {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
  std::u16string out;
  for (auto [value, text] : kDigits) {
    for (; n >= value; n -= value)
      for (const char* c = text; *c; ++c)
        out.push_back(static_cast<char16_t>(upper ? *c - 'a' + 'A' : *c));
  }
  return out;
}

std::u16string Ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }

}  // namespace

std::u16string PageLabels::FormatNumber(int64_t number, char style) {
  if (style == 0) return {};
  if (style == 'D' || number < 1 || number > kMaxStyledNumber) return Ascii(std::to_string(number));
  if (style == 'R' || style == 'r') return Roman(number, style == 'R');
  if (style == 'A' || style == 'a') {
    // 1..26 are A..Z, 27..52 AA..ZZ, and so on.
    char16_t letter = static_cast<char16_t>((style == 'A' ? u'A' : u'a') + (number - 1) % 26);
    return std::u16string(static_cast<size_t>((number - 1) / 26 + 1), letter);
  }
  return Ascii(std::to_string(number));
}

void PageLabels::Build(MuCalls& mu, std::vector<std::string>* warnings) {
  ranges_.clear();
  pdf_obj* tree = mu.Get(mu.Get(mu.Trailer(), "Root"), "PageLabels");
  for (auto& entry : NameTree::Collect(mu, tree, "Nums", "page labels", warnings)) {
    pdf_obj* dict = entry.value.Get();
    if (entry.number < 0 || !mu.IsDict(dict)) continue;
    Range range;
    range.start = entry.number;
    std::string style = mu.ToName(mu.Get(dict, "S"));
    range.style = style.size() == 1 && std::string("DRrAa").find(style[0]) != std::string::npos
                      ? style[0]
                      : 0;
    range.prefix = DecodeTextString(mu.ToBytes(mu.Get(dict, "P")));
    pdf_obj* first = mu.Get(dict, "St");
    if (mu.IsNumber(first)) range.first = std::max(1, mu.ToInt(first));
    ranges_.push_back(std::move(range));
  }
  std::stable_sort(ranges_.begin(), ranges_.end(),
                   [](const Range& a, const Range& b) { return a.start < b.start; });
  built_ = true;
}

HRESULT PageLabels::ShiftedTree(MuCalls& mu, int position, int count,
                                std::vector<std::string>* warnings, MuObject* shifted) {
  *shifted = MuObject();
  pdf_obj* tree = mu.Get(mu.Get(mu.Trailer(), "Root"), "PageLabels");
  if (!tree) return S_FALSE;
  auto entries = NameTree::Collect(mu, tree, "Nums", "page labels", warnings);
  std::stable_sort(entries.begin(), entries.end(),
                   [](const auto& a, const auto& b) { return a.number < b.number; });
  MuObject nums, key;
  HRESULT hr = mu.NewArray(&nums);
  auto add = [&](int64_t number, pdf_obj* dict) {
    if (Succeeded(hr)) hr = mu.NewInt(number, &key);
    if (Succeeded(hr)) hr = mu.Push(nums.Get(), key.Get());
    if (Succeeded(hr)) hr = mu.Push(nums.Get(), dict);
  };
  const NameTree::Entry* covering = nullptr;
  for (const auto& entry : entries) {
    if (entry.number < 0 || !mu.IsDict(entry.value.Get())) continue;
    if (entry.number < position) {
      add(entry.number, entry.value.Get());
      covering = &entry;
    }
  }
  if (position == 0 && !entries.empty() && entries.front().number == 0) {
    MuObject front, style;
    if (Succeeded(hr)) hr = mu.NewDict(&front);
    if (Succeeded(hr)) hr = mu.NewName("r", &style);
    if (Succeeded(hr)) hr = mu.Put(front.Get(), "S", style.Get());
    add(0, front.Get());
  }
  bool startsAtPosition = false;
  for (const auto& entry : entries)
    if (entry.number == position && mu.IsDict(entry.value.Get())) startsAtPosition = true;
  if (covering && !startsAtPosition) {
    // The pages after the inserted ones go on where the range left off.
    MuObject next, first;
    pdf_obj* dict = covering->value.Get();
    int64_t start = std::max(1, mu.IsNumber(mu.Get(dict, "St")) ? mu.ToInt(mu.Get(dict, "St")) : 1);
    if (Succeeded(hr)) hr = mu.CopyDict(dict, &next);
    if (Succeeded(hr)) hr = mu.NewInt(start + (position - covering->number), &first);
    if (Succeeded(hr)) hr = mu.Put(next.Get(), "St", first.Get());
    add(static_cast<int64_t>(position) + count, next.Get());
  }
  for (const auto& entry : entries)
    if (entry.number >= position && mu.IsDict(entry.value.Get()))
      add(entry.number + count, entry.value.Get());
  if (Succeeded(hr)) hr = mu.NewDict(shifted);
  if (Succeeded(hr)) hr = mu.Put(shifted->Get(), "Nums", nums.Get());
  return hr;
}

std::u16string PageLabels::Label(MuCalls& mu, int page, std::vector<std::string>* warnings) {
  if (!built_) Build(mu, warnings);
  auto after = std::upper_bound(ranges_.begin(), ranges_.end(), page,
                                [](int p, const Range& r) { return p < r.start; });
  if (after == ranges_.begin()) return Ascii(std::to_string(page + 1));
  const Range& range = *(after - 1);
  return range.prefix + FormatNumber(range.first + (page - range.start), range.style);
}

}  // namespace zelta::pdf
