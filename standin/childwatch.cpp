#include "standin/childwatch.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <set>

#include "standin/mainloop.h"

namespace {

int wakeFds[2] = {-1, -1};

void onChild(int) {
  int saved = errno;
  char byte = 0;
  ssize_t written = write(wakeFds[1], &byte, 1);  // a full pipe wakes the loop all the same
  (void)written;
  errno = saved;
}

struct Listeners {
  std::map<int, std::function<void()>> all;
  std::set<int> due;
  int turn = 0;
  int nextId = 1;
};

Listeners& listeners() {
  static Listeners instance;
  return instance;
}

// A listener may run a loop of its own (a modal dialog in an exit handler);
// the others must still hear of their children meanwhile.
void takeTurn() {
  Listeners& l = listeners();
  l.turn = 0;
  if (l.due.empty()) return;
  int id = *l.due.begin();
  l.due.erase(l.due.begin());
  if (!l.due.empty()) l.turn = mainloop().post(takeTurn);
  std::function<void()> changed = l.all[id];  // a copy: it may unwatch itself
  changed();
}

void scheduleTurn() {
  Listeners& l = listeners();
  if (!l.turn) l.turn = mainloop().post(takeTurn);
}

void onWake(short) {
  char bytes[64];
  while (read(wakeFds[0], bytes, sizeof bytes) > 0) {
  }
  Listeners& l = listeners();
  for (const auto& entry : l.all) l.due.insert(entry.first);
  scheduleTurn();
}

bool install() {
  if (wakeFds[0] >= 0) return true;
  if (pipe2(wakeFds, O_CLOEXEC | O_NONBLOCK) < 0) return false;
  prctl(PR_SET_CHILD_SUBREAPER, 1);
  struct sigaction action {};
  action.sa_handler = onChild;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART | SA_NOCLDSTOP;
  sigaction(SIGCHLD, &action, nullptr);
  mainloop().watchFd(wakeFds[0], POLLIN, onWake);
  return true;
}

}  // namespace

int watchChildren(std::function<void()> changed) {
  if (!install()) return 0;
  Listeners& l = listeners();
  int id = l.nextId++;
  l.all[id] = std::move(changed);
  l.due.insert(id);  // what ended before it watched is news to it too
  scheduleTurn();
  return id;
}

void unwatchChildren(int id) {
  Listeners& l = listeners();
  l.all.erase(id);
  l.due.erase(id);
}
