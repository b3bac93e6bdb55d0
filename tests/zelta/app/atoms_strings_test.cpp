#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

#include "zelta/app/host_app.h"
#include "zelta/base/atom_table.h"
#include "zelta/base/text_codec.h"

namespace zelta::app {
namespace {

std::u16string Load(HostApp& app, std::u16string_view id, HRESULT* hr) {
  OwnedString text;
  *hr = app.LoadString(id.data(), static_cast<int32_t>(id.size()), text.Put());
  return text.Str();
}

TEST(Atoms, SameTextSameAtomAcrossAppsDistinctTextsDistinctAtoms) {
  auto first = MakeCom<HostApp>();
  auto second = MakeCom<HostApp>();
  Atom a = 0, b = 0, c = 0;
  ASSERT_EQ(first->InternString(u"atoms.test.one", -1, &a), S_OK);
  ASSERT_EQ(second->InternString(u"atoms.test.one-and-more", 14, &b), S_OK);  // length cuts it
  ASSERT_EQ(first->InternString(u"atoms.test.two", -1, &c), S_OK);
  EXPECT_NE(a, kNoAtom);
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);

  OwnedString text;
  ASSERT_EQ(first->GetAtomText(c, text.Put()), S_OK);
  EXPECT_EQ(text.View(), u"atoms.test.two");
}

TEST(Atoms, RejectsEmptyTextAndUnknownAtoms) {
  auto app = MakeCom<HostApp>();
  Atom atom = 99;
  EXPECT_EQ(app->InternString(u"", -1, &atom), E_INVALIDARG);
  EXPECT_EQ(atom, kNoAtom);
  EXPECT_EQ(app->InternString(nullptr, 0, &atom), E_INVALIDARG);
  EXPECT_EQ(app->InternString(u"x", -1, nullptr), E_POINTER);
  OwnedString text;
  EXPECT_EQ(app->GetAtomText(kNoAtom, text.Put()), E_INVALIDARG);
  EXPECT_EQ(app->GetAtomText(0x7FFFFFF0, text.Put()), E_INVALIDARG);
}

TEST(Atoms, ConcurrentInterningAgrees) {
  constexpr int kThreads = 4, kTexts = 500;
  std::vector<std::vector<Atom>> seen(kThreads, std::vector<Atom>(kTexts));
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([t, &seen] {
      // Each thread walks the texts in its own order.
      for (int i = 0; i < kTexts; ++i) {
        int n = (t % 2 == 0) ? i : kTexts - 1 - i;
        seen[t][n] = base::Intern("atoms.concurrent." + std::to_string(n));
      }
    });
  for (auto& thread : threads) thread.join();
  std::set<Atom> distinct(seen[0].begin(), seen[0].end());
  EXPECT_EQ(distinct.size(), static_cast<size_t>(kTexts));
  for (int t = 1; t < kThreads; ++t) EXPECT_EQ(seen[t], seen[0]);
  EXPECT_EQ(base::AtomTable::Global().Utf8(seen[2][7]), "atoms.concurrent.7");
}

constexpr char kTable[] =
    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<Localization><Version>1.00.00</Version>"
    "<Module name=\"Test\" namespace=\"testPlugin\" version=\"1.00.00\"/>"
    "<Strings>"
    "<text id=\"cmd.name\">Bookmarks</text>"
    "<text id=\"msg.found\">Found %1 invalid bookmark(s) &amp; more \xC3\xA9</text>"
    "<text id=\"btn.ok\">Not the host's</text>"
    "<text>no id: skipped</text>"
    "</Strings></Localization>";

HRESULT Register(HostApp& app, std::string_view xml) {
  return app.RegisterStringTable(reinterpret_cast<const uint8_t*>(xml.data()),
                                 static_cast<uint32_t>(xml.size()));
}

TEST(StringTables, ServesModuleTextsUnderTheirNamespace) {
  auto app = MakeCom<HostApp>();
  ASSERT_EQ(Register(*app, kTable), S_OK);
  HRESULT hr;
  EXPECT_EQ(Load(*app, u"testPlugin.cmd.name", &hr), u"Bookmarks");
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(Load(*app, u"testPlugin.msg.found", &hr),
            u"Found %1 invalid bookmark(s) & more \u00E9");
  // Without the namespace the id is unknown.
  EXPECT_EQ(Load(*app, u"cmd.name", &hr), u"cmd.name");
  EXPECT_EQ(hr, S_FALSE);
}

TEST(StringTables, HostTableIsBuiltInAndCannotBeOverridden) {
  auto app = MakeCom<HostApp>();
  HRESULT hr;
  EXPECT_EQ(Load(*app, u"btn.ok", &hr), u"OK");
  EXPECT_EQ(Load(*app, u"PageRange.Caption", &hr), u"Page Range");
  EXPECT_EQ(hr, S_OK);
  constexpr char kHostile[] =
      "<Localization><Module namespace=\"btn\"/><Strings><text "
      "id=\"ok\">Hijacked</text></Strings></Localization>";
  ASSERT_EQ(Register(*app, kHostile), S_OK);
  EXPECT_EQ(Load(*app, u"btn.ok", &hr), u"OK");
}

TEST(StringTables, BadTablesAreRejectedWholeAndNamed) {
  auto app = MakeCom<HostApp>();
  ASSERT_EQ(Register(*app, kTable), S_OK);
  const char* bad[] = {
      "<Localization><Module namespace=\"testPlugin\"/><Strings><text "
      "id=\"cmd.name\">Changed</text>",
      "<Strings><text id=\"a\">b</text></Strings>",
      "<Localization><Strings><text id=\"a\">b</text></Strings></Localization>",
      "\x01\x02garbage",
  };
  for (const char* xml : bad) {
    EXPECT_EQ(Register(*app, xml), E_INVALIDARG) << xml;
    EXPECT_NE(app->LastStringTableError().find("string table rejected"), std::string::npos);
  }
  EXPECT_EQ(app->RegisterStringTable(nullptr, 0), E_INVALIDARG);
  HRESULT hr;
  EXPECT_EQ(Load(*app, u"testPlugin.cmd.name", &hr),
            u"Bookmarks");  // the truncated table changed nothing
}

TEST(StringTables, LaterTableReplacesTextsOfTheSameIds) {
  auto app = MakeCom<HostApp>();
  ASSERT_EQ(Register(*app, kTable), S_OK);
  ASSERT_EQ(Register(*app,
                     "<Localization><Module namespace=\"testPlugin\"/><Strings>"
                     "<text id=\"cmd.name\"><![CDATA[<Marks>]]></text></Strings></Localization>"),
            S_OK);
  HRESULT hr;
  EXPECT_EQ(Load(*app, u"testPlugin.cmd.name", &hr), u"<Marks>");
  EXPECT_EQ(Load(*app, u"testPlugin.msg.found", &hr).substr(0, 5), u"Found");
}

// Text of every plane converts both ways alike in the lossy and the strict form. Broken
// UTF-8 becomes replacement characters without losing the rest; the strict form refuses it
// instead. Stray continuation, truncated sequence before ASCII, overlong '/', encoded
// surrogate, past U+10FFFF, truncated at the end.
TEST(TextCodec, EveryPlaneRoundTripsAndBrokenInputIsRepairedOrRefused) {
  const std::pair<const char*, std::u16string> kBroken[] = {{"a\x80z", u"a\uFFFDz"},
                                                            {"a\xE2\x82z", u"a\uFFFDz"},
                                                            {"\xC0\xAF", u"\uFFFD\uFFFD"},
                                                            {"\xED\xA0\x80!", u"\uFFFD!"},
                                                            {"\xF4\x90\x80\x80", u"\uFFFD"},
                                                            {"x\xF0\x9F", u"x\uFFFD"},
                                                            {"\xFF", u"\uFFFD"}};
  for (const auto& [broken, repaired] : kBroken) {
    EXPECT_EQ(base::LossyUtf16(broken), repaired) << broken;
    EXPECT_FALSE(base::StrictUtf16(broken)) << broken;
  }
  EXPECT_EQ(base::LossyUtf8(u"a\xD800z\xDC00"), "a\xEF\xBF\xBDz\xEF\xBF\xBD");
  EXPECT_FALSE(base::StrictUtf8(u"a\xD800z"));
  const std::string valid = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z";
  const std::u16string text = u"A\u00E9\u20AC\U0001F600z";
  EXPECT_EQ(base::LossyUtf16(valid), text);
  EXPECT_EQ(base::StrictUtf16(valid), text);
  EXPECT_EQ(base::LossyUtf8(text), valid);
  EXPECT_EQ(base::StrictUtf8(text), valid);
}

}  // namespace
}  // namespace zelta::app
