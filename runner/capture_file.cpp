#include "runner/capture_file.h"

#include <fcntl.h>
#include <unistd.h>

#include "plugin/paths.h"

namespace {
FILE* openCapture(int flags, const char* mode) {
  int fd = open(paths::onDisk(paths::captureFile).c_str(), flags | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return nullptr;
  FILE* file = fdopen(fd, mode);
  if (!file) close(fd);
  return file;
}
}  // namespace

FILE* openCaptureForAppend() { return openCapture(O_WRONLY | O_APPEND | O_CREAT, "a"); }

FILE* openCaptureForReading() { return openCapture(O_RDONLY, "r"); }

void removeCapture() { unlink(paths::onDisk(paths::captureFile).c_str()); }
