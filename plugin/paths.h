#pragma once

#include "host/estring.h"

// A desktop build places the fixed paths under a root folder of its own.
#ifndef DORVANE_ROOT
#define DORVANE_ROOT ""
#endif

namespace paths {

// The device's paths, as messages name them.
constexpr const char listFile[] = "/var/tuxbox/config/dorvane.xml";
constexpr const char captureFile[] = "/tmp/.dorvane";

// Where a fixed path lies on this build.
inline eString onDisk(const char* path) { return eString(DORVANE_ROOT) + path; }

}  // namespace paths
