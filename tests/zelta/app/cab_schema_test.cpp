// Template parsing: malformed and hostile templates fail cleanly with a reason.
#include "zelta/app/cab/cab_schema.h"

#include <gtest/gtest.h>

#include <functional>

#include "zelta/app/cab/cab.h"
#include "zelta/app/cab/cab_factory.h"
#include "zelta/app/cab/cab_json.h"
#include "zelta/app/cab/cab_text.h"
#include "zelta/base/text_codec.h"

namespace zelta::app {
namespace {

struct Outcome {
  HRESULT result;
  std::string error;
};

Outcome Build(const std::string& xml, std::u16string_view root = u"R") {
  ComPtr<Cab> cab;
  std::string error;
  HRESULT hr = Cab::Create(base::StrictUtf16(xml).value(), root, &cab, &error);
  EXPECT_EQ(Succeeded(hr), static_cast<bool>(cab));
  return {hr, error};
}

std::string Wrap(const std::string& sets, const std::string& rootSet = "A") {
  return "<CabTemplate>" + sets + "<Root type='Dictionary' itemSet='" + rootSet +
         "' id='R'/></CabTemplate>";
}

TEST(CabSchemaTest, MalformedTemplatesAreRefusedWithTheirReason) {
  struct Case {
    std::string xml;
    std::string reason;
  };
  const Case cases[] = {
      {"<CabTemplate><ItemSet id='A'>", "XML error"},
      {"<Other/>", "not 'CabTemplate'"},
      {Wrap("<ItemSet id='A'><Item id='x' type='Float'/></ItemSet>"), "unknown type 'Float'"},
      {Wrap("<ItemSet id='A'><Item id='x' type='Int' defVal='12abc'/></ItemSet>"),
       "'12abc' is not a valid Int"},
      {Wrap("<ItemSet id='A'><Item id='x' type='Int' defVal='2147483648'/></ItemSet>"),
       "not a valid Int"},
      {Wrap("<ItemSet id='A'><Item id='x' type='Double' defVal='nan'/></ItemSet>"),
       "not a valid Double"},
      {Wrap("<ItemSet id='A'><Item id='x' type='Bool' defVal='yes'/></ItemSet>"),
       "not a valid Bool"},
      {Wrap("<ItemSet id='A'><Item id='x' type='Dictionary' itemSet='Nowhere'/></ItemSet>"),
       "unknown item set 'Nowhere'"},
      {Wrap("<ItemSet id='A'><Item id='x' type='Array'/></ItemSet>"), "unknown item set ''"},
      {Wrap("<ItemSet id='A'><ItemSetRef id='B'/></ItemSet>"), "unknown set 'B'"},
      {Wrap("<ItemSet id='A'/><ItemSet id='A'/>"), "declared twice"},
      {Wrap("<ItemSet id='A'><Item id='x' type='Int'/><Item id='x' type='String'/></ItemSet>"),
       "more than one item 'x'"},
      {Wrap("<ItemSet id='A'><Item id='x' type='Array' itemSet='E'/></ItemSet><ItemSet id='E'/>"),
       "exactly one element"},
      {Wrap("<ItemSet id='A'><Item type='Int'/></ItemSet>"), "without id"},
      {Wrap("<ItemSet id='A'><Thing/></ItemSet>"), "unknown element 'Thing'"},
      {Wrap(
           "<ItemSet id='A'><Item id='x' type='String'><Bit name='b' value='1'/></Item></ItemSet>"),
       "names values but is not an Int"},
      {Wrap("<ItemSet id='A'><Item id='x' type='Int'><Bit name='b' value='one'/></Item></ItemSet>"),
       "the value of 'b' is not an integer"},
      {Wrap("<ItemSet id='A'><Item id='x' type='Int'><Value name='v' value='0x10' mask='0xF'/>"
            "</Item></ItemSet>"),
       "'v' lies outside its mask"},
      {Wrap("<ItemSet id='A'><Item id='x' type='Int' needs='Flags'/></ItemSet>"),
       "needs is not FLAGS:NAME"},
      {"<CabTemplate><ItemSet id='A'/><Root type='Array' itemSet='A' id='R'/></CabTemplate>",
       "not of type Dictionary"},
  };
  for (const Case& c : cases) {
    Outcome outcome = Build(c.xml);
    EXPECT_EQ(outcome.result, E_FAIL) << c.xml;
    EXPECT_NE(outcome.error.find(c.reason), std::string::npos) << c.xml << " -> " << outcome.error;
  }
}

TEST(CabSchemaTest, ReferenceCyclesAndSelfContainingDictionariesFail) {
  // ItemSetRef cycles, direct and through another set.
  EXPECT_EQ(Build(Wrap("<ItemSet id='A'><ItemSetRef id='A'/></ItemSet>")).result, E_FAIL);
  Outcome twoStep =
      Build(Wrap("<ItemSet id='A'><ItemSetRef id='B'/></ItemSet><ItemSet id='B'><ItemSetRef "
                 "id='A'/></ItemSet>"));
  EXPECT_EQ(twoStep.result, E_FAIL);
  EXPECT_NE(twoStep.error.find("refers to itself"), std::string::npos);
  // A set holding itself through Dictionary items would never finish building.
  Outcome viaDictionary =
      Build(Wrap("<ItemSet id='A'><Item id='b' type='Dictionary' itemSet='B'/></ItemSet>"
                 "<ItemSet id='B'><Item id='a' type='Dictionary' itemSet='A'/></ItemSet>"));
  EXPECT_EQ(viaDictionary.result, E_FAIL);
  EXPECT_NE(viaDictionary.error.find("contains itself"), std::string::npos);
  // The same cycle in an unused part of the template still makes it malformed.
  EXPECT_EQ(Build(Wrap("<ItemSet id='A'/><ItemSet id='L'><Item id='l' type='Dictionary' "
                       "itemSet='L'/></ItemSet>"))
                .result,
            E_FAIL);
}

TEST(CabSchemaTest, RecursionThroughAnArrayIsAValidTree) {
  std::string tree = Wrap(
      "<ItemSet id='A'><Item id='Title' type='String'/><Item id='Kids' type='Array' "
      "itemSet='K'/></ItemSet>"
      "<ItemSet id='K'><Item type='Dictionary' itemSet='A'/></ItemSet>");
  ComPtr<Cab> cab;
  ASSERT_EQ(Cab::Create(base::StrictUtf16(tree).value(), u"R", &cab), S_OK);
  nlohmann::json json = nlohmann::json::parse(
      R"({"Title":"1","Kids":[{"Title":"1.1","Kids":[{"Title":"1.1.1","Kids":[]}]}]})");
  std::string error;
  ASSERT_EQ(CabFromJson(cab->Root(), json, &error), S_OK) << error;
  EXPECT_EQ(nlohmann::json(CabToJson(cab->Root())), json);
  // Nesting is capped, so hostile data cannot drive the recursive walks arbitrarily deep.
  nlohmann::json deep = {{"Kids", nlohmann::json::array()}};
  for (int i = 0; i < 100; ++i) deep = {{"Kids", {deep}}};
  EXPECT_NE(CabFromJson(cab->Root(), deep, &error), S_OK);
  EXPECT_EQ(nlohmann::json(CabToJson(cab->Root())), json);  // unchanged by the failed attempt
}

// Sets S0 to Sn, each S(i) holding what `items` gives for S(i+1); Sn holds one Int.
std::string Chain(int n, const std::function<std::string(const std::string&)>& items) {
  std::string sets;
  for (int i = 0; i < n; ++i)
    sets += "<ItemSet id='S" + std::to_string(i) + "'>" + items("S" + std::to_string(i + 1)) +
            "</ItemSet>";
  return Wrap(sets + "<ItemSet id='S" + std::to_string(n) + "'><Item id='v' type='Int'/></ItemSet>",
              "S0");
}

TEST(CabSchemaTest, DeepAndExplosiveTemplatesFailInsteadOfExhaustingResources) {
  auto dictionary = [](const std::string& next) {
    return "<Item id='x' type='Dictionary' itemSet='" + next + "'/>";
  };
  // 200 dictionaries nested in a chain: deeper than a Cab may nest.
  Outcome deep = Build(Chain(200, dictionary));
  EXPECT_EQ(deep.result, E_FAIL);
  EXPECT_NE(deep.error.find("deeper than 64"), std::string::npos) << deep.error;
  // Each set holds its successor twice: 2^40 items if built naively.
  Outcome explosive = Build(Chain(40, [](const std::string& next) {
    return "<Item id='a' type='Dictionary' itemSet='" + next +
           "'/><Item id='b' type='Dictionary' itemSet='" + next + "'/>";
  }));
  EXPECT_EQ(explosive.result, E_FAIL);
  EXPECT_NE(explosive.error.find("more than 1000000 items"), std::string::npos) << explosive.error;
  // ItemSetRef chains deeper than the cap.
  Outcome refChain =
      Build(Chain(100, [](const std::string& next) { return "<ItemSetRef id='" + next + "'/>"; }));
  EXPECT_EQ(refChain.result, E_FAIL);
  EXPECT_NE(refChain.error.find("deeper than 32"), std::string::npos) << refChain.error;
  // A 64-level chain is still fine.
  EXPECT_EQ(Build(Chain(63, dictionary)).result, S_OK);
}

TEST(CabSchemaTest, FactoryArgumentsAndUnknownRoots) {
  ComPtr<ICabFactory> factory = MakeCabFactory();
  std::u16string text =
      base::StrictUtf16(Wrap("<ItemSet id='A'><Item id='v' type='Int' defVal='0x10'/></ItemSet>"))
          .value();
  ComPtr<ICab> cab;
  EXPECT_EQ(factory->CreateCab(text.c_str(), 0, u"R", cab.Put()), E_INVALIDARG);
  EXPECT_EQ(factory->CreateCab(nullptr, -1, u"R", cab.Put()), E_INVALIDARG);
  EXPECT_EQ(factory->CreateCab(text.c_str(), -1, nullptr, cab.Put()), E_INVALIDARG);
  EXPECT_EQ(factory->CreateCab(text.c_str(), -1, u"Q", cab.Put()), E_INVALIDARG);
  EXPECT_EQ(factory->CreateCab(text.c_str(), -1, u"R", nullptr), E_POINTER);
  // The length counts code units: a cut-off template is malformed XML.
  EXPECT_EQ(factory->CreateCab(text.c_str(), 20, u"R", cab.Put()), E_FAIL);
  ASSERT_EQ(factory->CreateCab(text.c_str(), static_cast<int32_t>(text.size()), u"R", cab.Put()),
            S_OK);
  ComPtr<ICabItem> root;
  cab->GetRoot(root.Put());
  int32_t v = 0;
  root->GetInt(u"v", 0, &v);
  EXPECT_EQ(v, 16);
  // Unpaired surrogates cannot be turned into XML text.
  std::u16string broken = u"<CabTemplate>\xD800</CabTemplate>";
  EXPECT_EQ(factory->CreateCab(broken.c_str(), -1, u"R", cab.Put()), E_FAIL);
}

TEST(CabSchemaTest, SameTextIsParsedOnce) {
  std::u16string text =
      base::StrictUtf16(Wrap("<ItemSet id='A'><Item id='v' type='Int'/></ItemSet>")).value();
  std::shared_ptr<const CabSchema> first, second;
  ASSERT_EQ(CabSchema::FromText(text, &first), S_OK);
  ASSERT_EQ(CabSchema::FromText(std::u16string(text), &second), S_OK);
  EXPECT_EQ(first.get(), second.get());
  EXPECT_NE(first->Root(u"R"), nullptr);
  EXPECT_EQ(first->Root(u"A"), nullptr);  // set ids are not roots
}

TEST(CabSchemaTest, CommentsAndByteOrderMarkAreAccepted) {
  std::u16string text =
      u"\uFEFF<?xml version='1.0' encoding='UTF-8'?><!-- c --><CabTemplate><!-- c -->"
      u"<ItemSet id='A'><!-- c --><Item id='t' type='String' defVal='\u00e9\U0001F600'/></ItemSet>"
      u"<Root type='Dictionary' itemSet='A' id='R'/></CabTemplate>";
  ComPtr<Cab> cab;
  ASSERT_EQ(Cab::Create(text, u"R", &cab), S_OK);
  OwnedString value;
  cab->Root()->GetText(u"t", nullptr, value.Put());
  EXPECT_EQ(value.View(), u"\u00e9\U0001F600");
}

}  // namespace
}  // namespace zelta::app
