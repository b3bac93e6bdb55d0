// Structure edits reach the PDF dictionaries only when the outline is flushed (at a save):
// whatever sequence of inserts, moves, removals and open-state changes came before, the
// written outline must read back as the edited tree, with every /Count exact and every link
// consistent, and a move that would make a loop must be refused without changing anything.
#include <map>
#include <random>

#include "tests/zelta/pdf/pdf_test_support.h"

namespace zelta::pdf::testing {
namespace {

using zelta::testing::BuildPdf;
using zelta::testing::OutlineSpec;
using zelta::testing::PdfSpec;

// The tree as the host shows it: one line per item, indented by depth, with its open state.
std::string Shape(IHostDocument* doc) {
  std::string out;
  std::vector<std::pair<ComPtr<IHostBookmark>, int>> stack;
  ComPtr<IHostBookmark> item;
  Root(doc)->GetLastChild(item.Put());
  for (; item;) {
    stack.emplace_back(item, 0);
    ComPtr<IHostBookmark> prev;
    item->GetPrevSibling(prev.Put());
    item = prev;
  }
  while (!stack.empty()) {
    auto [b, depth] = stack.back();
    stack.pop_back();
    bool open = false;
    b->GetOpen(&open);
    std::u16string title = Title(b.Get());
    out += std::string(static_cast<size_t>(depth), ' ') + std::string(title.begin(), title.end()) +
           (open ? " +" : "") + "\n";
    ComPtr<IHostBookmark> child;
    b->GetLastChild(child.Put());
    while (child) {
      stack.emplace_back(child, depth + 1);
      ComPtr<IHostBookmark> prev;
      child->GetPrevSibling(prev.Put());
      child = prev;
    }
  }
  return out;
}

// The /Count the file must hold for each title, computed from the shown tree alone.
std::map<std::string, int> ExpectedCounts(const std::string& shape) {
  struct Line {
    int depth;
    std::string title;
    bool open;
  };
  std::vector<Line> lines;
  size_t at = 0;
  while (at < shape.size()) {
    size_t end = shape.find('\n', at);
    std::string line = shape.substr(at, end - at);
    at = end + 1;
    size_t depth = line.find_first_not_of(' ');
    bool open = line.size() > 2 && line.compare(line.size() - 2, 2, " +") == 0;
    lines.push_back(
        {static_cast<int>(depth), line.substr(depth, line.size() - depth - (open ? 2 : 0)), open});
  }
  std::map<std::string, int> counts;
  for (size_t i = 0; i < lines.size(); ++i) {
    // Descendants shown when the item is open: those whose every ancestor up to it is open.
    int shown = 0;
    std::vector<bool> openAt{true};  // open state of the path below item i
    for (size_t j = i + 1; j < lines.size() && lines[j].depth > lines[i].depth; ++j) {
      int rel = lines[j].depth - lines[i].depth;
      openAt.resize(static_cast<size_t>(rel));
      bool visible = true;
      for (bool o : openAt) visible = visible && o;
      if (visible) ++shown;
      openAt.push_back(lines[j].open);
    }
    counts[lines[i].title] = shown == 0 ? 0 : (lines[i].open ? shown : -shown);
  }
  return counts;
}

// A file keeps no open state for an item without children (it has no /Count to hold it).
std::string WithoutOpenLeaves(const std::string& shape) {
  std::vector<std::string> lines;
  for (size_t at = 0, end; at < shape.size(); at = end + 1) {
    end = shape.find('\n', at);
    lines.push_back(shape.substr(at, end - at));
  }
  std::string out;
  auto depth = [](const std::string& line) { return line.find_first_not_of(' '); };
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string line = lines[i];
    bool leaf = i + 1 == lines.size() || depth(lines[i + 1]) <= depth(line);
    if (leaf && line.size() > 2 && line.compare(line.size() - 2, 2, " +") == 0)
      line.resize(line.size() - 2);
    out += line + "\n";
  }
  return out;
}

// Reads /Count and checks the links of every item of a freshly opened file.
void ExpectFileMatches(const std::string& path, const std::string& shape) {
  auto doc = MustOpen(path);
  EXPECT_TRUE(doc->Warnings().empty()) << doc->Warnings().front();
  EXPECT_EQ(Shape(doc.Get()), WithoutOpenLeaves(shape));
  std::map<std::string, int> expected = ExpectedCounts(shape);
  MuCalls& mu = doc->Mu();
  std::vector<ComPtr<IHostBookmark>> stack{Root(doc.Get())};
  int seen = 0;
  while (!stack.empty()) {
    auto item = stack.back();
    stack.pop_back();
    for (int i = 0; Child(item.Get(), i); ++i) stack.push_back(Child(item.Get(), i));
    bool root = false;
    item->IsRoot(&root);
    if (root) continue;
    ++seen;
    std::u16string wide = Title(item.Get());
    std::string title(wide.begin(), wide.end());
    MuObject dict = doc->GetOutline().Dict(mu, static_cast<HostBookmark*>(item.Get())->Key());
    EXPECT_EQ(mu.ToInt(mu.Get(dict.Get(), "Count")), expected[title]) << title;
  }
  EXPECT_EQ(seen, static_cast<int>(expected.size()));
}

// A reference tree kept by hand beside the host's: parents and ordered children by title.
struct Model {
  std::map<std::string, std::string> parent;  // "" is the root
  std::map<std::string, std::vector<std::string>> children;
  std::map<std::string, bool> open;

