#include "zelta/desktop/dialog_units.h"

#include <QFontMetricsF>
#include <cmath>

namespace zelta::desktop {

namespace {

constexpr double kUnitsPerCharacter = 4;
constexpr double kUnitsPerLine = 8;
// The average character width is taken over the letters, as dialog layouts have always
// measured it.
constexpr const char* kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
// A layout without a usable font size gets the usual dialog size.
constexpr double kDefaultPointSize = 8.25;

}  // namespace

QFont DialogUnits::LayoutFont(const QString& family, double pointSize) {
  QFont font(family);
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(pointSize > 0 ? pointSize : kDefaultPointSize);
  return font;
}

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetricsF metrics(font);
  const QString letters = QString::fromLatin1(kLetters);
  perX_ = metrics.horizontalAdvance(letters) / letters.size() / kUnitsPerCharacter;
  perY_ = metrics.height() / kUnitsPerLine;
}

int DialogUnits::X(int units) const { return static_cast<int>(std::lround(units * perX_)); }

int DialogUnits::Y(int units) const { return static_cast<int>(std::lround(units * perY_)); }

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
  const int left = X(x), top = Y(y);
  return QRect(left, top, X(x + width) - left, Y(y + height) - top);
}

}  // namespace zelta::desktop
