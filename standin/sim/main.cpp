// The simulator: runs the plug-in on the stand-in's event loop, as the
// device's GUI application does, and exits with the plug-in's result.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "host/plugin.h"
#include "standin/console.h"
#include "standin/render/tvscreen.h"
#include "standin/sim/script.h"
#include "standin/sim/tvwindow.h"
#include "standin/skin.h"

namespace {
void usage() {
  std::fprintf(stderr,
               "usage: dorvane-sim [--plugin FILE] [--skin FILE] [--script FILE] [--no-window]\n"
               "                   [--screenshot FILE]\n"
               "Shows the screen in a window where there is a display, and reads keys from\n"
               "it, from the script, or from standard input when that is no terminal or\n"
               "there is no window, one a line. --screenshot writes the screen as it is\n"
               "when the input ends to a PNG file.\n");
}
}  // namespace

int main(int argc, char** argv) {
  const char* plugin = DORVANE_SIM_PLUGIN;
  const char* script = nullptr;
  const char* screenshot = nullptr;
  bool textOnly = false;
  for (int i = 1; i < argc; ++i) {
    bool hasValue = i + 1 < argc;
    if (!std::strcmp(argv[i], "--plugin") && hasValue) {
      plugin = argv[++i];
    } else if (!std::strcmp(argv[i], "--skin") && hasValue) {
      if (!loadSkinFile(argv[++i])) {
        std::fprintf(stderr, "dorvane-sim: cannot use skin file %s\n", argv[i]);
        return 2;
      }
    } else if (!std::strcmp(argv[i], "--script") && hasValue) {
      script = argv[++i];
    } else if (!std::strcmp(argv[i], "--screenshot") && hasValue) {
      screenshot = argv[++i];
    } else if (!std::strcmp(argv[i], "--no-window")) {
      textOnly = true;
    } else {
      usage();
      return 2;
    }
  }

  int input = script ? open(script, O_RDONLY | O_CLOEXEC) : STDIN_FILENO;
  if (input < 0) {
    std::fprintf(stderr, "dorvane-sim: cannot open script %s: %s\n", script, std::strerror(errno));
    return 2;
  }
  void* handle = dlopen(plugin, RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    std::fprintf(stderr, "dorvane-sim: %s\n", dlerror());
    return 2;
  }
  auto entry = reinterpret_cast<PluginEntry>(dlsym(handle, "plugin_exec"));
  if (!entry) {
    std::fprintf(stderr, "dorvane-sim: %s has no plugin_exec\n", plugin);
    return 2;
  }

  std::string why;
  std::unique_ptr<TvWindow> window = textOnly ? nullptr : TvWindow::open(why);
  if (!why.empty()) std::fprintf(stderr, "dorvane-sim: no window (%s), keys come as text\n", why.c_str());
  // A terminal is read only where no window takes the keys.
  bool terminal = !script && isatty(input);

  int result;
  std::string error;
  {
    std::optional<ScriptInput> keys;
    if (!window || !terminal) keys.emplace(input, terminal);
    bool shot = false;
    auto finalScreenshot = [&] {
      if (screenshot && !std::exchange(shot, true) && !saveScreenshot(screenshot, error))
        error = "screenshot: " + error;
    };
    if (keys) keys->atEnd(finalScreenshot);
    if (window) window->onClose(finalScreenshot);
    result = entry();
    finalScreenshot();  // the plug-in may end before the input does
    if (keys && keys->failed()) error = keys->errorMessage();
  }
  window.reset();
  bool failed = !error.empty();
  if (failed) std::fprintf(stderr, "dorvane-sim: %s\n", error.c_str());
  finishChildren();
  std::printf("plugin_exec returned %d\n", result);
  return failed ? 2 : result;
}
