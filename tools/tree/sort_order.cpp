#include "tools/tree/sort_order.h"

#include "platform/locale_text.h"

namespace bm {
namespace {

// Differences below a millionth of a unit are the rounding of stored coordinates.
constexpr double kPlaceScale = 1000000.0;

}  // namespace

int CompareTitles(std::u16string_view a, std::u16string_view b, bool ignoreCase) {
  return platform::CompareText(a, b, ignoreCase);
}

int ComparePlaces(const PlaceKey& a, const PlaceKey& b) {
  if (a.page != b.page) return a.page < b.page ? -1 : 1;
  if (a.page < 0) return 0;
  const double dy = (b.point.y - a.point.y) * kPlaceScale;
  if (dy < -1) return -1;
  if (dy > 1) return 1;
  const double dx = (a.point.x - b.point.x) * kPlaceScale;
  if (dx < -1) return -1;
  if (dx > 1) return 1;
  return 0;
}

}  // namespace bm
