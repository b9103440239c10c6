#include "standin/screen.h"

#include "host/ewidget.h"

namespace {
ScreenListener& listener() {
  static ScreenListener current;
  return current;
}

bool onScreen(const eWidget* widget) {
  for (; widget; widget = widget->getParent())
    if (!widget->isVisible()) return false;
  return true;
}
}  // namespace

// Positions are in the parent's client area; a window's are on the screen.
eRect screenRect(const eWidget* widget) {
  ePoint position = widget->getPosition();
  if (const eWidget* parent = widget->getParent()) {
    ePoint origin = clientOrigin(parent);
    position = ePoint(origin.x() + position.x(), origin.y() + position.y());
  }
  return eRect(position, widget->getSize());
}

ePoint clientOrigin(const eWidget* widget) {
  ePoint corner = screenRect(widget).topLeft();
  return ePoint(corner.x() + widget->getClientRect().left(), corner.y() + widget->getClientRect().top());
}

void widgetChanged(const eWidget* widget) {
  if (listener() && onScreen(widget)) listener()(screenRect(widget));
}

void setScreenListener(ScreenListener newListener) { listener() = std::move(newListener); }
