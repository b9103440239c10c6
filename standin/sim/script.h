#pragma once

// The text front end: reads commands, one a line, from a descriptor (a
// terminal, a pipe or a script file) through the event loop, and runs one
// whenever the loop is idle.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

class ScriptInput {
 public:
  ScriptInput(int fd, bool interactive);
  ~ScriptInput();
  ScriptInput(const ScriptInput&) = delete;
  ScriptInput& operator=(const ScriptInput&) = delete;

  // False on a line that is no command; the message says why.
  bool failed() const { return !error.empty(); }
  const std::string& errorMessage() const { return error; }
  // Runs once when the input has ended, before the windows are closed.
  void atEnd(std::function<void()> hook) { endHook = std::move(hook); }

 private:
  void readMore();
  bool runNext();
  void run(const std::string& line);

  int fd;
  bool interactive;
  int watch = -1;
  bool eof = false;
  std::string pending;
  std::deque<std::string> lines;
  std::int64_t waitUntil = 0;
  std::string error;
  std::function<void()> endHook;
};
