#pragma once

// The device's frame buffer: 32-bit pixels 0xAARRGGBB, row after row.
// Every drawing call stays inside the clip rectangle.
#include <cstdint>
#include <vector>

#include "host/egeometry.h"

class Canvas {
 public:
  Canvas();

  int width() const { return w; }
  int height() const { return h; }
  eRect bounds() const { return eRect(ePoint(0, 0), eSize(w, h)); }
  const std::vector<std::uint32_t>& data() const { return pixels; }

  // Limits drawing to the part of `area` that lies on the canvas.
  void setClip(const eRect& area);
  const eRect& clip() const { return clipRect; }

  void fill(const eRect& area, std::uint32_t colour);
  // Mixes the colour in by an 8-bit coverage mask, such as a rendered glyph.
  void blend(int x, int y, const std::uint8_t* mask, int width, int height, int pitch, std::uint32_t colour);

 private:
  int w, h;
  std::vector<std::uint32_t> pixels;
  eRect clipRect;
};
