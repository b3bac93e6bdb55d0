// The content writer: line breaking, font names, the characters written, and text written
// onto a page that reads back and renders.
#include "zelta/pdf/pages/content_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/zelta/pdf/pdf_test_support.h"
#include "zelta/base/text_codec.h"
#include "zelta/pdf/fonts/font_names.h"
#include "zelta/pdf/pages/content_piece.h"
#include "zelta/pdf/pages/line_breaker.h"

namespace zelta::pdf {
namespace {

using testing::ScratchDir;

// "a b" style items: each character one unit wide, ' ' a space, 'C' a CJK character.
std::vector<BreakItem> Items(const std::string& text) {
  std::vector<BreakItem> items;
  for (char c : text)
    items.push_back(BreakItem{1.0, c == ' '   ? BreakItem::kSpace
                                   : c == 'C' ? BreakItem::kCjk
                                              : BreakItem::kOther});
  return items;
}

std::vector<std::string> Lines(const std::string& text, double width) {
  std::vector<std::string> lines;
  for (const BrokenLine& line : LineBreaker::Break(Items(text), width))
    lines.push_back(text.substr(line.begin, line.end - line.begin));
  return lines;
}

TEST(LineBreaker, BreaksAtSpacesBetweenCjkAndInsideWordsTooLong) {
  struct Case {
    std::string text;
    double width;
    std::vector<std::string> lines;
  } cases[] = {
      {"aa bb cc", 5, {"aa bb ", "cc"}},
      {"aa bb cc", 8, {"aa bb cc"}},
      {"CCCCC", 2, {"CC", "CC", "C"}},
      {"ab CCC", 4, {"ab C", "CC"}},
      {"abcdefgh", 3, {"abc", "def", "gh"}},  // no break: cut where it overflows
      {"abcdefgh ij", 0, {"a", "b", "c", "d", "e", "f", "g", "h ", "i", "j"}},
      {"", 5, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Lines(c.text, c.width), c.lines) << c.text;
  // Trailing spaces hang: they do not count towards the width.
  auto lines = LineBreaker::Break(Items("aa bb cc"), 5);
  EXPECT_DOUBLE_EQ(lines[0].width, 5);
}

TEST(FontNames, LevelFormatNamesMapToTheStandardFonts) {
  const std::pair<const char*, const char*> cases[] = {
      {"ArialMT", "Helvetica"},
      {"Arial", "Helvetica"},
      {"Arial-BoldMT", "Helvetica-Bold"},
      {"Arial,BoldItalic", "Helvetica-BoldOblique"},
      {"Helvetica-Oblique", "Helvetica-Oblique"},
      {"Times", "Times-Roman"},
      {"Times-Bold", "Times-Bold"},
      {"TimesNewRomanPS-BoldItalicMT", "Times-BoldItalic"},
      {"CourierNewPSMT", "Courier"},
      {"Courier-Oblique", "Courier-Oblique"},
      {"ABCDEF+Arial-ItalicMT", "Helvetica-Oblique"},
  };
  for (auto [name, standard] : cases) EXPECT_EQ(StandardFontName(name), standard) << name;
  for (const char* other : {"ArialNarrow", "Garamond", "", "Times-Heavy"})
    EXPECT_FALSE(StandardFontName(other)) << other;
}

TEST(ContentWriter, ControlCharactersLoneSurrogatesAndMarksAreMadeWritable) {
  const std::u16string text =
      u"a\tb\u0001"
      u"c\xD800"
      u"d\u200F"
      u"e\U0001F600";
  EXPECT_EQ(ContentWriter::CodePoints(text),
            (std::vector<int>{'a', ' ', 'b', ' ', 'c', 0xFFFD, 'd', 'e', 0x1F600}));
}

class TextFlow : public ::testing::Test, public ComObject<ITextFlowCallback> {
 protected:
  void SetUp() override {
    path_ = dir_.Write("in.pdf", zelta::testing::BuildPdf(zelta::testing::PdfSpec{}));
    doc_ = testing::MustOpen(path_);
    ASSERT_TRUE(doc_);
    ASSERT_EQ(doc_->CreateContentWriter(writer_.Put()), S_OK);
  }
  ComPtr<IHostWriterFont> Font(const char16_t* name, HRESULT expected = S_OK) {
    ComPtr<IHostWriterFont> font;
    EXPECT_EQ(doc_->ResolveFont(name, -1, font.Put()), expected) << base::LossyUtf8(name);
    return font;
  }

  // The callback: every new area is `next`, on a new page.
  HRESULT NewArea(PageBox* area, int32_t* bits) override {
    ++areas_;
    *area = next_;
    *bits = kFlowAreaChanged | kFlowNewPage;
    return S_OK;
  }
  HRESULT LinesPlaced(const PageBox*, int32_t count) override {
    placedPerArea_.push_back(count);
    return S_OK;
  }
  HRESULT EndOfText() override {
    ++ends_;
    return S_OK;
  }

  ScratchDir dir_;
  std::string path_;
  ComPtr<HostDocument> doc_;
  ComPtr<IHostContentWriter> writer_;
  PageBox next_;
  int areas_ = 0, ends_ = 0;
  std::vector<int32_t> placedPerArea_;
};

TEST_F(TextFlow, FontsFoundNowhereStandInWithTheSubstitute) {
  auto font = Font(u"NoSuchFont-Anywhere", S_FALSE);
  ASSERT_TRUE(font);
  bool substitute = false;
  font->IsSubstitute(&substitute);
  EXPECT_TRUE(substitute);
  OwnedString name;
  font->GetName(name.Put());
  EXPECT_EQ(name.View(), u"Helvetica");
  ComPtr<IHostWriterFont> none;
  EXPECT_EQ(doc_->ResolveFont(u"", -1, none.Put()), E_INVALIDARG);
}

TEST_F(TextFlow, MeasuresWithTheStandardMetrics) {
  ASSERT_EQ(writer_->SetFont(Font(u"ArialMT").Get()), S_OK);
  double width = 0, height = 0;
  ASSERT_EQ(writer_->MeasureText(u"Ww", -1, 10, &width, &height), S_OK);
  EXPECT_NEAR(width, 16.66, 0.01);  // W 944 + w 722 thousandths of an em
  EXPECT_GT(height, 10);
  EXPECT_EQ(writer_->MeasureText(u"W", -1, 0, &width, &height), E_INVALIDARG);
  EXPECT_EQ(writer_->SetFontSize(-3), E_INVALIDARG);
  EXPECT_EQ(writer_->SetFontSize(1001), E_INVALIDARG);
}

TEST_F(TextFlow, FontsTakenInTurnKeepTheirOwnGlyphsAndNumbersAreWrittenShort) {
  auto regular = Font(u"ArialMT"), bold = Font(u"Arial-BoldMT");
  double width = 0, height = 0, regularWidth = 0, boldWidth = 0;
  ASSERT_EQ(writer_->SetFont(regular.Get()), S_OK);
  ASSERT_EQ(writer_->MeasureText(u"Contents\u00e9", -1, 10, &regularWidth, &height), S_OK);
  ASSERT_EQ(writer_->SetFont(bold.Get()), S_OK);
  ASSERT_EQ(writer_->MeasureText(u"Contents\u00e9", -1, 10, &boldWidth, &height), S_OK);
  EXPECT_GT(boldWidth, regularWidth);
  ASSERT_EQ(writer_->SetFont(regular.Get()), S_OK);
  ASSERT_EQ(writer_->MeasureText(u"Contents\u00e9", -1, 10, &width, &height), S_OK);
  EXPECT_DOUBLE_EQ(width, regularWidth);

  // Colours and positions as the shortest decimals of three places at most.
  writer_->SetFillColor(0x3366CC, true);
  writer_->SetFontSize(12.5);
  PageBox area{72.25, 700.0004, 500, 100}, used;
  ASSERT_EQ(writer_->FlowText(u"Ab", -1, &area, nullptr, 0, &used), S_OK);
  ComPtr<IHostContent> content;
  ASSERT_EQ(writer_->TakeContent(content.Put()), S_OK);
  auto* piece = dynamic_cast<ContentPiece*>(content.Get());
  ASSERT_TRUE(piece);
  const std::string& bytes = piece->Bytes();
  EXPECT_NE(bytes.find("BT\n0.2 0.4 0.8 rg\n0 Tr\n"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find(" 12.5 Tf 1 0 0 1 72.25 "), std::string::npos) << bytes;
  EXPECT_NE(bytes.find(" Tm (Ab) Tj\nET\n"), std::string::npos) << bytes;
}

TEST_F(TextFlow, AreasSmallerThanALineStillTakeOneLineEachAndTheFlowEnds) {
  ASSERT_EQ(writer_->SetFont(Font(u"Times-Roman").Get()), S_OK);
  writer_->SetFontSize(20);
  next_ = PageBox{10, 100, 200, 105};  // 5 points high: no line fits
  std::u16string text;
  for (int i = 0; i < 30; ++i) text += u"word ";
  PageBox used;
  ASSERT_EQ(writer_->FlowText(text.c_str(), -1, &next_, this, kFlowAreaInUse, &used), S_OK);
  EXPECT_EQ(ends_, 1);
  EXPECT_GT(areas_, 1);
  EXPECT_EQ(placedPerArea_.size(), static_cast<size_t>(areas_));  // the first area got none
  for (int32_t placed : placedPerArea_) EXPECT_EQ(placed, 1);
}

TEST_F(TextFlow, TextInEveryScriptIsWrittenExtractedAndChecked) {
  ASSERT_EQ(writer_->SetFont(Font(u"Arial-BoldMT").Get()), S_OK);
  writer_->SetFontSize(14);
  writer_->SetFillColor(0xFF003399, true);
  const std::u16string text = u"Contents of the Übersicht — Содержание Περιεχόμενα 目次 목차";
  PageBox area{72, 72, 540, 720}, used;
  ASSERT_EQ(writer_->FlowText(text.c_str(), -1, &area, nullptr, 0, &used), S_OK);
  EXPECT_NEAR(used.top, 720, 1e-6);
  EXPECT_DOUBLE_EQ(used.left, 72);
  ComPtr<IHostContent> content;
  ASSERT_EQ(writer_->TakeContent(content.Put()), S_OK);
  ASSERT_EQ(doc_->AppendContent(0, content.Get()), S_OK);
  const std::string out = dir_.File("out.pdf");
  ASSERT_TRUE(testing::SaveOk(doc_.Get(), out));
  testing::ExpectQpdfClean(out);
  std::string extracted;
  ASSERT_EQ(testing::RunCommand("pdftotext -enc UTF-8 '" + out + "' - 2>/dev/null", &extracted), 0);
  for (const char* word : {"Contents", "Übersicht", "Содержание", "Περιεχόμενα", "目次", "목차"})
    EXPECT_NE(extracted.find(word), std::string::npos) << word << " in " << extracted;
  // Nothing is left to hand over.
  ASSERT_EQ(writer_->TakeContent(content.Put()), S_FALSE);
  EXPECT_EQ(doc_->AppendContent(0, content.Get()), S_FALSE);
}

}  // namespace
}  // namespace zelta::pdf
