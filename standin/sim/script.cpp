#include "standin/sim/script.h"

#include <unistd.h>

#include <cstdio>
#include <sstream>
#include <utility>

#include "standin/dump.h"
#include "standin/input.h"
#include "standin/mainloop.h"
#include "standin/render/tvscreen.h"

ScriptInput::ScriptInput(int fd, bool interactive) : fd(fd), interactive(interactive) {
  watch = mainloop().watchFd(fd, POLLIN, [this](short) { readMore(); });
  mainloop().setIdleHook([this] { return runNext(); });
  if (interactive)
    std::printf("keys: up down left right ok exit red green yellow blue, type TEXT, dump, screenshot FILE\n");
}

ScriptInput::~ScriptInput() {
  mainloop().setIdleHook(nullptr);
  if (watch >= 0) mainloop().unwatch(watch);
}

void ScriptInput::readMore() {
  char buffer[4096];
  ssize_t length = read(fd, buffer, sizeof buffer);
  if (length <= 0) {
    eof = true;
    mainloop().unwatch(watch);
    watch = -1;
    if (!pending.empty()) lines.push_back(pending);
    return;
  }
  pending.append(buffer, size_t(length));
  for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1))
    lines.push_back(pending.substr(0, end));
}

bool ScriptInput::runNext() {
  if (eMainloop::Impl::realNow() < waitUntil) return false;
  if (!lines.empty()) {
    std::string line = lines.front();
    lines.pop_front();
    run(line);
    return true;
  }
  // At the end of the input every window is closed, as with Exit.
  if ((eof || failed()) && mainloop().innermostModal()) {
    if (endHook) std::exchange(endHook, nullptr)();
    pressClose();
    return true;
  }
  return false;
}

void ScriptInput::run(const std::string& line) {
  if (failed()) return;
  std::istringstream words(line);
  std::string command;
  if (!(words >> command) || command[0] == '#') return;
  if (auto key = keyFromName(command)) {
    pressKey(*key);
    if (interactive) std::fputs(dumpScreen().c_str(), stdout);
  } else if (command == "type") {
    // Everything after "type " is typed, blanks included.
    size_t start = line.find(command) + command.size() + 1;
    for (size_t i = start; i < line.size(); ++i) typeChar(line[i]);
  } else if (command == "backspace") {
    typeChar('\b');
  } else if (command == "wait") {
    long ms = -1;
    if (!(words >> ms) || ms < 0) {
      error = "wait needs a number of milliseconds: " + line;
      return;
    }
    waitUntil = eMainloop::Impl::realNow() + ms;
    mainloop().post([] {}, ms);  // wakes the loop when the wait is over
  } else if (command == "dump") {
    std::fputs(dumpScreen().c_str(), stdout);
  } else if (command == "screenshot") {
    std::string file, why;
    if (!(words >> file))
      error = "screenshot needs a file name: " + line;
    else if (!saveScreenshot(file, why))
      error = "screenshot: " + why;
  } else {
    error = "unknown command: " + line;
    if (interactive) {
      std::printf("%s\n", error.c_str());
      error.clear();
    }
  }
  std::fflush(stdout);
}
