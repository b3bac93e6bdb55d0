// Page ranges from "PagesRange": the text syntax, types, filters, reversal, and errors that
// name the bad input.
#include "zelta/app/selection/page_range.h"

#include <gtest/gtest.h>

#include "zelta/app/selection/page_range_list.h"
#include "zelta/app/selection/page_range_object.h"
#include "zelta/app/selection/page_range_service.h"

namespace zelta::app {
namespace {

std::vector<int32_t> Pages(const PageRange& range, int32_t count) {
  std::vector<int32_t> pages;
  std::string error;
  EXPECT_EQ(range.Select(count, &pages, &error), S_OK) << error;
  return pages;
}

std::string Error(const PageRange& range, int32_t count) {
  std::vector<int32_t> pages{99};
  std::string error;
  EXPECT_EQ(range.Select(count, &pages, &error), E_INVALIDARG);
  EXPECT_TRUE(pages.empty());
  return error;
}

PageRange Text(std::u16string text, int32_t filter = 1, bool reversed = false) {
  PageRange range;
  range.type = 1;
  range.text = std::move(text);
  range.filter = filter;
  range.reversed = reversed;
  return range;
}

using V = std::vector<int32_t>;

TEST(PageRangeTest, TextListsPagesInWrittenOrder) {
  EXPECT_EQ(Pages(Text(u"1-5, 8, 12-"), 14), (V{0, 1, 2, 3, 4, 7, 11, 12, 13}));
  EXPECT_EQ(Pages(Text(u"-3"), 10), (V{0, 1, 2}));
  EXPECT_EQ(Pages(Text(u"9-7"), 10), (V{8, 7, 6}));
  EXPECT_EQ(Pages(Text(u" 2 ,,\t4 - 4 ,"), 10), (V{1, 3}));
  EXPECT_EQ(Pages(Text(u"3,3"), 10), (V{2, 2}));
  EXPECT_EQ(Pages(Text(u"-"), 3), (V{0, 1, 2}));
  EXPECT_EQ(Pages(Text(u""), 3), V{});
}

TEST(PageRangeTest, BadTextAndPagesOutsideTheDocumentAreNamed) {
  EXPECT_NE(Error(Text(u"1-3, x"), 10).find("\"x\" is not a page number"), std::string::npos);
  EXPECT_NE(Error(Text(u"2-4-6"), 10).find("\"2-4-6\""), std::string::npos);
  EXPECT_NE(Error(Text(u"1, 11"), 10).find("page 11 is outside the document (pages 1 to 10)"),
            std::string::npos);
  EXPECT_NE(Error(Text(u"0"), 10).find("page 0"), std::string::npos);
  EXPECT_NE(Error(Text(u"99999999999"), 10).find("99999999999"), std::string::npos);
  EXPECT_NE(Error(Text(u"+1"), 10).find("\"+1\""), std::string::npos);
  EXPECT_NE(Error(Text(u"5-"), 0).find("page 5"), std::string::npos);
  // Text that would list more pages than any document has is refused, not allocated.
  std::u16string hostile;
  for (int i = 0; i < 1000; ++i) hostile += u"1-,";
  EXPECT_NE(Error(Text(hostile), 2000).find("more than"), std::string::npos);
}

TEST(PageRangeTest, TypesFiltersAndReversal) {
  PageRange all;
  EXPECT_EQ(Pages(all, 4), (V{0, 1, 2, 3}));
  EXPECT_EQ(Pages(all, 0), V{});
  all.filter = 2;  // odd page numbers: 1, 3
  EXPECT_EQ(Pages(all, 4), (V{0, 2}));
  all.filter = 3;
  all.reversed = true;
  EXPECT_EQ(Pages(all, 5), (V{3, 1}));
  EXPECT_EQ(Pages(Text(u"9-7", 2), 10), (V{8, 6}));
  EXPECT_EQ(Pages(Text(u"1-4", 1, true), 10), (V{3, 2, 1, 0}));

  PageRange current;
  current.type = 0;
  current.current = 2;
  EXPECT_EQ(Pages(current, 3), V{2});
  current.current = 3;
  EXPECT_NE(Error(current, 3).find("page 4"), std::string::npos);

  PageRange array;
  array.type = 2;
  array.array = {4, 0, 4};
  EXPECT_EQ(Pages(array, 5), (V{4, 0, 4}));
  array.array = {1, -1};
  EXPECT_NE(Error(array, 5).find("index -1"), std::string::npos);

  PageRange odd;
  odd.type = 7;
  EXPECT_NE(Error(odd, 5).find("unknown type 7"), std::string::npos);
  odd.type = -1;
  odd.filter = 0;
  EXPECT_NE(Error(odd, 5).find("unknown filter 0"), std::string::npos);
}

TEST(PageRangeTest, ServiceObjectsFillAListAndReportErrors) {
  auto aux = MakeAuxComponent(nullptr);
  auto service = QueryAs<IPageRangeService>(aux.Get());
  ASSERT_TRUE(service);
  EXPECT_TRUE(QueryAs<ICabFactory>(aux.Get()));
  ComPtr<IHostPageRange> range;
  ComPtr<IHostPageIndexList> list;
  ASSERT_EQ(service->CreatePageRange(range.Put()), S_OK);
  ASSERT_EQ(service->CreatePageIndexList(list.Put()), S_OK);
  EXPECT_EQ(range->Load(nullptr, 0x72), E_POINTER);
  EXPECT_EQ(range->SetPageCount(-1), E_INVALIDARG);
  EXPECT_EQ(range->Fill(list.Get(), -1), S_OK);
  int32_t count = -1;
  list->GetCount(&count);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(list->Append(-1), E_INVALIDARG);
  EXPECT_EQ(list->Append(3), S_OK);
  int32_t page = -1;
  EXPECT_EQ(list->GetItem(0, &page), S_OK);
  EXPECT_EQ(page, 3);
  EXPECT_EQ(list->GetItem(1, &page), E_INVALIDARG);
  const int32_t* items = nullptr;
  list->GetItems(&items, &count);
  ASSERT_EQ(count, 1);
  EXPECT_EQ(items[0], 3);
}

}  // namespace
}  // namespace zelta::app
