// The stand-in's event loop and widgets, without the plug-in.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/time.h>
#include <unistd.h>

#include <ctime>

#include "host/eaction.h"
#include "host/elistbox.h"
#include "host/etextinputfield.h"
#include "host/ewindow.h"
#include "standin/input.h"
#include "standin/mainloop.h"

namespace {
class Loop : public ::testing::Test {
 protected:
  void SetUp() override { mainloop().useTestClock(1000); }
  void TearDown() override {
    mainloop().useRealClock();
    mainloop().setIdleHook(nullptr);
  }
};

double cpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return ts.tv_sec + ts.tv_nsec / 1e9;
}
}  // namespace

TEST_F(Loop, SingleShotTimerFiresOnceWhenTheTestClockPassesItsDeadline) {
  eTimer timer(eApp);
  int fired = 0;
  timer.timeout.connect([&] { ++fired; });
  timer.start(5000, true);
  EXPECT_TRUE(timer.isActive());
  mainloop().advance(4999);
  mainloop().drain();
  EXPECT_EQ(fired, 0);
  mainloop().advance(1);
  mainloop().drain();
  EXPECT_EQ(fired, 1);
  EXPECT_FALSE(timer.isActive());
  mainloop().advance(10000);
  mainloop().drain();
  EXPECT_EQ(fired, 1);
}

TEST_F(Loop, StoppedAndDeletedTimersStaySilent) {
  int fired = 0;
  eTimer stopped(eApp);
  stopped.timeout.connect([&] { ++fired; });
  stopped.start(10, true);
  stopped.stop();
  auto* deleted = new eTimer(eApp);
  deleted->timeout.connect([&] { ++fired; });
  deleted->start(10, true);
  delete deleted;
  mainloop().advance(100);
  mainloop().drain();
  EXPECT_EQ(fired, 0);
  EXPECT_FALSE(stopped.isActive());
}

TEST_F(Loop, PeriodicTimerKeepsFiring) {
  eTimer timer(eApp);
  int fired = 0;
  timer.timeout.connect([&] { ++fired; });
  timer.start(100, false);
  for (int i = 0; i < 3; ++i) {
    mainloop().advance(100);
    mainloop().drain();
  }
  EXPECT_EQ(fired, 3);
  EXPECT_TRUE(timer.isActive());
}

TEST_F(Loop, ModalLoopsNestAndCallbacksArriveInsideThem) {
  eWindow outer, inner;
  std::vector<std::string> events;
  int innerResult = 0;
  eTimer timer(eApp);
  timer.timeout.connect([&] {
    events.push_back("timer inside " +
                     std::string(mainloop().innermostModal() == &inner ? "inner" : "outer"));
    inner.close(7);
  });
  mainloop().post([&] {
    events.push_back("outer runs");
    timer.start(50, true);
    innerResult = inner.exec();
    events.push_back("inner returned");
    outer.close(3);
  });
  mainloop().setIdleHook([] {
    mainloop().advance(50);
    return true;
  });
  EXPECT_EQ(outer.exec(), 3);
  EXPECT_EQ(innerResult, 7);
  EXPECT_EQ(events, (std::vector<std::string>{"outer runs", "timer inside inner", "inner returned"}));
}

TEST_F(Loop, WaitingRetriesAfterASignalAndCostsNoCpu) {
  mainloop().useRealClock();
  struct sigaction action {};
  action.sa_handler = [](int) {};
  sigaction(SIGALRM, &action, nullptr);  // no SA_RESTART: poll sees EINTR
  itimerval interrupts{{0, 20000}, {0, 20000}};
  setitimer(ITIMER_REAL, &interrupts, nullptr);

  eTimer timer(eApp);
  bool fired = false;
  timer.timeout.connect([&] { fired = true; });
  timer.start(300, true);
  double cpuBefore = cpuSeconds();
  while (!fired) mainloop().processOneEvent();
  double cpuUsed = cpuSeconds() - cpuBefore;

  itimerval off{};
  setitimer(ITIMER_REAL, &off, nullptr);
  signal(SIGALRM, SIG_DFL);
  // A spinning loop would burn the whole 300 ms; waiting costs next to nothing.
  EXPECT_LT(cpuUsed, 0.1);
}

TEST_F(Loop, FocusedWidgetTakesKeysFirstThenTheWindow) {
  eWindow window;
  auto* field = new eTextInputField(&window);
  auto* list = new eListBox<eListBoxEntryText>(&window);
  new eListBoxEntryText(list, "a", 0);
  new eListBoxEntryText(list, "b", 1);
  std::vector<int> changes;
  list->selchanged.connect([&](eListBoxEntryText* row) { changes.push_back(row ? row->getKey() : -1); });
  EXPECT_EQ(window.getFocus(), field);  // the first widget that takes the focus

  mainloop().post([&] {
    pressKey(Key::down);  // the field does not take it: the focus moves on
    EXPECT_EQ(window.getFocus(), list);
    pressKey(Key::down);
    pressKey(Key::down);  // at the last row: the window has nothing further down
    EXPECT_EQ(list->getCurrentIndex(), 1);
    pressKey(Key::up);
    pressKey(Key::up);  // past the first row: back to the field
    EXPECT_EQ(window.getFocus(), field);
    pressKey(Key::ok);
    typeChar('l');
    pressKey(Key::yellow);  // upper case from here
    typeChar('s');
    pressKey(Key::left);
    typeChar('x');
    pressKey(Key::exit);  // an editing field keeps every key
    EXPECT_TRUE(field->isEditing());
    pressKey(Key::ok);
    EXPECT_EQ(field->getText(), "lXS");
    pressKey(Key::exit);
  });
  EXPECT_EQ(window.exec(), -1);
  EXPECT_EQ(changes, (std::vector<int>{1, 0}));
}

TEST_F(Loop, BulkChangeKeepsTheHighlightPositionAndReportsItOnce) {
  eWindow window;
  auto* list = new eListBox<eListBoxEntryText>(&window);
  std::vector<int> reports;
  list->selchanged.connect([&](eListBoxEntryText* row) { reports.push_back(row ? row->getKey() : -1); });
  auto fill = [&](int count) {
    list->beginAtomic();
    list->clearList();
    for (int i = 0; i < count; ++i) new eListBoxEntryText(list, std::to_string(i), i);
    list->endAtomic();
  };
  fill(3);
  EXPECT_EQ(reports, std::vector<int>{0});
  mainloop().post([] {
    pressKey(Key::down);
    pressKey(Key::down);
    pressKey(Key::exit);
  });
  window.exec();
  EXPECT_EQ(list->getCurrentIndex(), 2);
  reports.clear();
  fill(3);  // same position, new rows
  fill(2);  // clamped to the last row
  fill(0);
  EXPECT_EQ(reports, (std::vector<int>{2, 1, -1}));
}
