#include "host/eaction.h"

static cursorActions theCursorActions;
static shortcutActions theShortcutActions;
cursorActions* const i_cursorActions = &theCursorActions;
shortcutActions* const i_shortcutActions = &theShortcutActions;
