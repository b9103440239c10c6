// Running an entry's command: the capture file, the output window, the
// status texts and the 5-second time-out, with real commands and the
// test clock.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "standin/screen.h"
#include "tests/harness.h"
#include "tests/list_file.h"
#include "tests/processes.h"

namespace {
struct Entry {
  std::string command;
  bool showsOutput;
};

std::string escaped(const std::string& value) {
  std::string out;
  for (char c : value) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\n':
        out += "&#10;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

void writeList(const std::vector<Entry>& entries) {
  std::string file = list_file::head;
  for (const Entry& entry : entries)
    file += list_file::line("run", escaped(entry.command), entry.showsOutput ? "true" : "false");
  Session::writeListFile(file + list_file::tail);
}

bool outputWindowOpen() {
  eWidget* top = Session::topWindow();
  return top && top->getText() == "information";
}

std::string header(const std::string& command) { return "command: " + command + "\n"; }

// The first line a command printed to the capture file after its header:
// commands that print `$$` first tell which process group they ran in.
pid_t capturedGroup() {
  std::string capture = Session::readFile(Session::captureFile);
  size_t start = capture.find("\n\n");
  return start == std::string::npos ? 0 : pid_t(std::atoi(capture.c_str() + start + 2));
}

class Run : public ::testing::Test {
 protected:
  // OK on the highlighted entry, then the output window's rows once it opens.
  Session& runAndReadWindow(std::vector<std::string>& rows) {
    return session.key(Key::ok).waitFor(outputWindowOpen, "the output window").then([&rows] {
      rows = Session::rows(Session::topWindow());
    });
  }
  Session& waitForStatus(const std::string& text) {
    return session.waitFor([text] { return Session::statusText() == text; }, "status " + text);
  }
  Session session;
};

struct OutputCase {
  const char* name;
  std::string command;
  std::vector<std::string> output;  // rows after the header and its empty line
};

void PrintTo(const OutputCase& c, std::ostream* out) { *out << c.name; }

const OutputCase outputCases[] = {
    {"NothingGivesTwoRows", "true", {}},
    {"OneRowPerLine", "printf 'one\\ntwo\\n'", {"one\n", "two\n"}},
    {"ErrorsToo", "echo oops >&2", {"oops\n"}},
    {"BackspacesGoCarriageReturnsAndPercentsStay", "printf 'a\\bb\\rc%%d %%s\\n'", {"ab\rc%d %s\n"}},
    {"ANulByteEndsTheChunk", "printf 'x\\000y\\n'", {"x"}},
    {"LastLineWithoutNewline", "printf 'first\\nlast'", {"first\n", "last"}},
    {"LongLineInPiecesOf255",
     "head -c 600 /dev/zero | tr '\\0' a; echo",
     {std::string(255, 'a'), std::string(255, 'a'), std::string(90, 'a') + "\n"}},
    {"ExactlyOnePieceThenTheNewline",
     "head -c 255 /dev/zero | tr '\\0' b; echo",
     {std::string(255, 'b'), "\n"}},
};

using RunOutput = SessionCase<OutputCase>;
}  // namespace

TEST_P(RunOutput, WindowShowsTheHeaderAndTheOutput) {
  const OutputCase& c = GetParam();
  writeList({{c.command, true}});
  std::vector<std::string> rows;
  session.key(Key::ok).waitFor(outputWindowOpen, "the output window").then([&] {
    rows = Session::rows(Session::topWindow());
    EXPECT_FALSE(Session::mainWindow()->isVisible());
    EXPECT_FALSE(Session::exists(Session::captureFile));  // read, then deleted
  });
  session.key(Key::exit).then([] {
    EXPECT_EQ(Session::topWindow(), Session::mainWindow());
    EXPECT_TRUE(Session::mainWindow()->isVisible());
    EXPECT_EQ(Session::focus(), Session::list());
  });
  session.key(Key::exit);
  EXPECT_EQ(session.run(), 0);
  std::vector<std::string> expected = {header(c.command), "\n"};
  expected.insert(expected.end(), c.output.begin(), c.output.end());
  EXPECT_EQ(rows, expected);
}

INSTANTIATE_TEST_SUITE_P(Commands, RunOutput, ::testing::ValuesIn(outputCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Run, OutputWindowLayout) {
  writeList({{"true", true}});
  session.key(Key::ok).waitFor(outputWindowOpen, "the output window").then([] {
    eWidget* window = Session::topWindow();
    EXPECT_EQ(clientOrigin(window), ePoint(70, 80));
    EXPECT_EQ(window->getClientSize(), eSize(580, 450));
    eListBoxBase* list = Session::list(window);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->getPosition(), ePoint(10, 10));
    EXPECT_EQ(list->getSize(), eSize(560, 430));
    EXPECT_EQ(list->getItemHeight(), eListBoxEntryText::getEntryHeight());
    ASSERT_EQ(list->getCount(), 2);
    for (int i = 0; i < list->getCount(); ++i)
      EXPECT_EQ(static_cast<eListBoxEntryText*>(list->getEntry(i))->getKey(), 0);
  });
  session.keys({Key::exit, Key::exit});
  EXPECT_EQ(session.run(), 0);
}

TEST_F(Run, EntriesWithoutOutputReportHowTheRunEnded) {
  writeList({{"echo quiet; true", false}, {"echo loud >&2; exit 3", false}, {"kill -KILL $$", false}});
  session.key(Key::ok);
  waitForStatus("OK !");
  session.key(Key::down).key(Key::ok);
  waitForStatus("Failed (exit code 3) !");
  session.key(Key::down).key(Key::ok);
  waitForStatus("Failed (exit code 137) !");
  session.then([] {
    EXPECT_EQ(Session::focus(), Session::list());
    EXPECT_FALSE(Session::exists(Session::captureFile));
  });
  session.key(Key::exit);
  EXPECT_EQ(session.run(), 0);
}

TEST_F(Run, TimeOutAfterFiveSecondsShowsWhatCameUntilThen) {
  const std::string command = "echo $$; echo before; sleep 100; echo after";
  writeList({{command, true}});
  pid_t group = 0;
  session.key(Key::ok);
  session.waitFor(
      [] { return Session::readFile(Session::captureFile).find("before\n") != std::string::npos; },
      "the first output");
  session.advance(4999).then([&] {
    EXPECT_FALSE(outputWindowOpen());
    group = capturedGroup();
  });
  session.advance(1).waitFor(outputWindowOpen, "the output window").then([&] {
    auto rows = Session::rows(Session::topWindow());
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], header(command));
    EXPECT_EQ(rows[3], "before\n");
  });
  session.keys({Key::exit, Key::exit});
  EXPECT_EQ(session.run(), 0);
  ASSERT_GT(group, 0);
  EXPECT_FALSE(groupExists(group));
  EXPECT_EQ(zombieChildren(), 0);
  EXPECT_FALSE(Session::exists(Session::captureFile));  // nothing captured after the time-out
}

