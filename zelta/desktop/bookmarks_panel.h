// The bookmarks panel: the outline as a tree, with each item's style and colour. A click
// goes to the bookmark's destination; titles are renamed in place; items are dragged to a
// new place, deleted, or added at the current view; the selected items are the document's
// bookmark selection. Every edit is one undo step (BookmarkEdits).
#pragma once

#include <QTreeWidget>
#include <functional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "host/bookmark.h"
#include "zelta/app/host_app.h"

namespace zelta::desktop {

class BookmarksPanel : public QTreeWidget {
  Q_OBJECT

 public:
  // Outlines deeper than this are shown down to it; deeper items are left out of the tree
  // (they stay in the document).
  static constexpr int kMaxDepth = 256;

  BookmarksPanel(app::HostApp& app, QWidget* parent = nullptr);

  // Shows the document's outline (null: nothing). Keeps the expanded items and the
  // selection of bookmarks that are still there.
  void SetDocument(IHostDocument* document);
  void Rebuild();

  // The selected bookmarks, in the tree's order.
  std::vector<ComPtr<IHostBookmark>> SelectedBookmarks() const;
  // The row of a bookmark, made (with those of its closed ancestors) when it is not yet.
  QTreeWidgetItem* ItemOf(IHostBookmark* bookmark);
  IHostBookmark* BookmarkOf(const QTreeWidgetItem* item) const;

  // The panel's edits; each reports failures through EditFailed.
  void DeleteSelected();
  // A new bookmark after the current one (or at the end) that goes to `target`; its title
  // is then edited in place.
  void AddBookmark(const PageDestination& target);
  void RenameCurrent();
  // Moves the selected bookmarks under `parent` (null: the top level) before `before`.
  void MoveSelected(IHostBookmark* parent, IHostBookmark* before);

 signals:
  void GoToDestination(const zelta::PageDestination& target);
  // The document changed through the panel.
  void Edited();
  void EditFailed(const QString& message);
  void ContextMenuAsked(const QPoint& globalPosition);

 protected:
  void dropEvent(QDropEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Fill();
  // Makes the rows below `under` (null: the top level) for the bookmark's children.
  void FillBelow(QTreeWidgetItem* under, IHostBookmark* bookmark, int depth);
  // Makes the rows of a closed item's children, once.
  void FillChildren(QTreeWidgetItem* item);
  void OnItemChanged(QTreeWidgetItem* item, int column);
  void OnSelectionChanged();
  void Done(HRESULT hr, const QString& what);

  app::HostApp& app_;
  ComPtr<IHostDocument> document_;
  // The bookmark of each item; the host hands out one object per outline item, so the
  // pointers also identify items across rebuilds.
  std::unordered_map<const QTreeWidgetItem*, ComPtr<IHostBookmark>> bookmarks_;
  std::unordered_map<IHostBookmark*, QTreeWidgetItem*> items_;
  std::unordered_set<QTreeWidgetItem*> unfilled_;  // closed items whose children have no rows
  bool filling_ = false;
};

}  // namespace zelta::desktop
