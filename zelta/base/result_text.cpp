#include "zelta/base/result_text.h"

#include <cstdio>
#include <new>

#include "zelta/base/common_messages.h"
#include "zelta/base/system_messages.h"

namespace zelta::base {
namespace {

constexpr uint32_t kOwnCodeBit = 0x02000000u;
constexpr uint16_t kOperatingSystemFacility = 511;

uint16_t FacilityOf(uint32_t code) { return static_cast<uint16_t>((code >> 16) & 0x1FFu); }
uint16_t LowWord(uint32_t code) { return static_cast<uint16_t>(code & 0xFFFFu); }

// The registry's entry for a code, when the code is one of the library's own.
std::optional<FacilityRegistry::Lookup> RegistryLookup(uint32_t code) {
  if (!(code & kOwnCodeBit)) return std::nullopt;
  return FacilityRegistry::Instance().Find(FacilityOf(code), LowWord(code));
}

std::optional<std::u16string> MessageTextFor(
    uint32_t code, const std::optional<FacilityRegistry::Lookup>& registered) {
  if (registered) {
    if (registered->ownText) return registered->ownText;
    if (const char16_t* common = CommonMessage(LowWord(code))) return std::u16string(common);
  }
  uint32_t systemCode = FacilityOf(code) == kOperatingSystemFacility ? LowWord(code) : code;
  return SystemMessage(systemCode);
}

std::u16string UnknownText(HRESULT code) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%s: 0x%08X.", code < 0 ? "Unknown error" : "Unknown code",
                static_cast<uint32_t>(code));
  return std::u16string(buffer, buffer + std::char_traits<char>::length(buffer));
}

// Drops trailing blanks and line breaks (codes up to 32) and ends the text with a full stop.
std::u16string Sentence(std::u16string text) {
  while (!text.empty() && text.back() <= 32) text.pop_back();
  if (!text.empty() && text.back() != u'.') text.push_back(u'.');
  return text;
}

}  // namespace

bool RegisterFacility(uint16_t number, const FacilityMessage* table, size_t rows,
                      std::u16string_view name) {
  try {
    return FacilityRegistry::Instance().Register(number, table, rows, name);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool UnregisterFacility(uint16_t number) { return FacilityRegistry::Instance().Unregister(number); }

std::u16string SeverityName(HRESULT code) {
  static constexpr const char16_t* kNames[] = {u"Success", u"Warning", u"Error", u"Failure"};
  return kNames[static_cast<uint32_t>(code) >> 30];
}

std::u16string FacilityName(HRESULT code) {
  auto registered = RegistryLookup(static_cast<uint32_t>(code));
  return registered ? registered->name : u"System";
}

std::optional<std::u16string> MessageText(HRESULT code) {
  uint32_t bits = static_cast<uint32_t>(code);
  return MessageTextFor(bits, RegistryLookup(bits));
}

int DescribeResult(HRESULT code, std::u16string* text, bool shortForm) {
  if (!text) return 0;
  try {
    text->clear();
    if (code == 0) {
      *text = u"Success";
      return 1;
    }
    uint32_t bits = static_cast<uint32_t>(code);
    auto registered = RegistryLookup(bits);
    std::optional<std::u16string> message = MessageTextFor(bits, registered);
    if (!registered && !message) {
      *text = UnknownText(code);
      return 1;
    }
    std::u16string out;
    if (!shortForm) {
      out = SeverityName(code);
      if (out.empty() && code < 0) out = u"Error";
    }
    if (!out.empty()) out += u' ';
    std::u16string name = registered ? registered->name : std::u16string(u"System");
    out += u'[';
    out += name.empty() ? std::u16string(u"Unknown") : name;
    out += u"]: ";
    std::u16string sentence = message ? Sentence(*message) : std::u16string();
    out += sentence.empty() ? UnknownText(code) : sentence;
    *text = std::move(out);
    return 1;
  } catch (const std::bad_alloc&) {
    text->clear();
    return 0;
  }
}

std::u16string DescribeResult(HRESULT code) {
  std::u16string text;
  DescribeResult(code, &text, false);
  return text;
}

}  // namespace zelta::base
