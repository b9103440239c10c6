#pragma once

// The screen's font, DejaVu Sans through FreeType, at one pixel size. Texts
// are ISO-8859-1 bytes: each byte is the code point of the same value.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

class Canvas;

class Font {
 public:
  // Glyphs are rendered once per size and kept.
  static const Font& at(int pixelSize);
  // Whether a byte is a printable character; control bytes have no glyph.
  static bool printable(unsigned char c) { return c >= 0x20 && c != 0x7f && (c < 0x80 || c >= 0xa0); }

  int ascent() const { return ascender; }
  int lineHeight() const { return height; }
  int width(const std::string& bytes) const;
  // One line of printable bytes with its baseline at y.
  void draw(Canvas& canvas, int x, int baseline, const std::string& bytes, std::uint32_t colour) const;

 private:
  explicit Font(int pixelSize);

  struct Glyph {
    std::vector<std::uint8_t> mask;
    int width = 0, rows = 0, left = 0, top = 0, advance = 0;
  };
  std::array<Glyph, 256> glyphs;
  int ascender = 0, height = 0;
};
