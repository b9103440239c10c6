#include "standin/render/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <map>
#include <memory>
#include <stdexcept>

#include "standin/render/canvas.h"

namespace {
// One face for every size; sizes are set while their glyphs are rendered.
FT_Face face() {
  static const struct Loaded {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    Loaded() {
      if (FT_Init_FreeType(&library) || FT_New_Face(library, DORVANE_FONT, 0, &face))
        throw std::runtime_error("cannot load the font " DORVANE_FONT);
    }
    ~Loaded() {
      FT_Done_Face(face);
      FT_Done_FreeType(library);
    }
  } loaded;
  return loaded.face;
}
}  // namespace

const Font& Font::at(int pixelSize) {
  static std::map<int, std::unique_ptr<Font>> sizes;
  auto& font = sizes[pixelSize];
  if (!font) font.reset(new Font(pixelSize));
  return *font;
}

Font::Font(int pixelSize) {
  FT_Face f = face();
  if (FT_Set_Pixel_Sizes(f, 0, FT_UInt(pixelSize))) throw std::runtime_error("font size not available");
  ascender = int(f->size->metrics.ascender >> 6);
  height = int(f->size->metrics.height >> 6);
  for (int c = 0; c < 256; ++c) {
    if (!printable(static_cast<unsigned char>(c)) || FT_Load_Char(f, FT_ULong(c), FT_LOAD_RENDER)) continue;
    const FT_GlyphSlot slot = f->glyph;
    Glyph& glyph = glyphs[c];
    glyph.width = int(slot->bitmap.width);
    glyph.rows = int(slot->bitmap.rows);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.advance = int((slot->advance.x + 32) >> 6);
    for (int y = 0; y < glyph.rows; ++y) {
      const unsigned char* row = slot->bitmap.buffer + y * slot->bitmap.pitch;
      glyph.mask.insert(glyph.mask.end(), row, row + glyph.width);
    }
  }
}

int Font::width(const std::string& bytes) const {
  int total = 0;
  for (unsigned char c : bytes) total += glyphs[c].advance;
  return total;
}

void Font::draw(Canvas& canvas, int x, int baseline, const std::string& bytes, std::uint32_t colour) const {
  for (unsigned char c : bytes) {
    const Glyph& glyph = glyphs[c];
    if (!glyph.mask.empty())
      canvas.blend(x + glyph.left, baseline - glyph.top, glyph.mask.data(), glyph.width, glyph.rows,
                   glyph.width, colour);
    x += glyph.advance;
  }
}
