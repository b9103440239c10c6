#pragma once

// Screenshots: a canvas as an 8-bit RGB PNG file.
#include <string>

class Canvas;

// False with libpng's message when the file cannot be written.
bool writePng(const Canvas& canvas, const std::string& path, std::string& error);
