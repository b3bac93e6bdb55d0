#include "zelta/pdf/pages/page_renderer.h"

#include "tests/zelta/pdf/pdf_test_support.h"

namespace zelta::pdf::testing {
namespace {

// Pages of three shapes: portrait, landscape by /Rotate, and a wide one.
ComPtr<HostDocument> ShapedDocument(const ScratchDir& dir) {
  zelta::testing::PdfSpec layout;
  layout.pages = {{612, 792, 0, "portrait"}, {612, 792, 90, "turned"}, {1000, 300, 0, "wide"}};
  return MustOpen(dir.Write("shapes.pdf", zelta::testing::BuildPdf(layout)));
}

TEST(PageRenderer, SizesOfAllPagesAgreeWithEachPageAndTurnWithTheView) {
  ScratchDir dir;
  auto document = ShapedDocument(dir);
  PageRenderer renderer(*document);
  for (int view : {0, 90, 270}) {
    const auto sizes = renderer.Sizes(view);
    ASSERT_EQ(sizes.size(), 3u);
    for (int page = 0; page < 3; ++page) {
      EXPECT_DOUBLE_EQ(sizes[page].width, renderer.Size(page, view).width) << page << " " << view;
      EXPECT_DOUBLE_EQ(sizes[page].height, renderer.Size(page, view).height) << page << " " << view;
    }
  }
  EXPECT_DOUBLE_EQ(renderer.Sizes(0)[1].width, 792);   // turned by its /Rotate
  EXPECT_DOUBLE_EQ(renderer.Sizes(90)[1].width, 612);  // and back by the view
}

// Each page in a node of its own, so that the root's /Count equals the number of its kids
// although none of them is a page; the pages' widths tell which object was read.
TEST(PageRenderer, SizesComeFromThePagesUnderSinglePageNodes) {
  constexpr int kPages = 40;
  std::string pdf =
      "%PDF-1.7\n1 0 obj <</Type/Catalog/Pages 2 0 R>> endobj\n2 0 obj <</Type/Pages/Count " +
      std::to_string(kPages) + "/Kids[";
  for (int i = 0; i < kPages; ++i) pdf += std::to_string(3 + 2 * i) + " 0 R ";
  pdf += "]>> endobj\n";
  for (int i = 0; i < kPages; ++i) {
    const std::string node = std::to_string(3 + 2 * i), page = std::to_string(4 + 2 * i);
    pdf += node + " 0 obj <</Type/Pages/Parent 2 0 R/Count 1/Kids[" + page + " 0 R]>> endobj\n";
    pdf += page + " 0 obj <</Type/Page/Parent " + node + " 0 R/MediaBox[0 0 " +
           std::to_string(100 + i) + " 100]>> endobj\n";
  }
  pdf += "trailer <</Root 1 0 R>>\n%%EOF\n";
  ScratchDir dir;
  auto document = MustOpen(dir.Write("nested.pdf", pdf));
  const auto sizes = PageRenderer(*document).Sizes(0);
  ASSERT_EQ(sizes.size(), static_cast<size_t>(kPages));
  for (int i = 0; i < kPages; ++i) EXPECT_DOUBLE_EQ(sizes[i].width, 100 + i) << i;
}

TEST(PageRenderer, PixelsAndUserSpaceMatchOnTurnedPages) {
  ScratchDir dir;
  auto document = ShapedDocument(dir);
  PageRenderer renderer(*document);
  PagePixels pixels;
  std::string error;
  ASSERT_EQ(renderer.Render(1, 0.5, 0, &pixels, &error), S_OK) << error;
  EXPECT_EQ(pixels.width, 396);
  EXPECT_EQ(pixels.height, 306);
  EXPECT_EQ(pixels.rgb.size(), static_cast<size_t>(pixels.stride) * pixels.height);

  // Turned clockwise, the page's top-left corner in user space (0, 792) shows at the top
  // right, and its bottom-left corner (0, 0) at the top left.
  PageTransform t;
  ASSERT_EQ(renderer.Transform(1, 0, &t), S_OK);
  auto shown = [&](double x, double y) {
    return std::pair(t.a * x + t.c * y + t.e, t.b * x + t.d * y + t.f);
  };
  EXPECT_NEAR(shown(0, 792).first, 792, 1e-3);
  EXPECT_NEAR(shown(0, 792).second, 0, 1e-3);
  EXPECT_NEAR(shown(0, 0).first, 0, 1e-3);
  EXPECT_NEAR(shown(0, 0).second, 0, 1e-3);

  // Refused rather than attempted: pages outside the document and images too large.
  EXPECT_EQ(renderer.Render(3, 1, 0, &pixels, &error), E_INVALIDARG);
  EXPECT_TRUE(pixels.rgb.empty());
  EXPECT_EQ(renderer.Render(2, 40, 0, &pixels, &error), E_INVALIDARG);
  EXPECT_NE(error.find("too large"), std::string::npos) << error;
}

}  // namespace
}  // namespace zelta::pdf::testing
