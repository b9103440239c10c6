#pragma once

#include "api.h"
#include "estring.h"
#include "sigc.h"

// Runs one shell command line in a process of its own. Output and the end
// of the process arrive from the event loop, never inside the constructor.
// Deleting the container silences it and ends a process that still runs.
class HOST_API eConsoleAppContainer : public SigC::Object {
 public:
  explicit eConsoleAppContainer(const eString& command);
  eConsoleAppContainer(const eConsoleAppContainer&) = delete;
  eConsoleAppContainer& operator=(const eConsoleAppContainer&) = delete;
  virtual ~eConsoleAppContainer();

  bool running() const;

  SigC::Signal1<void, eString> output;  // one chunk of standard output and error
  SigC::Signal1<void, int> exited;      // exit status, 128 + signal when killed

  struct Process;

 private:
  Process* process;
};