TEST_F(Run, TimeOutOfAnEntryWithoutOutputSaysSo) {
  writeList({{"sleep 100", false}});
  session.key(Key::ok).advance(5000);
  waitForStatus("Timeout !!!");
  session.then([] { EXPECT_FALSE(Session::exists(Session::captureFile)); });
  session.key(Key::exit);
  EXPECT_EQ(session.run(), 0);
  EXPECT_EQ(zombieChildren(), 0);
}

TEST_F(Run, OkDuringARunDoesNothing) {
  writeList({{"echo $$; sleep 100", true}, {"echo second", true}});
  session.key(Key::ok)
      .waitFor([] { return capturedGroup() > 0; }, "the run's first output")
      .advance(3000)
      .key(Key::down)
      .key(Key::ok)
      .then([] {
        EXPECT_EQ(Session::list()->getCurrentIndex(), 1);
        EXPECT_FALSE(outputWindowOpen());
      })
      // The time-out stays due 5000 ms after the first start.
      .advance(2000)
      .waitFor(outputWindowOpen, "the time-out")
      .then([] {
        auto rows = Session::rows(Session::topWindow());
        ASSERT_EQ(rows.size(), 3u);
        EXPECT_EQ(rows[0], header("echo $$; sleep 100"));
      });
  session.keys({Key::exit, Key::exit});
  EXPECT_EQ(session.run(), 0);
}

// How a run ends belongs to the entry that was started, wherever the
// highlight is when it ends.
TEST_F(Run, MovingTheHighlightDuringARunKeepsHowItEnds) {
  writeList({{"echo shown; sleep 100", true}, {"sleep 100", false}});
  session.key(Key::ok).key(Key::down).then([] { EXPECT_EQ(Session::list()->getCurrentIndex(), 1); });
  session.advance(5000).waitFor(outputWindowOpen, "the first entry's output").key(Key::exit);
  session.then([] { EXPECT_EQ(Session::statusText(), "Command: sleep 100\nshow messages: false"); });
  // Now the other way round: a quiet run ends while a showing entry is highlighted.
  session.key(Key::ok).key(Key::up).advance(5000);
  waitForStatus("Timeout !!!");
  session.then([] {
    EXPECT_FALSE(outputWindowOpen());
    EXPECT_FALSE(Session::exists(Session::captureFile));
  });
  session.key(Key::exit);
  EXPECT_EQ(session.run(), 0);
}

