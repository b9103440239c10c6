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

eRect screenRect(const eWidget* widget) {
  int x = widget->getPosition().x(), y = widget->getPosition().y();
  for (const eWidget* parent = widget->getParent(); parent; parent = parent->getParent()) {
    x += parent->getPosition().x() + parent->getClientRect().left();
    y += parent->getPosition().y() + parent->getClientRect().top();
  }
  return eRect(ePoint(x, y), widget->getSize());
}

void widgetChanged(const eWidget* widget) {
  if (listener() && onScreen(widget)) listener()(screenRect(widget));
}

void setScreenListener(ScreenListener newListener) { listener() = std::move(newListener); }
