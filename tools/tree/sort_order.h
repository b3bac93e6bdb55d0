// The orders of Sort Bookmarks as pure functions: titles by the locale's collation, places by
// target page and then by the point on the page, and the binary search that places a key
// among the items sorted so far.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "framework/bookmark_target.h"

namespace bm {

// Where a bookmark leads, for the by-page order: its target page (-1 when none) and the
// point at which its destination opens, in the orientation the page is viewed in.
struct PlaceKey {
  int32_t page = -1;
  ViewPoint point;
};

// <0 when a sorts before b, 0 when they are equal, >0 after. The collation of the process
// locale; ignoreCase compares letters without regard to case.
int CompareTitles(std::u16string_view a, std::u16string_view b, bool ignoreCase);

// <0 when a comes first: the lower page, then the higher point on the page, then the point
// further left. Points closer than a millionth of a unit are the same point. Two places
// without a target page are equal.
int ComparePlaces(const PlaceKey& a, const PlaceKey& b);

// The index at which key goes into sorted (ascending under compare, which answers <0, 0 or
// >0 for (key, element)). An element equal to the key met by the search is placed behind
// the key, so the insertion sort built on this is not stable: of equal items the later one
// ends in front. O(log n) comparisons.
template <class T, class Compare>
size_t InsertPosition(const std::vector<T>& sorted, const T& key, Compare compare) {
  const size_t n = sorted.size();
  if (n == 0) return 0;
  size_t lo = 0, hi = n;
  while (hi - lo >= 2) {
    const size_t mid = (lo + hi) / 2;
    const int order = compare(key, sorted[mid]);
    if (order == 0) return mid;
    if (order < 0)
      hi = mid;
    else
      lo = mid;
  }
  if (compare(key, sorted[lo]) <= 0) return lo;
  if (lo + 1 >= n) return lo + 1;
  const int order = compare(key, sorted[lo + 1]);
  return order > 0 ? lo + 2 : lo + 1;
}

}  // namespace bm
