#pragma once

// Remote-control keys as the front ends and tests feed them.
#include <optional>
#include <string>

enum class Key { up, down, left, right, ok, exit, red, green, yellow, blue };

std::optional<Key> keyFromName(const std::string& name);

class eAction;
// The action a key stands for.
const eAction* actionOf(Key key);

// Delivers a key to the innermost modal window: its focused widget first,
// then the window itself for the actions of the maps it takes.
void pressKey(Key key);
// Types one character into the focused widget of the innermost modal window.
void typeChar(char c);

// Whether the innermost window's focused widget is an input field that edits.
bool fieldEditing();
// Takes the innermost window a step towards closing: Exit, or OK while an
// input field edits, since an editing field keeps every other key.
void pressClose();
