// Reading, writing, copying and array editing of Cab items.
#include <gtest/gtest.h>

#include "zelta/app/cab/cab.h"
#include "zelta/app/cab/cab_json.h"

namespace zelta::app {
namespace {

constexpr char16_t kTemplate[] =
    uR"(<CabTemplate>
  <ItemSet id="Inner"><Item id="N" type="Int" defVal="7"/><Item id="Words" type="Array" itemSet="Strings"/></ItemSet>
  <ItemSet id="Strings"><Item type="String" defVal="w"/></ItemSet>
  <ItemSet id="Entries"><Item id="Entry" type="Dictionary" itemSet="Inner"/></ItemSet>
  <ItemSet id="Outer">
    <Item id="I" type="Int" defVal="-3"/>
    <Item id="D" type="Double" defVal="2.5"/>
    <Item id="B" type="Bool" defVal="true"/>
    <Item id="S" type="String" defVal="text"/>
    <Item id="U" type="IUnknown"/>
    <Item id="Sub" type="Dictionary" itemSet="Inner"/>
    <Item id="List" type="Array" itemSet="Entries"/>
  </ItemSet>
  <ItemSet id="Other"><Item id="I" type="Double"/><Item id="Only" type="Int" defVal="5"/><Item id="Sub" type="Dictionary" itemSet="Inner"/></ItemSet>
  <Root type="Dictionary" itemSet="Outer" id="OuterRoot"/>
  <Root type="Dictionary" itemSet="Other" id="OtherRoot"/>
</CabTemplate>)";

// A host object that counts its references, to see what a Cab holds.
class Probe final : public ComObject<IUnknown> {};

ComPtr<ICabItem> NewRoot(const char16_t* rootId = u"OuterRoot") {
  ComPtr<Cab> cab;
  EXPECT_EQ(Cab::Create(kTemplate, rootId, &cab), S_OK);
  ComPtr<ICabItem> root;
  if (cab) cab->GetRoot(root.Put());
  return root;
}

ComPtr<ICabItem> Field(ICabItem* item, const char16_t* name) {
  ComPtr<ICabItem> field;
  item->GetItem(name, field.Put());
  return field;
}

int32_t IntOf(ICabItem* item, const char16_t* name) {
  int32_t value = 0;
  item->GetInt(name, 0, &value);
  return value;
}

std::u16string TextOf(ICabItem* item, const char16_t* name) {
  OwnedString text;
  item->GetText(name, nullptr, text.Put());
  return text.Str();
}

int32_t CountOf(ICabItem* item) {
  int32_t count = -1;
  item->GetCount(&count);
  return count;
}

TEST(CabItemTest, GettersFallBackToTheCallersDefaultForMissingAndMistypedFields) {
  ComPtr<ICabItem> root = NewRoot();
  int32_t i = 0;
  EXPECT_EQ(root->GetInt(u"I", 99, &i), S_OK);
  EXPECT_EQ(i, -3);
  EXPECT_EQ(root->GetInt(u"Missing", 99, &i), S_FALSE);
  EXPECT_EQ(i, 99);
  EXPECT_EQ(root->GetInt(u"D", 99, &i), S_FALSE);  // a Double is not read as an Int
  EXPECT_EQ(i, 99);
  EXPECT_EQ(root->GetInt(u"i", 99, &i), S_FALSE);  // names are case-sensitive
  double d = 0;
  EXPECT_EQ(root->GetDouble(u"I", 1.5, &d), S_FALSE);
  EXPECT_EQ(d, 1.5);
  bool b = false;
  EXPECT_EQ(root->GetBool(u"B", false, &b), S_OK);
  EXPECT_TRUE(b);
  OwnedString s;
  EXPECT_EQ(root->GetText(u"S", u"def", s.Put()), S_OK);
  EXPECT_EQ(s.View(), u"text");
  EXPECT_EQ(root->GetText(u"Sub", u"def", s.Put()), S_FALSE);
  EXPECT_EQ(s.View(), u"def");
  EXPECT_EQ(root->GetText(u"Nope", nullptr, s.Put()), S_FALSE);
  EXPECT_EQ(s.View(), u"");
  ComPtr<IUnknown> object;
  EXPECT_EQ(root->GetObject(u"S", object.Put()), S_FALSE);
  EXPECT_EQ(root->GetInt(u"I", 0, nullptr), E_POINTER);
  // A scalar has no fields: a named read on it gives the default.
  EXPECT_EQ(Field(root.Get(), u"I")->GetInt(u"I", 4, &i), S_FALSE);
  EXPECT_EQ(i, 4);
}

TEST(CabItemTest, SettersNeedAnExistingFieldOfTheirType) {
  ComPtr<ICabItem> root = NewRoot();
  EXPECT_EQ(root->SetInt(u"I", 0x7FFFFFFF), S_OK);
  EXPECT_EQ(root->SetInt(u"D", 1), E_INVALIDARG);
  EXPECT_EQ(root->SetInt(u"New", 1), E_INVALIDARG);
  EXPECT_EQ(root->SetText(u"S", u"abcdef", 3), S_OK);
  EXPECT_EQ(TextOf(root.Get(), u"S"), u"abc");
  EXPECT_EQ(root->SetText(u"S", nullptr, -1), S_OK);  // null text is empty
  EXPECT_EQ(TextOf(root.Get(), u"S"), u"");
  EXPECT_EQ(Field(root.Get(), u"I")->SetInt(nullptr, -8), S_OK);
  EXPECT_EQ(IntOf(root.Get(), u"I"), -8);

  ComPtr<Probe> probe(new Probe());
  EXPECT_EQ(root->SetObject(u"U", probe.Get()), S_OK);
  EXPECT_EQ(probe->AddRef(), 3u);  // ours, the Cab's, this call's
  probe->Release();
  ComPtr<IUnknown> got;
  EXPECT_EQ(root->GetObject(u"U", got.Put()), S_OK);
  EXPECT_EQ(got.Get(), static_cast<IUnknown*>(probe.Get()));
  got.Reset();
  root->SetObject(u"U", nullptr);
  EXPECT_EQ(probe->AddRef(), 2u);
  probe->Release();
}

TEST(CabItemTest, HeldChildStaysTheSameObjectAsItsField) {
  ComPtr<ICabItem> root = NewRoot();
  ComPtr<ICabItem> sub = Field(root.Get(), u"Sub");
  EXPECT_EQ(sub.Get(), Field(root.Get(), u"Sub").Get());
  ComPtr<ICabItem> byIndex;
  root->GetItemAt(5, byIndex.Put());
  EXPECT_EQ(byIndex.Get(), sub.Get());
  sub->SetInt(u"N", 1);
  // Copying into the parent writes through to the held child.
  ComPtr<ICabItem> other = NewRoot();
  Field(other.Get(), u"Sub")->SetInt(u"N", 42);
  ASSERT_EQ(root->CopyFrom(other.Get()), S_OK);
  EXPECT_EQ(IntOf(sub.Get(), u"N"), 42);
  EXPECT_EQ(Field(root.Get(), u"Sub").Get(), sub.Get());
}

TEST(CabItemTest, CopyFromIsDeep) {
  ComPtr<ICabItem> source = NewRoot();
  ComPtr<ICabItem> entry;
  Field(source.Get(), u"List")->Insert(-1, entry.Put());
  entry->SetInt(u"N", 11);
  ComPtr<ICabItem> word;
  Field(entry.Get(), u"Words")->Insert(-1, word.Put());
  word->SetText(nullptr, u"deep", -1);
  source->SetText(u"S", u"copied", -1);

  ComPtr<ICabItem> target = NewRoot();
  ASSERT_EQ(target->CopyFrom(source.Get()), S_OK);
  nlohmann::json before = CabToJson(target.Get());
  EXPECT_EQ(before, CabToJson(source.Get()));
  // Later edits of the source, at any depth, do not reach the copy.
  word->SetText(nullptr, u"changed", -1);
  entry->SetInt(u"N", 12);
  source->SetText(u"S", u"later", -1);
  Field(source.Get(), u"List")->Insert(-1, nullptr);
  EXPECT_EQ(nlohmann::json(CabToJson(target.Get())), before);
  EXPECT_EQ(before["List"][0]["Words"][0], "deep");
}

TEST(CabItemTest, CopyFromBetweenDifferentSetsTakesSharedFieldsOfTheSameType) {
  ComPtr<ICabItem> outer = NewRoot();
  ComPtr<ICabItem> other = NewRoot(u"OtherRoot");
  other->SetInt(u"Only", 9);
  Field(other.Get(), u"Sub")->SetInt(u"N", 77);
  other->SetDouble(u"I", 1.25);
  ASSERT_EQ(outer->CopyFrom(other.Get()), S_OK);
  EXPECT_EQ(IntOf(outer.Get(), u"I"), -3);  // I is a Double there: kept
  EXPECT_EQ(IntOf(Field(outer.Get(), u"Sub").Get(), u"N"), 77);
  ASSERT_EQ(other->CopyFrom(outer.Get()), S_OK);
  EXPECT_EQ(IntOf(other.Get(), u"Only"), 9);  // fields the source lacks keep their values
  // Whole values of different types are refused.
  EXPECT_EQ(Field(outer.Get(), u"I")->CopyFrom(Field(outer.Get(), u"S").Get()), E_INVALIDARG);
  EXPECT_EQ(outer->CopyFrom(nullptr), E_POINTER);
}

TEST(CabItemTest, CopyFromAnAncestorOrDescendantIsSafe) {
  ComPtr<ICabItem> root = NewRoot();
  ComPtr<ICabItem> list = Field(root.Get(), u"List");
  ComPtr<ICabItem> entry;
  list->Insert(-1, entry.Put());
  ComPtr<ICabItem> words = Field(entry.Get(), u"Words");
  words->Insert(-1, nullptr);
  words->Insert(-1, nullptr);
  // The element takes a copy of the list's first element: itself.
  ComPtr<ICabItem> first;
  list->GetItemAt(0, first.Put());
  EXPECT_EQ(first->CopyFrom(entry.Get()), S_OK);
  EXPECT_EQ(CountOf(words.Get()), 2);
  EXPECT_EQ(root->CopyFrom(root.Get()), S_OK);
  EXPECT_EQ(CabToJson(root.Get())["List"][0]["Words"], nlohmann::json::parse(R"(["w","w"])"));
}

TEST(CabItemTest, ArrayInsertRemoveClear) {
  ComPtr<ICabItem> words = Field(Field(NewRoot().Get(), u"Sub").Get(), u"Words");
  ComPtr<ICabItem> c;
  for (const auto& [at, text] : {std::pair{-1, u"a"}, {0, u"b"}, {1, u"c"}}) {
    ASSERT_EQ(words->Insert(at, c.Put()), S_OK);
    c->SetText(nullptr, text, -1);
  }
  EXPECT_EQ(nlohmann::json(CabToJson(words.Get())), nlohmann::json::parse(R"(["b","c","a"])"));
  EXPECT_EQ(words->Insert(4, nullptr), E_INVALIDARG);
  EXPECT_EQ(words->Insert(-2, nullptr), E_INVALIDARG);
  EXPECT_EQ(words->RemoveAt(1), S_OK);
  EXPECT_EQ(words->RemoveAt(2), E_INVALIDARG);
  EXPECT_EQ(words->RemoveAt(-1), E_INVALIDARG);
  EXPECT_EQ(nlohmann::json(CabToJson(words.Get())), nlohmann::json::parse(R"(["b","a"])"));
  ComPtr<ICabItem> outOfRange;
  EXPECT_EQ(words->GetItemAt(2, outOfRange.Put()), S_FALSE);
  EXPECT_FALSE(outOfRange);
  // A removed element the caller still holds stays valid; it just is no longer in the array.
  c->SetText(nullptr, u"still here", -1);
  EXPECT_EQ(words->Clear(), S_OK);
  EXPECT_EQ(CountOf(words.Get()), 0);
  // Array operations on other types are refused.
  ComPtr<ICabItem> root = NewRoot();
  EXPECT_EQ(root->Clear(), E_INVALIDARG);
  EXPECT_EQ(root->Insert(-1, nullptr), E_INVALIDARG);
  EXPECT_EQ(Field(root.Get(), u"I")->RemoveAt(0), E_INVALIDARG);
}

TEST(CabItemTest, NamesAndIndexes) {
  ComPtr<ICabItem> root = NewRoot();
  OwnedString name;
  EXPECT_EQ(root->GetName(name.Put()), S_OK);
  EXPECT_TRUE(name.Empty());  // the root is no field
  EXPECT_EQ(root->GetNameAt(6, name.Put()), S_OK);
  EXPECT_EQ(name.View(), u"List");
  EXPECT_EQ(root->GetNameAt(7, name.Put()), E_INVALIDARG);
  EXPECT_EQ(Field(root.Get(), u"List")->GetNameAt(0, name.Put()), E_INVALIDARG);
  Field(root.Get(), u"Sub")->GetName(name.Put());
  EXPECT_EQ(name.View(), u"Sub");
  ComPtr<ICabItem> item;
  EXPECT_EQ(root->GetItem(nullptr, item.Put()), E_INVALIDARG);
  EXPECT_EQ(root->GetItem(u"Missing", item.Put()), S_FALSE);
  EXPECT_EQ(CountOf(Field(root.Get(), u"S").Get()), 0);
}

TEST(CabItemTest, CloneOfTheCabIsIndependentAndSharesHostObjects) {
  ComPtr<Cab> cab;
  ASSERT_EQ(Cab::Create(kTemplate, u"OuterRoot", &cab), S_OK);
  ComPtr<Probe> probe(new Probe());
  cab->Root()->SetObject(u"U", probe.Get());
  ComPtr<ICab> copy;
  ASSERT_EQ(cab->Clone(copy.Put()), S_OK);
  ComPtr<ICabItem> copyRoot;
  copy->GetRoot(copyRoot.Put());
  cab->Root()->SetInt(u"I", 100);
  EXPECT_EQ(IntOf(copyRoot.Get(), u"I"), -3);
  ComPtr<IUnknown> shared;
  copyRoot->GetObject(u"U", shared.Put());
  EXPECT_EQ(shared.Get(), static_cast<IUnknown*>(probe.Get()));
  // Items outlive their Cab.
  ComPtr<ICabItem> sub = Field(copyRoot.Get(), u"Sub");
  copy.Reset();
  copyRoot.Reset();
  EXPECT_EQ(sub->SetInt(u"N", 3), S_OK);
}

}  // namespace
}  // namespace zelta::app
