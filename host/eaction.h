#pragma once

#include <vector>

#include "api.h"

class eActionMap;

// A user action that keys are mapped to; compared by identity.
class HOST_API eAction {
 public:
  eAction(eActionMap& map, const char* name);
  const char* getName() const { return name; }
  eActionMap* getMap() const { return map; }

 private:
  eActionMap* map;
  const char* name;
};

class HOST_API eActionMap {
 public:
  explicit eActionMap(const char* name) : name(name) {}
  eActionMap(const eActionMap&) = delete;
  eActionMap& operator=(const eActionMap&) = delete;
  const char* getName() const { return name; }
  const std::vector<eAction*>& getActions() const { return actions; }

 private:
  friend class eAction;
  const char* name;
  std::vector<eAction*> actions;
};

// Navigation actions that every window and widget understands.
struct cursorActions {
  eActionMap map{"cursor"};
  eAction up{map, "up"}, down{map, "down"}, left{map, "left"}, right{map, "right"};
  eAction ok{map, "ok"}, cancel{map, "cancel"};
};

// The colour keys, shared by every window that adds this map.
struct shortcutActions {
  eActionMap map{"shortcut"};
  eAction red{map, "red"}, green{map, "green"}, yellow{map, "yellow"}, blue{map, "blue"};
};

extern HOST_API cursorActions* const i_cursorActions;
extern HOST_API shortcutActions* const i_shortcutActions;
