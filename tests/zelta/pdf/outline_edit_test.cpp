// Editing the outline: titles in both encodings, properties, and structure changes that keep
// /Count and the links consistent (checked by re-reading and by qpdf --check).
#include "tests/zelta/pdf/pdf_test_support.h"
#include "zelta/pdf/text/pdf_text.h"

namespace zelta::pdf::testing {
namespace {

using zelta::testing::BuildPdf;
using zelta::testing::OutlineSpec;
using zelta::testing::PdfSpec;

PdfSpec ThreeByTwo() {
  PdfSpec layout;
  layout.pages.resize(6);
  for (int i = 0; i < 3; ++i) {
    OutlineSpec top = zelta::testing::Bookmark("Top " + std::to_string(i + 1), 2 * i);
    top.open = i != 1;
    for (int k = 0; k < 2; ++k)
      top.children.push_back(zelta::testing::Bookmark(
          "Sub " + std::to_string(i + 1) + "." + std::to_string(k + 1), 2 * i + k));
    layout.outline.push_back(top);
  }
  return layout;
}

TEST(TitleEdit, NonLatinAndPdfDocTitlesSurviveSaving) {
  ScratchDir dir;
  auto doc = MustOpen(dir.Write("in.pdf", BuildPdf(ThreeByTwo())));
  auto first = Child(Root(doc.Get()).Get(), 0);
  auto second = Child(Root(doc.Get()).Get(), 1);
  std::u16string greek = u"Κεφάλαιο 1 — 日本語 \U0001F600";
  std::u16string pdfDoc = u"Caf\u00E9 \u2014 \u201Cquoted\u201D \u2022 \u20AC5";
  ASSERT_EQ(first->SetTitle(greek.data(), -1), S_OK);
  ASSERT_EQ(second->SetTitle(pdfDoc.data(), static_cast<int32_t>(pdfDoc.size())), S_OK);
  ASSERT_TRUE(SaveOk(doc.Get(), dir.File("out.pdf")));
  auto reread = MustOpen(dir.File("out.pdf"));
  EXPECT_EQ(Title(Child(Root(reread.Get()).Get(), 0).Get()), greek);
  EXPECT_EQ(Title(Child(Root(reread.Get()).Get(), 1).Get()), pdfDoc);
}

TEST(TitleEdit, ShortestFaithfulEncoding) {
  EXPECT_EQ(EncodeTextString(u"Plain"), "Plain");
  EXPECT_EQ(EncodeTextString(u"\u2022 \u20AC"), "\x80 \xA0");
  EXPECT_EQ(EncodeTextString(u"\u0100"), std::string("\xFE\xFF\x01\x00", 4));
  // Bytes that would read back as a byte order mark must not be written as single bytes.
  EXPECT_EQ(EncodeTextString(u"\u00FE\u00FFx").substr(0, 2), "\xFE\xFF");
  EXPECT_EQ(DecodeTextString(EncodeTextString(u"\u00FE\u00FFx")), u"\u00FE\u00FFx");
  EXPECT_EQ(DecodeTextString(EncodeTextString(u"\u00EF\u00BB\u00BFx")), u"\u00EF\u00BB\u00BFx");
  EXPECT_EQ(DecodeTextString("\xEF\xBB\xBF\xC3\xA9"), u"\u00E9");
  EXPECT_EQ(DecodeTextString(std::string("\xFE\xFF\xD8\x3D", 4)),
            u"\xD83D");  // lone surrogate kept
}

TEST(TitleEdit, UneditedTitlesKeepTheirBytes) {
  ScratchDir dir;
  PdfSpec layout = ThreeByTwo();
  layout.outline[0].rawTitle = std::string("\xFE\xFF\x00O\x00k", 6);  // UTF-16 though plain
  auto doc = MustOpen(dir.Write("in.pdf", BuildPdf(layout)));
  auto first = Child(Root(doc.Get()).Get(), 0);
  ASSERT_EQ(first->SetTitle(u"Ok", -1), S_OK);  // same text: nothing rewritten
  ASSERT_EQ(Child(Root(doc.Get()).Get(), 1)->SetStyle(kStyleBold), S_OK);
  std::string out = dir.File("out.pdf");
  ASSERT_TRUE(SaveOk(doc.Get(), out));
  std::string shown;
  RunCommand("mutool show '" + out + "' grep 2>/dev/null | grep -c '<FEFF004F006B>'", &shown);
  EXPECT_EQ(std::stoi(shown.empty() ? "0" : shown), 1) << "the original UTF-16 bytes are gone";
}

// The run's summary reads the tree again only when this count moved: every kind of change
// must move it, reading and setting what is already there must not.
TEST(Structure, EveryChangeCountsAsAnOutlineEdit) {
  ScratchDir dir;
  auto doc = MustOpen(dir.Write("in.pdf", BuildPdf(ThreeByTwo())));
  auto root = Root(doc.Get());
  auto first = Child(root.Get(), 0), second = Child(root.Get(), 1);
  uint64_t edits = doc->OutlineEdits();
  auto changed = [&] {
    const bool moved = doc->OutlineEdits() != edits;
    edits = doc->OutlineEdits();
    return moved;
  };
  OwnedString title;
  first->GetTitle(title.Put());
  ComPtr<IHostBookmark> child;
  first->GetFirstChild(child.Put());
  ASSERT_EQ(first->SetTitle(u"Top 1", -1), S_OK);  // the same text
  EXPECT_FALSE(changed());
  ASSERT_EQ(first->SetTitle(u"TOP 1", -1), S_OK);
  EXPECT_TRUE(changed());
  ASSERT_EQ(first->SetStyle(kStyleBold), S_OK);
  EXPECT_TRUE(changed());
  ASSERT_EQ(first->SetColor(0xFF0000, true), S_OK);
  EXPECT_TRUE(changed());
  ASSERT_EQ(first->SetOpen(false), S_OK);
  EXPECT_TRUE(changed());
  ComPtr<IHostBookmark> made;
  ASSERT_EQ(second->InsertNewChild(0, made.Put()), S_OK);
  EXPECT_TRUE(changed());
  ASSERT_EQ(first->InsertChild(-1, made.Get()), S_OK);  // moved
  EXPECT_TRUE(changed());
  ASSERT_EQ(made->Remove(), S_OK);
  EXPECT_TRUE(changed());
}

// A run's summary learns what it renamed from the log of replaced titles: while a watch is
// open every replacement is there with the title it replaced, and nothing else is; the log
// goes with the last watch.
TEST(TitleEdit, ReplacedTitlesAreLoggedWhileWatched) {
  ScratchDir dir;
  auto doc = MustOpen(dir.Write("in.pdf", BuildPdf(ThreeByTwo())));
  auto first = Child(Root(doc.Get()).Get(), 0), second = Child(Root(doc.Get()).Get(), 1);
  Outline& outline = doc->GetOutline();
  ASSERT_EQ(first->SetTitle(u"Unwatched", -1), S_OK);
  EXPECT_TRUE(outline.TitleLog().empty());

  const size_t from = outline.WatchTitles();
  ASSERT_EQ(second->SetTitle(u"Top 2", -1), S_OK);  // the same text replaces nothing
  ASSERT_EQ(first->SetTitle(u"Once", -1), S_OK);
  ASSERT_EQ(first->SetTitle(u"Twice", -1), S_OK);
  EXPECT_EQ(outline.WatchTitles(), from + 2);  // a second watch shares the log
  ASSERT_EQ(second->SetStyle(kStyleBold), S_OK);
  outline.UnwatchTitles();
  const int key = dynamic_cast<HostBookmark*>(first.Get())->Key();
  std::vector<std::pair<int, std::string>> log;
  for (const Outline::TitleChange& change : outline.TitleLog())
    log.emplace_back(change.key, doc->Mu().ToBytes(change.former.Get()));
  EXPECT_EQ(log, (std::vector<std::pair<int, std::string>>{{key, "Unwatched"}, {key, "Once"}}));

  outline.UnwatchTitles();
  EXPECT_TRUE(outline.TitleLog().empty());
  ASSERT_EQ(first->SetTitle(u"Unwatched again", -1), S_OK);
  EXPECT_TRUE(outline.TitleLog().empty());
}

TEST(Properties, StyleColourOpenRoundTrip) {
  ScratchDir dir;
  auto doc = MustOpen(dir.Write("in.pdf", BuildPdf(ThreeByTwo())));
  auto item = Child(Root(doc.Get()).Get(), 2);
  uint32_t color = 0;
  EXPECT_EQ(item->GetColor(&color), S_FALSE);
  EXPECT_EQ(item->SetColor(0xFF336699u, true), S_OK);
  EXPECT_EQ(item->SetStyle(3), S_OK);
  EXPECT_EQ(item->SetStyle(4), E_INVALIDARG);
  EXPECT_EQ(item->SetOpen(false), S_OK);
  EXPECT_EQ(Root(doc.Get())->SetTitle(u"x", -1), E_FAIL);
  std::string json = SaveAndDump(doc.Get(), dir.File("out.pdf"));
  EXPECT_NE(
      json.find("{\"title\":\"Top 3\",\"page\":5,\"open\":false,\"style\":3,\"color\":\"#336699\""),
      std::string::npos)
      << json;
}

TEST(Structure, IdentityAndNavigation) {
  ScratchDir dir;
  auto doc = MustOpen(dir.Write("in.pdf", BuildPdf(ThreeByTwo())));
  auto root = Root(doc.Get());
  EXPECT_EQ(Root(doc.Get()).Get(), root.Get());
  auto a = Child(root.Get(), 1);
  ComPtr<IHostBookmark> parent, last, prev;
  a->GetParent(parent.Put());
  EXPECT_EQ(parent.Get(), root.Get());
  root->GetLastChild(last.Put());
  last->GetPrevSibling(prev.Put());
  EXPECT_EQ(prev.Get(), a.Get());
  int32_t count = 0;
  root->GetChildCount(&count);
  EXPECT_EQ(count, 3);
  ComPtr<IHostBookmark> none;
  EXPECT_EQ(root->GetParent(none.Put()), S_FALSE);
  EXPECT_FALSE(none);
  // A removed subtree says so and can come back; the root cannot be removed.
  EXPECT_EQ(root->Remove(), E_FAIL);
  ASSERT_EQ(a->Remove(), S_OK);
  bool attached = true;
  a->IsAttached(&attached);
  EXPECT_FALSE(attached);
  ASSERT_EQ(root->InsertChild(-1, a.Get()), S_OK);
  a->IsAttached(&attached);
  EXPECT_TRUE(attached);
}

TEST(Structure, DocumentWithoutOutlineGetsOneOnFirstInsertion) {
  ScratchDir dir;
  PdfSpec layout;
  layout.pages.resize(2);
  auto doc = MustOpen(dir.Write("in.pdf", BuildPdf(layout)));
  auto root = Root(doc.Get());
  int32_t count = -1;
  root->GetChildCount(&count);
  EXPECT_EQ(count, 0);
  ComPtr<IHostBookmark> item;
  ASSERT_EQ(root->InsertNewChild(-1, item.Put()), S_OK);
  item->SetTitle(u"First", -1);
  std::string out = dir.File("out.pdf");
  std::string json = SaveAndDump(doc.Get(), out);
  EXPECT_NE(json.find("\"title\":\"First\",\"page\":null"), std::string::npos) << json;
  ExpectQpdfClean(out);
}

}  // namespace
}  // namespace zelta::pdf::testing
