#pragma once

// The device's TV screen: the stack of shown top-level windows.
#include <functional>
#include <vector>

#include "host/egeometry.h"

class eWidget;

constexpr int screenWidth = 720;
constexpr int screenHeight = 576;

// Shown windows, bottom first.
const std::vector<eWidget*>& shownWindows();
// Every existing window, shown or not, in creation order.
const std::vector<eWidget*>& allWindows();

// Where a widget lies on the screen, a window's frame included.
eRect screenRect(const eWidget* widget);
// Where a widget's client area begins on the screen.
ePoint clientOrigin(const eWidget* widget);
// Widget code calls this whenever what a widget shows changes; the
// listener then hears which part of the screen needs drawing again.
// Changes inside windows that are not shown pass unheard.
void widgetChanged(const eWidget* widget);
using ScreenListener = std::function<void(const eRect& area)>;
void setScreenListener(ScreenListener listener);
