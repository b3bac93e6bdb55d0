// Text selections: the program's "PAGE[:x0,y0,x1,y1]" arguments, characters inside a
// rectangle, and the selection set on a document through the application.
#include "zelta/app/selection/text_selection.h"

#include <gtest/gtest.h>

#include "tests/zelta/pdf/page_text_test_pdf.h"
#include "tests/zelta/pdf/pdf_test_support.h"
#include "zelta/app/host_app.h"
#include "zelta/app/selection/text_selection_part.h"
#include "zelta/pdf/host_document.h"

namespace zelta::app {
namespace {

TEST(TextSelectionTest, ArgumentsParseOrNameWhatIsWrong) {
  int32_t page = -1;
  std::optional<PageBox> area;
  std::string error;
  ASSERT_TRUE(TextSelectionPart::ParseArgument("12:72,700,540.5,730", &page, &area, &error));
  EXPECT_EQ(page, 11);
  ASSERT_TRUE(area);
  EXPECT_DOUBLE_EQ(area->right, 540.5);
  ASSERT_TRUE(TextSelectionPart::ParseArgument("3", &page, &area, &error));
  EXPECT_EQ(page, 2);
  EXPECT_FALSE(area);
  for (const char* bad :
       {"0", "x", "", "2:1,2,3", "2:1,2,3,4,5", "2:1,2,a,4", "2:", "-1", "2:1,2,3,nan"}) {
    EXPECT_FALSE(TextSelectionPart::ParseArgument(bad, &page, &area, &error)) << bad;
    EXPECT_NE(error.find(std::string("\"") + bad + "\""), std::string::npos) << error;
  }
}

TEST(TextSelectionTest, CharactersWhoseCentreIsInsideFormRanges) {
  std::vector<PageTextChar> chars(6);
  for (size_t i = 0; i < chars.size(); ++i) {
    chars[i].left = 10.0 * i;
    chars[i].right = 10.0 * i + 8;
    chars[i].top = 10;
  }
  chars[3].bottom = 100;  // moved out of the band
  chars[3].top = 110;
  auto ranges =
      TextSelectionPart::RangesIn(chars.data(), 6, PageBox{45, 12, 0, 0});  // corners swapped
  EXPECT_EQ(ranges, (std::vector<TextSelectionPart::Range>{{0, 3}, {4, 1}}));
  EXPECT_EQ(TextSelectionPart::RangesIn(chars.data(), 6, std::nullopt),
            (std::vector<TextSelectionPart::Range>{{0, 6}}));
  EXPECT_TRUE(TextSelectionPart::RangesIn(chars.data(), 0, std::nullopt).empty());
  EXPECT_TRUE(TextSelectionPart::RangesIn(chars.data(), 6, PageBox{500, 500, 600, 600}).empty());
}

TEST(TextSelectionTest, DragFromOnePointToAnotherTakesTheCharactersBetweenInReadingOrder) {
  // Two lines of three characters: the second line below the first.
  std::vector<PageTextChar> chars(6);
  for (size_t i = 0; i < chars.size(); ++i) {
    chars[i].left = 10.0 * (i % 3);
    chars[i].right = chars[i].left + 8;
    chars[i].bottom = i < 3 ? 100 : 80;
    chars[i].top = chars[i].bottom + 10;
  }
  using Ranges = std::vector<TextSelectionPart::Range>;
  // From the middle of line one to the start of line two, dragged either way.
  EXPECT_EQ(TextSelectionPart::RangeBetween(chars.data(), 6, 12, 105, 2, 85), (Ranges{{1, 3}}));
  EXPECT_EQ(TextSelectionPart::RangeBetween(chars.data(), 6, 2, 85, 12, 105), (Ranges{{1, 3}}));
  // A point inside a character picks it, even where a neighbour's centre is as near.
  EXPECT_EQ(TextSelectionPart::RangeBetween(chars.data(), 6, 7.5, 105, 7.9, 105), (Ranges{{0, 1}}));
  // Points off the text take the nearest characters.
  EXPECT_EQ(TextSelectionPart::RangeBetween(chars.data(), 6, -50, 200, 500, -50), (Ranges{{0, 6}}));
  EXPECT_TRUE(TextSelectionPart::RangeBetween(chars.data(), 0, 0, 0, 1, 1).empty());
}

TEST(TextSelectionTest, SelectionFromArgumentsBecomesTheDocumentsTextSelection) {
  pdf::testing::ScratchDir dir;
  std::string path =
      dir.Write("a.pdf", zelta::testing::RawTextPdf({{zelta::testing::HeadingPage()}, {""}}));
  ComPtr<HostApp> app(new HostApp());
  ComPtr<pdf::HostDocument> document;
  std::string error;
  ASSERT_EQ(app->OpenDocument(path, "", &document, &error), S_OK) << error;

  ComPtr<TextSelection> selection;
  // The heading only (its baseline is at y = 700), then the whole empty second page.
  ASSERT_EQ(
      TextSelection::FromArguments(document.Get(), {"1:60,690,400,730", "2"}, &selection, &error),
      S_OK)
      << error;
  Atom text = kNoAtom;
  app->InternString(u"selection.text", -1, &text);
  ASSERT_EQ(
      app->SetSelection(document.Get(), text,
                        {ComPtr<IUnknown>(static_cast<IHostTextSelection*>(selection.Get()))}),
      S_OK);

  ComPtr<IUnknown> found;
  ASSERT_EQ(app->Selections().GetTextSelection(document.Get(), found.Put()), S_OK);
  auto textSelection = QueryAs<IHostTextSelection>(found.Get());
  ASSERT_TRUE(textSelection);
  int32_t parts = 0;
  textSelection->GetPartCount(&parts);
  ASSERT_EQ(parts, 2);
  ComPtr<IHostTextSelectionPart> part;
  ASSERT_EQ(textSelection->GetPart(0, part.Put()), S_OK);
  bool empty = true;
  int32_t page = -1, ranges = 0, start = -1, length = -1;
  part->IsEmpty(&empty);
  part->GetPageIndex(&page);
  part->GetRangeCount(&ranges);
  EXPECT_FALSE(empty);
  EXPECT_EQ(page, 0);
  ASSERT_EQ(ranges, 1);
  part->GetRange(0, &start, &length);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(length, 9);  // "Chapter 1"
  EXPECT_EQ(part->GetRange(1, &start, &length), E_INVALIDARG);
  ASSERT_EQ(textSelection->GetPart(1, part.Put()), S_OK);
  part->IsEmpty(&empty);
  EXPECT_TRUE(empty);
  EXPECT_EQ(textSelection->GetPart(2, part.Put()), S_FALSE);

  EXPECT_EQ(TextSelection::FromArguments(document.Get(), {"3"}, &selection, &error), E_INVALIDARG);
  EXPECT_NE(error.find("page 3 is outside the document (pages 1 to 2)"), std::string::npos)
      << error;

  // Page lists select whole pages in the order written; a list past the document, backwards
  // or malformed is refused with the item named.
  ASSERT_EQ(TextSelection::FromArguments(document.Get(), {"2,1-2"}, &selection, &error), S_OK);
  std::vector<int32_t> pages;
  for (int32_t i = 0; selection->GetPart(i, part.Put()) == S_OK; ++i)
    part->GetPageIndex(&page), pages.push_back(page);
  EXPECT_EQ(pages, (std::vector<int32_t>{1, 0, 1}));
  for (const char* bad : {"1-3", "2-1", "1,", "1-x", "0-1", "1-2000000000"}) {
    EXPECT_EQ(TextSelection::FromArguments(document.Get(), {bad}, &selection, &error), E_INVALIDARG)
        << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }
  app->Shutdown();
}

}  // namespace
}  // namespace zelta::app
