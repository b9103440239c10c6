#pragma once

#include "api.h"

// A set of actions that a window takes once it adds the map; like the
// actions, known by identity.
class HOST_API eActionMap {
 public:
  eActionMap() = default;
  eActionMap(const eActionMap&) = delete;
  eActionMap& operator=(const eActionMap&) = delete;
};

// A user action that keys are mapped to; compared by identity.
class HOST_API eAction {
 public:
  explicit eAction(eActionMap& map) : map(&map) {}
  eAction(const eAction&) = delete;
  eAction& operator=(const eAction&) = delete;
  eActionMap* getMap() const { return map; }

 private:
  eActionMap* map;
};

// Navigation actions that every window and widget understands.
struct cursorActions {
  eActionMap map;
  eAction up{map}, down{map}, left{map}, right{map};
  eAction ok{map}, cancel{map};
};

// The colour keys, shared by every window that adds this map.
struct shortcutActions {
  eActionMap map;
  eAction red{map}, green{map}, yellow{map}, blue{map};
};

extern HOST_API cursorActions* const i_cursorActions;
extern HOST_API shortcutActions* const i_shortcutActions;
