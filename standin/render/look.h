#pragma once

// How the stand-in's windows and widgets look, in the active skin's colours
// and font size.
#include "host/egeometry.h"

class Canvas;

// Draws, inside `area` of the screen, the stack of shown windows over the
// black of an empty screen.
void paintScreen(Canvas& canvas, const eRect& area);
