// The bookmark text file: bytes decoded by their signature, cut into lines and fields, and
// the first lines built into a small document's outline (then taken out again, so that every
// input starts from the same tree). Taken-out bookmarks still hold memory in the document,
// so it is opened afresh now and then.
//
// Input: byte 0 picks the field delimiter and byte 1 the action separator (from a few
// likely characters, the same one allowed), the rest is the file.
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "framework/new_bookmarks.h"
#include "fuzz/outline_import.h"
#include "host/color.h"
#include "tools/create/bookmark_text_decoder.h"
#include "tools/create/bookmark_text_parser.h"
#include "tools/create/bookmark_tree_builder.h"
#include "zelta/app/selection/page_range_service.h"
#include "zelta/pdf/host_document.h"

namespace {

using zelta::ComPtr;

constexpr char16_t kSeparators[] = u";,|\t {}@#:";
// Lines of one input that are built (all are parsed), and inputs per opened document.
constexpr size_t kBuiltLines = 64;
constexpr int kInputsPerDocument = 256;

struct Fixture {
  ComPtr<zelta::pdf::HostDocument> document;
  ComPtr<zelta::IHostBookmark> root;
  ComPtr<zelta::IColorService> colors;
  int fd = -1;  // the memory file the document reads
};

Fixture Open() {
  fuzzing::ImportFixture opened = fuzzing::OpenImportFixture();
  Fixture made{opened.document, opened.root, nullptr, opened.fd};
  made.colors = zelta::QueryAs<zelta::IColorService>(zelta::app::MakeAuxComponent(nullptr).Get());
  if (!made.colors) std::abort();
  return made;
}

const Fixture& TheFixture() {
  static Fixture fixture;
  static int inputs = 0;
  if (inputs++ % kInputsPerDocument == 0) {
    const int old = fixture.fd;
    fixture = Open();
    if (old >= 0) close(old);
  }
  return fixture;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const Fixture& fixture = TheFixture();
  const char16_t separator = kSeparators[data[0] % (std::size(kSeparators) - 1)];
  const char16_t actionSeparator = kSeparators[data[1] % (std::size(kSeparators) - 1)];
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 2, size - 2);

  const bm::DecodedText decoded = bm::BookmarkTextDecoder("UTF-8").Decode(bytes);
  for (size_t i = 1; i < decoded.badLines.size(); ++i)
    if (decoded.badLines[i] <= decoded.badLines[i - 1]) std::abort();
  bm::BookmarkTextParser parser(separator, actionSeparator);
  const auto lines = parser.Parse(decoded.text);
  bm::BookmarkTreeBuilder builder(fixture.document.Get(), fixture.root.Get(), fixture.colors.Get());
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].style < 0 || lines[i].style > 3) std::abort();
    if (i < kBuiltLines && zelta::Failed(builder.Add(lines[i])) && builder.Failure().empty())
      std::abort();
  }
  // Uncommitted, the new bookmarks go again with the guard, as after a failed run.
  { bm::NewBookmarks uncommitted(nullptr, builder.Created()); }
  int32_t count = 0;
  fixture.root->GetChildCount(&count);
  if (count != 1) std::abort();
  return 0;
}
