// Mutated PDFs through the host's document model: open, print the outline as JSON and as text,
// list and resolve every named destination, read page labels, boxes and rotations.
// Beyond "no crash": the JSON parses and counts the document's pages, and every listed name
// resolves to a page of the document or to nothing.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>

#include "zelta/pdf/host_document.h"
#include "zelta/pdf/outline/outline_dump.h"

namespace {

using zelta::ComPtr;

constexpr int32_t kMaxPagesRead = 16;
constexpr int32_t kMaxNamesRead = 256;

// The input as a file MuPDF can open by path, without touching the disk.
std::string InputPath(const uint8_t* data, size_t size) {
  static const int fd = memfd_create("fuzz_pdf", 0);
  if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
    std::abort();
  return "/proc/self/fd/" + std::to_string(fd);
}

void ReadNames(zelta::IHostDocument* document, int32_t pages) {
  int32_t count = 0;
  if (document->GetNamedDestCount(&count) != zelta::S_OK) return;
  for (int32_t i = 0; i < std::min(count, kMaxNamesRead); ++i) {
    zelta::OwnedString name;
    if (document->GetNamedDestName(i, name.Put()) != zelta::S_OK)
      std::abort();  // listed names exist
    zelta::PageDestination dest;
    const auto view = name.View();
    if (document->ResolveNamedDest(view.data(), static_cast<int32_t>(view.size()), &dest) ==
            zelta::S_OK &&
        (dest.page < 0 || dest.page >= pages))
      std::abort();
  }
  zelta::PageDestination dest;
  document->ResolveNamedDest(u"", 0, &dest);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ComPtr<zelta::pdf::HostDocument> document;
  std::string error;
  if (zelta::Failed(zelta::pdf::OpenDocument(InputPath(data, size), "", &document, &error))) {
    if (error.empty()) std::abort();
    return 0;
  }
  int32_t pages = 0;
  if (document->GetPageCount(&pages) != zelta::S_OK || pages < 0) std::abort();

  const nlohmann::json outline =
      nlohmann::json::parse(zelta::pdf::OutlineToJson(document.Get()), nullptr, false);
  if (outline.is_discarded() || outline["pages"] != pages) std::abort();
  zelta::pdf::OutlineToText(document.Get());
  ReadNames(document.Get(), pages);

  for (int32_t page = 0; page < std::min(pages, kMaxPagesRead); ++page) {
    zelta::OwnedString label;
    document->GetPageLabel(page, label.Put());
    zelta::PageBox box;
    document->GetPageBox(page, zelta::kBoxCrop, &box);
    int32_t degrees = 0;
    document->GetPageRotation(page, &degrees);
  }
  int32_t answer = 0;
  document->IsPermitted(0, 0, 0, &answer);
  return 0;
}
