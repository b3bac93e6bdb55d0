// The process-wide table of the fonts that page text is set in: it gives every distinct font
// name (subset tag included) one id, from any thread, so that the text of a page gets the
// same font ids whichever thread or document handle extracted it.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace zelta::pdf {

struct FontEntry {
  std::string fullName;  // as the file names it, subset tag included (UTF-8 bytes)
  std::string name;      // without the subset tag
  int32_t flags = 0;     // kFontBold, kFontItalic, kFontMonospaced, kFontSerif
};

class FontTable {
 public:
  static FontTable& Instance();

  // The id of a font by its full name and flags; the first font of a name fixes its flags.
  // Ids start at 1.
  uint32_t IdFor(const std::string& fullName, int32_t flags);
  // The entry of an id; none for an id never handed out.
  std::optional<FontEntry> Find(uint32_t id) const;

  // "ABCDEF+Name" -> "Name": a subset tag is exactly six uppercase ASCII letters and a plus.
  static std::string StripSubsetTag(const std::string& fullName);

 private:
  mutable std::mutex mutex_;
  std::unordered_map<std::string, uint32_t> ids_;
  std::vector<FontEntry> entries_;  // entry of id n at n - 1
};

}  // namespace zelta::pdf
