// The two guarded regular-expression wrappers: the find-and-replace tool's (patterns, titles
// and replacement formats from the user) and the generation levels' (patterns over page text).
//
// Input: byte 0 holds flags (bit 0: which wrapper, bit 1: ignore case, bit 2: replace rather
// than search), the rest is pattern, subject and format separated by NUL bytes.
#include <cstdlib>
#include <string>

#include "autogen/text_regex.h"
#include "fuzz/fuzz_text.h"
#include "support/bounded_regex.h"

namespace {

void RunBounded(const std::u16string& pattern, std::u16string subject, const std::u16string& format,
                bool icase) {
  bm::BoundedRegex regex;
  if (regex.Compile(pattern, icase)) {
    if (regex.Compiled()) std::abort();
    return;
  }
  const std::u16string original = subject;
  int error = 0;
  if (regex.Replace(subject, format, &error) != bm::BoundedRegex::Outcome::kChanged &&
      subject != original)
    std::abort();  // unchanged or failed must leave the title as it was
}

void RunText(const std::u16string& pattern, const std::u16string& subject,
             const std::u16string& format, bool icase, bool replace) {
  bm::TextRegex regex;
  if (zelta::Failed(regex.Compile(pattern, icase))) {
    if (regex.Error().empty()) std::abort();
    return;
  }
  if (replace) {
    std::u16string out;
    regex.ReplaceAll(subject, format, &out);
    return;
  }
  size_t start = 0, length = 0;
  if (regex.Search(subject, &start, &length) == zelta::S_OK &&
      (start > subject.size() || length > subject.size() - start))
    std::abort();  // a match lies inside the subject
  bool whole = false;
  regex.MatchWhole(subject, &whole);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t flags = data[0];
  const auto fields =
      fuzzing::Fields(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1), '\0', 3);
  const std::u16string pattern = fuzzing::LooseUtf16(fields[0]);
  const std::u16string subject = fuzzing::LooseUtf16(fields[1]);
  const std::u16string format = fuzzing::LooseUtf16(fields[2]);
  if (flags & 1) {
    RunText(pattern, subject, format, flags & 2, flags & 4);
  } else {
    RunBounded(pattern, subject, format, flags & 2);
  }
  return 0;
}
