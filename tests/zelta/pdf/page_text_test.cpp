// The host's page text: characters, flags, lines, fonts, sizes, colours and rectangles of
// pages built with known content, the prefetching reader against plain extraction, and the
// font table behind the font ids.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <thread>

#include "tests/zelta/pdf/page_text_test_pdf.h"
#include "tests/zelta/pdf/pdf_test_support.h"
#include "zelta/pdf/fonts/font_table.h"
#include "zelta/pdf/text/page_text_reader.h"
#include "zelta/pdf/text/page_text_service.h"

namespace zelta::pdf {
namespace {

using testing::ScratchDir;
using zelta::testing::RawPage;
using zelta::testing::RawTextPdf;

class PageTextTest : public ::testing::Test {
 protected:
  ComPtr<HostDocument> Open(const std::vector<RawPage>& pages) {
    std::string path = dir_.Write("text.pdf", RawTextPdf(pages));
    ComPtr<HostDocument> document;
    std::string error;
    EXPECT_EQ(OpenDocument(path, "", &document, &error), S_OK) << error;
    return document;
  }
  ComPtr<IHostPageText> Text(HostDocument* document, int32_t page) {
    ComPtr<IHostPageText> text;
    EXPECT_EQ(service_->GetPageText(document, page, text.Put()), S_OK);
    return text;
  }
  std::vector<PageTextChar> Chars(IHostPageText* text) {
    const PageTextChar* chars = nullptr;
    int32_t count = 0;
    EXPECT_EQ(text->GetChars(&chars, &count), S_OK);
    return std::vector<PageTextChar>(chars, chars + count);
  }
  static std::u16string TextOf(IHostPageText* text, int32_t first, int32_t count) {
    OwnedString part;
    EXPECT_EQ(text->GetText(first, count, part.Put()), S_OK);
    return part.Str();
  }
  std::u16string FontName(HostDocument* document, uint32_t id) {
    ComPtr<IHostFont> font;
    EXPECT_EQ(service_->GetFont(document, id, font.Put()), S_OK);
    OwnedString name;
    if (font) font->GetName(name.Put());
    return name.Str();
  }

