#pragma once

// Rectangle arithmetic for drawing; an empty rectangle has no pixels.
#include <algorithm>

#include "host/egeometry.h"

inline bool isEmpty(const eRect& r) { return r.width() <= 0 || r.height() <= 0; }

inline eRect intersect(const eRect& a, const eRect& b) {
  int left = std::max(a.left(), b.left()), top = std::max(a.top(), b.top());
  int right = std::min(a.left() + a.width(), b.left() + b.width());
  int bottom = std::min(a.top() + a.height(), b.top() + b.height());
  return eRect(ePoint(left, top), eSize(right - left, bottom - top));
}

// The smallest rectangle that holds both.
inline eRect unite(const eRect& a, const eRect& b) {
  int left = std::min(a.left(), b.left()), top = std::min(a.top(), b.top());
  int right = std::max(a.left() + a.width(), b.left() + b.width());
  int bottom = std::max(a.top() + a.height(), b.top() + b.height());
  return eRect(ePoint(left, top), eSize(right - left, bottom - top));
}

inline bool overlaps(const eRect& a, const eRect& b) { return !isEmpty(intersect(a, b)); }
