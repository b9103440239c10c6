#pragma once

// The screen as plain text: each shown window, top of the stack last.
#include <string>

std::string dumpScreen();
// A byte string as a quoted C-style literal: \n, \t, \", \\ and \xNN.
std::string quoted(const std::string& bytes);
