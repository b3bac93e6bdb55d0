#include "zelta/desktop/bookmarks_panel.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>

#include "zelta/base/atom_table.h"
#include "zelta/base/result_text.h"
#include "zelta/desktop/bookmark_edits.h"

namespace zelta::desktop {

namespace {

QString ToQString(const OwnedString& text) {
  const std::u16string_view view = text.View();
  return QString::fromUtf16(view.data(), static_cast<qsizetype>(view.size()));
}

std::u16string ToU16(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<size_t>(text.size()));
}

}  // namespace

BookmarksPanel::BookmarksPanel(app::HostApp& app, QWidget* parent)
    : QTreeWidget(parent), app_(app) {
  setObjectName("bookmarksPanel");
  setHeaderHidden(true);
  setColumnCount(1);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setDragDropMode(QAbstractItemView::InternalMove);
  setDefaultDropAction(Qt::MoveAction);
  setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  setUniformRowHeights(true);
  header()->setStretchLastSection(true);
  connect(this, &QTreeWidget::itemChanged, this, &BookmarksPanel::OnItemChanged);
  connect(this, &QTreeWidget::itemSelectionChanged, this, &BookmarksPanel::OnSelectionChanged);
  connect(this, &QTreeWidget::itemExpanded, this, &BookmarksPanel::FillChildren);
  connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    PageDestination target;
    if (BookmarkEdits::Destination(BookmarkOf(item), &target)) emit GoToDestination(target);
  });
}

void BookmarksPanel::SetDocument(IHostDocument* document) {
  document_ = ComPtr<IHostDocument>(document);
  filling_ = true;
  clear();
  bookmarks_.clear();
  items_.clear();
  unfilled_.clear();
  filling_ = false;
  Fill();
}

void BookmarksPanel::Rebuild() {
  // What the user had open and selected stays so, for the bookmarks still in the outline.
  std::unordered_set<IHostBookmark*> known, expanded, selected;
  for (const auto& [item, bookmark] : bookmarks_) {
    known.insert(bookmark.Get());
    if (item->isExpanded()) expanded.insert(bookmark.Get());
    if (item->isSelected()) selected.insert(bookmark.Get());
  }
  IHostBookmark* current = BookmarkOf(currentItem());
  auto keep = bookmarks_;  // the objects stay alive (and so their addresses unique) meanwhile
  filling_ = true;
  clear();
  bookmarks_.clear();
  items_.clear();
  unfilled_.clear();
  filling_ = false;
  Fill();
  filling_ = true;
  // Expanding a closed item makes rows, so the rows are listed before any is changed.
  std::vector<QTreeWidgetItem*> made;
  for (const auto& entry : bookmarks_) made.push_back(const_cast<QTreeWidgetItem*>(entry.first));
  for (QTreeWidgetItem* item : made) {
    IHostBookmark* bookmark = BookmarkOf(item);
    if (known.count(bookmark) && !expanded.count(bookmark)) item->setExpanded(false);
  }
  for (IHostBookmark* bookmark : expanded)
    if (QTreeWidgetItem* item = ItemOf(bookmark)) item->setExpanded(true);
  for (IHostBookmark* bookmark : selected)
    if (QTreeWidgetItem* item = ItemOf(bookmark)) item->setSelected(true);
  if (QTreeWidgetItem* item = ItemOf(current))
    setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
  filling_ = false;
  OnSelectionChanged();
}

void BookmarksPanel::Fill() {
  if (!document_) return;
  ComPtr<IHostBookmark> root;
  if (document_->GetOutlineRoot(root.Put()) != S_OK || !root) return;
  FillBelow(nullptr, root.Get(), 0);
}

