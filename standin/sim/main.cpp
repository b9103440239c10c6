// The simulator: runs the plug-in on the stand-in's event loop, as the
// device's GUI application does, and exits with the plug-in's result.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "host/plugin.h"
#include "standin/console.h"
#include "standin/sim/script.h"
#include "standin/skin.h"

namespace {
void usage() {
  std::fprintf(stderr,
               "usage: dorvane-sim [--plugin FILE] [--skin FILE] [--script FILE]\n"
               "Reads keys from the script, or from standard input, one a line.\n");
}
}  // namespace

int main(int argc, char** argv) {
  const char* plugin = DORVANE_SIM_PLUGIN;
  const char* script = nullptr;
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

  int result;
  bool failed;
  {
    ScriptInput keys(input, !script && isatty(input));
    result = entry();
    failed = keys.failed();
    if (failed) std::fprintf(stderr, "dorvane-sim: %s\n", keys.errorMessage().c_str());
  }
  finishChildren();
  std::printf("plugin_exec returned %d\n", result);
  return failed ? 2 : result;
}