  ScratchDir dir_;
  ComPtr<IPageTextService> service_ = MakePageTextService();
};

TEST_F(PageTextTest, StyledRunsGiveFlagsLinesFontsSizesAndColours) {
  auto document = Open({{zelta::testing::HeadingPage()}});
  auto text = Text(document.Get(), 0);
  auto chars = Chars(text.Get());
  // No synthesized characters: "Chapter 1" and "Hello World", nothing between the lines.
  ASSERT_EQ(chars.size(), 20u);
  EXPECT_EQ(TextOf(text.Get(), 0, 100), u"Chapter 1Hello World");

  std::vector<size_t> runStarts, lineEnds;
  for (size_t i = 0; i < chars.size(); ++i) {
    if (chars[i].flags & kCharRunStart) runStarts.push_back(i);
    if (chars[i].flags & kCharLineEnd) lineEnds.push_back(i);
  }
  EXPECT_EQ(runStarts, (std::vector<size_t>{0, 9, 15}));  // heading, red "Hello ", blue "World"
  EXPECT_EQ(lineEnds, (std::vector<size_t>{8, 19}));
  EXPECT_TRUE(chars[19].flags & kCharBlockEnd);
  EXPECT_EQ(chars[0].line, 0);
  EXPECT_EQ(chars[8].line, 0);
  EXPECT_EQ(chars[9].line, 1);

  EXPECT_FLOAT_EQ(chars[0].size, 18.0f);
  EXPECT_FLOAT_EQ(chars[9].size, 12.0f);
  EXPECT_EQ(chars[0].color, 0xFF000000u);
  EXPECT_EQ(chars[9].color, 0xFFFF0000u);
  EXPECT_EQ(chars[15].color, 0xFF0000FFu);
  EXPECT_EQ(chars[9].fontId, chars[15].fontId);
  EXPECT_NE(chars[0].fontId, chars[9].fontId);
  EXPECT_EQ(FontName(document.Get(), chars[0].fontId), u"Times-Bold");
  EXPECT_EQ(FontName(document.Get(), chars[9].fontId), u"Helvetica");

  // User space: the heading's baseline is at y = 700, its first glyph starts at x = 72.
  EXPECT_NEAR(chars[0].left, 72, 1);
  EXPECT_LT(chars[0].bottom, 700);
  EXPECT_GT(chars[0].top, 710);
  EXPECT_LT(chars[0].top, 720);
  EXPECT_LT(chars[0].right, chars[1].right);
  EXPECT_GT(chars[0].bottom, chars[9].top);  // the body line lies below

  int32_t lines = 0;
  text->GetLineCount(&lines);
  EXPECT_EQ(lines, 2);
  OwnedString line;
  int32_t first = -1;
  EXPECT_EQ(text->GetLine(1, line.Put(), &first), S_OK);
  EXPECT_EQ(line.View(), u"Hello World");
  EXPECT_EQ(first, 9);
  EXPECT_EQ(text->GetLine(2, line.Put(), nullptr), E_INVALIDARG);
}

TEST_F(PageTextTest, RotatedPagesKeepUserSpaceRectangles) {
  auto document = Open({{zelta::testing::HeadingPage(), 0},
                        {zelta::testing::HeadingPage(), 90},
                        {zelta::testing::HeadingPage(), 270}});
  auto upright = Chars(Text(document.Get(), 0).Get());
  for (int32_t page : {1, 2}) {
    auto turned = Chars(Text(document.Get(), page).Get());
    ASSERT_EQ(turned.size(), upright.size()) << page;
    for (size_t i = 0; i < upright.size(); ++i) {
      EXPECT_NEAR(turned[i].left, upright[i].left, 0.01) << page << ":" << i;
      EXPECT_NEAR(turned[i].top, upright[i].top, 0.01) << page << ":" << i;
      EXPECT_EQ(turned[i].code, upright[i].code);
    }
  }
}

TEST_F(PageTextTest, TextDrawnRotatedGetsBoxesAroundTheGlyphs) {
  // Text turned by 90 degrees (running upwards) from (300, 100).
  auto document = Open({{"BT /F1 20 Tf 0 1 -1 0 300 100 Tm (Up) Tj ET"}});
  auto chars = Chars(Text(document.Get(), 0).Get());
  ASSERT_EQ(chars.size(), 2u);
  for (const auto& ch : chars) {
    EXPECT_LT(ch.left, ch.right);
    EXPECT_LT(ch.bottom, ch.top);
    EXPECT_NEAR(ch.right, 300, 6);  // the glyphs stand left of the baseline at x = 300
  }
  EXPECT_GT(chars[1].bottom, chars[0].bottom);  // reading upwards
}

TEST_F(PageTextTest, PagesWithoutTextAndDamagedStreamsGiveEmptyText) {
  auto document = Open({{""},
                        {"0 0 1 rg 10 10 100 100 re f"},
                        {"BT /F1 12 Tf (unterminated ET q Q ) ) ( BT"},
                        {"BT /Nope 12 Tf 72 72 Td (x) Tj ET"}});
  for (int32_t page : {0, 1, 2, 3}) {
    ComPtr<IHostPageText> text;
    ASSERT_EQ(service_->GetPageText(document.Get(), page, text.Put()), S_OK) << page;
    int32_t count = -1, lines = -1;
    text->GetCharCount(&count);
    text->GetLineCount(&lines);
    if (page < 2) {
      EXPECT_EQ(count, 0);
      EXPECT_EQ(lines, 0);
      const PageTextChar* chars = reinterpret_cast<const PageTextChar*>(1);
      text->GetChars(&chars, &count);
      EXPECT_EQ(chars, nullptr);
    }
    PageTextChar ch{};
    EXPECT_EQ(text->GetChar(count, &ch), E_INVALIDARG);
  }
}

TEST_F(PageTextTest, BadArgumentsAreRefused) {
  auto document = Open({{zelta::testing::HeadingPage()}});
  ComPtr<IHostPageText> text;
  EXPECT_EQ(service_->GetPageText(document.Get(), 1, text.Put()), E_INVALIDARG);
  EXPECT_EQ(service_->GetPageText(document.Get(), -1, text.Put()), E_INVALIDARG);
  EXPECT_EQ(service_->GetPageText(nullptr, 0, text.Put()), E_INVALIDARG);
  EXPECT_EQ(service_->GetPageText(document.Get(), 0, nullptr), E_POINTER);
  ComPtr<IHostFont> font;
  EXPECT_EQ(service_->GetFont(document.Get(), 0, font.Put()), S_FALSE);
  EXPECT_EQ(service_->GetFont(document.Get(), 0xFFFFFFF0u, font.Put()), S_FALSE);
  int32_t pages[] = {0, 1};
  ComPtr<IHostPageTextReader> reader;
  EXPECT_EQ(service_->OpenReader(document.Get(), pages, 2, 2, reader.Put()), E_INVALIDARG);
  EXPECT_EQ(service_->OpenReader(document.Get(), nullptr, 1, 2, reader.Put()), E_INVALIDARG);

  text = Text(document.Get(), 0);
  OwnedString part;
  EXPECT_EQ(text->GetText(-1, 2, part.Put()), E_INVALIDARG);
  EXPECT_EQ(TextOf(text.Get(), 5, 0x7FFFFFFF), u"er 1Hello World");
  EXPECT_EQ(TextOf(text.Get(), 0x7FFFFFF0, 0x7FFFFFFF), u"");
}

TEST_F(PageTextTest, LongFontNamesComeWhole) {
  auto document = Open({{"BT /F3 14 Tf 72 700 Td (Long) Tj ET"}});
  auto chars = Chars(Text(document.Get(), 0).Get());
  ASSERT_FALSE(chars.empty());
  EXPECT_EQ(FontName(document.Get(), chars[0].fontId),
            u"AVeryLongFontNameThatGoesOnAndOn-BoldItalic");
}

bool SameText(IHostPageText* a, IHostPageText* b) {
  const PageTextChar *ca = nullptr, *cb = nullptr;
  int32_t na = 0, nb = 0;
  a->GetChars(&ca, &na);
  b->GetChars(&cb, &nb);
  return na == nb &&
         (na == 0 || std::memcmp(ca, cb, sizeof(PageTextChar) * static_cast<size_t>(na)) == 0);
}

TEST_F(PageTextTest, PrefetchingReaderGivesThePlainTextInListOrder) {
  std::vector<RawPage> pages;
  for (int i = 0; i < 24; ++i)
    pages.push_back(
        {zelta::testing::HeadingPage("Chapter " + std::to_string(i + 1)), (i % 4) * 90});
  auto document = Open(pages);
  std::vector<int32_t> list{5, 3, 3, 0, 23};
  for (int i = 6; i < 23; ++i) list.push_back(i);
  for (int32_t window : {0, 1, 3, -1}) {
    ComPtr<IHostPageTextReader> reader;
    ASSERT_EQ(service_->OpenReader(document.Get(), list.data(), static_cast<int32_t>(list.size()),
                                   window, reader.Put()),
              S_OK);
    for (size_t i = 0; i < list.size(); ++i) {
      // Give the second thread time to work ahead, as a caller's scan would.
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      int32_t page = -2;
      ComPtr<IHostPageText> text;
      ASSERT_EQ(reader->Next(&page, text.Put()), S_OK);
      ASSERT_EQ(page, list[i]);
      int32_t index = -1;
      text->GetPageIndex(&index);
      EXPECT_EQ(index, list[i]);
      EXPECT_TRUE(SameText(text.Get(), Text(document.Get(), list[i]).Get()))
          << "window " << window << " page " << page;
    }
    int32_t page = 0;
    ComPtr<IHostPageText> text;
    EXPECT_EQ(reader->Next(&page, text.Put()), S_FALSE);
    EXPECT_EQ(page, -1);
    EXPECT_FALSE(text);
    if (window > 0) {
      EXPECT_GT(static_cast<PageTextReader*>(reader.Get())->Prefetched(), 0u)
          << "window " << window;
    }
  }
}

// Released before the end, with or without a page taken, a reader's thread is gone.
TEST_F(PageTextTest, ReaderReleasedEarlyStopsItsThread) {
  std::vector<RawPage> pages(40, RawPage{zelta::testing::HeadingPage()});
  auto document = Open(pages);
  std::vector<int32_t> list(40);
  for (int i = 0; i < 40; ++i) list[static_cast<size_t>(i)] = i;
  const auto threads = [] {
    const std::filesystem::directory_iterator tasks("/proc/self/task");
    return std::distance(begin(tasks), end(tasks));
  };
  const auto before = threads();
  for (int round = 0; round < 20; ++round) {
    ComPtr<IHostPageTextReader> reader;
    ASSERT_EQ(service_->OpenReader(document.Get(), list.data(), 40, 4, reader.Put()), S_OK);
    ComPtr<IHostPageText> text;
    if (round % 2) reader->Next(nullptr, text.Put());
    EXPECT_GT(threads(), before) << round;
    reader.Reset();
    // A joined thread can stay listed for a moment while the system takes it down.
    for (int wait = 0; wait < 100 && threads() > before; ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(threads(), before) << round;
  }
}

TEST_F(PageTextTest, SecondHandleIsKeptBetweenReadersUntilTheDocumentIsSaved) {
  std::vector<RawPage> pages(6, RawPage{zelta::testing::HeadingPage()});
  auto document = Open(pages);
  std::vector<int32_t> list{0, 1, 2, 3, 4, 5};
  auto readAll = [&] {
    ComPtr<IHostPageTextReader> reader;
    ASSERT_EQ(service_->OpenReader(document.Get(), list.data(), 6, 2, reader.Put()), S_OK);
    ComPtr<IHostPageText> text;
    while (reader->Next(nullptr, text.Put()) == S_OK) text.Reset();
  };
  readAll();
  // The handle came back with its file open, for the next reader to find warm.
  auto kept = document->TakeSecondHandle();
  ASSERT_TRUE(kept);
  ASSERT_TRUE(kept->Doc());
  SecondHandle* first = kept.get();
  document->ReturnSecondHandle(std::move(kept));
  readAll();
  kept = document->TakeSecondHandle();
  EXPECT_EQ(kept.get(), first);
  document->ReturnSecondHandle(std::move(kept));

  // Saving over the file drops the kept handle; a new one refuses the saved file, which is
  // not the file the document was read from.
  ASSERT_TRUE(testing::SaveOk(document.Get(), dir_.File("text.pdf")));
  kept = document->TakeSecondHandle();
  ASSERT_TRUE(kept);
  EXPECT_FALSE(kept->Doc());
}

TEST_F(PageTextTest, ReaderLeavesPagesChangedInMemoryToTheDocument) {
  // The second thread reads the file; when the file was replaced after the document was
  // opened, every page must come from the document itself.
  auto document =
      Open({{zelta::testing::HeadingPage("Old")}, {zelta::testing::HeadingPage("Old")}});
  std::string replacement = dir_.Write(
      "new.pdf",
      RawTextPdf({{zelta::testing::HeadingPage("Newer")}, {zelta::testing::HeadingPage("Newer")}}));
  std::filesystem::rename(replacement, dir_.File("text.pdf"));
  int32_t list[] = {0, 1};
  ComPtr<IHostPageTextReader> reader;
  ASSERT_EQ(service_->OpenReader(document.Get(), list, 2, 2, reader.Put()), S_OK);
  for (int32_t expected : list) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ComPtr<IHostPageText> text;
    int32_t page = -1;
    ASSERT_EQ(reader->Next(&page, text.Put()), S_OK);
    EXPECT_EQ(page, expected);
    OwnedString line;
    text->GetLine(0, line.Put(), nullptr);
    EXPECT_EQ(line.View(), u"Old");
  }
  EXPECT_EQ(static_cast<PageTextReader*>(reader.Get())->Prefetched(), 0u);
}

TEST_F(PageTextTest, ReaderFollowsPagesMovedInMemory) {
  // The file has A, B, C; the document shows C, A, B. Every page read must be the document's,
  // whichever thread made it, including after the map of pages was built before the move.
  auto document = Open({{zelta::testing::HeadingPage("A")},
                        {zelta::testing::HeadingPage("B")},
                        {zelta::testing::HeadingPage("C")}});
  int32_t all[] = {0, 1, 2};
  size_t prefetched = 0;
  auto read = [&](int32_t window) {
    ComPtr<IHostPageTextReader> reader;
    EXPECT_EQ(service_->OpenReader(document.Get(), all, 3, window, reader.Put()), S_OK);
    std::u16string lines;
    for (int i = 0; i < 3; ++i) {
      // Time for the second thread to make the next pages.
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      ComPtr<IHostPageText> text;
      int32_t page = -1;
      EXPECT_EQ(reader->Next(&page, text.Put()), S_OK);
      OwnedString line;
      if (text) text->GetLine(0, line.Put(), nullptr);
      lines += line.View();
    }
    prefetched = static_cast<PageTextReader*>(reader.Get())->Prefetched();
    return lines;
  };
  EXPECT_EQ(read(2), u"ABC");
  EXPECT_GT(prefetched, 0u);
  std::vector<MuObject> moved;
  ASSERT_EQ(document->TakePages(2, 1, &moved), S_OK);
  ASSERT_EQ(document->PutPages(0, moved), S_OK);
  for (int32_t window : {0, 1, 2, 16}) EXPECT_EQ(read(window), u"CAB") << window;
}

TEST(FontTableTest, SubsetTagsAreSixCapitalsAndAPlus) {
  EXPECT_EQ(FontTable::StripSubsetTag("ABCDEF+CMBX12"), "CMBX12");
  EXPECT_EQ(FontTable::StripSubsetTag("ABCDEF+"), "");
  // Anything else is no tag and stays.
  for (const char* name :
       {"ABCDEf+CMBX12", "ABCDE+CMBX12", "ABCDEFG+CMBX12", "ABCDEF-CMBX12", "Times+Bold", ""})
    EXPECT_EQ(FontTable::StripSubsetTag(name), name);
}

TEST(FontTableTest, OneIdPerFullNameFromEveryThread) {
  auto& table = FontTable::Instance();
  std::vector<uint32_t> a(200), b(200);
  auto fill = [&](std::vector<uint32_t>& ids) {
    for (size_t i = 0; i < ids.size(); ++i)
      ids[i] = table.IdFor("QWERTY+Test" + std::to_string(i), 0);
  };
  std::thread other([&] { fill(a); });
  fill(b);
  other.join();
  EXPECT_EQ(a, b);
  std::set<uint32_t> distinct(a.begin(), a.end());
  EXPECT_EQ(distinct.size(), a.size());
  auto entry = table.Find(a[7]);
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->name, "Test7");
  EXPECT_EQ(entry->fullName, "QWERTY+Test7");
  // Another subset of the same font is another font with the same name.
  uint32_t otherSubset = table.IdFor("ZXCVBN+Test7", 0);
  EXPECT_NE(otherSubset, a[7]);
  EXPECT_EQ(table.Find(otherSubset)->name, "Test7");
  EXPECT_FALSE(table.Find(0));
}

}  // namespace
}  // namespace zelta::pdf
