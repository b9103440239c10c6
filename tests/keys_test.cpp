// The colour keys of the main window: what each does with an empty and a
// filled list, what a blue key saves after the keys before it, and that
// every other event gets the default window handling.
#include <gtest/gtest.h>

#include <functional>

#include "host/eaction.h"
#include "tests/edit_steps.h"

using namespace edit;

namespace {
const std::string emptyList = head + tail;
// The second entry has no description, so its record holds its command.
const std::string filledList =
    head + line("Uptime", "uptime", "true") + "\t<shell command=\"ls -l /tmp\" message=\"false\" />\n" + tail;
const std::string uptime = line("Uptime", "uptime", "true");
const std::string listing = line("ls -l /tmp", "ls -l /tmp", "false");

enum class Focus { list, command, description };
const std::string unchanged = "(unchanged)";

struct KeyCase {
  const char* name;
  std::string file;
  std::function<void(Session&)> before;
  Key key;
  std::string fileAfter;  // `unchanged`: not rewritten at all
  std::vector<std::string> messages;
  Form formAfter;
  Focus focusAfter;
};

void nothing(Session&) {}

const KeyCase keyCases[] = {
    {"RedOnEmptyList",
     emptyList,
     [](Session& s) { typeInto(s, Session::descriptionField, "keep"); },
     Key::red,
     unchanged,
     {},
     {"", "keep", 0},
     Focus::description},
    {"RedOnFilledListDeletesTheFirst",
     filledList,
     nothing,
     Key::red,
     head + listing + tail,
     {},
     {"", "", 0},
     Focus::list},
    {"RedDeletesTheHighlighted",
     filledList,
     [](Session& s) { s.key(Key::down); },
     Key::red,
     head + uptime + tail,
     {},
     {"", "", 0},
     Focus::list},
    {"RedDropsWhatTheFormHolds",
     filledList,
     [](Session& s) { typeInto(s, Session::commandField, "date"); },
     Key::red,
     head + listing + tail,
     {},
     {"", "", 0},
     Focus::list},
    {"GreenOnEmptyList",
     emptyList,
     [](Session& s) { typeInto(s, Session::descriptionField, "keep"); },
     Key::green,
     unchanged,
     {},
     {"", "keep", 0},
     Focus::description},
    {"GreenFillsTheFormFromTheFirst",
     filledList,
     nothing,
     Key::green,
     unchanged,
     {},
     {"uptime", "Uptime", 1},
     Focus::command},
    {"GreenOnEntryWithoutDescriptionGivesItsCommand",
     filledList,
     [](Session& s) { s.key(Key::down); },
     Key::green,
     unchanged,
     {},
     {"ls -l /tmp", "ls -l /tmp", 0},
     Focus::command},
    {"YellowOnEmptyList",
     emptyList,
     [](Session& s) {
       typeInto(s, Session::commandField, "x");
       typeInto(s, Session::descriptionField, "y");
       toggleCheck(s);
     },
     Key::yellow,
     unchanged,
     {},
     {"", "", 0},
     Focus::command},
    {"YellowOnFilledListAfterGreen",
     filledList,
     [](Session& s) { s.key(Key::green); },
     Key::yellow,
     unchanged,
     {},
     {"", "", 0},
     Focus::command},
    {"BlueOnEmptyListAppends",
     emptyList,
     [](Session& s) {
       typeInto(s, Session::commandField, "date");
       typeInto(s, Session::descriptionField, "Date");
     },
     Key::blue,
     head + line("Date", "date", "false") + tail,
     {},
     {"", "", 0},
     Focus::list},
    {"BlueOnFilledListAppendsLast",
     filledList,
     [](Session& s) {
       typeInto(s, Session::commandField, "date");
       toggleCheck(s);
     },
     Key::blue,
     head + uptime + listing + line("", "date", "true") + tail,
     {},
     {"", "", 0},
     Focus::list},
    {"BlueWithEmptyFormOnEmptyList",
     emptyList,
     nothing,
     Key::blue,
     unchanged,
     {"command not found"},
     {"", "", 0},
     Focus::command},
    {"BlueWithEmptyFormOnFilledList",
     filledList,
     nothing,
     Key::blue,
     unchanged,
     {"command not found"},
     {"", "", 0},
     Focus::command},
    {"BlueWithOnlyADescription",
     filledList,
     [](Session& s) { typeInto(s, Session::descriptionField, "only"); },
     Key::blue,
     unchanged,
     {"command not found"},
     {"", "only", 0},
     Focus::command},
    // Such a command would be written empty and stop the next load.
    {"BlueWithACommandOfControlBytesOnly",
     filledList,
     [](Session& s) { typeInto(s, Session::commandField, "\x01\x1f"); },
     Key::blue,
     unchanged,
     {"command not found"},
     {"\x01\x1f", "", 0},
     Focus::command},
    {"BlueAfterGreenReplacesTheEntry",
     filledList,
     [](Session& s) {
       s.key(Key::green);
       typeInto(s, Session::commandField, " -p");
     },
     Key::blue,
     head + line("Uptime", "uptime -p", "true") + listing + tail,
     {},
     {"", "", 0},
     Focus::list},
    {"YellowAfterGreenAppends",
     filledList,
     [](Session& s) {
       s.keys({Key::green, Key::yellow});
       typeInto(s, Session::commandField, "date");
     },
     Key::blue,
     head + uptime + listing + line("", "date", "false") + tail,
     {},
     {"", "", 0},
     Focus::list},
    {"TwoBluesAfterOneGreenReplaceTheEntryTwice",
     filledList,
     [](Session& s) {
       s.keys({Key::down, Key::green});
       typeInto(s, Session::commandField, " /var");
       s.key(Key::blue);
       typeInto(s, Session::commandField, "df");
       typeInto(s, Session::descriptionField, "Disks");
     },
     Key::blue,
     head + uptime + line("Disks", "df", "false") + tail,
     {},
     {"", "", 0},
     Focus::list},
    {"BlueAfterGreenOnEmptyListAppends",
     emptyList,
     [](Session& s) {
       s.key(Key::green);
       typeInto(s, Session::commandField, "date");
     },
     Key::blue,
     head + line("", "date", "false") + tail,
     {},
     {"", "", 0},
     Focus::list},
    {"BlueAfterRedOnEmptyListAppends",
     emptyList,
     [](Session& s) {
       s.key(Key::red);
       typeInto(s, Session::commandField, "date");
     },
     Key::blue,
     head + line("", "date", "false") + tail,
     {},
     {"", "", 0},
     Focus::list},
};

void PrintTo(const KeyCase& c, std::ostream* out) { *out << c.name; }

eWidget* widgetFor(Focus focus) {
  switch (focus) {
    case Focus::list:
      return Session::list();
    case Focus::command:
      return Session::commandField();
    case Focus::description:
      return Session::descriptionField();
  }
  return nullptr;
}

using Keys = SessionCase<KeyCase>;
}  // namespace

