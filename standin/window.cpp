#include "host/eaction.h"
#include "host/ewindow.h"

eWindow::eWindow(int takefocus) : eWidget(nullptr, takefocus) { recalcClientRect(); }

eWindow::~eWindow() = default;

void eWindow::willShow() {}
void eWindow::willHide() {}

void eWindow::recalcClientRect() {
  eSize whole = getSize();
  setClientRect(eRect(ePoint(borderWidth, titleBarHeight),
                      eSize(whole.width() - 2 * borderWidth, whole.height() - titleBarHeight - borderWidth)));
}

int eWindow::eventHandler(const eWidgetEvent& event) {
  if (event.type != eWidgetEvent::evtAction) return 0;
  if (event.action == &i_cursorActions->cancel) {
    close(-1);
    return 1;
  }
  if (event.action == &i_cursorActions->up || event.action == &i_cursorActions->down) {
    focusNext(event.action == &i_cursorActions->up ? -1 : 1);
    return 1;
  }
  return 0;
}

void eWindow::redrawWidget(gPainter*, const eRect&) {}
void eWindow::eraseBackground(gPainter*, const eRect&) {}
