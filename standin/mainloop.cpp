#include "standin/mainloop.h"

#include <climits>
#include <ctime>

static eApplication theApplication;
eApplication* eApp = &theApplication;

eMainloop::eMainloop() : d(new Impl) {}
eMainloop::~eMainloop() { delete d; }

std::int64_t eMainloop::Impl::realNow() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return std::int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

std::int64_t eMainloop::Impl::now() const { return testClock ? testNow : realNow(); }

void eMainloop::Impl::useTestClock(std::int64_t start) {
  testClock = true;
  testNow = start;
}

void eMainloop::Impl::useRealClock() { testClock = false; }

void eMainloop::Impl::advance(std::int64_t ms) { testNow += ms; }

void eMainloop::Impl::addTimer(eTimer* timer) {
  removeTimer(timer);
  timers.push_back(timer);
}

void eMainloop::Impl::removeTimer(eTimer* timer) {
  for (auto it = timers.begin(); it != timers.end(); ++it)
    if (*it == timer) {
      timers.erase(it);
      return;
    }
}

int eMainloop::Impl::watchFd(int fd, short events, FdCallback callback) {
  int id = nextId++;
  watches[id] = Watch{fd, events, std::move(callback)};
  return id;
}

void eMainloop::Impl::unwatch(int id) { watches.erase(id); }

int eMainloop::Impl::post(Callback callback, std::int64_t realDelayMs) {
  int id = nextId++;
  deferred[id] = Deferred{realNow() + realDelayMs, std::move(callback)};
  return id;
}

void eMainloop::Impl::cancel(int id) { deferred.erase(id); }

bool eMainloop::Impl::fireTimers() {
  std::int64_t t = now();
  for (eTimer* timer : timers) {
    if (timer->deadline > t) continue;
    if (timer->singleshot) {
      timer->active = false;
      removeTimer(timer);
    } else {
      timer->deadline = t + timer->interval;
    }
    timer->timeout.emit();  // may delete or restart any timer: one per round
    return true;
  }
  return false;
}

bool eMainloop::Impl::fireDeferred() {
  std::int64_t t = realNow();
  for (auto it = deferred.begin(); it != deferred.end(); ++it) {
    if (it->second.due > t) continue;
    Callback callback = std::move(it->second.callback);
    deferred.erase(it);
    callback();
    return true;
  }
  return false;
}

int eMainloop::Impl::nextTimeout() const {
  std::int64_t timeout = -1;
  auto consider = [&](std::int64_t due, std::int64_t t) {
    std::int64_t wait = due > t ? due - t : 0;
    if (timeout < 0 || wait < timeout) timeout = wait;
  };
  for (const auto& entry : deferred) consider(entry.second.due, realNow());
  // A test clock stands still: its timers count only once they are due.
  for (const eTimer* timer : timers)
    if (!testClock || timer->deadline <= testNow) consider(timer->deadline, now());
  if (maxWait >= 0 && (timeout < 0 || timeout > maxWait)) timeout = maxWait;
  return timeout > INT_MAX ? INT_MAX : int(timeout);
}

bool eMainloop::Impl::pollOnce(int timeout) {
  std::vector<pollfd> fds;
  std::vector<int> ids;
  for (const auto& entry : watches) {
    fds.push_back(pollfd{entry.second.fd, entry.second.events, 0});
    ids.push_back(entry.first);
  }
  // A signal ends the round: the next one waits again, for what is left.
  int ready = poll(fds.data(), fds.size(), timeout);
  if (ready <= 0) return false;
  for (size_t i = 0; i < fds.size(); ++i) {
    if (!fds[i].revents) continue;
    auto it = watches.find(ids[i]);
    if (it == watches.end()) continue;  // dropped by an earlier callback
    FdCallback callback = it->second.callback;
    callback(fds[i].revents);
    return true;  // callbacks may change the watches: one per round
  }
  return false;
}

bool eMainloop::Impl::dispatchReady() { return fireDeferred() || fireTimers() || pollOnce(0); }

void eMainloop::Impl::processOneEvent() {
  if (dispatchReady()) return;
  if (idle && idle()) return;
  pollOnce(nextTimeout());
}

void eMainloop::Impl::runModal(eWidget* widget, ModalState& state) {
  modals.push_back(widget);
  while (!state.done) processOneEvent();
  modals.pop_back();
}

void eMainloop::Impl::drain() {
  while (dispatchReady()) {
  }
}

eTimer::eTimer(eMainloop* context) : context(context) {}

eTimer::~eTimer() { stop(); }

void eTimer::start(long msec, bool singleShot) {
  interval = msec;
  singleshot = singleShot;
  deadline = context->impl().now() + msec;
  active = true;
  context->impl().addTimer(this);
}

void eTimer::stop() {
  if (!active) return;
  active = false;
  context->impl().removeTimer(this);
}
