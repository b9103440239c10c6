#include "host/eaction.h"
#include "host/echeckbox.h"
#include "standin/screen.h"

eCheckbox::eCheckbox(eWidget* parent, int checked, int takefocus, bool, const char* deco)
    : eLabel(parent, 0, takefocus, deco), checked(checked) {}

void eCheckbox::setCheck(int state) {
  checked = state ? 1 : 0;
  widgetChanged(this);
}

int eCheckbox::eventHandler(const eWidgetEvent& event) {
  if (event.type != eWidgetEvent::evtAction || event.action != &i_cursorActions->ok) return 0;
  setCheck(!checked);
  return 1;
}
