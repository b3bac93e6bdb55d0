#include "zelta/desktop/page_view.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "zelta/pdf/host_document.h"

namespace zelta::desktop {

namespace {

constexpr double kMinScale = 0.05;
// Pages whose sizes are read before the first paint, and then in each turn of the event loop.
constexpr int kSizesFirst = 32;
constexpr int kSizesPerTurn = 512;
constexpr double kMaxScale = 16;

QPointF Apply(const pdf::PageTransform& t, double x, double y) {
  return {t.a * x + t.c * y + t.e, t.b * x + t.d * y + t.f};
}

QPointF ApplyInverse(const pdf::PageTransform& t, double x, double y) {
  const double det = t.a * t.d - t.b * t.c;
  if (std::fabs(det) < 1e-12) return {x, y};
  x -= t.e;
  y -= t.f;
  return {(t.d * x - t.c * y) / det, (-t.b * x + t.a * y) / det};
}

// The rendered page in the format the screen is painted in, converted once per rendering.
// Painting packed RGB converts it again on every paint (scrolling included), and for a page
// this size Qt does that on threads of its pool, started for the first paint.
QImage ToScreenImage(const pdf::PagePixels& pixels) {
  return QImage(pixels.rgb.data(), pixels.width, pixels.height, pixels.stride,
                QImage::Format_RGB888)
      .convertToFormat(QImage::Format_RGB32);
}

}  // namespace

PageView::PageView(QWidget* parent) : QAbstractScrollArea(parent) {
  setObjectName("pageView");
  viewport()->setBackgroundRole(QPalette::Dark);
  viewport()->setAutoFillBackground(true);
  viewport()->setMouseTracking(false);
  verticalScrollBar()->setSingleStep(40);
}

void PageView::SetDocument(pdf::HostDocument* document) {
  document_ = ComPtr<pdf::HostDocument>(document);
  renders_ = 0;
  mark_ = QRectF();
  Reload();
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
}

void PageView::Reload() {
  cache_.Clear();
  sizes_.clear();
  sizesRead_ = 0;
  sizesWaiting_ = false;
  ++sizesGeneration_;
  if (document_) {
    const int count = std::max(document_->Mu().PageCount(), 0);
    sizes_ = pdf::PageRenderer(*document_).Sizes(0, 0, kSizesFirst);
    sizesRead_ = static_cast<int>(sizes_.size());
    sizes_.resize(static_cast<size_t>(count),
                  sizes_.empty() ? pdf::PageSize{612, 792} : sizes_.back());
    // The rest is read once the first pages are on screen.
    sizesWaiting_ = sizesRead_ < count;
  }
  Layout();
}

void PageView::ReadMoreSizes(int generation) {
  if (generation != sizesGeneration_ || !document_) return;
  const int count = static_cast<int>(sizes_.size());
  const int end = std::min(count, sizesRead_ + kSizesPerTurn);
  const auto read = pdf::PageRenderer(*document_).Sizes(0, sizesRead_, end);
  bool changed = false;
  for (size_t i = 0; i < read.size(); ++i) {
    auto& size = sizes_[static_cast<size_t>(sizesRead_) + i];
    changed |= size.width != read[i].width || size.height != read[i].height;
    size = read[i];
  }
  // The pages not read yet follow the last one read.
  if (!read.empty())
    for (int i = end; i < count; ++i) sizes_[static_cast<size_t>(i)] = read.back();
  sizesRead_ = end;
  if (changed) {
    const int value = verticalScrollBar()->value();
    const int top = PageAt(value);
    const double offset = top >= 0 ? value - tops_[static_cast<size_t>(top)] : 0;
    Layout();
    if (top >= 0)
      verticalScrollBar()->setValue(static_cast<int>(tops_[static_cast<size_t>(top)] + offset));
  }
  if (sizesRead_ < count)
    QTimer::singleShot(0, this, [this, generation] { ReadMoreSizes(generation); });
}

void PageView::Layout() {
  const double viewWidth = std::max(1, viewport()->width() - 2 * kGap);
  const double viewHeight = std::max(1, viewport()->height() - 2 * kGap);
  double widest = 1, tallest = 1;
  for (const auto& size : sizes_) {
    widest = std::max(widest, size.width);
    tallest = std::max(tallest, size.height);
  }
  // Fitting uses the first page: documents are mostly one size, and the first page is the
  // one on screen when the document opens.
  const pdf::PageSize first = sizes_.empty() ? pdf::PageSize{612, 792} : sizes_.front();
  switch (zoomMode_) {
    case ZoomMode::kPercent:
      scale_ = percent_ / 100.0;
      break;
    case ZoomMode::kFitWidth:
      scale_ = viewWidth / std::max(1.0, first.width);
      break;
    case ZoomMode::kFitPage:
      scale_ = std::min(viewWidth / std::max(1.0, first.width),
                        viewHeight / std::max(1.0, first.height));
      break;
  }
  scale_ = std::clamp(scale_, kMinScale, kMaxScale);
  tops_.assign(sizes_.size(), 0);
  double y = kGap;
  for (size_t i = 0; i < sizes_.size(); ++i) {
    tops_[i] = y;
    y += std::ceil(sizes_[i].height * scale_) + kGap;
  }
  width_ = std::ceil(widest * scale_) + 2 * kGap;
  height_ = y;
  UpdateScrollBars();
  viewport()->update();
  emit ZoomChanged();
}

void PageView::UpdateScrollBars() {
  const int viewHeight = viewport()->height(), viewWidth = viewport()->width();
  verticalScrollBar()->setRange(0, std::max(0, static_cast<int>(height_) - viewHeight));
  verticalScrollBar()->setPageStep(viewHeight);
  horizontalScrollBar()->setRange(0, std::max(0, static_cast<int>(width_) - viewWidth));
  horizontalScrollBar()->setPageStep(viewWidth);
}

QRectF PageView::PageRect(int page) const {
  const auto& size = sizes_[static_cast<size_t>(page)];
  const double w = std::ceil(size.width * scale_), h = std::ceil(size.height * scale_);
  // Pages narrower than the view are centred.
  const double x = std::max<double>(kGap, (std::max<double>(width_, viewport()->width()) - w) / 2);
  return {x, tops_[static_cast<size_t>(page)], w, h};
}

int PageView::PageAt(double documentY) const {
  if (tops_.empty()) return -1;
  auto it = std::upper_bound(tops_.begin(), tops_.end(), documentY);
  return std::max(0, static_cast<int>(it - tops_.begin()) - 1);
}

int PageView::CurrentPage() const {
  // The page that holds the line a third of the way down the view: what a reader looks at.
  return PageAt(verticalScrollBar()->value() + viewport()->height() / 3.0);
}

void PageView::GoToPage(int page) {
  if (tops_.empty()) return;
  page = std::clamp(page, 0, PageCount() - 1);
  verticalScrollBar()->setValue(static_cast<int>(tops_[static_cast<size_t>(page)]) - kGap);
}

void PageView::GoToPoint(int page, double x, double y) {
  if (tops_.empty() || !document_) return;
  page = std::clamp(page, 0, PageCount() - 1);
  pdf::PageTransform t;
  if (Failed(pdf::PageRenderer(*document_).Transform(page, 0, &t))) return GoToPage(page);
  const QPointF shown = Apply(t, x, y);
  const QRectF rect = PageRect(page);
  verticalScrollBar()->setValue(static_cast<int>(rect.top() + shown.y() * scale_) - kGap);
}

bool PageView::ViewTop(int* page, double* x, double* y) const {
  const int current = PageAt(verticalScrollBar()->value() + kGap);
  if (current < 0) return false;
  const QRectF rect = PageRect(current);
  const double top = std::max(rect.top(), static_cast<double>(verticalScrollBar()->value()));
  const QPointF user = ToUser(current, QPointF(rect.left(), top));
  *page = current;
  *x = user.x();
  *y = user.y();
  return true;
}

void PageView::SetZoom(ZoomMode mode, double percent) {
  // Keep the page on screen across the change.
  const int page = CurrentPage();
  zoomMode_ = mode;
  if (mode == ZoomMode::kPercent) percent_ = std::clamp(percent, kMinScale * 100, kMaxScale * 100);
  Layout();
  if (page >= 0) GoToPage(page);
}

void PageView::ClearSelectionMark() {
  mark_ = QRectF();
  viewport()->update();
}

const PageCache::Entry& PageView::Rendered(int page) {
  // Drawn in device pixels, so that a scaled screen shows the page sharp.
  const double scale = RenderScale();
  if (const PageCache::Entry* found = cache_.Find(page, scale)) return *found;
  PageCache::Entry entry;
  entry.page = page;
  entry.scale = scale;
  pdf::PagePixels pixels;
  std::string error;
  ++renders_;
  if (Succeeded(pdf::PageRenderer(*document_).Render(page, scale, 0, &pixels, &error))) {
    entry.image = ToScreenImage(pixels);
    if (entry.image.isNull()) entry.error = tr("There is not enough memory to show it.");
    entry.image.setDevicePixelRatio(viewport()->devicePixelRatioF());
  } else {
    entry.error = QString::fromStdString(error);
  }
  cache_.Insert(std::move(entry));
  return *cache_.Find(page, scale);
}

void PageView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  if (!document_ || tops_.empty()) return;
  const double dx = horizontalScrollBar()->value(), dy = verticalScrollBar()->value();
  const int first = PageAt(dy);
  const int last = PageAt(dy + viewport()->height());
  for (int page = first; page >= 0 && page <= last; ++page) {
    const QRectF rect = PageRect(page).translated(-dx, -dy);
    const PageCache::Entry& entry = Rendered(page);
    if (!entry.image.isNull()) {
      painter.drawImage(rect.topLeft(), entry.image);
      emit PagePainted(page);
    } else {
      // A page that cannot be drawn says so in its place; the others are unaffected.
      painter.fillRect(rect, Qt::white);
      painter.setPen(QPen(Qt::darkRed, 2));
      painter.drawRect(rect.adjusted(1, 1, -1, -1));
      painter.drawText(rect.adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap,
                       tr("This page cannot be shown.\n%1").arg(entry.error));
    }
  }
  emit ViewPainted();
  if (sizesWaiting_) {
    sizesWaiting_ = false;
    QTimer::singleShot(0, this,
                       [this, generation = sizesGeneration_] { ReadMoreSizes(generation); });
  }
  QRectF band = dragging_ ? QRectF(dragFrom_, dragTo_).normalized() : mark_;
  if (!band.isNull()) {
    painter.fillRect(band.translated(-dx, -dy), QColor(40, 110, 220, 60));
    painter.setPen(QColor(40, 110, 220));
    painter.drawRect(band.translated(-dx, -dy));
  }
}

