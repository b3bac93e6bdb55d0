// Handing options from one Cab to another: only what differs from the defaults reaches the
// target, which keeps its own values elsewhere; a value that does not fit changes nothing.
#include "zelta/app/cab/cab_changes.h"

#include <gtest/gtest.h>

#include "zelta/app/cab/cab.h"
#include "zelta/app/cab/cab_json.h"

namespace zelta::app {
namespace {

constexpr char16_t kTemplate[] =
    uR"(<CabTemplate>
  <ItemSet id="Strings"><Item type="String" defVal="w"/></ItemSet>
  <ItemSet id="Level"><Item id="N" type="Int" defVal="7"/><Item id="Words" type="Array" itemSet="Strings"/></ItemSet>
  <ItemSet id="Levels"><Item id="Level" type="Dictionary" itemSet="Level"/></ItemSet>
  <ItemSet id="Range"><Item id="Type" type="Int" defVal="0"/><Item id="Text" type="String" defVal=""/></ItemSet>
  <ItemSet id="Options">
    <Item id="Flags" type="Int" defVal="0"/>
    <Item id="Size" type="Double" defVal="2.5"/>
    <Item id="Host" type="IUnknown"/>
    <Item id="Range" type="Dictionary" itemSet="Range"/>
    <Item id="Levels" type="Array" itemSet="Levels"/>
    <Item id="Stop" type="Array" itemSet="Strings"/>
  </ItemSet>
  <ItemSet id="Narrow"><Item id="Flags" type="String"/></ItemSet>
  <Root type="Dictionary" itemSet="Options" id="Options"/>
  <Root type="Dictionary" itemSet="Narrow" id="Narrow"/>
</CabTemplate>)";

class Probe final : public ComObject<IUnknown> {};

ComPtr<ICabItem> Fresh(const char16_t* root = u"Options") {
  ComPtr<Cab> cab;
  EXPECT_EQ(Cab::Create(kTemplate, root, &cab), S_OK);
  ComPtr<ICabItem> item;
  if (cab) cab->GetRoot(item.Put());
  return item;
}

ComPtr<ICabItem> From(const char* json) {
  ComPtr<ICabItem> item = Fresh();
  std::string error;
  EXPECT_EQ(CabFromJson(item.Get(), nlohmann::json::parse(json), &error), S_OK) << error;
  return item;
}

TEST(CabCopyChanges, TakesWhatDiffersFromTheDefaultsAndKeepsTheRest) {
  // The target holds values of its own (stored options, say).
  ComPtr<ICabItem> target = From(
      R"({"Flags": 5, "Size": 9, "Range": {"Type": 2, "Text": "1-3"},
          "Levels": [{"N": 1}, {"N": 2}], "Stop": ["the", "a"]})");
  // The source sets Size and Range.Text and one level; Flags, Range.Type and Stop are at
  // their defaults, so the target's stay.
  ComPtr<ICabItem> source = From(R"({"Size": 4, "Range": {"Text": "5-"},
                                     "Levels": [{"N": 8, "Words": ["x"]}]})");
  ComPtr<ICabItem> defaults = Fresh();
  const auto freshJson = CabToJson(defaults.Get());
  std::string error;
  ASSERT_EQ(CabCopyChanges(target.Get(), source.Get(), defaults.Get(), &error), S_OK) << error;
  EXPECT_EQ(CabToJson(target.Get()), nlohmann::ordered_json::parse(
                                         R"({"Flags": 5, "Size": 4.0,
                                             "Range": {"Type": 2, "Text": "5-"},
                                             "Levels": [{"N": 8, "Words": ["x"]}],
                                             "Stop": ["the", "a"]})"));
  EXPECT_EQ(CabToJson(defaults.Get()), freshJson);

  // Without defaults the target takes the whole source.
  ASSERT_EQ(CabCopyChanges(target.Get(), source.Get(), nullptr, &error), S_OK) << error;
  EXPECT_EQ(CabToJson(target.Get()), CabToJson(source.Get()));
}

TEST(CabCopyChanges, LeavesHostObjectsAlone) {
  ComPtr<ICabItem> target = Fresh(), source = Fresh(), defaults = Fresh();
  ComPtr<Probe> mine = MakeCom<Probe>(), theirs = MakeCom<Probe>();
  target->SetObject(u"Host", mine.Get());
  source->SetObject(u"Host", theirs.Get());
  ASSERT_EQ(CabCopyChanges(target.Get(), source.Get(), defaults.Get(), nullptr), S_OK);
  ComPtr<IUnknown> held;
  target->GetObject(u"Host", held.Put());
  EXPECT_EQ(held.Get(), static_cast<IUnknown*>(mine.Get()));
}

TEST(CabCopyChanges, AValueThatDoesNotFitChangesNothing) {
  ComPtr<ICabItem> target = Fresh(u"Narrow");
  target->SetText(u"Flags", u"kept", 4);
  std::string error;
  // Flags is a string here and an integer in the source; Size is not an option here at all.
  EXPECT_EQ(CabCopyChanges(target.Get(), From(R"({"Flags": 3})").Get(), Fresh().Get(), &error),
            E_INVALIDARG);
  EXPECT_EQ(error, "Flags: expected a string, got an integer");
  EXPECT_EQ(CabCopyChanges(target.Get(), From(R"({"Size": 3})").Get(), Fresh().Get(), &error),
            E_INVALIDARG);
  EXPECT_EQ(error, "Size: unknown option");
  EXPECT_EQ(CabToJson(target.Get()), nlohmann::ordered_json::parse(R"({"Flags": "kept"})"));
}

}  // namespace
}  // namespace zelta::app
