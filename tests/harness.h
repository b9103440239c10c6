#pragma once

// Drives the real plug-in through the stand-in, as the device would: a
// script of steps runs whenever the event loop is idle, message boxes are
// recorded and confirmed, and time is a test clock that moves only when a
// step says so. Every session starts from an empty root folder.
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "host/echeckbox.h"
#include "host/elistbox.h"
#include "host/etextinputfield.h"
#include "standin/dump.h"
#include "standin/input.h"

// Failures show byte strings as quoted text.
inline void PrintTo(const eString& bytes, std::ostream* out) { *out << quoted(bytes); }

struct SeenMessage {
  std::string text, caption;
  bool mainWindowShown;  // whether the main window was on screen meanwhile
};

class Session {
 public:
  Session();
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // A fixed path of the plug-in ("/tmp/.dorvane") inside the test root.
  static std::string path(const std::string& fixed);
  static void writeFile(const std::string& fixed, const std::string& bytes);
  static std::string readFile(const std::string& fixed);
  static bool exists(const std::string& fixed);
  static void writeListFile(const std::string& bytes) { writeFile(listFile, bytes); }
  static std::string readListFile() { return readFile(listFile); }
  static constexpr const char* listFile = "/var/tuxbox/config/dorvane.xml";
  static constexpr const char* captureFile = "/tmp/.dorvane";

  // Script steps, run in order once the plug-in runs.
  Session& key(Key key);
  Session& keys(std::initializer_list<Key> keys);
  Session& type(const std::string& text);
  Session& then(std::function<void()> step);
  Session& waitFor(std::function<bool()> condition, std::string what);
  Session& advance(std::int64_t ms);

  // Runs plugin_exec with the script; leftover windows fail the test.
  int run();

  const std::vector<SeenMessage>& messages() const { return seen; }
  // The texts of the message boxes seen, in order.
  std::vector<std::string> messageTexts() const;
  // Keep message boxes open for the script instead of confirming them.
  void holdMessageBoxes() { confirmBoxes = false; }

  // What is on screen, valid inside steps.
  static eWidget* mainWindow();
  static eWidget* topWindow();
  static eListBoxBase* list(eWidget* window = mainWindow());
  static std::vector<std::string> rows(eWidget* window = mainWindow());
  static std::vector<int> rowKeys();
  static eTextInputField* commandField();
  static eTextInputField* descriptionField();
  static eCheckbox* checkbox();
  static std::string statusText();
  static eWidget* focus();

 private:
  struct Step {
    std::function<void()> action;
    std::function<bool()> condition;
    std::string what;
  };
  bool idle();

  std::deque<Step> steps;
  std::vector<SeenMessage> seen;
  bool confirmBoxes = true;
  bool complained = false;
  std::int64_t waitStarted = -1;
};

// A table of cases, each run in a session of its own.
template <class Case>
class SessionCase : public ::testing::TestWithParam<Case> {
 protected:
  Session session;
};

// The widgets of a window of a given kind, in creation order.
template <class W>
std::vector<W*> widgetsOf(eWidget* window) {
  std::vector<W*> found;
  if (window)
    for (eWidget* child : window->getChildren())
      if (auto* widget = dynamic_cast<W*>(child)) found.push_back(widget);
  return found;
}
