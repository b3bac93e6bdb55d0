// What the outline import targets share: a small document the read nodes are built into, and
// the checks every import must pass. The first nodes are built, the outline is printed as
// JSON and read back (whatever the host wrote must import again), and the new bookmarks are
// taken out, so that every input starts from the same tree. Taken-out bookmarks still hold
// memory in the document, so it is opened afresh now and then.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "host/limits.h"
#include "tests/fixtures/pdf_builder.h"
#include "zelta/app/outline_import/outline_builder.h"
#include "zelta/app/outline_import/outline_json_reader.h"
#include "zelta/pdf/host_document.h"
#include "zelta/pdf/outline/outline_dump.h"

namespace fuzzing {

// Nodes of one input that are built (all are read), and inputs per opened document.
constexpr size_t kBuiltNodes = 16;
constexpr int kInputsPerDocument = 64;

struct ImportFixture {
  zelta::ComPtr<zelta::pdf::HostDocument> document;
  zelta::ComPtr<zelta::IHostBookmark> root;
  int fd = -1;  // the memory file the document reads
};

inline ImportFixture OpenImportFixture() {
  ImportFixture made;
  zelta::testing::PdfSpec layout;
  layout.pages.resize(3);
  layout.outline = {zelta::testing::Bookmark("Existing", 0)};
  const std::string bytes = zelta::testing::BuildPdf(layout);
  const int fd = memfd_create("fuzz_outline_import", 0);
  std::string error;
  if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
      zelta::Failed(zelta::pdf::OpenDocument("/proc/self/fd/" + std::to_string(fd), "",
                                             &made.document, &error)))
    std::abort();
  made.document->GetOutlineRoot(made.root.Put());
  if (!made.root) std::abort();
  made.fd = fd;
  return made;
}

inline const ImportFixture& TheImportFixture() {
  static ImportFixture fixture;
  static int inputs = 0;
  if (inputs++ % kInputsPerDocument == 0) {
    const int old = fixture.fd;
    fixture = OpenImportFixture();
    if (old >= 0) close(old);
  }
  return fixture;
}

// The promises of a successful read, then the build and the read back.
inline void CheckImport(std::vector<zelta::app::OutlineNode> nodes) {
  if (nodes.size() > zelta::kMaxImportedBookmarks) std::abort();
  for (size_t i = 0; i < nodes.size(); ++i) {
    const zelta::app::OutlineNode& node = nodes[i];
    if (node.title.size() > zelta::kMaxBookmarkTitle) std::abort();
    if (node.depth > (i ? nodes[i - 1].depth + 1 : 0)) std::abort();
    for (const zelta::app::NodeAction& action : node.actions)
      if (action.destination)
        for (int v = 0; v < 4; ++v)
          if (!(action.destination->flags & (1u << v)) &&
              !zelta::DestinationValueInRange(action.destination->fitType, v,
                                              action.destination->values[v]))
            std::abort();
  }
  if (nodes.size() > kBuiltNodes) nodes.resize(kBuiltNodes);  // a prefix is a whole tree
  const ImportFixture& fixture = TheImportFixture();
  zelta::app::BuildResult built;
  const zelta::HRESULT hr = zelta::app::BuildOutline(fixture.document.Get(), nodes, &built);
  if (zelta::Succeeded(hr)) {
    std::vector<zelta::app::OutlineNode> again;
    std::string error;
    if (!zelta::app::ReadOutlineJson(zelta::pdf::OutlineToJson(fixture.document.Get()), &again,
                                     &error) ||
        again.size() != nodes.size() + 1)
      std::abort();
  }
  for (auto it = built.created.rbegin(); it != built.created.rend(); ++it) (*it)->Remove();
  int32_t count = 0;
  fixture.root->GetChildCount(&count);
  if (count != 1) std::abort();
}

}  // namespace fuzzing
