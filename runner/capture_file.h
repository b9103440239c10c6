#pragma once

#include <cstdio>

// The capture file lies in a world-writable folder under a fixed name, so
// it is never opened through a symbolic link, and created private.
FILE* openCaptureForAppend();
FILE* openCaptureForReading();
void removeCapture();
