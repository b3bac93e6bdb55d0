#include "macros/macro_set.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <string>

namespace bm {
namespace {

constexpr std::array<MacroInfo, kMacroCount> kMacros = {{
    {MacroId::kLevel, u"Level", 0x1},
    {MacroId::kIndexInPar, u"IndexInPar", 0x2},
    {MacroId::kHierIndex, u"HierIndex", 0x4},
    {MacroId::kSeqNum, u"SeqNum", 0x8},
    {MacroId::kPagesCount, u"PagesCount", 0x10},
    {MacroId::kPage, u"Page", 0x20},
    {MacroId::kDest, u"Dest", 0x40},
    {MacroId::kLabel, u"Label", 0x80},
    {MacroId::kURI, u"URI", 0x100},
    {MacroId::kFile, u"File", 0x200},
    {MacroId::kDocTitle, u"DocTitle", 0x400},
    {MacroId::kDate, u"Date", 0x800},
    {MacroId::kTime, u"Time", 0x1000},
    {MacroId::kEnv, u"Env", 0x2000},
    {MacroId::kHierTitle, u"HierTitle", 0x4000},
    {MacroId::kTitle, u"Title", 0x8000},
    {MacroId::kFirstLine, u"FirstLine", 0x10000},
}};

char16_t FoldAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}

bool IsBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

}  // namespace

std::span<const MacroInfo> Macros() { return kMacros; }

bool SameMacroName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

std::optional<MacroId> FindMacro(std::u16string_view name) {
  for (const MacroInfo& macro : kMacros)
    if (SameMacroName(macro.name, name)) return macro.id;
  return std::nullopt;
}

MacroNumber ParseMacroNumber(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  bool digitSeen = false;
  // Leading zeros are digits read (so "0" is the number 0), but they do not count against the
  // ten significant digits.
  while (i < text.size() && text[i] == u'0') {
    digitSeen = true;
    ++i;
  }
  int64_t value = 0;
  for (int digits = 0; digits < 10 && i < text.size() && text[i] >= u'0' && text[i] <= u'9';
       ++digits, ++i) {
    value = value * 10 + (text[i] - u'0');
    digitSeen = true;
  }
  MacroNumber number;
  if (!digitSeen) return number;
  number.value = negative ? -value : value;
  number.used = static_cast<int32_t>(i);
  return number;
}

std::optional<double> ParseLengthInPoints(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  std::string number;
  while (i < text.size() && ((text[i] >= u'0' && text[i] <= u'9') || text[i] == u'.' ||
                             text[i] == u'-' || text[i] == u'+'))
    number += static_cast<char>(text[i++]);
  if (number.empty() || number.size() > 32) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(number.c_str(), &end);
  if (end != number.c_str() + number.size() || !std::isfinite(value)) return std::nullopt;
  while (i < text.size() && IsBlank(text[i])) ++i;
  std::u16string unit;
  while (i < text.size() && !IsBlank(text[i])) unit += FoldAscii(text[i++]);
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i != text.size()) return std::nullopt;
  if (unit.empty() || unit == u"pt") return value;
  if (unit == u"in") return value * 72.0;
  if (unit == u"mm") return value * 72.0 / 25.4;
  if (unit == u"cm") return value * 72.0 / 2.54;
  return std::nullopt;
}

}  // namespace bm
