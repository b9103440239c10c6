#include "tests/processes.h"

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

bool groupExists(pid_t pgid) { return kill(-pgid, 0) == 0 || errno != ESRCH; }

int zombieChildren() {
  int zombies = 0;
  DIR* proc = opendir("/proc");
  while (dirent* entry = readdir(proc)) {
    std::ifstream file(std::string("/proc/") + entry->d_name + "/stat");
    std::string stat;
    if (!std::getline(file, stat)) continue;
    // pid (comm) state ppid ...; comm may hold anything, even parentheses.
    std::size_t end = stat.rfind(')');
    if (end == std::string::npos) continue;
    char state = 0;
    int ppid = 0;
    if (sscanf(stat.c_str() + end + 1, " %c %d", &state, &ppid) == 2 && state == 'Z' && ppid == getpid())
      ++zombies;
  }
  closedir(proc);
  return zombies;
}

std::set<int> openDescriptors() {
  std::set<int> fds;
  DIR* dir = opendir("/proc/self/fd");
  while (dirent* entry = readdir(dir))
    if (entry->d_name[0] != '.') fds.insert(std::atoi(entry->d_name));
  fds.erase(dirfd(dir));
  closedir(dir);
  return fds;
}
