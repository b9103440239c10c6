#pragma once

// Loads skin values ("name = integer" lines, '#' starts a comment) into the
// active skin; false when the file cannot be read or holds a bad line.
bool loadSkinFile(const char* path);
