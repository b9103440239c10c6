#include "standin/dump.h"

#include <cstdio>

#include "host/echeckbox.h"
#include "host/elistbox.h"
#include "host/etextinputfield.h"
#include "standin/mainloop.h"
#include "standin/screen.h"

std::string quoted(const std::string& bytes) {
  std::string out = "\"";
  for (unsigned char c : bytes) {
    switch (c) {
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        if (c < 0x20 || c == 0x7f) {
          char hex[5];
          std::snprintf(hex, sizeof hex, "\\x%02x", c);
          out += hex;
        } else {
          out += char(c);
        }
    }
  }
  return out + "\"";
}

namespace {
std::string geometry(ePoint p, eSize s) {
  return "(" + std::to_string(p.x()) + "," + std::to_string(p.y()) + ") " + std::to_string(s.width()) + "x" +
         std::to_string(s.height());
}

void dumpWidget(std::string& out, const eWidget* widget, bool focused) {
  out += "  ";
  out += widget->kindName();
  out += " " + geometry(widget->getPosition(), widget->getSize());
  if (auto* deco = dynamic_cast<const eDecoWidget*>(widget)) {
    out += " deco=" + std::string(deco->getDecoName());
    if (deco->hasDeco()) out += "(loaded)";
  }
  out += " text=" + quoted(widget->getText());
  if (!widget->getHelpText().empty()) out += " help=" + quoted(widget->getHelpText());
  for (const auto& property : widget->getProperties())
    out += " " + property.first + "=" + quoted(property.second);
  if (auto* field = dynamic_cast<const eTextInputField*>(widget)) {
    out += " edithelp=" + quoted(field->getEditHelpText());
    if (field->isEditing())
      out += " editing cursor=" + std::to_string(field->getCursor()) + (field->isUpperCase() ? " upper" : "");
  }
  if (auto* box = dynamic_cast<const eCheckbox*>(widget)) out += " check=" + std::to_string(box->isChecked());
  if (auto* list = dynamic_cast<const eListBoxBase*>(widget))
    out +=
        " rows=" + std::to_string(list->getCount()) + " rowheight=" + std::to_string(list->getItemHeight());
  if (focused) out += " focus";
  out += "\n";
  if (auto* list = dynamic_cast<const eListBoxBase*>(widget)) {
    for (int i = 0; i < list->getCount(); ++i) {
      auto* row = dynamic_cast<const eListBoxEntryText*>(list->getEntry(i));
      out += "    row " + std::to_string(i) + " key=" + std::to_string(row ? row->getKey() : 0) +
             " text=" + quoted(row ? row->getText() : "");
      if (i == list->getCurrentIndex()) out += " highlight";
      out += "\n";
    }
  }
}
}  // namespace

std::string dumpScreen() {
  std::string out;
  for (eWidget* window : shownWindows()) {
    out += "window " + quoted(window->getText()) + " client " +
           geometry(clientOrigin(window), window->getClientSize());
    if (window == mainloop().innermostModal()) out += " modal";
    out += "\n";
    for (const eWidget* child : window->getChildren())
      if (child->isVisible()) dumpWidget(out, child, child == window->getFocus());
  }
  return out;
}
