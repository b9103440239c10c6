#pragma once

#include <cstdio>
#include <functional>

#include "host/estring.h"

enum class Replaced { done, notCreated, notWritten };

// Writes a file anew beside the old one and renames it over it only once
// the new one is complete and on disk, so that any failure leaves the old
// file as it was. `write` reports whether all its output went out. A
// symbolic link keeps pointing where it did: its target is what gets replaced.
Replaced replaceFile(const eString& path, const std::function<bool(FILE*)>& write);
