// Dialog units to pixels. A layout measures its controls in units of its font: a horizontal
// unit is a quarter of the font's average character width and a vertical unit an eighth of
// its height, so a dialog keeps its proportions, and its texts their room, whatever font the
// system gives for the one the layout names.
#pragma once

#include <QFont>
#include <QRect>

namespace zelta::desktop {

class DialogUnits {
 public:
  // The font the layout names at its size; the system's sans-serif font stands in for one
  // it does not have.
  static QFont LayoutFont(const QString& family, double pointSize);

  explicit DialogUnits(const QFont& font);

  int X(int units) const;
  int Y(int units) const;
  // Edges are rounded, not sizes: neighbours that touch in units touch in pixels.
  QRect Rect(int x, int y, int width, int height) const;

  double PixelsPerX() const { return perX_; }
  double PixelsPerY() const { return perY_; }

 private:
  double perX_, perY_;
};

}  // namespace zelta::desktop
