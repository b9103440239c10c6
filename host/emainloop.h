#pragma once

#include <cstdint>

#include "api.h"
#include "sigc.h"

// The host's event loop. Its working is the host's own business.
class HOST_API eMainloop {
 public:
  eMainloop();
  eMainloop(const eMainloop&) = delete;
  eMainloop& operator=(const eMainloop&) = delete;
  virtual ~eMainloop();

  struct Impl;
  Impl& impl() { return *d; }

 private:
  Impl* d;
};

class HOST_API eApplication : public eMainloop {};

extern HOST_API eApplication* eApp;

class HOST_API eTimer {
 public:
  explicit eTimer(eMainloop* context);
  eTimer(const eTimer&) = delete;
  eTimer& operator=(const eTimer&) = delete;
  ~eTimer();

  void start(long msec, bool singleShot = false);
  void stop();
  bool isActive() const { return active; }

  SigC::Signal0<void> timeout;

 private:
  friend struct eMainloop::Impl;
  eMainloop* context;
  std::int64_t deadline = 0;
  long interval = 0;
  bool singleshot = false, active = false;
};
