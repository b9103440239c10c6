#include "standin/render/canvas.h"

#include <algorithm>

#include "standin/render/rect.h"
#include "standin/screen.h"

Canvas::Canvas()
    : w(screenWidth), h(screenHeight), pixels(std::size_t(w) * h, 0xff000000), clipRect(bounds()) {}

void Canvas::setClip(const eRect& area) { clipRect = intersect(area, bounds()); }

void Canvas::fill(const eRect& area, std::uint32_t colour) {
  eRect r = intersect(area, clipRect);
  if (isEmpty(r)) return;
  for (int y = r.top(); y < r.top() + r.height(); ++y) {
    std::uint32_t* row = &pixels[std::size_t(y) * w];
    std::fill(row + r.left(), row + r.left() + r.width(), colour);
  }
}

namespace {
std::uint32_t mix(std::uint32_t under, std::uint32_t over, unsigned alpha) {
  std::uint32_t out = 0xff000000;
  for (int shift = 0; shift < 24; shift += 8) {
    unsigned a = (under >> shift) & 0xff, b = (over >> shift) & 0xff;
    out |= ((a * (255 - alpha) + b * alpha + 127) / 255) << shift;
  }
  return out;
}
}  // namespace

void Canvas::blend(int x, int y, const std::uint8_t* mask, int width, int height, int pitch,
                   std::uint32_t colour) {
  eRect r = intersect(eRect(ePoint(x, y), eSize(width, height)), clipRect);
  for (int py = r.top(); py < r.top() + r.height(); ++py)
    for (int px = r.left(); px < r.left() + r.width(); ++px) {
      unsigned alpha = mask[(py - y) * pitch + (px - x)];
      if (!alpha) continue;
      std::uint32_t& pixel = pixels[std::size_t(py) * w + px];
      pixel = alpha == 255 ? colour : mix(pixel, colour, alpha);
    }
}
