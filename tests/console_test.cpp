#include "standin/console.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/econsole.h"
#include "standin/mainloop.h"
#include "tests/processes.h"

namespace {

constexpr int patienceMs = 30000;

// A wait that never ends fails the test through an exception out of the
// loop instead of hanging it.
class Watchdog {
 public:
  Watchdog() : id(mainloop().post([] { throw std::runtime_error("gave up waiting"); }, patienceMs)) {}
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;
  ~Watchdog() { mainloop().cancel(id); }

 private:
  int id;
};

void runUntil(const std::function<bool()>& done) {
  Watchdog dog;
  while (!done()) mainloop().processOneEvent();
}

void finish() {
  Watchdog dog;
  finishChildren();
}

struct Record {
  std::string output;
  std::vector<size_t> chunks;
  std::vector<int> exits;
  std::string outputAtExit;
};

void listen(eConsoleAppContainer& container, Record& record) {
  container.output.connect([&record](eString chunk) {
    record.output += chunk;
    record.chunks.push_back(chunk.size());
  });
  container.exited.connect([&record](int status) {
    record.exits.push_back(status);
    record.outputAtExit = record.output;
  });
}

pid_t firstLineNumber(const std::string& text) { return pid_t(std::atoi(text.c_str())); }

// Commands that end with `echo $$ >FIFO` let a test wait, without the loop,
// until the shell has ended, so that its end and its last output are both
// pending when the loop next runs.
class ConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/console_test.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
    fifo = dir + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  }
  void TearDown() override {
    unlink(fifo.c_str());
    rmdir(dir.c_str());
  }

  std::string reportEnd() const { return "echo $$ >" + fifo; }

  // Starts `command` while the fifo is open for reading, runs `started`,
  // then waits for the shell to end without reaping it.
  eConsoleAppContainer* startAndAwaitEnd(const std::string& command,
                                         const std::function<void()>& started = {}) {
    int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    auto* container = new eConsoleAppContainer(command);
    if (started) started();
    std::string text;
    for (;;) {
      pollfd ready{reader, POLLIN, 0};
      if (poll(&ready, 1, patienceMs) <= 0) break;
      char bytes[64];
      ssize_t n = read(reader, bytes, sizeof bytes);
      if (n <= 0 && !(n < 0 && errno == EAGAIN)) break;
      if (n > 0) text.append(bytes, n);
    }
    close(reader);
    pid_t shell = firstLineNumber(text);
    siginfo_t info{};
    EXPECT_GT(shell, 0);
    if (shell > 0) {
      EXPECT_EQ(waitid(P_PID, shell, &info, WEXITED | WNOWAIT), 0);
    }
    return container;
  }

  std::string dir, fifo;
};

TEST(Console, ReportsOutputAndExitStatusOfEachCommand) {
  struct Case {
    const char* command;
    const char* output;
    int status;
  } cases[] = {
      {"exit 0", "", 0},
      {"exit 3", "", 3},
      {"kill -TERM $$", "", 128 + SIGTERM},
      {"kill -KILL $$", "", 128 + SIGKILL},
      {"/nonexistent/x 2>/dev/null", "", 127},
      {"printf out; printf err >&2; exit 4", "outerr", 4},
      {"echo one; echo two >&2; echo three", "one\ntwo\nthree\n", 0},
      {"readlink /proc/$$/fd/0", "/dev/null\n", 0},
      {"test \"$(cut -d' ' -f5 /proc/$$/stat)\" = $$", "", 0},  // leads its group
  };
  std::vector<std::unique_ptr<eConsoleAppContainer>> containers;
  std::vector<Record> records(std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    containers.emplace_back(new eConsoleAppContainer(cases[i].command));
    EXPECT_TRUE(containers[i]->running()) << cases[i].command;
    listen(*containers[i], records[i]);
  }
  runUntil([&] {
    for (const Record& record : records)
      if (record.exits.empty()) return false;
    return true;
  });
  mainloop().drain();
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].command);
    EXPECT_EQ(records[i].exits, std::vector<int>{cases[i].status});
    EXPECT_EQ(records[i].output, cases[i].output);
    EXPECT_EQ(records[i].outputAtExit, records[i].output);
    EXPECT_FALSE(containers[i]->running());
  }
}

