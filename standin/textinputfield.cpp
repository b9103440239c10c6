#include <cctype>

#include "host/eaction.h"
#include "host/etextinputfield.h"
#include "standin/screen.h"

eTextInputField::eTextInputField(eWidget* parent, eLabel* descr, eTextInputFieldHelpWidget*, const char* deco)
    : eLabel(parent, 0, 1, deco), descr(descr) {}

void eTextInputField::setEditHelpText(const eString& help) {
  edithelptext = help;
  if (editing) statusChanged();
}

eString eTextInputField::getStatusText() const { return editing ? edithelptext : getHelpText(); }

void eTextInputField::setEditing(bool on) {
  editing = on;
  upper = false;
  cursor = getText().size();
  widgetChanged(this);
  statusChanged();
}

int eTextInputField::eventHandler(const eWidgetEvent& event) {
  if (!editing) {
    if (event.type != eWidgetEvent::evtAction || event.action != &i_cursorActions->ok) return 0;
    setEditing(true);
    return 1;
  }
  eString text = getText();
  if (cursor > text.size()) cursor = text.size();
  if (event.type == eWidgetEvent::evtKey) {
    if (event.key == '\b') {
      if (cursor > 0) text.erase(--cursor, 1);
    } else {
      unsigned char c = static_cast<unsigned char>(event.key);
      text.insert(cursor++, 1, char(upper ? std::toupper(c) : c));
    }
    setText(text);
    return 1;
  }
  if (event.type != eWidgetEvent::evtAction) return 1;
  if (event.action == &i_cursorActions->ok)
    setEditing(false);
  else if (event.action == &i_cursorActions->left && cursor > 0)
    --cursor;
  else if (event.action == &i_cursorActions->right && cursor < text.size())
    ++cursor;
  else if (event.action == &i_shortcutActions->yellow)
    upper = !upper;
  // The cursor may have moved or changed its case.
  widgetChanged(this);
  return 1;  // while editing no key leaves the field
}
