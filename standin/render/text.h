#pragma once

// Texts in boxes: lines split at newlines, control bytes left out (a
// list row keeps its bytes, only its picture goes without them).
#include <cstdint>
#include <string>

#include "host/egeometry.h"

class Canvas;
class Font;

struct TextPlacement {
  bool centre = false;   // horizontally, else from the left
  bool vcentre = false;  // vertically, else from the top
  int indent = 0;        // space kept at the left and at the top
};

std::string printableBytes(const std::string& bytes);

void drawText(Canvas& canvas, const Font& font, const eRect& box, const std::string& text,
              std::uint32_t colour, TextPlacement placement);