void PageView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  const int page = CurrentPage();
  Layout();
  if (zoomMode_ != ZoomMode::kPercent && page > 0) GoToPage(page);
}

void PageView::scrollContentsBy(int, int) {
  viewport()->update();
  const int current = CurrentPage();
  if (current != lastCurrent_) {
    lastCurrent_ = current;
    emit CurrentPageChanged(current);
  }
}

QPointF PageView::ToDocument(const QPoint& viewPoint) const {
  return QPointF(viewPoint) + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

QPointF PageView::ToUser(int page, const QPointF& documentPoint) const {
  pdf::PageTransform t;
  if (!document_ || Failed(pdf::PageRenderer(*document_).Transform(page, 0, &t))) return {};
  const QPointF shown = (documentPoint - PageRect(page).topLeft()) / scale_;
  return ApplyInverse(t, shown.x(), shown.y());
}

void PageView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || tops_.empty()) return;
  const QPointF at = ToDocument(event->pos());
  const int page = PageAt(at.y());
  if (page < 0 || !PageRect(page).contains(at)) return;
  dragging_ = true;
  dragPage_ = page;
  dragFrom_ = dragTo_ = at;
}

void PageView::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  // The selection stays on the page it started on.
  const QRectF rect = PageRect(dragPage_);
  const QPointF at = ToDocument(event->pos());
  dragTo_ = QPointF(std::clamp(at.x(), rect.left(), rect.right()),
                    std::clamp(at.y(), rect.top(), rect.bottom()));
  viewport()->update();
}

void PageView::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_ || event->button() != Qt::LeftButton) return;
  mouseMoveEvent(event);
  dragging_ = false;
  mark_ = QRectF(dragFrom_, dragTo_).normalized();
  viewport()->update();
  if (mark_.width() < 2 && mark_.height() < 2) {
    mark_ = QRectF();
    return;
  }
  const QPointF from = ToUser(dragPage_, dragFrom_), to = ToUser(dragPage_, dragTo_);
  PageSelection selection;
  selection.page = dragPage_;
  selection.mode = selectionMode_;
  selection.area = PageBox{std::min(from.x(), to.x()), std::min(from.y(), to.y()),
                           std::max(from.x(), to.x()), std::max(from.y(), to.y())};
  selection.fromX = from.x();
  selection.fromY = from.y();
  selection.toX = to.x();
  selection.toY = to.y();
  emit SelectionMade(selection);
}

void PageView::contextMenuEvent(QContextMenuEvent* event) {
  emit ContextMenuAsked(event->globalPos());
}

}  // namespace zelta::desktop
