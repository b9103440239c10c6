#include "standin/console.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <memory>
#include <optional>

#include "host/econsole.h"
#include "standin/childwatch.h"
#include "standin/mainloop.h"

namespace {

constexpr int startFailure = 127;  // what a shell says of a command it cannot run
constexpr int graceMs = 300;

char buffer[65536];  // one read; copied out before anything else can run

int exitStatus(int status) { return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status); }

// Reaps what has ended in group `pgid`; `leader` gets the status of the
// leader if it was among them. False once no child of ours is left in the
// group: its number may then go to another group and must not be signalled.
bool reapGroup(pid_t pgid, std::optional<int>& leader) {
  for (;;) {
    int status = 0;
    pid_t pid = waitpid(-pgid, &status, WNOHANG);
    if (pid == 0) return true;
    if (pid < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (pid == pgid) leader = exitStatus(status);
  }
}

// Signals the host catches or ignores: a child starts with none of that.
sigset_t changedSignals() {
  sigset_t set;
  sigemptyset(&set);
  for (int sig = 1; sig < NSIG; ++sig) {
    struct sigaction action {};
    if (sigaction(sig, nullptr, &action) == 0 && action.sa_handler != SIG_DFL) sigaddset(&set, sig);
  }
  return set;
}

// `/bin/sh -c command` as the leader of a group of its own, writing to `out`.
pid_t spawnShell(const eString& command, int out) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // The duplicates first: `out` may itself be one of 0, 1 and 2.
  posix_spawn_file_actions_adddup2(&actions, out, 1);
  posix_spawn_file_actions_adddup2(&actions, out, 2);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
#ifdef __GLIBC__
#if __GLIBC_PREREQ(2, 34)
  // Descriptors that others opened without O_CLOEXEC stay with the host too.
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
#endif
#endif
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  posix_spawnattr_setpgroup(&attributes, 0);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  sigset_t changed = changedSignals();
  posix_spawnattr_setsigdefault(&attributes, &changed);

  const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
  pid_t pid = -1;
  int error = posix_spawn(&pid, "/bin/sh", &actions, &attributes, const_cast<char* const*>(argv), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return error ? -1 : pid;
}

// Ends the group of a deleted container: SIGTERM now, SIGKILL after a grace,
// and reaps until no child of ours is left in it. Owned by the registry.
class Reaper {
 public:
  explicit Reaper(pid_t pgid);
  Reaper(const Reaper&) = delete;
  Reaper& operator=(const Reaper&) = delete;
  ~Reaper();

 private:
  void reap();

  pid_t pgid;
  int grace = 0;
  int childWatch = 0;
};

std::map<pid_t, std::unique_ptr<Reaper>>& reapers() {
  static std::map<pid_t, std::unique_ptr<Reaper>> registry;
  return registry;
}

Reaper::Reaper(pid_t pgid) : pgid(pgid) {
  kill(-pgid, SIGTERM);
  grace = mainloop().post(
      [this] {
        grace = 0;
        kill(-this->pgid, SIGKILL);
      },
      graceMs);
  childWatch = watchChildren([this] { reap(); });
}

Reaper::~Reaper() {
  mainloop().cancel(grace);
  unwatchChildren(childWatch);
}

void Reaper::reap() {
  std::optional<int> leader;
  if (!reapGroup(pgid, leader)) reapers().erase(pgid);
}

}  // namespace

struct eConsoleAppContainer::Process {
  Process(eConsoleAppContainer& owner, const eString& command);
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process();

  bool start(const eString& command);
  size_t readChunk();
  void childChanged();
  void closeOutput();

  eConsoleAppContainer& owner;
  // Cleared with the container; an emission checks it before going on.
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);
  pid_t pgid = 0;  // 0: no group, or none of it is left
  bool shellRunning = false;
  int out = -1;
  int outWatch = 0;
  int childWatch = 0;
  int failure = 0;
};

eConsoleAppContainer::Process::Process(eConsoleAppContainer& owner, const eString& command) : owner(owner) {
  if (start(command)) return;
  failure = mainloop().post([this] {
    failure = 0;
    this->owner.exited.emit(startFailure);
  });
}

bool eConsoleAppContainer::Process::start(const eString& command) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) < 0) return false;
  out = fds[0];
  fcntl(out, F_SETFL, O_NONBLOCK);  // the child's end stays blocking
  childWatch = watchChildren([this] { childChanged(); });
  pid_t pid = childWatch ? spawnShell(command, fds[1]) : -1;
  close(fds[1]);
  if (pid < 0) {
    unwatchChildren(childWatch);
    childWatch = 0;
    closeOutput();
    return false;
  }
  pgid = pid;
  shellRunning = true;
  outWatch = mainloop().watchFd(out, POLLIN, [this](short) { readChunk(); });
  return true;
}

eConsoleAppContainer::Process::~Process() {
  *alive = false;
  mainloop().cancel(failure);
  closeOutput();
  unwatchChildren(childWatch);
  if (pgid) reapers()[pgid] = std::make_unique<Reaper>(pgid);
}

void eConsoleAppContainer::Process::closeOutput() {
  if (out < 0) return;
  mainloop().unwatch(outWatch);
  close(out);
  out = -1;
}

// One read, delivered as one chunk; the bytes it brought. After a chunk
// the container may be gone: callers check `alive` first.
size_t eConsoleAppContainer::Process::readChunk() {
  if (out < 0) return 0;
  ssize_t n = read(out, buffer, sizeof buffer);
  while (n < 0 && errno == EINTR) n = read(out, buffer, sizeof buffer);
  if (n < 0 && errno == EAGAIN) return 0;
  if (n <= 0) {
    closeOutput();
    return 0;
  }
  owner.output.emit(eString(buffer, n));
  return size_t(n);
}

// The end is the shell's, not the pipe's: what it left running in the
// background may keep the pipe open for long.
void eConsoleAppContainer::Process::childChanged() {
  std::optional<int> status;
  if (!reapGroup(pgid, status)) {
    pgid = 0;
    unwatchChildren(childWatch);
    childWatch = 0;
  }
  if (!status) return;
  shellRunning = false;
  std::shared_ptr<bool> token = alive;
  // Only what the pipe holds now: a process left writing in the background
  // must not hold the end back.
  int pending = 0;
  if (out >= 0) ioctl(out, FIONREAD, &pending);
  while (pending > 0 && *token) {
    size_t n = readChunk();
    if (n == 0) break;
    pending -= int(n);
  }
  if (!*token) return;
  closeOutput();
  owner.exited.emit(*status);
}

eConsoleAppContainer::eConsoleAppContainer(const eString& command) : process(new Process(*this, command)) {}

eConsoleAppContainer::~eConsoleAppContainer() {
  // Slots still due in an emission under way must not run either.
  output.clear();
  exited.clear();
  delete process;
}

bool eConsoleAppContainer::running() const { return process->shellRunning; }

void finishChildren() {
  while (!reapers().empty()) mainloop().processOneEvent();
}