TEST_F(Run, LeavingDuringARunEndsTheCommandAndKeepsItsCapture) {
  writeList({{"echo $$; sleep 100", true}, {"echo next", true}});
  session.key(Key::ok).waitFor([] { return capturedGroup() > 0; }, "the run's first output").key(Key::exit);
  EXPECT_EQ(session.run(), 0);
  pid_t group = capturedGroup();
  ASSERT_GT(group, 0);
  EXPECT_FALSE(groupExists(group));
  EXPECT_EQ(zombieChildren(), 0);
  std::string leftover = Session::readFile(Session::captureFile);
  EXPECT_EQ(leftover, header("echo $$; sleep 100") + "\n" + std::to_string(group) + "\n");

  // The next use of the plug-in shows the leftovers first.
  std::vector<std::string> rows;
  session.key(Key::down);
  runAndReadWindow(rows).keys({Key::exit, Key::exit});
  EXPECT_EQ(session.run(), 0);
  EXPECT_EQ(rows, (std::vector<std::string>{header("echo $$; sleep 100"), "\n", std::to_string(group) + "\n",
                                            header("echo next"), "\n", "next\n"}));
}

TEST_F(Run, ABackgroundChildHoldingThePipeDoesNotHoldTheRun) {
  writeList({{"sleep 100 & echo started", true}});
  std::vector<std::string> rows;
  runAndReadWindow(rows).keys({Key::exit, Key::exit});
  EXPECT_EQ(session.run(), 0);
  EXPECT_EQ(rows, (std::vector<std::string>{header("sleep 100 & echo started"), "\n", "started\n"}));
  EXPECT_EQ(zombieChildren(), 0);
}

TEST_F(Run, TwoRunsInARowEachShowOnlyTheirOwnOutput) {
  writeList({{"echo one", true}, {"echo two", true}});
  std::vector<std::string> first, second;
  runAndReadWindow(first).key(Key::exit).key(Key::down);
  runAndReadWindow(second).keys({Key::exit, Key::exit});
  EXPECT_EQ(session.run(), 0);
  EXPECT_EQ(first, (std::vector<std::string>{header("echo one"), "\n", "one\n"}));
  EXPECT_EQ(second, (std::vector<std::string>{header("echo two"), "\n", "two\n"}));
}

TEST_F(Run, CaptureFileIsPrivate) {
  writeList({{"echo $$; sleep 100", true}});
  mode_t mode = 0;
  session.key(Key::ok).waitFor([] { return capturedGroup() > 0; }, "the first output").then([&] {
    struct stat status {};
    ASSERT_EQ(stat(Session::path(Session::captureFile).c_str(), &status), 0);
    mode = status.st_mode & 07777;
  });
  session.key(Key::exit);
  EXPECT_EQ(session.run(), 0);
  EXPECT_EQ(mode, 0600u);
}

// A link planted at the capture path is neither written nor read through.
TEST_F(Run, CapturePathThatIsALinkIsNotFollowed) {
  const std::string target = Session::path("/tmp/target");
  Session::writeFile("/tmp/target", "planted\n");
  std::filesystem::create_symlink(target, Session::path(Session::captureFile));
  writeList({{"echo secret", true}});
  std::vector<std::string> rows;
  runAndReadWindow(rows).keys({Key::exit, Key::exit});
  EXPECT_EQ(session.run(), 0);
  EXPECT_TRUE(rows.empty());
  EXPECT_EQ(Session::readFile("/tmp/target"), "planted\n");
  EXPECT_TRUE(std::filesystem::is_symlink(Session::path(Session::captureFile)));
}

// The entry of a run may be gone when the run ends: its end reads nothing
// of the list.
TEST_F(Run, DeletingTheRunningEntryDuringTheRun) {
  writeList({{"echo one", false}, {"echo $$; sleep 100", true}});
  std::vector<std::string> rows;
  session.key(Key::down)
      .key(Key::ok)
      .waitFor([] { return capturedGroup() > 0; }, "the run's first output")
      .key(Key::red)
      .then([] { EXPECT_EQ(Session::rows(), std::vector<std::string>{"run"}); })
      .advance(5000)
      .waitFor(outputWindowOpen, "the output window")
      .then([&rows] { rows = Session::rows(Session::topWindow()); });
  session.keys({Key::exit, Key::exit});
  EXPECT_EQ(session.run(), 0);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], header("echo $$; sleep 100"));
}
