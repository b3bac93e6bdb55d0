#include "zelta/app/settings/paper_list.h"

#include <array>
#include <string_view>

namespace zelta::app {
namespace {

struct Paper {
  std::u16string_view name;
  double widthMm, heightMm;
};

// Index 4 is A4, the size options fall back to.
constexpr std::array<Paper, 12> kPapers = {{
    {u"Letter", 215.9, 279.4},
    {u"Legal", 215.9, 355.6},
    {u"Tabloid", 279.4, 431.8},
    {u"A3", 297, 420},
    {u"A4", 210, 297},
    {u"A5", 148, 210},
    {u"B4", 250, 353},
    {u"B5", 176, 250},
    {u"Executive", 184.15, 266.7},
    {u"A6", 105, 148},
    {u"JIS B5", 182, 257},
    {u"Statement", 139.7, 215.9},
}};

constexpr double kPointsPerMm = 72.0 / 25.4;

}  // namespace

HRESULT PaperList::GetCount(int32_t* count) {
  if (!count) return E_POINTER;
  *count = static_cast<int32_t>(kPapers.size());
  return S_OK;
}

HRESULT PaperList::GetPaper(int32_t index, BString* name, double* width, double* height) {
  if (!width || !height) return E_POINTER;
  if (index < 0 || index >= static_cast<int32_t>(kPapers.size())) return E_INVALIDARG;
  const Paper& paper = kPapers[static_cast<size_t>(index)];
  *width = paper.widthMm * kPointsPerMm;
  *height = paper.heightMm * kPointsPerMm;
  return name ? ReturnString(paper.name, name) : S_OK;
}

}  // namespace zelta::app
