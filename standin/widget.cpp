#include <algorithm>

#include "host/elabel.h"
#include "host/eskin.h"
#include "standin/mainloop.h"
#include "standin/screen.h"

namespace {
std::vector<eWidget*>& windowStack() {
  static std::vector<eWidget*> stack;
  return stack;
}

std::vector<eWidget*>& windowList() {
  static std::vector<eWidget*> windows;
  return windows;
}

void forget(std::vector<eWidget*>& windows, eWidget* window) {
  windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}
}  // namespace

const std::vector<eWidget*>& shownWindows() { return windowStack(); }
const std::vector<eWidget*>& allWindows() { return windowList(); }

eWidget::eWidget(eWidget* parent, int takefocus)
    : parent(parent), takefocus(takefocus), shown(parent != nullptr) {
  if (!parent) {
    windowList().push_back(this);
    return;
  }
  parent->children.push_back(this);
  eWidget* window = getTLW();
  if (takefocus && window != this && !window->focus) window->focus = this;
}

eWidget::~eWidget() {
  widgetChanged(this);
  while (!children.empty()) delete children.back();
  if (parent) {
    auto& siblings = parent->children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), this));
    eWidget* window = parent->getTLW();
    if (window->focus == this) window->focus = nullptr;
  } else {
    forget(windowStack(), this);
    forget(windowList(), this);
  }
  if (modal) modal->done = modal->widgetGone = true;
}

void eWidget::willShow() {}
void eWidget::willHide() {}
void eWidget::setPalette() {}
int eWidget::eventFilter(const eWidgetEvent&) { return 0; }
void eWidget::keyDown(int) {}
void eWidget::keyUp(int) {}
void eWidget::gotFocus() {}
void eWidget::lostFocus() {}
void eWidget::recalcClientRect() { clientrect = eRect(ePoint(0, 0), size); }
int eWidget::eventHandler(const eWidgetEvent&) { return 0; }
void eWidget::redrawWidget(gPainter*, const eRect&) {}
void eWidget::eraseBackground(gPainter*, const eRect&) {}

int eWidget::setProperty(const eString& prop, const eString& value) {
  if (prop == "backgroundColor" && !eSkin::getActive()->hasColor(value)) return -1;
  if (prop != "align" && prop != "vcenter" && prop != "backgroundColor") return -1;
  properties[prop] = value;
  widgetChanged(this);
  return 0;
}

void eWidget::show() {
  if (shown) return;
  shown = true;
  willShow();
  if (!parent) windowStack().push_back(this);
  widgetChanged(this);
}

void eWidget::hide() {
  if (!shown) return;
  widgetChanged(this);
  shown = false;
  willHide();
  forget(windowStack(), this);
}

int eWidget::exec() {
  ModalState state;
  modal = &state;
  mainloop().runModal(this, state);
  if (!state.widgetGone) modal = nullptr;
  return state.result;
}

void eWidget::close(int result) {
  if (!modal) return;
  modal->done = true;
  modal->result = result;
}

void eWidget::setText(const eString& newText) {
  if (text == newText) return;
  text = newText;
  widgetChanged(this);
}

void eWidget::setHelpText(const eString& help) {
  helptext = help;
  statusChanged();
}

// Geometry changes show where the widget was and where it is now.
void eWidget::move(const ePoint& newPosition) {
  widgetChanged(this);
  position = newPosition;
  widgetChanged(this);
}

void eWidget::resize(const eSize& newSize) {
  widgetChanged(this);
  size = newSize;
  recalcClientRect();
  widgetChanged(this);
}

void eWidget::cmove(const ePoint& clientPosition) {
  move(ePoint(clientPosition.x() - clientrect.left(), clientPosition.y() - clientrect.top()));
}

void eWidget::cresize(const eSize& clientSize) {
  // The frame stays what it is: the widget grows by what its client area lacks.
  resize(eSize(clientSize.width() + size.width() - clientrect.width(),
               clientSize.height() + size.height() - clientrect.height()));
}

eWidget* eWidget::getTLW() {
  eWidget* widget = this;
  while (widget->parent) widget = widget->parent;
  return widget;
}

void eWidget::setFocus(eWidget* widget) {
  if (focus == widget) return;
  eWidget* old = focus;
  focus = widget;
  if (old) widgetChanged(old);
  if (widget) widgetChanged(widget);
  if (old) old->lostFocus();
  if (widget) widget->gotFocus();
  statusChanged();
}

void eWidget::addActionMap(eActionMap* map) { actionmaps.push_back(map); }

int eWidget::event(const eWidgetEvent& event) { return eventFilter(event) || eventHandler(event); }

void eWidget::statusChanged() {
  eWidget* window = getTLW();
  eString status = window->focus ? window->focus->getStatusText() : eString();
  for (eWidget* child : window->children)
    if (auto* bar = dynamic_cast<eStatusBar*>(child)) bar->update(status);
}

void eWidget::focusNext(int direction) {
  std::vector<eWidget*> focusable;
  for (eWidget* child : children)
    if (child->takesFocus() && child->isVisible()) focusable.push_back(child);
  auto it = std::find(focusable.begin(), focusable.end(), focus);
  if (it == focusable.end()) {
    if (!focusable.empty()) setFocus(focusable.front());
    return;
  }
  long next = (it - focusable.begin()) + direction;
  if (next >= 0 && next < long(focusable.size())) setFocus(focusable[next]);
}

eDecoWidget::eDecoWidget(eWidget* parent, int takefocus, const char* deco)
    : eWidget(parent, takefocus), deco(deco) {}

void eDecoWidget::loadDeco() { decoLoaded = eSkin::getActive()->hasDecoration(deco); }
