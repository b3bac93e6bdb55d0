// The document's outline: reads /Outlines once into an OutlineIndex with an iterative,
// cycle-safe walk. Structural changes go to the index at once (it is what every reader
// navigates) and reach the PDF dictionaries at Flush, which rewrites /Parent, /First, /Last,
// /Prev, /Next and /Count of each changed item once, however many edits touched it.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/com.h"
#include "zelta/pdf/mu_calls.h"
#include "zelta/pdf/outline/outline_index.h"

namespace zelta::pdf {

// A structural fault of the outline as read: the item where it shows and what is wrong.
struct OutlineFinding {
  int item = 0;  // object number (of /Outlines for the root; 0 when that is direct)
  std::string text;
};

class Outline {
 public:
  // Items deeper than this are cut with a warning (the walk itself never recurses).
  static constexpr int kMaxDepth = 100000;

  // Walks /Outlines. Damage (loops, links to non-items, too deep nesting) is cut where it is
  // found and described in `warnings`; the rest of the tree stays usable.
  // Every fault, the cut ones and those the reader can live with (a /Parent, /Last or /Count
  // that disagrees with the lists), goes into Findings().
  void Load(MuCalls& mu, std::vector<std::string>* warnings);
  const std::vector<OutlineFinding>& Findings() const { return findings_; }

  const OutlineIndex& Index() const { return index_; }
  // The dictionary of an item (or of /Outlines for the root); null when it is missing.
  MuObject Dict(MuCalls& mu, int key);

  // Creates a detached, empty outline item; *key is its object number.
  HRESULT NewItem(MuCalls& mu, int* key);
  // Moves an item (attached or not, with its subtree) under parent at position.
  // E_INVALIDARG when parent is the item or one of its descendants, or a key is unknown.
  HRESULT Move(MuCalls& mu, int parent, int position, int key);
  // Detaches an item with its subtree. E_FAIL for the root.
  HRESULT Remove(MuCalls& mu, int key);
  HRESULT SetOpen(MuCalls& mu, int key, bool open);
  // Writes the links and /Count of every item changed since the last flush (before a save,
  // or before anything reads the outline's dictionaries rather than the index).
  HRESULT Flush(MuCalls& mu);

  // Replaced titles are logged while a watch is open, so that a run learns what it renamed
  // without reading every title before it. Each entry is an item and the title object it
  // had until then; an item retitled twice has two.
  struct TitleChange {
    int key = 0;
    MuObject former;
  };
  // Opens a watch; the answer is the log position where it begins.
  size_t WatchTitles();
  // Closes a watch: the log is dropped when the last one closes.
  void UnwatchTitles();
  // Logs a title about to be replaced (nothing when no watch is open).
  void NoteTitleReplaced(int key, MuObject former);
  const std::vector<TitleChange>& TitleLog() const { return titleLog_; }

 private:
  // Makes /Outlines an indirect dictionary when it is missing or not one.
  HRESULT EnsureRoot(MuCalls& mu);
  // On the first change, the items where damage was cut are rewritten too, so that the
  // written file no longer has the loop.
  void NoteChange();
  // Findings for the /Count values read (item, stored count) that fit no reading of them.
  void CheckCounts(const std::vector<int>& order,
                   const std::vector<std::pair<int, int>>& storedCounts);
  HRESULT WriteNode(MuCalls& mu, int key);
  HRESULT PutLink(MuCalls& mu, pdf_obj* dict, const char* name, int key);

  OutlineIndex index_;
  int rootNum_ = 0;  // object number of /Outlines, 0 when it is not an indirect object
  std::vector<int> cuts_;
  std::vector<OutlineFinding> findings_;
  int titleWatches_ = 0;
  std::vector<TitleChange> titleLog_;
};

}  // namespace zelta::pdf
