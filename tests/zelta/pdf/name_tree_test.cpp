// Name tree insertion and removal on large trees: balanced leaves, exact limits, sorted order,
// and clean failure on damaged trees.
#include "zelta/pdf/outline/name_tree.h"

#include <algorithm>
#include <random>
#include <set>

#include "tests/zelta/pdf/pdf_test_support.h"

namespace zelta::pdf {
namespace {

using testing::MustOpen;
using testing::ScratchDir;
using zelta::testing::BuildPdf;
using zelta::testing::PdfSpec;

constexpr int kLeafLimit = 128;

std::string Key(int i) { return "dest-" + std::to_string(i * 7919 % 100003); }

pdf_obj* DestsTree(MuCalls& mu) {
  return mu.Get(mu.Get(mu.Get(mu.Trailer(), "Root"), "Names"), "Dests");
}

// Walks the whole tree checking the shape rules; returns the keys of the leaves in tree order
// and the smallest and largest key under `node`.
void CheckNode(MuCalls& mu, pdf_obj* node, bool isRoot, std::vector<std::string>* keys) {
  size_t before = keys->size();
  pdf_obj* kids = mu.Get(node, "Kids");
  if (mu.IsArray(kids)) {
    EXPECT_EQ(mu.Get(node, "Names"), nullptr) << "a node with both /Kids and /Names";
    for (int i = 0; i < mu.Len(kids); ++i) CheckNode(mu, mu.At(kids, i), false, keys);
  } else {
    pdf_obj* names = mu.Get(node, "Names");
    ASSERT_TRUE(mu.IsArray(names));
    EXPECT_LE(mu.Len(names) / 2, kLeafLimit);
    EXPECT_EQ(mu.Len(names) % 2, 0);
    for (int i = 0; i < mu.Len(names); i += 2) keys->push_back(mu.ToBytes(mu.At(names, i)));
  }
  pdf_obj* limits = mu.Get(node, "Limits");
  if (isRoot) {
    EXPECT_EQ(limits, nullptr) << "the root carries /Limits";
    return;
  }
  ASSERT_GT(keys->size(), before) << "an empty node was left in the tree";
  ASSERT_TRUE(mu.IsArray(limits));
  EXPECT_EQ(mu.ToBytes(mu.At(limits, 0)), (*keys)[before]);
  EXPECT_EQ(mu.ToBytes(mu.At(limits, 1)), keys->back());
}

std::vector<std::string> CheckTree(MuCalls& mu, pdf_obj* root) {
  std::vector<std::string> keys;
  CheckNode(mu, root, true, &keys);
  EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
  std::vector<std::string> warnings;
  std::vector<std::string> collected;
  for (auto& entry : NameTree::Collect(mu, root, "Names", "test", &warnings))
    collected.push_back(entry.name);
  EXPECT_TRUE(warnings.empty());
  EXPECT_EQ(collected, keys);
  return keys;
}

MuObject Dest(MuCalls& mu, int number) {
  MuObject array, fit, marker;
  EXPECT_EQ(mu.NewArray(&array), S_OK);
  EXPECT_EQ(mu.Push(array.Get(), mu.PageObject(0)), S_OK);
  EXPECT_EQ(mu.NewName("FitH", &fit), S_OK);
  EXPECT_EQ(mu.Push(array.Get(), fit.Get()), S_OK);
  EXPECT_EQ(mu.NewInt(number, &marker), S_OK);
  EXPECT_EQ(mu.Push(array.Get(), marker.Get()), S_OK);
  return array;
}

// Inserts `count` names in random order, then checks shape, order and values after a save
// and reload (which qpdf must accept).
void InsertManyAndCheck(const PdfSpec& layout, std::set<std::string> expected, int count) {
  ScratchDir dir;
  auto doc = MustOpen(dir.Write("in.pdf", BuildPdf(layout)));
  MuCalls& mu = doc->Mu();
  if (!DestsTree(mu)) {
    MuObject names, tree, ref;
    ASSERT_EQ(mu.NewDict(&names), S_OK);
    ASSERT_EQ(mu.NewDict(&tree), S_OK);
    ASSERT_EQ(mu.AddObject(tree.Get(), &ref), S_OK);
    ASSERT_EQ(mu.Put(names.Get(), "Dests", ref.Get()), S_OK);
    ASSERT_EQ(mu.Put(mu.Get(mu.Trailer(), "Root"), "Names", names.Get()), S_OK);
  }
  std::vector<int> order(count);
  for (int i = 0; i < count; ++i) order[i] = i;
  std::shuffle(order.begin(), order.end(), std::mt19937(42));
  for (int i : order) {
    ASSERT_EQ(NameTree::Insert(mu, DestsTree(mu), Key(i), Dest(mu, i).Get()), S_OK);
    expected.insert(Key(i));
  }
  std::string out = dir.File("out.pdf");
  ASSERT_TRUE(testing::SaveOk(doc.Get(), out));
  auto reread = MustOpen(out);
  MuCalls& rmu = reread->Mu();
  auto keys = CheckTree(rmu, DestsTree(rmu));
  EXPECT_EQ(keys, std::vector<std::string>(expected.begin(), expected.end()));
  std::vector<std::string> warnings;
  for (auto& entry : NameTree::Collect(rmu, DestsTree(rmu), "Names", "test", &warnings)) {
    if (entry.name.rfind("dest-", 0) != 0) continue;
    int number = rmu.ToInt(rmu.At(entry.value.Get(), 2));
    ASSERT_EQ(Key(number), entry.name) << "a name lost its value";
  }
  testing::ExpectQpdfClean(out);
}

TEST(NameTree, ManyInsertionsIntoAnEmptyTreeStayBalancedAndSorted) {
  InsertManyAndCheck(PdfSpec{}, {}, 5000);
}

TEST(NameTree, ManyInsertionsIntoAFlatTreeSplitItsLeaf) {
  PdfSpec layout;
  std::set<std::string> existing;
  for (int i = 0; i < 300; ++i) {
    layout.namedDests.emplace_back("old-" + std::to_string(1000 + i), 0);
    existing.insert("old-" + std::to_string(1000 + i));
  }
  InsertManyAndCheck(layout, existing, 5000);
}

TEST(NameTree, ReplaceAndRemoveKeepTheTreeExact) {
  ScratchDir dir;
  PdfSpec layout;
  layout.namedDests = {{"alpha", 0}};
  auto doc = MustOpen(dir.Write("in.pdf", BuildPdf(layout)));
  MuCalls& mu = doc->Mu();
  pdf_obj* root = DestsTree(mu);
  for (int i = 0; i < 1000; ++i)
    ASSERT_EQ(NameTree::Insert(mu, root, Key(i), Dest(mu, i).Get()), S_OK);
  // Replacing keeps one entry with the new value.
  ASSERT_EQ(NameTree::Insert(mu, root, Key(500), Dest(mu, -1).Get()), S_OK);
  std::vector<std::string> warnings;
  auto entries = NameTree::Collect(mu, root, "Names", "test", &warnings);
  ASSERT_EQ(entries.size(), 1001u);
  auto it =
      std::find_if(entries.begin(), entries.end(), [](auto& e) { return e.name == Key(500); });
  ASSERT_NE(it, entries.end());
  EXPECT_EQ(mu.ToInt(mu.At(it->value.Get(), 2)), -1);
  // Remove a whole run (emptying leaves) and scattered names; absent names are no-ops.
  std::set<std::string> left;
  for (auto& e : entries) left.insert(e.name);
  std::vector<std::string> sorted(left.begin(), left.end());
  std::vector<std::string> doomed(sorted.begin() + 100, sorted.begin() + 400);
  for (size_t i = 500; i < sorted.size(); i += 3) doomed.push_back(sorted[i]);
  for (auto& name : doomed) {
    bool removed = false;
    ASSERT_EQ(NameTree::Remove(mu, root, name, &removed), S_OK);
    EXPECT_TRUE(removed) << name;
    left.erase(name);
  }
  bool removed = true;
  ASSERT_EQ(NameTree::Remove(mu, root, "no-such-name", &removed), S_OK);
  EXPECT_FALSE(removed);
  EXPECT_EQ(CheckTree(mu, root), std::vector<std::string>(left.begin(), left.end()));
}

TEST(NameTree, KidsLoopFailsCleanly) {
  ScratchDir dir;
  PdfSpec layout;
  layout.namedDests = {{"a", 0}, {"m", 0}, {"z", 0}};
  layout.splitNames = true;
  auto doc = MustOpen(dir.Write("in.pdf", BuildPdf(layout)));
  MuCalls& mu = doc->Mu();
  pdf_obj* root = DestsTree(mu);
  // The second leaf becomes an inner node whose only kid is the tree's root.
  pdf_obj* second = mu.At(mu.Get(root, "Kids"), 1);
  MuObject kids, rootRef;
  ASSERT_EQ(mu.NewArray(&kids), S_OK);
  ASSERT_EQ(mu.NewRef(mu.Num(root), &rootRef), S_OK);
  ASSERT_EQ(mu.Push(kids.Get(), rootRef.Get()), S_OK);
  ASSERT_EQ(mu.Put(second, "Kids", kids.Get()), S_OK);
  ASSERT_EQ(mu.Del(second, "Names"), S_OK);
  EXPECT_EQ(NameTree::Insert(mu, root, "zz", Dest(mu, 1).Get()), E_FAIL);
  // Removal searches the damaged tree whole and still finds the name left of the loop.
  bool removed = false;
  EXPECT_EQ(NameTree::Remove(mu, root, "a", &removed), S_OK);
  EXPECT_TRUE(removed);
  EXPECT_EQ(NameTree::Remove(mu, root, "zz", &removed), S_OK);
  EXPECT_FALSE(removed);
}

}  // namespace
}  // namespace zelta::pdf