TEST_P(Keys, ResultFileFormAndFocus) {
  const KeyCase& c = GetParam();
  Session::writeListFile(c.file);
  ino_t before = inodeOf(Session::listFile);
  c.before(session);
  int result = -1;
  size_t messagesBefore = 0;
  session.then([&] {
    messagesBefore = session.messages().size();
    // As the host delivers it once the focused widget has passed it on.
    result = Session::mainWindow()->event(eWidgetEvent(eWidgetEvent::evtAction, actionOf(c.key)));
    EXPECT_EQ(form(), c.formAfter);
    EXPECT_EQ(Session::focus(), widgetFor(c.focusAfter));
  });
  session.key(Key::exit);
  EXPECT_EQ(session.run(), 0);
  EXPECT_EQ(result, 1);
  if (c.fileAfter == unchanged) {
    EXPECT_EQ(Session::readListFile(), c.file);
    EXPECT_EQ(inodeOf(Session::listFile), before) << "the file was rewritten";
  } else {
    EXPECT_EQ(Session::readListFile(), c.fileAfter);
  }
  std::vector<std::string> messages;
  for (size_t i = messagesBefore; i < session.messages().size(); ++i) {
    messages.push_back(session.messages()[i].text);
    EXPECT_EQ(session.messages()[i].caption, "Error");
  }
  EXPECT_EQ(messages, c.messages);
}

INSTANTIATE_TEST_SUITE_P(Table, Keys, ::testing::ValuesIn(keyCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Events that are no colour-key action get the default window handling,
// with its result: the form, the list and the file stay as they were.
namespace {
eActionMap otherMap;
eAction otherRed(otherMap);  // like a colour key, but not one of their actions

struct PassedOn {
  const char* name;
  eWidgetEvent event;
  int result;  // what eWindow::eventHandler answers
  bool closes;
};

const PassedOn passedOn[] = {
    {"TypedCharacter", eWidgetEvent(eWidgetEvent::evtKey, 'a'), 0, false},
    {"ColourActionInAnEventOfAnotherType", eWidgetEvent(eWidgetEvent::evtKey, &i_shortcutActions->red), 0,
     false},
    {"ActionOfAnotherMap", eWidgetEvent(eWidgetEvent::evtAction, &otherRed), 0, false},
    {"CursorLeft", eWidgetEvent(eWidgetEvent::evtAction, &i_cursorActions->left), 0, false},
    {"CursorDownMovesTheFocus", eWidgetEvent(eWidgetEvent::evtAction, &i_cursorActions->down), 1, false},
    {"ExitClosesTheWindow", eWidgetEvent(eWidgetEvent::evtAction, &i_cursorActions->cancel), 1, true},
};

void PrintTo(const PassedOn& c, std::ostream* out) { *out << c.name; }

using PassOn = SessionCase<PassedOn>;
}  // namespace

TEST_P(PassOn, DefaultHandlersResult) {
  const PassedOn& c = GetParam();
  Session::writeListFile(filledList);
  ino_t before = inodeOf(Session::listFile);
  typeInto(session, Session::commandField, "date");
  int result = -1;
  session.then([&] {
    result = Session::mainWindow()->event(c.event);
    EXPECT_EQ(form(), (Form{"date", "", 0}));
    EXPECT_EQ(Session::rows(), (std::vector<std::string>{"Uptime", ""}));
    bool moved = c.event.action == &i_cursorActions->down;
    EXPECT_EQ(Session::focus() != Session::commandField(), moved);
  });
  if (!c.closes) session.key(Key::exit);
  EXPECT_EQ(session.run(), 0);
  EXPECT_EQ(result, c.result);
  EXPECT_TRUE(session.messages().empty());
  EXPECT_EQ(Session::readListFile(), filledList);
  EXPECT_EQ(inodeOf(Session::listFile), before);
}

INSTANTIATE_TEST_SUITE_P(Events, PassOn, ::testing::ValuesIn(passedOn),
                         [](const auto& info) { return std::string(info.param.name); });
