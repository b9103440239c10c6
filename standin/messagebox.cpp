#include <algorithm>

#include "host/eaction.h"
#include "host/elabel.h"
#include "host/emessagebox.h"
#include "standin/screen.h"

namespace {
constexpr int charWidth = 11, lineHeight = 28, margin = 10;

eSize textExtent(const eString& text) {
  int lines = 1, longest = 0, current = 0;
  for (char c : text) {
    if (c == '\n') {
      ++lines;
      current = 0;
    } else {
      longest = std::max(longest, ++current);
    }
  }
  return eSize(longest * charWidth, lines * lineHeight);
}
}  // namespace

eMessageBox::eMessageBox(eString message, eString caption, int, int, int) : message(message) {
  setText(caption);
  eSize extent = textExtent(message);
  eSize client(std::max(200, extent.width() + 2 * margin), extent.height() + 2 * margin);
  cresize(client);
  cmove(ePoint((screenWidth - client.width()) / 2, (screenHeight - client.height()) / 2));
  text = new eLabel(this);
  text->move(ePoint(margin, margin));
  text->resize(extent);
  text->setText(message);
}

int eMessageBox::eventHandler(const eWidgetEvent& event) {
  if (event.type == eWidgetEvent::evtAction && event.action == &i_cursorActions->ok) {
    close(1);
    return 1;
  }
  return eWindow::eventHandler(event);
}
