// The list file reader and a save of what it read, through the real
// plug-in and the stand-in: any file loads or is rejected with the
// reader's messages, and what loaded comes back unchanged from a save and
// the reload, also from a second one.
#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "host/elistbox.h"
#include "host/emessagebox.h"
#include "host/etextinputfield.h"
#include "host/plugin.h"
#include "standin/input.h"
#include "standin/mainloop.h"
#include "standin/screen.h"

namespace fs = std::filesystem;

namespace {
const std::string listFile = DORVANE_FUZZ_ROOT "/var/tuxbox/config/dorvane.xml";
const std::string notSaved = "list file not completely loaded,\nnot saved";

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "list_fuzz: %s\n", what.c_str());
  std::abort();
}

void check(bool holds, const std::string& what) {
  if (!holds) fail(what);
}

std::string readList() {
  std::ifstream in(listFile, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

template <class W>
W* widgetOf(eWidget* window) {
  for (eWidget* child : window->getChildren())
    if (auto* widget = dynamic_cast<W*>(child)) return widget;
  fail("a widget of the main window is missing");
}

eWidget* mainWindow() { return allWindows().front(); }
eListBoxBase* list() { return widgetOf<eListBoxBase>(mainWindow()); }

// What a load shows: the rows and, by moving the highlight over them, the
// summary of each entry.
struct Shown {
  std::vector<std::string> rows, summaries;
  bool operator==(const Shown& other) const { return rows == other.rows && summaries == other.summaries; }
};

Shown shown() {
  Shown now;
  eListBoxBase* box = list();
  mainWindow()->setFocus(box);
  for (int i = 0; i < box->getCount(); ++i) {
    if (i > 0) pressKey(Key::down);
    now.rows.push_back(static_cast<eListBoxEntryText*>(box->getEntry(i))->getText());
    now.summaries.push_back(box->getHelpText());
  }
  for (int i = 1; i < box->getCount(); ++i) pressKey(Key::up);
  return now;
}

// A save writes each record's description, which for an empty attribute
// was the command: only such rows change.
Shown afterSave(Shown loaded) {
  const std::string prefix = "Command: ";
  for (size_t i = 0; i < loaded.rows.size(); ++i) {
    if (!loaded.rows[i].empty()) continue;
    const std::string& summary = loaded.summaries[i];
    size_t end = summary.rfind("\nshow messages: ");
    check(summary.compare(0, prefix.size(), prefix) == 0 && end != std::string::npos, "summary " + summary);
    loaded.rows[i] = summary.substr(prefix.size(), end - prefix.size());
  }
  return loaded;
}

// Runs plugin_exec with a script of steps, confirming every message box.
class Run {
 public:
  explicit Run(std::vector<std::function<void(Run&)>> script) : steps(script.begin(), script.end()) {
    mainloop().setIdleHook([this] { return idle(); });
  }
  ~Run() { mainloop().setIdleHook(nullptr); }

  void exec() {
    static auto entry = [] {
      void* handle = dlopen(DORVANE_FUZZ_PLUGIN, RTLD_NOW | RTLD_LOCAL);
      if (!handle) fail(dlerror());
      return reinterpret_cast<PluginEntry>(dlsym(handle, "plugin_exec"));
    }();
    check(entry() == 0, "plugin_exec did not return 0");
    check(steps.empty(), "the plug-in returned before the script ended");
  }

  // The texts of the boxes shown since the last call.
  std::vector<std::string> takeMessages() { return std::exchange(messages, {}); }

 private:
  bool idle() {
    eWidget* top = mainloop().innermostModal();
    if (auto* box = dynamic_cast<eMessageBox*>(top)) {
      messages.push_back(box->getMessage());
      pressKey(Key::ok);
      return true;
    }
    if (!top) return false;
    if (steps.empty()) {
      pressKey(Key::exit);
      return true;
    }
    auto step = std::move(steps.front());
    steps.pop_front();
    step(*this);
    return true;
  }

  std::deque<std::function<void(Run&)>> steps;
  std::vector<std::string> messages;
};

void saveTheFirstEntry() {
  pressKey(Key::green);
  pressKey(Key::blue);
}

void roundTrip(Run& run, const Shown& loaded) {
  saveTheFirstEntry();
  check(run.takeMessages().empty(), "a save or its reload reported a problem");
  Shown saved = shown();
  check(saved == afterSave(loaded), "the reload after a save differs from the load");
  std::string written = readList();
  saveTheFirstEntry();
  check(run.takeMessages().empty() && shown() == saved, "a second save changed the list");
  check(readList() == written, "a second save wrote other bytes");
}

void refusal(Run& run, const std::string& file) {
  saveTheFirstEntry();
  check(run.takeMessages() == std::vector<std::string>{notSaved}, "a partly loaded list was not refused");
  check(readList() == file, "a refused save touched the file");
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  mainloop().useTestClock();
  mainloop().setMaxWait(100);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fs::remove_all(DORVANE_FUZZ_ROOT);
  fs::create_directories(fs::path(listFile).parent_path());
  fs::create_directories(DORVANE_FUZZ_ROOT "/tmp");
  const std::string file(reinterpret_cast<const char*>(data), size);
  std::ofstream(listFile, std::ios::binary) << file;

  Run run({[&](Run& run) {
    Shown loaded = shown();
    std::vector<std::string> messages = run.takeMessages();
    if (messages.empty()) {
      if (!loaded.rows.empty()) roundTrip(run, loaded);
    } else if (messages == std::vector<std::string>{"entry command not found"}) {
      if (!loaded.rows.empty()) refusal(run, file);
    } else {
      check(messages == std::vector<std::string>{"parse error"}, "unexpected message " + messages.front());
      check(loaded.rows.empty(), "a rejected file left rows");
    }
  }});
  run.exec();
  return 0;
}
