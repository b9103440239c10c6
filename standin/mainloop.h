#pragma once

// The stand-in's event loop: one thread, waits in poll on file descriptors
// and the next deadline, never spins. Times are milliseconds on a monotonic
// clock; the timer clock can be swapped for a test clock that only moves
// when told to.
#include <poll.h>

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "host/emainloop.h"

class eWidget;

struct ModalState {
  bool done = false;
  bool widgetGone = false;  // the widget was deleted inside its own loop
  int result = 0;
};

struct eMainloop::Impl {
  using Callback = std::function<void()>;
  using FdCallback = std::function<void(short revents)>;
  // What the loop asks when nothing is ready: true when it did some work.
  using IdleHook = std::function<bool()>;

  // The clock of eTimer. The real one is CLOCK_MONOTONIC.
  std::int64_t now() const;
  void useTestClock(std::int64_t start = 0);
  void useRealClock();
  // Moves the test clock on; timers that fall due fire from the loop.
  void advance(std::int64_t ms);
  static std::int64_t realNow();

  void addTimer(eTimer* timer);
  void removeTimer(eTimer* timer);

  // Watches a descriptor; the callback runs from the loop with poll's revents.
  int watchFd(int fd, short events, FdCallback callback);
  void unwatch(int id);
  // Runs a callback from the loop, soon or after a delay in real time,
  // whatever clock the timers use; cancel() drops it if not yet run.
  int post(Callback callback, std::int64_t realDelayMs = 0);
  void cancel(int id);

  void setIdleHook(IdleHook hook) { idle = std::move(hook); }
  // Longest single wait; a hook can use it to notice that nothing happens.
  void setMaxWait(int ms) { maxWait = ms; }

  // One round: dispatches what is ready, else asks the idle hook, else waits.
  void processOneEvent();
  // Runs rounds until the state is done (a modal loop of `widget`).
  void runModal(eWidget* widget, ModalState& state);
  eWidget* innermostModal() const { return modals.empty() ? nullptr : modals.back(); }
  // Rounds until nothing is ready; used to let pending work finish.
  void drain();

 private:
  struct Watch {
    int fd;
    short events;
    FdCallback callback;
  };
  struct Deferred {
    std::int64_t due;
    Callback callback;
  };

  bool dispatchReady();
  bool fireTimers();
  bool fireDeferred();
  bool pollOnce(int timeout);
  int nextTimeout() const;

  bool testClock = false;
  std::int64_t testNow = 0;
  std::vector<eTimer*> timers;
  std::map<int, Watch> watches;
  std::map<int, Deferred> deferred;
  int nextId = 1;
  IdleHook idle;
  int maxWait = -1;
  std::vector<eWidget*> modals;
};

// The stand-in's loop behind eApp.
inline eMainloop::Impl& mainloop() { return eApp->impl(); }
