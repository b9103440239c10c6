#pragma once

// The device's TV screen: the stack of shown top-level windows.
#include <vector>

class eWidget;

constexpr int screenWidth = 720;
constexpr int screenHeight = 576;

// Shown windows, bottom first.
const std::vector<eWidget*>& shownWindows();
// Every existing window, shown or not, in creation order.
const std::vector<eWidget*>& allWindows();