TEST(Console, StartsChildrenWithDefaultSignals) {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  struct sigaction previous {};
  sigaction(SIGPIPE, &ignore, &previous);
  sigset_t usr1, mask;
  sigemptyset(&usr1);
  sigaddset(&usr1, SIGUSR1);
  sigprocmask(SIG_BLOCK, &usr1, &mask);
  eConsoleAppContainer container("exec awk '/^Sig(Blk|Ign):/ { print $2 }' /proc/self/status");
  sigprocmask(SIG_SETMASK, &mask, nullptr);
  sigaction(SIGPIPE, &previous, nullptr);
  Record record;
  listen(container, record);
  runUntil([&] { return !record.exits.empty(); });
  char* rest = nullptr;
  unsigned long long blocked = std::strtoull(record.output.c_str(), &rest, 16);
  unsigned long long ignored = std::strtoull(rest, &rest, 16);
  ASSERT_EQ(std::string(rest), "\n") << record.output;
  EXPECT_EQ(blocked, 0u);
  EXPECT_EQ(ignored & (1ull << (SIGPIPE - 1)), 0u);  // a pipeline must still stop on a closed pipe
}

TEST(Console, DeliversLargeOutputWholeInChunksOfOneRead) {
  std::string expected;
  for (int i = 1; i <= 200000; ++i) expected += std::to_string(i) + "\n";
  eConsoleAppContainer container("seq 1 200000");
  Record record;
  listen(container, record);
  runUntil([&] { return !record.exits.empty(); });
  mainloop().drain();
  EXPECT_EQ(record.exits, std::vector<int>{0});
  EXPECT_EQ(record.outputAtExit, expected);
  EXPECT_EQ(record.output, expected);
  EXPECT_GT(record.chunks.size(), 1u);
  for (size_t size : record.chunks) {
    EXPECT_GT(size, 0u);
    EXPECT_LE(size, 65536u);
  }
}

TEST(Console, ReportsAStartFailureFromTheLoop) {
  // The sanitizers' runtime checks need descriptors of their own the first
  // time they meet a type: one start with descriptors to spare first.
  delete new eConsoleAppContainer("true");
  finish();
  // With no descriptor left, not even the output pipe can be made.
  int lowestFree = fcntl(0, F_DUPFD_CLOEXEC, 0);
  ASSERT_GE(lowestFree, 0);
  close(lowestFree);
  rlimit limit{};
  getrlimit(RLIMIT_NOFILE, &limit);
  rlimit none = limit;
  none.rlim_cur = lowestFree;
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &none), 0);
  eConsoleAppContainer container("exit 0");
  setrlimit(RLIMIT_NOFILE, &limit);
  EXPECT_FALSE(container.running());
  Record record;
  listen(container, record);  // a report inside the constructor would be lost
  runUntil([&] { return !record.exits.empty(); });
  mainloop().drain();
  EXPECT_EQ(record.exits, std::vector<int>{127});
  EXPECT_EQ(record.output, "");
}

TEST_F(ConsoleTest, ReadsAtMost64KAtATime) {
  // A pipe far larger than a read, full when the loop first looks at it.
  std::string expected;
  for (int i = 1; i <= 100000; ++i) expected += std::to_string(i) + "\n";
  std::set<int> before = openDescriptors();
  std::unique_ptr<eConsoleAppContainer> container(startAndAwaitEnd("seq 1 100000; " + reportEnd(), [&] {
    for (int fd : openDescriptors())
      if (!before.count(fd)) fcntl(fd, F_SETPIPE_SZ, 1 << 20);
  }));
  Record record;
  listen(*container, record);
  runUntil([&] { return !record.exits.empty(); });
  EXPECT_EQ(record.outputAtExit, expected);
  ASSERT_GT(record.chunks.size(), 1u);
  EXPECT_EQ(record.chunks.front(), 65536u);
  for (size_t size : record.chunks) EXPECT_LE(size, 65536u);
}

