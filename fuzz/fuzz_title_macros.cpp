// Title templates ("%[HierIndex]. %[Title] (p. %[Page])") cut into tokens and expanded for each
// bookmark of a small built document that has every kind of value a macro reads: nesting,
// pages, labels, named destinations, links, launched files and a document title.
//
// Input: bytes 0-3 are the mask of offered macros, the rest is the template.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/fuzz_text.h"
#include "macros/title_macro_expander.h"
#include "macros/title_template.h"
#include "tests/fixtures/pdf_builder.h"
#include "zelta/pdf/host_document.h"

namespace {

using zelta::ComPtr;
using zelta::testing::Action;
using zelta::testing::Bookmark;

constexpr int kMaxBookmarks = 8;

zelta::testing::PdfSpec Layout() {
  zelta::testing::PdfSpec layout;
  layout.pages.resize(4);
  layout.labels = {{0, 'r', "", 1}, {2, 'D', "A-", 7}};
  layout.namedDests = {{"intro", 1}, {"end", 3}};
  layout.infoTitle = "Fuzzing %[Title] manual";
  auto first = Bookmark("Chapter %[Page] one", 0);
  first.children = {Bookmark("Section \xC3\xA9t\xC3\xA9", 1), Bookmark("", 2)};
  first.children[1].actions = {Action("URI", -1, "https://example.org/%5B"), Action("GoTo", 3)};
  auto second = Bookmark("Appendix");
  second.namedDest = "intro";
  second.children = {Bookmark("Launch")};
  second.children[0].actions = {Action("Launch")};
  second.children[0].actions[0].file = "other file.pdf";
  layout.outline = {first, second};
  return layout;
}

struct Fixture {
  ComPtr<zelta::pdf::HostDocument> document;
  std::vector<ComPtr<zelta::IHostBookmark>> bookmarks;  // pre-order
};

const Fixture& TheFixture() {
  static const Fixture fixture = [] {
    Fixture made;
    const std::string bytes = zelta::testing::BuildPdf(Layout());
    const int fd = memfd_create("fuzz_macros", 0);
    std::string error;
    if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        zelta::Failed(zelta::pdf::OpenDocument("/proc/self/fd/" + std::to_string(fd), "",
                                               &made.document, &error)))
      std::abort();
    ComPtr<zelta::IHostBookmark> root;
    made.document->GetOutlineRoot(root.Put());
    std::vector<ComPtr<zelta::IHostBookmark>> pending{root};
    while (!pending.empty() && made.bookmarks.size() < kMaxBookmarks) {
      ComPtr<zelta::IHostBookmark> item = pending.back();
      pending.pop_back();
      if (item.Get() != root.Get()) made.bookmarks.push_back(item);
      std::vector<ComPtr<zelta::IHostBookmark>> children;
      ComPtr<zelta::IHostBookmark> child;
      for (item->GetFirstChild(child.Put()); child;) {
        children.push_back(child);
        ComPtr<zelta::IHostBookmark> next;
        child->GetNextSibling(next.Put());
        child = next;
      }
      pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    if (made.bookmarks.size() < 5) std::abort();
    return made;
  }();
  return fixture;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const Fixture& fixture = TheFixture();
  const uint32_t mask =
      data[0] | data[1] << 8 | data[2] << 16 | static_cast<uint32_t>(data[3]) << 24;
  const std::u16string text =
      fuzzing::LooseUtf16(std::string_view(reinterpret_cast<const char*>(data) + 4, size - 4));

  // No user environment files, a fixed clock and locale: the same input expands the same way.
  bm::TitleMacroExpander expander(nullptr, fixture.document.Get(),
                                  bm::platform::EnvironmentSources{});
  expander.SetClock([] { return bm::platform::DateTimeContext{1.7e12, "en_GB", "UTC"}; });
  bm::TitleTemplate titleTemplate;
  if (expander.RegisterMacros(titleTemplate, mask) != zelta::S_OK ||
      expander.ParseTemplate(titleTemplate, text) != zelta::S_OK)
    std::abort();
  expander.LoadDocumentValues();
  for (const auto& bookmark : fixture.bookmarks) {
    std::u16string title;
    if (expander.SetBookmark(bookmark.Get()) != zelta::S_OK ||
        titleTemplate.Render(title) != zelta::S_OK)
      std::abort();
    // Without macros the template is its text, less the escapes the syntax drops.
    if (!titleTemplate.HasMacros() && title.size() > text.size()) std::abort();
  }
  return 0;
}
