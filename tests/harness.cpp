#include "tests/harness.h"

#include <dlfcn.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/elabel.h"
#include "host/emessagebox.h"
#include "host/plugin.h"
#include "standin/console.h"
#include "standin/dump.h"
#include "standin/mainloop.h"
#include "standin/screen.h"

namespace fs = std::filesystem;

namespace {
constexpr std::int64_t waitLimitMs = 20000;

PluginEntry loadPlugin() {
  static PluginEntry entry = [] {
    void* handle = dlopen(DORVANE_TEST_PLUGIN, RTLD_NOW | RTLD_LOCAL);
    if (!handle) throw std::runtime_error(dlerror());
    return reinterpret_cast<PluginEntry>(dlsym(handle, "plugin_exec"));
  }();
  return entry;
}
}  // namespace

Session::Session() {
  fs::remove_all(DORVANE_TEST_ROOT);
  fs::create_directories(path("/var/tuxbox/config"));
  fs::create_directories(path("/tmp"));
  mainloop().useTestClock();
  mainloop().setMaxWait(100);
  mainloop().setIdleHook([this] { return idle(); });
}

Session::~Session() {
  mainloop().setIdleHook(nullptr);
  mainloop().setMaxWait(-1);
}

std::string Session::path(const std::string& fixed) { return DORVANE_TEST_ROOT + fixed; }

void Session::writeFile(const std::string& fixed, const std::string& bytes) {
  std::ofstream(path(fixed), std::ios::binary) << bytes;
}

std::string Session::readFile(const std::string& fixed) {
  std::ifstream in(path(fixed), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool Session::exists(const std::string& fixed) { return fs::exists(fs::symlink_status(path(fixed))); }

Session& Session::key(Key key) {
  return then([key] { pressKey(key); });
}

Session& Session::keys(std::initializer_list<Key> list) {
  for (Key k : list) key(k);
  return *this;
}

Session& Session::type(const std::string& text) {
  return then([text] {
    for (char c : text) typeChar(c);
  });
}

Session& Session::then(std::function<void()> step) {
  steps.push_back(Step{std::move(step), nullptr, ""});
  return *this;
}

Session& Session::waitFor(std::function<bool()> condition, std::string what) {
  steps.push_back(Step{nullptr, std::move(condition), std::move(what)});
  return *this;
}

Session& Session::advance(std::int64_t ms) {
  return then([ms] { mainloop().advance(ms); });
}

int Session::run() {
  int result = loadPlugin()();
  finishChildren();
  EXPECT_TRUE(steps.empty()) << steps.size() << " steps left when the plug-in returned";
  EXPECT_TRUE(shownWindows().empty()) << "windows left on screen:\n" << dumpScreen();
  return result;
}

bool Session::idle() {
  eWidget* top = mainloop().innermostModal();
  if (auto* box = dynamic_cast<eMessageBox*>(top); box && confirmBoxes) {
    seen.push_back(SeenMessage{box->getMessage(), box->getText(), mainWindow()->isVisible()});
    pressKey(Key::ok);
    return true;
  }
  if (steps.empty()) {
    if (!top) return false;
    if (!complained) ADD_FAILURE() << "the script ended with windows open:\n" << dumpScreen();
    complained = true;
    pressKey(Key::exit);
    return true;
  }
  Step& step = steps.front();
  if (step.action) {
    auto action = std::move(step.action);
    steps.pop_front();
    action();
    return true;
  }
  if (waitStarted < 0) waitStarted = eMainloop::Impl::realNow();
  bool timedOut = eMainloop::Impl::realNow() - waitStarted > waitLimitMs;
  if (!step.condition() && !timedOut) return false;
  if (timedOut) ADD_FAILURE() << "gave up waiting for " << step.what << "\n" << dumpScreen();
  waitStarted = -1;
  steps.pop_front();
  return true;
}

// The plug-in's first window is its main window.
eWidget* Session::mainWindow() { return allWindows().empty() ? nullptr : allWindows().front(); }

std::vector<std::string> Session::messageTexts() const {
  std::vector<std::string> texts;
  for (const SeenMessage& message : seen) texts.push_back(message.text);
  return texts;
}

eWidget* Session::topWindow() { return mainloop().innermostModal(); }

eListBoxBase* Session::list(eWidget* window) {
  auto lists = widgetsOf<eListBoxBase>(window);
  return lists.empty() ? nullptr : lists.front();
}

std::vector<std::string> Session::rows(eWidget* window) {
  std::vector<std::string> texts;
  eListBoxBase* box = list(window);
  for (int i = 0; box && i < box->getCount(); ++i)
    texts.push_back(static_cast<eListBoxEntryText*>(box->getEntry(i))->getText());
  return texts;
}

std::vector<int> Session::rowKeys() {
  std::vector<int> keys;
  eListBoxBase* box = list();
  for (int i = 0; box && i < box->getCount(); ++i)
    keys.push_back(static_cast<eListBoxEntryText*>(box->getEntry(i))->getKey());
  return keys;
}

eTextInputField* Session::commandField() { return widgetsOf<eTextInputField>(mainWindow()).at(0); }
eTextInputField* Session::descriptionField() { return widgetsOf<eTextInputField>(mainWindow()).at(1); }
eCheckbox* Session::checkbox() { return widgetsOf<eCheckbox>(mainWindow()).at(0); }

std::string Session::statusText() {
  auto bars = widgetsOf<eStatusBar>(mainWindow());
  return bars.empty() ? "" : bars.front()->getText();
}

eWidget* Session::focus() { return mainWindow() ? mainWindow()->getFocus() : nullptr; }
