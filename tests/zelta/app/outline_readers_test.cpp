// The host's outline readers (JSON, pdftk data) and the builder: entities and levels as pdftk
// writes them, and random or mutated input that must end in a tree or a message naming the
// place, never a crash or a tree that disagrees with what was read.
#include <gtest/gtest.h>

#include <random>

#include "zelta/app/host_app.h"
#include "zelta/app/outline_import/outline_builder.h"
#include "zelta/app/outline_import/outline_json_reader.h"
#include "zelta/app/outline_import/pdftk_data_reader.h"
#include "zelta/pdf/host_document.h"
#include "zelta/pdf/outline/outline_dump.h"

namespace zelta::app {
namespace {

TEST(PdftkData, EntitiesLevelsAndPages) {
  EXPECT_EQ(
      PdftkUnescape("Caf&#233; &amp; &lt;x&gt; &quot;&apos; &#128512; &#xE9; &bogus; &#55296; &"),
      u"Caf\u00E9 & <x> \"' \U0001F600 \u00E9 &bogus; &#55296; &");
  std::vector<OutlineNode> nodes;
  std::string error;
  ASSERT_TRUE(
      ReadPdftkData("InfoBegin\nInfoKey: Title\nBookmarkBegin\nBookmarkTitle: A\r\n"
                    "BookmarkLevel: 1\nBookmarkPageNumber: 3\nBookmarkBegin\n"
                    "BookmarkTitle: B\nBookmarkLevel: 4\nBookmarkPageNumber: 0\n"
                    "PageMediaBegin\nBookmarkBegin\nBookmarkTitle: C\nBookmarkLevel: 2\n",
                    &nodes, &error))
      << error;
  ASSERT_EQ(nodes.size(), 3u);
  EXPECT_EQ(nodes[0].title, u"A");
  ASSERT_EQ(nodes[0].actions.size(), 1u);
  EXPECT_EQ(nodes[0].actions[0].destination->page, 2);
  // A level that skips levels hangs under the bookmark before it.
  EXPECT_EQ(nodes[1].depth, 1u);
  EXPECT_TRUE(nodes[1].actions.empty());
  EXPECT_EQ(nodes[2].depth, 1u);
  EXPECT_FALSE(ReadPdftkData("BookmarkBegin\nBookmarkPageNumber: 1x\n", &nodes, &error));
  EXPECT_EQ(error, "line 2: BookmarkPageNumber \"1x\" is not a number");
}

// The bookmark count each reader takes before parsing, and the depth limit with a place that
// stays short however deep it is.
TEST(OutlineReaders, CountsAndDepthAreBoundedBeforeTheWork) {
  EXPECT_EQ(
      CountJsonBookmarks(R"({"pages":3,"bookmarks":[{"title":"a{[","actions":[{"type":"URI"}],)"
                         R"("children":[{},{"children":[{"x":[{}]}]}]},{}]})"),
      5u);
  EXPECT_EQ(CountJsonBookmarks(R"([{"title":"\"}{"},[{}]])"), 1u);
  EXPECT_EQ(CountPdftkBookmarks("BookmarkBegin\nBookmarkBeginX\nxBookmarkBegin\nBookmarkBegin\r\n"
                                "BookmarkBegin"),
            3u);

  std::vector<OutlineNode> nodes;
  std::string error;
  constexpr size_t kDeep = 100001;
  std::string deep;
  for (size_t i = 0; i < kDeep; ++i) deep += "[{\"children\":";
  deep += "[]";
  for (size_t i = 0; i < kDeep; ++i) deep += "}]";
  EXPECT_FALSE(ReadOutlineJson(deep, &nodes, &error));
  EXPECT_NE(error.find("the outline nests deeper than 100000 levels"), std::string::npos);
  EXPECT_LT(error.size(), 300u) << error.substr(0, 300);

  std::string data;
  for (size_t i = 1; i <= kDeep; ++i)
    data += "BookmarkBegin\nBookmarkLevel: " + std::to_string(i) + "\n";
  nodes.clear();
  EXPECT_FALSE(ReadPdftkData(data, &nodes, &error));
  EXPECT_EQ(error,
            "line 200002: the outline nests deeper than 100000 levels (the deepest outline "
            "allowed)");
}

// Mutated JSON and pdftk data: each read either fails with a message or gives nodes whose
// depths rise by at most one, and building them makes exactly that many bookmarks.
TEST(OutlineReaders, RandomAndMutatedInputStaysSound) {
  ComPtr<HostApp> app = MakeCom<HostApp>();
  ComPtr<pdf::HostDocument> document;
  std::string error;
  ASSERT_EQ(app->OpenDocument(ZELTA_CORPUS_DIR "/R-data.pdf", "", &document, &error), S_OK)
      << error;
  const std::string seeds[] = {
      R"({"bookmarks":[{"title":"A","style":2,"open":true,"color":"#FF0000","actions":[)"
      R"({"type":"GoTo","page":2,"fit":"FitR","values":[1,2,3,4]},{"type":"URI","uri":"u"}],)"
      R"("children":[{"title":"B","actions":[{"type":"GoToR","file":"f","name":"n"}]}]}]})",
      "BookmarkBegin\nBookmarkTitle: A &amp; &#233;\nBookmarkLevel: 1\nBookmarkPageNumber: 2\n"
      "BookmarkBegin\nBookmarkTitle: B\nBookmarkLevel: 2\nBookmarkPageNumber: 99\n"};
  const std::string alphabet = "{}[]\":,0123456789-.eE&#;\n BookmarkLevelTitlePageNumber\xff\0";
  std::mt19937 random(99);
  const auto count = [&] {
    size_t bookmarks = 0;
    pdf::WalkOutline(
        document.Get(), [&](IHostBookmark*, size_t) { ++bookmarks; }, [](IHostBookmark*, bool) {});
    return bookmarks;
  };
  const size_t before = count();
  size_t built = 0;
  for (int round = 0; round < 400; ++round) {
    std::string text = seeds[round % 2];
    for (int e = static_cast<int>(random() % 6); e > 0; --e) {
      const size_t at = random() % text.size();
      if (random() % 2)
        text.erase(at, 1 + random() % 3);
      else
        text.insert(at, 1, alphabet[random() % alphabet.size()]);
    }
    std::vector<OutlineNode> nodes;
    const bool read =
        round % 2 ? ReadPdftkData(text, &nodes, &error) : ReadOutlineJson(text, &nodes, &error);
    if (!read) {
      EXPECT_FALSE(error.empty());
      continue;
    }
    for (size_t i = 0; i < nodes.size(); ++i)
      ASSERT_LE(nodes[i].depth, i ? nodes[i - 1].depth + 1 : 0);
    BuildResult result;
    ASSERT_EQ(BuildOutline(document.Get(), nodes, &result), S_OK);
    built += nodes.size();
  }
  EXPECT_GT(built, 0u);
  EXPECT_EQ(count(), before + built);
}

}  // namespace
}  // namespace zelta::app
