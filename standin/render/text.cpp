#include "standin/render/text.h"

#include <vector>

#include "standin/render/canvas.h"
#include "standin/render/font.h"
#include "standin/render/rect.h"

std::string printableBytes(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes)
    if (Font::printable(c)) out += char(c);
  return out;
}

namespace {
std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(printableBytes(text.substr(start, end - start)));
  std::string last = printableBytes(text.substr(start));
  // A trailing newline ends the last line; it does not start an empty one.
  if (!last.empty() || lines.empty()) lines.push_back(last);
  return lines;
}
}  // namespace

void drawText(Canvas& canvas, const Font& font, const eRect& box, const std::string& text,
              std::uint32_t colour, TextPlacement placement) {
  eRect saved = canvas.clip();
  canvas.setClip(intersect(saved, box));
  std::vector<std::string> lines = linesOf(text);
  int total = int(lines.size()) * font.lineHeight();
  int y = box.top() + (placement.vcentre ? (box.height() - total) / 2 : placement.indent);
  for (const std::string& line : lines) {
    int x = box.left() + (placement.centre ? (box.width() - font.width(line)) / 2 : placement.indent);
    font.draw(canvas, x, y + font.ascent(), line, colour);
    y += font.lineHeight();
  }
  canvas.setClip(saved);
}