  bool IsSelfOrAncestor(const std::string& a, std::string k) const {
    for (;;) {
      if (k == a) return true;
      auto it = parent.find(k);
      if (it == parent.end()) return false;
      k = it->second;
    }
  }
  void Detach(const std::string& k) {
    auto it = parent.find(k);
    if (it == parent.end()) return;
    auto& list = children[it->second];
    list.erase(std::find(list.begin(), list.end(), k));
    parent.erase(it);
  }
  void Attach(const std::string& p, int position, const std::string& k) {
    auto& list = children[p];
    auto where = position < 0 || position >= static_cast<int>(list.size())
                     ? list.end()
                     : list.begin() + position;
    list.insert(where, k);
    parent[k] = p;
  }
  std::string Shape() const {
    std::string out;
    std::vector<std::pair<std::string, int>> stack;
    auto push = [&](const std::string& p, int depth) {
      auto it = children.find(p);
      if (it == children.end()) return;
      for (auto c = it->second.rbegin(); c != it->second.rend(); ++c) stack.emplace_back(*c, depth);
    };
    push("", 0);
    while (!stack.empty()) {
      auto [k, depth] = stack.back();
      stack.pop_back();
      out += std::string(static_cast<size_t>(depth), ' ') + k + (open.at(k) ? " +" : "") + "\n";
      push(k, depth + 1);
    }
    return out;
  }
};

TEST(DeferredOutlineWrites, RandomEditsReadBackExactly) {
  ScratchDir dir;
  PdfSpec layout;
  layout.pages.resize(3);
  Model model;
  std::map<std::string, ComPtr<IHostBookmark>> items;  // every item ever made, by title
  for (int i = 0; i < 4; ++i) {
    OutlineSpec top = zelta::testing::Bookmark("t" + std::to_string(i), 0);
    top.open = i % 2 == 0;
    model.Attach("", -1, top.title);
    model.open[top.title] = top.open;
    for (int k = 0; k < 3; ++k) {
      std::string title = top.title + "." + std::to_string(k);
      top.children.push_back(zelta::testing::Bookmark(title, 1));
      model.Attach(top.title, -1, title);
      model.open[title] = false;
    }
    layout.outline.push_back(top);
  }
  auto doc = MustOpen(dir.Write("in.pdf", BuildPdf(layout)));
  auto root = Root(doc.Get());
  for (int i = 0; i < 4; ++i) {
    auto top = Child(root.Get(), i);
    items[model.children[""][i]] = top;
    for (int k = 0; k < 3; ++k)
      items[model.children[model.children[""][i]][k]] = Child(top.Get(), k);
  }
  ASSERT_EQ(Shape(doc.Get()), model.Shape());

  std::mt19937 random(7);
  auto pick = [&]() -> std::pair<std::string, ComPtr<IHostBookmark>> {
    auto it = items.begin();
    std::advance(it, random() % items.size());
    return *it;
  };
  int made = 0, refused = 0;
  for (int step = 1; step <= 600; ++step) {
    auto [key, item] = pick();
    switch (random() % 5) {
      case 0: {  // a new child
        std::string title = "n" + std::to_string(made++);
        ComPtr<IHostBookmark> child;
        int position = static_cast<int>(random() % 4) - 1;
        ASSERT_EQ(item->InsertNewChild(position, child.Put()), S_OK);
        ASSERT_EQ(child->SetTitle(std::u16string(title.begin(), title.end()).c_str(), -1), S_OK);
        if (random() % 2) {
          ASSERT_EQ(child->SetOpen(true), S_OK);
        }
        model.Attach(key, position, title);
        bool open = false;
        child->GetOpen(&open);
        model.open[title] = open;
        items[title] = child;
        break;
      }
      case 1:
      case 2: {  // a move, into the root's list or under another item
        auto [parentKey, parent] = random() % 4 == 0 ? std::pair{std::string(), root} : pick();
        int position = static_cast<int>(random() % 5) - 1;
        bool loop = model.IsSelfOrAncestor(key, parentKey);
        HRESULT hr = parent->InsertChild(position, item.Get());
        if (loop) {
          EXPECT_EQ(hr, E_INVALIDARG) << key << " under " << parentKey;
          ++refused;
        } else {
          ASSERT_EQ(hr, S_OK) << key << " under " << parentKey;
          model.Detach(key);
          model.Attach(parentKey, position, key);
        }
        break;
      }
      case 3:  // a removal (the subtree goes with it and may come back later)
        ASSERT_EQ(item->Remove(), S_OK);
        model.Detach(key);
        break;
      default:
        ASSERT_EQ(item->SetOpen(!model.open[key]), S_OK);
        model.open[key] = !model.open[key];
        break;
    }
    ASSERT_EQ(Shape(doc.Get()), model.Shape()) << "after step " << step;
    if (step % 150 == 0) {
      std::string out = dir.File("out" + std::to_string(step) + ".pdf");
      ASSERT_TRUE(SaveOk(doc.Get(), out));
      ExpectFileMatches(out, model.Shape());
      ExpectQpdfClean(out);
    }
  }
  EXPECT_GT(refused, 0);  // the walk above did try to make loops
}

// A chain where each item is the only child of the one before: every item's /Count depends
// on all the items below it, which is what deferred counting must get right in one pass.
TEST(DeferredOutlineWrites, DeepChainCountsAndLoops) {
  constexpr int kDepth = 20000;
  ScratchDir dir;
  PdfSpec layout;
  layout.pages.resize(1);
  auto doc = MustOpen(dir.Write("in.pdf", BuildPdf(layout)));
  std::vector<ComPtr<IHostBookmark>> chain{Root(doc.Get())};
  for (int i = 1; i <= kDepth; ++i) {
    ComPtr<IHostBookmark> item;
    ASSERT_EQ(chain.back()->InsertNewChild(-1, item.Put()), S_OK);
    std::u16string title = u"L";
    for (char c : std::to_string(i)) title += static_cast<char16_t>(c);
    item->SetTitle(title.c_str(), -1);
    item->SetOpen(true);
    chain.push_back(item);
  }
  // No item may go under its own descendant, however deep; the bottom item may go anywhere.
  EXPECT_EQ(chain[kDepth]->InsertChild(-1, chain[1].Get()), E_INVALIDARG);
  EXPECT_EQ(chain[kDepth / 2]->InsertChild(0, chain[kDepth / 2 - 1].Get()), E_INVALIDARG);
  const int closed = kDepth / 2;
  ASSERT_EQ(chain[closed]->SetOpen(false), S_OK);
  std::string out = dir.File("chain.pdf");
  ASSERT_TRUE(SaveOk(doc.Get(), out));
  {
    auto reread = MustOpen(out);
    EXPECT_TRUE(reread->Warnings().empty());
    MuCalls& mu = reread->Mu();
    // Walk the written chain: item i shows everything down to the closed item, the closed
    // item hides all below it, the items under it show the rest of the chain.
    ComPtr<IHostBookmark> item = Child(Root(reread.Get()).Get(), 0);
    for (int i = 1; i <= kDepth; ++i) {
      ASSERT_TRUE(item) << "the chain ends at " << i;
      int expected = i < closed ? closed - i : i == closed ? -(kDepth - closed) : kDepth - i;
      MuObject dict = reread->GetOutline().Dict(mu, static_cast<HostBookmark*>(item.Get())->Key());
      ASSERT_EQ(mu.ToInt(mu.Get(dict.Get(), "Count")), expected) << "item " << i;
      int32_t children = 0;
      item->GetChildCount(&children);
      ASSERT_EQ(children, i < kDepth ? 1 : 0);
      item = Child(item.Get(), 0);
    }
  }
  // Moving the bottom item to the top and deleting the chain below the closed item.
  ASSERT_EQ(Root(doc.Get())->InsertChild(0, chain[kDepth].Get()), S_OK);
  ASSERT_EQ(chain[closed + 1]->Remove(), S_OK);
  ASSERT_EQ(chain[closed]->SetOpen(true), S_OK);
  ASSERT_TRUE(SaveOk(doc.Get(), out));
  auto reread = MustOpen(out);
  MuCalls& mu = reread->Mu();
  auto count = [&](IHostBookmark* b) {
    MuObject dict = reread->GetOutline().Dict(mu, static_cast<HostBookmark*>(b)->Key());
    return mu.ToInt(mu.Get(dict.Get(), "Count"));
  };
  auto moved = Child(Root(reread.Get()).Get(), 0);
  auto top = Child(Root(reread.Get()).Get(), 1);
  EXPECT_EQ(Title(moved.Get()), u"L" + std::u16string(u"20000"));
  EXPECT_EQ(count(moved.Get()), 0);
  EXPECT_EQ(count(top.Get()), closed - 1);
}

}  // namespace
}  // namespace zelta::pdf::testing
