#include "host/eaction.h"

eAction::eAction(eActionMap& map, const char* name) : map(&map), name(name) { map.actions.push_back(this); }

static cursorActions theCursorActions;
static shortcutActions theShortcutActions;
cursorActions* const i_cursorActions = &theCursorActions;
shortcutActions* const i_shortcutActions = &theShortcutActions;
