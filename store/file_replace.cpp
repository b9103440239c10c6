#include "store/file_replace.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace {
// As many links as the kernel itself follows before it gives up.
constexpr int maxLinks = 40;

eString folderOf(const eString& path) {
  auto slash = path.rfind('/');
  return slash == eString::npos ? eString("./") : eString(path.substr(0, slash + 1));
}

// The file that a path names after all its symbolic links, which need not
// exist yet; false for a loop or an unreadable link.
bool followLinks(eString& path) {
  for (int hops = 0; hops < maxLinks; ++hops) {
    struct stat status;
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return true;
    char target[PATH_MAX];
    ssize_t length = readlink(path.c_str(), target, sizeof target);
    if (length <= 0 || length == ssize_t(sizeof target)) return false;
    eString next(target, size_t(length));
    path = next[0] == '/' ? next : folderOf(path) + next;
  }
  return false;
}

// Without this the rename itself might not survive a power cut. The new
// file is in place whatever it answers, so there is nothing left to undo.
void syncFolder(const eString& path) {
  int fd = open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

bool finish(FILE* out, bool written) {
  written = written && std::fflush(out) == 0 && fsync(fileno(out)) == 0;
  return std::fclose(out) == 0 && written;
}
}  // namespace

Replaced replaceFile(const eString& path, const std::function<bool(FILE*)>& write) {
  eString target = path;
  if (!followLinks(target)) return Replaced::notCreated;

  struct stat old;
  mode_t mode = stat(target.c_str(), &old) == 0 ? old.st_mode & 07777 : 0644;
  eString temporary = target + ".XXXXXX";
  int fd = mkostemp(&temporary[0], O_CLOEXEC);
  if (fd < 0) return Replaced::notCreated;

  FILE* out = fchmod(fd, mode) == 0 ? fdopen(fd, "w") : nullptr;
  if (!out) close(fd);
  if (!out || !finish(out, write(out)) || std::rename(temporary.c_str(), target.c_str()) != 0) {
    unlink(temporary.c_str());
    return Replaced::notWritten;
  }
  syncFolder(target);
  return Replaced::done;
}
