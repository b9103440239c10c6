#include "standin/input.h"

#include <algorithm>
#include <map>

#include "host/eaction.h"
#include "host/etextinputfield.h"
#include "standin/mainloop.h"

std::optional<Key> keyFromName(const std::string& name) {
  static const std::map<std::string, Key> names = {
      {"up", Key::up},         {"down", Key::down}, {"left", Key::left}, {"right", Key::right},
      {"ok", Key::ok},         {"exit", Key::exit}, {"red", Key::red},   {"green", Key::green},
      {"yellow", Key::yellow}, {"blue", Key::blue}};
  auto it = names.find(name);
  if (it == names.end()) return std::nullopt;
  return it->second;
}

const eAction* actionOf(Key key) {
  switch (key) {
    case Key::up:
      return &i_cursorActions->up;
    case Key::down:
      return &i_cursorActions->down;
    case Key::left:
      return &i_cursorActions->left;
    case Key::right:
      return &i_cursorActions->right;
    case Key::ok:
      return &i_cursorActions->ok;
    case Key::exit:
      return &i_cursorActions->cancel;
    case Key::red:
      return &i_shortcutActions->red;
    case Key::green:
      return &i_shortcutActions->green;
    case Key::yellow:
      return &i_shortcutActions->yellow;
    case Key::blue:
      return &i_shortcutActions->blue;
  }
  return nullptr;
}

namespace {
// Every window takes the cursor actions; other maps only once added.
bool windowTakes(eWidget* window, const eAction* action) {
  const auto& maps = window->getActionMaps();
  return action->getMap() == &i_cursorActions->map ||
         std::find(maps.begin(), maps.end(), action->getMap()) != maps.end();
}
}  // namespace

void pressKey(Key key) {
  eWidget* window = mainloop().innermostModal();
  if (!window) return;
  const eAction* action = actionOf(key);
  eWidgetEvent event(eWidgetEvent::evtAction, action);
  if (eWidget* focus = window->getFocus(); focus && focus->event(event)) return;
  if (windowTakes(window, action)) window->event(event);
}

void typeChar(char c) {
  eWidget* window = mainloop().innermostModal();
  if (!window || !window->getFocus()) return;
  window->getFocus()->event(eWidgetEvent(eWidgetEvent::evtKey, static_cast<unsigned char>(c)));
}

bool fieldEditing() {
  eWidget* window = mainloop().innermostModal();
  auto* field = window ? dynamic_cast<eTextInputField*>(window->getFocus()) : nullptr;
  return field && field->isEditing();
}

void pressClose() { pressKey(fieldEditing() ? Key::ok : Key::exit); }
