// The page view: every page of the document one below the other, drawn with MuPDF as they
// scroll into sight and kept in a bounded cache; zoom by percent, to the width or to the
// whole page; and the mouse selecting text, by rectangle or from a start to an end point.
#pragma once

#include <QAbstractScrollArea>
#include <QPointF>
#include <QRectF>
#include <functional>
#include <vector>

#include "host/document.h"
#include "zelta/desktop/page_cache.h"
#include "zelta/pdf/pages/page_renderer.h"

namespace zelta::pdf {
class HostDocument;
}

namespace zelta::desktop {

enum class ZoomMode { kPercent, kFitWidth, kFitPage };
enum class SelectionMode { kRectangle, kStartToEnd };

// What the mouse selected on one page, in PDF user space.
struct PageSelection {
  int page = -1;
  SelectionMode mode = SelectionMode::kRectangle;
  PageBox area;                 // kRectangle: the rectangle
  double fromX = 0, fromY = 0;  // kStartToEnd: where the drag started
  double toX = 0, toY = 0;      // and where it ended
};

class PageView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  // The rendered pages kept, in bytes.
  static constexpr size_t kDefaultCacheBytes = size_t{96} << 20;

  explicit PageView(QWidget* parent = nullptr);

  // Shows a document (null shows nothing). The view keeps a reference.
  void SetDocument(pdf::HostDocument* document);
  // After the document's pages changed (pages added or removed): lays them out anew.
  void Reload();

  int PageCount() const { return static_cast<int>(tops_.size()); }
  // The page at the top of the view (0-based), -1 without a document.
  int CurrentPage() const;
  // Scrolls so that the page (0-based) starts at the top; with a position (PDF user space),
  // so that the point is at the top.
  void GoToPage(int page);
  void GoToPoint(int page, double x, double y);
  // The top of the view as a point in the current page's user space.
  bool ViewTop(int* page, double* x, double* y) const;

  void SetZoom(ZoomMode mode, double percent = 100);
  ZoomMode Zoom() const { return zoomMode_; }
  // The scale in effect, as a percentage.
  double ZoomPercent() const { return scale_ * 100; }

  void SetSelectionMode(SelectionMode mode) { selectionMode_ = mode; }
  void ClearSelectionMark();

  PageCache& Cache() { return cache_; }
  // The scale pages are drawn at: the zoom times the screen's device pixel ratio.
  double RenderScale() const { return scale_ * viewport()->devicePixelRatioF(); }
  // How many pages were drawn since the document was set (a cache miss each).
  int RenderCount() const { return renders_; }

 signals:
  void CurrentPageChanged(int page);
  void SelectionMade(const zelta::desktop::PageSelection& selection);
  void ZoomChanged();
  void ContextMenuAsked(const QPoint& globalPosition);
  // A page was drawn on the screen (from the cache or freshly rendered).
  void PagePainted(int page);
  // The pages in view are on the screen, drawn or marked as pages that cannot be shown.
  void ViewPainted();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  static constexpr int kGap = 8;  // pixels between pages and around them

  void Layout();
  // Reads the sizes of the next pages not read yet and lays them out again, keeping the view
  // where it is; goes on from the event loop until every page is read.
  void ReadMoreSizes(int generation);
  void UpdateScrollBars();
  // The page's rectangle in document pixels (before scrolling).
  QRectF PageRect(int page) const;
  int PageAt(double documentY) const;
  const PageCache::Entry& Rendered(int page);
  // Document pixels of a point on the view.
  QPointF ToDocument(const QPoint& viewPoint) const;
  // A point in document pixels on `page` to its user space.
  QPointF ToUser(int page, const QPointF& documentPoint) const;

  ComPtr<pdf::HostDocument> document_;
  std::vector<double> tops_;  // each page's top in document pixels
  // Only the first pages are read when a document opens, so that the first page is painted
  // without reading every page object of a long document; the others take the last size read
  // until the event loop reads them.
  std::vector<pdf::PageSize> sizes_;
  int sizesRead_ = 0;
  bool sizesWaiting_ = false;      // the reading starts after the next paint
  int sizesGeneration_ = 0;        // a document or rotation change stops the reading of the old one
  double width_ = 0, height_ = 0;  // the whole document in pixels
  double scale_ = 1;
  ZoomMode zoomMode_ = ZoomMode::kFitWidth;
  double percent_ = 100;
  PageCache cache_{kDefaultCacheBytes};
  int renders_ = 0;
  int lastCurrent_ = -1;

  SelectionMode selectionMode_ = SelectionMode::kRectangle;
  bool dragging_ = false;
  int dragPage_ = -1;
  QPointF dragFrom_, dragTo_;  // document pixels
  QRectF mark_;                // the last selection, in document pixels
};

}  // namespace zelta::desktop