TEST_F(ConsoleTest, DrainsPendingOutputBeforeTheSingleExit) {
  std::unique_ptr<eConsoleAppContainer> container(
      startAndAwaitEnd("printf abc; printf def >&2; " + reportEnd() + "; exit 6"));
  Record record;
  listen(*container, record);
  runUntil([&] { return !record.exits.empty(); });
  mainloop().drain();
  EXPECT_EQ(record.exits, std::vector<int>{6});
  EXPECT_EQ(record.outputAtExit, "abcdef");
  EXPECT_EQ(record.output, "abcdef");
}

TEST_F(ConsoleTest, AnExitHandlerThatWaitsStillSeesTheOthers) {
  // Both shells wait at the fifo until it loses its last writer, so that
  // both ends come with one wake of the loop.
  int gate = open(fifo.c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(gate, 0);
  const std::string wait = "exec 3<" + fifo + "; echo $$; read x <&3; exit ";
  std::unique_ptr<eConsoleAppContainer> containers[] = {std::make_unique<eConsoleAppContainer>(wait + "1"),
                                                        std::make_unique<eConsoleAppContainer>(wait + "2")};
  Record records[2];
  std::vector<int> seenInside;
  for (int self = 0; self < 2; ++self) {
    listen(*containers[self], records[self]);
    containers[self]->exited.connect([&, self](int) {
      runUntil([&] { return !records[1 - self].exits.empty(); });  // a modal loop, say
      seenInside.push_back(records[1 - self].exits.front());
    });
  }
  runUntil([&] { return records[0].output.size() && records[1].output.size(); });
  close(gate);
  for (const Record& record : records) {
    siginfo_t info{};
    EXPECT_EQ(waitid(P_PID, firstLineNumber(record.output), &info, WEXITED | WNOWAIT), 0);
  }
  runUntil([&] { return seenInside.size() == 2; });
  EXPECT_EQ(records[0].exits, std::vector<int>{1});
  EXPECT_EQ(records[1].exits, std::vector<int>{2});
}

// The end is the shell's: what it leaves in the background, whether it
// holds the pipe quietly or keeps writing to it, does not hold it back.
TEST(Console, ABackgroundProcessDoesNotHoldTheEnd) {
  const struct {
    const char* command;
    bool quiet;  // prints only the group's number and keeps running
  } cases[] = {{"sleep 100 & echo $$", true}, {"echo $$; yes &", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    auto* container = new eConsoleAppContainer(c.command);
    Record record;
    listen(*container, record);
    runUntil([&] { return !record.exits.empty(); });
    EXPECT_EQ(record.exits, std::vector<int>{0});
    EXPECT_FALSE(container->running());
    pid_t pgid = firstLineNumber(record.output);
    ASSERT_GT(pgid, 0);
    if (c.quiet) {
      EXPECT_EQ(record.output, std::to_string(pgid) + "\n");
      EXPECT_TRUE(groupExists(pgid));  // the sleep; a writer may die of the closed pipe
    }
    delete container;
    finish();
    EXPECT_FALSE(groupExists(pgid));
    EXPECT_EQ(zombieChildren(), 0);
  }
}

TEST(Console, DeletingARunningContainerEndsItsWholeGroup) {
  const char* commands[] = {
      "echo $$; sleep 100",
      "trap '' TERM; echo $$; sleep 100",
      "(trap '' TERM; sleep 100) & echo $$; wait",  // outlives the shell
      "sleep 100 & sleep 100 & echo $$; wait",
  };
  std::vector<eConsoleAppContainer*> containers;
  std::vector<Record> records(std::size(commands));
  for (std::size_t i = 0; i < std::size(commands); ++i) {
    containers.push_back(new eConsoleAppContainer(commands[i]));
    listen(*containers[i], records[i]);
  }
  runUntil([&] {
    for (const Record& record : records)
      if (record.output.find('\n') == std::string::npos) return false;
    return true;
  });
  std::vector<pid_t> groups;
  for (std::size_t i = 0; i < std::size(commands); ++i) {
    groups.push_back(firstLineNumber(records[i].output));
    EXPECT_TRUE(containers[i]->running()) << commands[i];
    delete containers[i];
  }
  finish();
  mainloop().drain();
  for (std::size_t i = 0; i < std::size(commands); ++i) {
    SCOPED_TRACE(commands[i]);
    ASSERT_GT(groups[i], 0);
    EXPECT_FALSE(groupExists(groups[i]));
    EXPECT_TRUE(records[i].exits.empty());
  }
  EXPECT_EQ(zombieChildren(), 0);
}

TEST(Console, DeletingInsideTheExitHandlerSilencesTheRest) {
  const char* commands[] = {"echo $$; exit 2", "echo $$; sleep 100 & exit 2"};
  for (const char* command : commands) {
    SCOPED_TRACE(command);
    auto* container = new eConsoleAppContainer(command);
    Record record;
    listen(*container, record);
    bool deleted = false;
    int laterSlots = 0;
    container->exited.connect([&](int) {
      delete container;
      deleted = true;
    });
    container->exited.connect([&](int) { ++laterSlots; });
    runUntil([&] { return deleted; });
    finish();
    mainloop().drain();
    EXPECT_EQ(record.exits, std::vector<int>{2});
    EXPECT_EQ(laterSlots, 0);
    pid_t pgid = firstLineNumber(record.output);
    ASSERT_GT(pgid, 0);
    EXPECT_FALSE(groupExists(pgid));
  }
  EXPECT_EQ(zombieChildren(), 0);
}

TEST_F(ConsoleTest, DeletingInsideAnOutputHandlerSilencesTheRest) {
  // Output read as it comes, and output drained at the end of the shell.
  const bool awaitEnd[] = {false, true};
  for (bool atEnd : awaitEnd) {
    SCOPED_TRACE(atEnd ? "drained at the end" : "read as it comes");
    eConsoleAppContainer* container = atEnd ? startAndAwaitEnd("echo $$; " + reportEnd() + "; exit 5")
                                            : new eConsoleAppContainer("echo $$; exec seq 1 1000000");
    std::string first;
    int laterChunks = 0, exits = 0;
    bool deleted = false;
    container->output.connect([&](eString chunk) {
      first = chunk;
      delete container;
      deleted = true;
    });
    container->output.connect([&](eString) { ++laterChunks; });
    container->exited.connect([&](int) { ++exits; });
    runUntil([&] { return deleted; });
    finish();
    mainloop().drain();
    EXPECT_EQ(laterChunks, 0);
    EXPECT_EQ(exits, 0);
    pid_t pgid = firstLineNumber(first);
    ASSERT_GT(pgid, 0);
    EXPECT_FALSE(groupExists(pgid));
  }
  EXPECT_EQ(zombieChildren(), 0);
}

TEST(Console, TheChildSeesOnlyItsStandardDescriptors) {
  int hostOwn = open("/dev/null", O_RDONLY);  // opened without O_CLOEXEC
  ASSERT_GE(hostOwn, 3);
  eConsoleAppContainer container("ls /proc/$$/fd");
  close(hostOwn);
  Record record;
  listen(container, record);
  runUntil([&] { return !record.exits.empty(); });
  EXPECT_EQ(record.output, "0\n1\n2\n");
}

TEST(Console, TheHostKeepsNoDescriptorOfARun) {
  struct Case {
    const char* command;
    bool deleteRunning;
  } cases[] = {{"true", false}, {"sleep 100 & echo started", false}, {"sleep 100", true}};
  auto run = [](const Case& c) {
    auto* container = new eConsoleAppContainer(c.command);
    Record record;
    listen(*container, record);
    if (!c.deleteRunning) runUntil([&] { return !record.exits.empty(); });
    delete container;
    finish();
  };
  run(cases[0]);  // the first run sets up what lasts
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    std::set<int> before = openDescriptors();
    run(c);
    EXPECT_EQ(openDescriptors(), before);
  }
}

TEST(Console, TheHostsDescriptorsCloseOnExec) {
  std::set<int> before = openDescriptors();
  auto* container = new eConsoleAppContainer("sleep 100");
  int added = 0;
  for (int fd : openDescriptors()) {
    if (before.count(fd)) continue;
    ++added;
    EXPECT_TRUE(fcntl(fd, F_GETFD) & FD_CLOEXEC) << fd;
  }
  EXPECT_GT(added, 0);
  delete container;
  finish();
}

}  // namespace
