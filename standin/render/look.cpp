#include "standin/render/look.h"

#include <algorithm>

#include "host/echeckbox.h"
#include "host/elistbox.h"
#include "host/eskin.h"
#include "host/etextinputfield.h"
#include "host/ewindow.h"
#include "standin/render/canvas.h"
#include "standin/render/font.h"
#include "standin/render/rect.h"
#include "standin/render/text.h"
#include "standin/screen.h"

namespace {
constexpr int indent = 6;  // room between a box's edge and its text

std::uint32_t colour(const char* name) { return eSkin::getActive()->queryColor(name); }

const Font& font() { return Font::at(eSkin::getActive()->queryValue("fontsize", 20)); }

eRect inset(const eRect& r, int by) {
  return eRect(ePoint(r.left() + by, r.top() + by), eSize(r.width() - 2 * by, r.height() - 2 * by));
}

void paintInputField(Canvas& canvas, const eTextInputField& field, const eRect& box, bool focused) {
  canvas.fill(box, colour(field.isEditing() ? "std_editing" : focused ? "std_highlight" : "std_input"));
  const Font& f = font();
  std::string text = printableBytes(field.getText());
  std::string before = printableBytes(field.getText().substr(0, field.getCursor()));
  // The text slides left so that the cursor stays in the box.
  int cursorX = indent + f.width(before);
  int shift = std::max(0, cursorX - (box.width() - indent));
  eRect moved(ePoint(box.left() - shift, box.top()), eSize(box.width() + shift, box.height()));
  TextPlacement placement;
  placement.vcentre = true;
  placement.indent = indent;
  eRect saved = canvas.clip();
  canvas.setClip(intersect(saved, box));
  drawText(canvas, f, moved, text, colour("std_foreground"), placement);
  if (field.isEditing()) {
    int height = std::min(f.lineHeight(), box.height());
    eRect cursor(ePoint(box.left() + cursorX - shift, box.top() + (box.height() - height) / 2),
                 eSize(field.isUpperCase() ? 4 : 2, height));
    canvas.fill(cursor, colour("std_cursor"));
  }
  canvas.setClip(saved);
}

void paintCheckbox(Canvas& canvas, const eCheckbox& box, const eRect& area, bool focused) {
  if (focused) canvas.fill(area, colour("std_highlight"));
  int side = std::min(20, area.height() - 8);
  eRect mark(ePoint(area.left() + 4, area.top() + (area.height() - side) / 2), eSize(side, side));
  canvas.fill(mark, colour("std_foreground"));
  canvas.fill(inset(mark, 2), colour("std_input"));
  if (box.isChecked()) canvas.fill(inset(mark, 5), colour("std_foreground"));
  eRect text(ePoint(mark.left() + side, area.top()), eSize(area.width() - side - 4, area.height()));
  TextPlacement placement;
  placement.vcentre = true;
  drawText(canvas, font(), text, box.getText(), colour("std_foreground"), placement);
}

void paintList(Canvas& canvas, const eListBoxBase& list, const eRect& box, bool focused) {
  canvas.fill(box, colour("std_input"));
  int height = std::max(1, list.getItemHeight());
  int visible = std::max(1, box.height() / height);
  int current = list.getCurrentIndex();
  // Page by page: the page that holds the highlight shows.
  int top = current < 0 ? 0 : current - current % visible;
  TextPlacement placement;
  placement.vcentre = true;
  placement.indent = indent;
  for (int i = top; i < std::min(list.getCount(), top + visible); ++i) {
    eRect row(ePoint(box.left(), box.top() + (i - top) * height), eSize(box.width(), height));
    if (i == current) canvas.fill(row, colour(focused ? "std_highlight" : "std_lowlight"));
    auto* entry = dynamic_cast<const eListBoxEntryText*>(list.getEntry(i));
    if (entry)
      drawText(canvas, font(), row, printableBytes(entry->getText()), colour("std_foreground"), placement);
  }
}

void paintLabel(Canvas& canvas, const eWidget& label, const eRect& box) {
  const auto& properties = label.getProperties();
  auto background = properties.find("backgroundColor");
  if (background != properties.end()) canvas.fill(box, colour(background->second.c_str()));
  auto align = properties.find("align");
  TextPlacement placement;
  placement.centre = align != properties.end() && align->second == "center";
  placement.vcentre = properties.count("vcenter") != 0;
  drawText(canvas, font(), box, label.getText(), colour("std_foreground"), placement);
}

void paintWidget(Canvas& canvas, const eWidget& widget, bool focused) {
  eRect box = screenRect(&widget);
  if (auto* field = dynamic_cast<const eTextInputField*>(&widget)) {
    paintInputField(canvas, *field, box, focused);
  } else if (auto* check = dynamic_cast<const eCheckbox*>(&widget)) {
    paintCheckbox(canvas, *check, box, focused);
  } else if (auto* list = dynamic_cast<const eListBoxBase*>(&widget)) {
    paintList(canvas, *list, box, focused);
  } else if (dynamic_cast<const eStatusBar*>(&widget)) {
    canvas.fill(box, colour("std_statusbar"));
    TextPlacement placement;
    placement.indent = 4;
    drawText(canvas, font(), box, widget.getText(), colour("std_foreground"), placement);
  } else {
    paintLabel(canvas, widget, box);
  }
}

void paintWindow(Canvas& canvas, const eWidget& window, const eRect& area) {
  eRect whole = screenRect(&window);
  if (!overlaps(whole, area)) return;
  canvas.setClip(area);
  const int border = eWindow::borderWidth;
  canvas.fill(whole, colour("std_frame"));
  eRect title(ePoint(whole.left() + border, whole.top() + border),
              eSize(whole.width() - 2 * border, eWindow::titleBarHeight - border));
  canvas.fill(title, colour("std_titlebar"));
  TextPlacement placement;
  placement.vcentre = true;
  placement.indent = 8;
  drawText(canvas, font(), title, window.getText(), colour("std_foreground"), placement);

  eRect client(clientOrigin(&window), window.getClientSize());
  canvas.fill(client, colour("std_background"));
  eRect clientArea = intersect(area, client);
  for (const eWidget* child : window.getChildren()) {
    eRect box = intersect(clientArea, screenRect(child));
    if (!child->isVisible() || isEmpty(box)) continue;
    canvas.setClip(box);
    paintWidget(canvas, *child, child == window.getFocus());
  }
  canvas.setClip(area);
}
}  // namespace

void paintScreen(Canvas& canvas, const eRect& area) {
  canvas.setClip(area);
  canvas.fill(area, 0xff000000);
  for (const eWidget* window : shownWindows()) paintWindow(canvas, *window, area);
}