void BookmarksPanel::FillBelow(QTreeWidgetItem* under, IHostBookmark* bookmark, int depth) {
  const bool wasFilling = filling_;
  filling_ = true;
  // Iterative: (parent item, bookmark, depth). Rows are made for the items shown: the
  // children of a closed item wait until it is expanded (or one of them is asked for), so a
  // large outline of closed chapters costs a row per chapter at first.
  struct Pending {
    QTreeWidgetItem* parent;
    ComPtr<IHostBookmark> bookmark;
    int depth;
  };
  std::vector<Pending> pending, level;
  const auto pushChildren = [&](QTreeWidgetItem* item, IHostBookmark* of, int at) {
    level.clear();
    ComPtr<IHostBookmark> child;
    of->GetFirstChild(child.Put());
    for (ComPtr<IHostBookmark> b = child; b;) {
      level.push_back({item, b, at + 1});
      ComPtr<IHostBookmark> next;
      b->GetNextSibling(next.Put());
      b = next;
    }
    pending.insert(pending.end(), level.rbegin(), level.rend());
  };
  pushChildren(under, bookmark, depth);
  std::vector<QTreeWidgetItem*> opened;
  while (!pending.empty()) {
    Pending at = std::move(pending.back());
    pending.pop_back();
    auto* item = at.parent ? new QTreeWidgetItem(at.parent) : new QTreeWidgetItem(this);
    OwnedString title;
    at.bookmark->GetTitle(title.Put());
    item->setText(0, ToQString(title));
    item->setFlags(item->flags() | Qt::ItemIsEditable | Qt::ItemIsDragEnabled |
                   Qt::ItemIsDropEnabled);
    int32_t style = 0;
    at.bookmark->GetStyle(&style);
    if (style & 3) {
      QFont font = this->font();
      font.setItalic(style & 1);
      font.setBold(style & 2);
      item->setFont(0, font);
    }
    uint32_t color = 0;
    if (at.bookmark->GetColor(&color) == S_OK) {
      const QColor shown((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
      // White on the panel's white would hide the title; such colours are shown as black.
      if (shown.lightness() < 235) item->setForeground(0, shown);
    }
    bookmarks_[item] = at.bookmark;
    items_[at.bookmark.Get()] = item;
    if (at.depth >= kMaxDepth) continue;
    bool open = false;
    at.bookmark->GetOpen(&open);
    int32_t children = 0;
    at.bookmark->GetChildCount(&children);
    if (children == 0) continue;
    if (open) {
      opened.push_back(item);
      pushChildren(item, at.bookmark.Get(), at.depth);
    } else {
      item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
      unfilled_.insert(item);
    }
  }
  // Expanding only works once the children are there.
  for (QTreeWidgetItem* item : opened) item->setExpanded(true);
  filling_ = wasFilling;
}

void BookmarksPanel::FillChildren(QTreeWidgetItem* item) {
  if (!unfilled_.erase(item)) return;
  int depth = 1;
  for (QTreeWidgetItem* up = item->parent(); up; up = up->parent()) ++depth;
  item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
  if (IHostBookmark* bookmark = BookmarkOf(item)) FillBelow(item, bookmark, depth);
}

std::vector<ComPtr<IHostBookmark>> BookmarksPanel::SelectedBookmarks() const {
  std::vector<ComPtr<IHostBookmark>> selected;
  for (QTreeWidgetItemIterator it(const_cast<BookmarksPanel*>(this),
                                  QTreeWidgetItemIterator::Selected);
       *it; ++it) {
    if (IHostBookmark* bookmark = BookmarkOf(*it)) selected.emplace_back(bookmark);
  }
  return selected;
}

QTreeWidgetItem* BookmarksPanel::ItemOf(IHostBookmark* bookmark) {
  if (!bookmark) return nullptr;
  auto found = items_.find(bookmark);
  if (found != items_.end()) return found->second;
  // Not made yet: make the rows of the closed ancestors, from the nearest shown one down.
  std::vector<ComPtr<IHostBookmark>> path;
  ComPtr<IHostBookmark> up;
  bookmark->GetParent(up.Put());
  while (up && !items_.count(up.Get())) {
    path.push_back(up);
    ComPtr<IHostBookmark> next;
    up->GetParent(next.Put());
    up = next;
  }
  if (!up) return nullptr;  // not in the outline shown
  FillChildren(items_[up.Get()]);
  for (auto it = path.rbegin(); it != path.rend(); ++it) {
    auto item = items_.find(it->Get());
    if (item == items_.end()) return nullptr;  // below the depth shown
    FillChildren(item->second);
  }
  found = items_.find(bookmark);
  return found == items_.end() ? nullptr : found->second;
}

IHostBookmark* BookmarksPanel::BookmarkOf(const QTreeWidgetItem* item) const {
  auto found = bookmarks_.find(item);
  return found == bookmarks_.end() ? nullptr : found->second.Get();
}

void BookmarksPanel::OnItemChanged(QTreeWidgetItem* item, int) {
  if (filling_) return;
  IHostBookmark* bookmark = BookmarkOf(item);
  if (!bookmark) return;
  OwnedString before;
  bookmark->GetTitle(before.Put());
  const std::u16string title = ToU16(item->text(0));
  if (title == before.View()) return;
  // The rename rebuilds the tree, which must not happen inside the item's own signal.
  QMetaObject::invokeMethod(
      this,
      [this, target = ComPtr<IHostBookmark>(bookmark), title] {
        Done(BookmarkEdits(app_, document_.Get()).Rename(target.Get(), title), tr("Rename"));
      },
      Qt::QueuedConnection);
}

void BookmarksPanel::OnSelectionChanged() {
  if (filling_ || !document_) return;
  std::vector<ComPtr<IUnknown>> items;
  for (auto& bookmark : SelectedBookmarks()) items.emplace_back(bookmark.Get());
  app_.SetSelection(document_.Get(), base::Intern("selection.bookmarks"), std::move(items));
}

void BookmarksPanel::Done(HRESULT hr, const QString& what) {
  if (Failed(hr)) {
    const std::u16string text = base::DescribeResult(hr);
    emit EditFailed(what + ": " +
                    QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
  }
  // Even a failed edit may have been put back: the tree shows the outline as it is.
  Rebuild();
  if (hr == S_OK) emit Edited();
}

void BookmarksPanel::DeleteSelected() {
  auto selected = SelectedBookmarks();
  if (selected.empty() || !document_) return;
  Done(BookmarkEdits(app_, document_.Get()).Delete(selected), tr("Delete"));
}

void BookmarksPanel::AddBookmark(const PageDestination& target) {
  if (!document_) return;
  ComPtr<IHostBookmark> made;
  HRESULT hr = BookmarkEdits(app_, document_.Get())
                   .AddAfter(BookmarkOf(currentItem()), u"Untitled", target, &made);
  Done(hr, tr("New bookmark"));
  if (QTreeWidgetItem* item = ItemOf(made.Get())) {
    clearSelection();
    setCurrentItem(item);
    editItem(item, 0);
  }
}

void BookmarksPanel::RenameCurrent() {
  if (QTreeWidgetItem* item = currentItem()) editItem(item, 0);
}

void BookmarksPanel::MoveSelected(IHostBookmark* parent, IHostBookmark* before) {
  auto selected = SelectedBookmarks();
  if (selected.empty() || !document_) return;
  // A child whose parent moves goes with it: moving both would flatten the subtree.
  std::vector<ComPtr<IHostBookmark>> moving;
  for (auto& bookmark : selected) {
    bool ancestorMoves = false;
    for (QTreeWidgetItem* up = ItemOf(bookmark.Get())->parent(); up && !ancestorMoves;
         up = up->parent())
      ancestorMoves = up->isSelected();
    if (!ancestorMoves) moving.push_back(bookmark);
  }
  Done(BookmarkEdits(app_, document_.Get()).Move(moving, parent, before), tr("Move"));
}

void BookmarksPanel::dropEvent(QDropEvent* event) {
  // The tree does not move its own items: the move is made in the document, and the tree
  // is rebuilt from it, so what is shown is always what the document holds.
  QTreeWidgetItem* target = itemAt(event->position().toPoint());
  IHostBookmark* parent = nullptr;
  IHostBookmark* before = nullptr;
  switch (dropIndicatorPosition()) {
    case QAbstractItemView::OnItem:
      parent = BookmarkOf(target);
      break;
    case QAbstractItemView::AboveItem:
      parent = target && target->parent() ? BookmarkOf(target->parent()) : nullptr;
      before = BookmarkOf(target);
      break;
    case QAbstractItemView::BelowItem: {
      parent = target && target->parent() ? BookmarkOf(target->parent()) : nullptr;
      QTreeWidgetItem* next =
          target ? (target->parent()
                        ? target->parent()->child(target->parent()->indexOfChild(target) + 1)
                        : topLevelItem(indexOfTopLevelItem(target) + 1))
                 : nullptr;
      before = BookmarkOf(next);
      break;
    }
    case QAbstractItemView::OnViewport:
      break;
  }
  event->setDropAction(Qt::IgnoreAction);
  event->accept();
  MoveSelected(parent, before);
}

void BookmarksPanel::contextMenuEvent(QContextMenuEvent* event) {
  emit ContextMenuAsked(event->globalPos());
}

void BookmarksPanel::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete && state() != QAbstractItemView::EditingState) {
    DeleteSelected();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

}  // namespace zelta::desktop
