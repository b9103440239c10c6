// Saving the list: the bytes of the written file, values that survive a
// save and a reload unchanged, and what a failed or refused save leaves.
#include <gtest/gtest.h>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <numeric>

#include "host/elistbox.h"
#include "tests/edit_steps.h"

using namespace edit;
namespace fs = std::filesystem;

namespace {
const std::string threeEntries = head + line("One", "echo 1", "true") + line("Two", "echo 2", "false") +
                                 line("Three", "echo 3", "true") + tail;
const std::string configFolder = "/var/tuxbox/config";

std::vector<std::string> folderContents(const std::string& fixed) {
  std::vector<std::string> names;
  for (const auto& item : fs::directory_iterator(Session::path(fixed)))
    names.push_back(item.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

struct BytesCase {
  const char* name;
  std::string file;  // empty: no list file at start
  std::function<void(Session&)> steps;
  std::string written;
  std::vector<std::string> rows;  // after the reload
};

const BytesCase bytesCases[] = {
    {"DeletingTheOnlyEntryLeavesTheEmptyList",
     head + line("One", "echo 1", "true") + tail,
     [](Session& s) { s.key(Key::red); },
     head + tail,
     {}},
    {"NewEntryGoesLast",
     threeEntries,
     [](Session& s) {
       s.key(Key::yellow);
       typeInto(s, Session::commandField, "date");
       typeInto(s, Session::descriptionField, "Date");
       toggleCheck(s);
       s.key(Key::blue);
     },
     head + line("One", "echo 1", "true") + line("Two", "echo 2", "false") + line("Three", "echo 3", "true") +
         line("Date", "date", "true") + tail,
     {"One", "Two", "Three", "Date"}},
    {"NewEntryWithoutDescriptionShowsAnEmptyRow",
     head + tail,
     [](Session& s) {
       typeInto(s, Session::commandField, "date");
       s.key(Key::blue);
     },
     head + line("", "date", "false") + tail,
     {""}},
    {"DeletingTheMiddleOfThree",
     threeEntries,
     [](Session& s) {
       s.keys({Key::down, Key::red});
     },
     head + line("One", "echo 1", "true") + line("Three", "echo 3", "true") + tail,
     {"One", "Three"}},
    {"ReplacingTheMiddleOfThree",
     threeEntries,
     [](Session& s) {
       s.keys({Key::down, Key::green});
       typeInto(s, Session::commandField, "2");
       typeInto(s, Session::descriptionField, "!");
       toggleCheck(s);
       s.key(Key::blue);
     },
     head + line("One", "echo 1", "true") + line("Two!", "echo 22", "true") +
         line("Three", "echo 3", "true") + tail,
     {"One", "Two!", "Three"}},
    {"CommandOfBlanksIsWrittenUnchanged",
     head + tail,
     [](Session& s) {
       typeInto(s, Session::commandField, "   ");
       s.key(Key::blue);
     },
     head + line("", "   ", "false") + tail,
     {""}},
    {"FirstSaveCreatesAMissingFile",
     "",
     [](Session& s) {
       typeInto(s, Session::commandField, "date");
       s.key(Key::blue);
     },
     head + line("", "date", "false") + tail,
     {""}},
    {"EntryWithoutDescriptionIsWrittenWithItsCommand",
     head + "\t<shell command=\"uptime\"/>\n" + line("", "df", "true") + tail,
     [](Session& s) {
       typeInto(s, Session::commandField, "date");
       s.key(Key::blue);
     },
     head + line("uptime", "uptime", "false") + line("df", "df", "true") + line("", "date", "false") + tail,
     {"uptime", "df", ""}},
    {"MarkupAndBlanksAreEscaped",
     head + tail,
     [](Session& s) {
       typeInto(s, Session::commandField, "a \"b\" & <c> d\te\nf\rg");
       typeInto(s, Session::descriptionField, "x > y &amp;");
       s.key(Key::blue);
     },
     head + line("x &gt; y &amp;amp;", "a &quot;b&quot; &amp; &lt;c&gt; d&#9;e&#10;f&#13;g", "false") + tail,
     {"x > y &amp;"}},
    {"Latin1BytesAreWrittenAsTheyAre",
     head + tail,
     [](Session& s) {
       typeInto(s, Session::commandField, "echo \xe4\xf6\xfc\xdf\x80\xff");
       typeInto(s, Session::descriptionField,
                "Gr\xfc\xdf"
                "e");
       s.key(Key::blue);
     },
     head +
         line("Gr\xfc\xdf"
              "e",
              "echo \xe4\xf6\xfc\xdf\x80\xff", "false") +
         tail,
     {"Gr\xfc\xdf"
      "e"}},
    {"ControlBytesAreLeftOut",
     head + tail,
     [](Session& s) {
       typeInto(s, Session::commandField,
                std::string("a\x01\x08\x0b\x0c\x0e\x1f", 7) + "b" + std::string(1, '\0') + "\x7f");
       s.key(Key::blue);
     },
     head + line("", "ab\x7f", "false") + tail,
     {""}},
};

void PrintTo(const BytesCase& c, std::ostream* out) { *out << c.name; }

using SaveBytes = SessionCase<BytesCase>;
}  // namespace

TEST_P(SaveBytes, FileAndRowsAfterTheReload) {
  const BytesCase& c = GetParam();
  if (!c.file.empty()) Session::writeListFile(c.file);
  c.steps(session);
  session.then([&] {
    EXPECT_EQ(Session::readListFile(), c.written);
    EXPECT_EQ(Session::rows(), c.rows);
    std::vector<int> keys(c.rows.size());
    std::iota(keys.begin(), keys.end(), 0);
    EXPECT_EQ(Session::rowKeys(), keys);
    EXPECT_EQ(form(), (Form{"", "", 0}));
    EXPECT_EQ(Session::focus(), Session::list());
  });
  session.key(Key::exit);
  EXPECT_EQ(session.run(), 0);
  std::vector<std::string> expected;
  if (c.file.empty()) expected.push_back("unable to open\n/var/tuxbox/config/dorvane.xml");
  EXPECT_EQ(session.messageTexts(), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SaveBytes, ::testing::ValuesIn(bytesCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SaveFormat, TheEmptyListIs60Bytes) { EXPECT_EQ((head + tail).size(), 60u); }

// What the form or the reader can hold comes back unchanged from a save and
// the reload: green after it shows the very bytes that were typed or read.
namespace {
struct RoundTrip {
  const char* name;
  std::string file;  // what is loaded first; empty: the values are typed
  std::string command, description;
};

std::string allLatin1() {
  std::string bytes;
  for (int c = 0x80; c <= 0xff; ++c) bytes += char(c);
  return bytes;
}

const RoundTrip roundTrips[] = {
    {"Quotes", "", "echo \"hi\" 'there'", "\"quoted\""},
    {"AmpersandsAndAngles", "", "a && b > /tmp/x < /dev/null", "&amp; &lt; &#9;"},
    {"TabsLineFeedsAndReturns", "", "printf 'a\tb\n'\r\n", "\t two\nlines \t"},
    {"EveryLatin1Byte", "", "echo " + allLatin1(), allLatin1()},
    {"LeadingAndTrailingBlanks", "", "  ls  ", "  "},
    {"ReferencesReadFromTheFile",
     head + "\t<shell description=\"&quot;q&quot; &amp; &lt;&gt; &#9;&#10;&#13;\" command=\"a&#x9;b\"/>\n" +
         tail,
     "a\tb", "\"q\" & <> \t\n\r"},
};

void PrintTo(const RoundTrip& c, std::ostream* out) { *out << c.name; }

using SaveRoundTrip = SessionCase<RoundTrip>;
}  // namespace

TEST_P(SaveRoundTrip, GreenShowsTheSameBytesAfterTheReload) {
  const RoundTrip& c = GetParam();
  Session::writeListFile(c.file.empty() ? head + tail : c.file);
  if (c.file.empty()) {
    typeInto(session, Session::commandField, c.command);
    typeInto(session, Session::descriptionField, c.description);
  } else {
    session.key(Key::green).then([&] { EXPECT_EQ(form(), (Form{c.command, c.description, 0})); });
  }
  session.keys({Key::blue, Key::green}).then([&] {
    EXPECT_EQ(form(), (Form{c.command, c.description, 0}));
    EXPECT_EQ(Session::rows(), std::vector<std::string>{c.description});
  });
  session.key(Key::exit);
  EXPECT_EQ(session.run(), 0);
  EXPECT_TRUE(session.messages().empty()) << quoted(Session::readListFile());
}

INSTANTIATE_TEST_SUITE_P(Values, SaveRoundTrip, ::testing::ValuesIn(roundTrips),
                         [](const auto& info) { return std::string(info.param.name); });

// A save that cannot write keeps the old file as it was, leaves no
// temporary file behind, names the failure, and still empties the form and
// reloads, which drops the entry that was to be added.
namespace {
struct Failure {
  const char* name;
  std::function<void()> impose, lift;
  std::string message;
};

rlimit savedLimit;
void (*savedHandler)(int);

const Failure failures[] = {
    // A limit on file sizes fails the writes as a full file system would.
    {"FileSystemFull",
     [] {
       savedHandler = std::signal(SIGXFSZ, SIG_IGN);
       getrlimit(RLIMIT_FSIZE, &savedLimit);
       rlimit small = savedLimit;
       small.rlim_cur = 100;
       setrlimit(RLIMIT_FSIZE, &small);
     },
     [] {
       setrlimit(RLIMIT_FSIZE, &savedLimit);
       std::signal(SIGXFSZ, savedHandler);
     },
     "sorry, couldn't write\n/var/tuxbox/config/dorvane.xml"},
    // Root passes over permission bits; with another file system user the
    // folder's bits hold again.
    {"UnwritableFolder",
     [] {
       fs::permissions(Session::path(configFolder), fs::perms(0555));
       setfsuid(65534);
     },
     [] {
       setfsuid(getuid());
       fs::permissions(Session::path(configFolder), fs::perms(0755));
     },
     "sorry, couldn't create\n/var/tuxbox/config/dorvane.xml"},
};

void PrintTo(const Failure& c, std::ostream* out) { *out << c.name; }

using SaveFailure = SessionCase<Failure>;
}  // namespace

TEST_P(SaveFailure, OldFileStaysAndTheMessageSaysWhy) {
  const Failure& c = GetParam();
  Session::writeListFile(threeEntries);
  fs::permissions(Session::path(Session::listFile), fs::perms(0644));
  typeInto(session, Session::commandField, "date");
  session.then([&] {
    c.impose();
    pressKey(Key::blue);
    c.lift();
    EXPECT_EQ(form(), (Form{"", "", 0}));
    EXPECT_EQ(Session::rows(), (std::vector<std::string>{"One", "Two", "Three"}));
  });
  session.key(Key::exit);
  EXPECT_EQ(session.run(), 0);
  EXPECT_EQ(session.messageTexts(), std::vector<std::string>{c.message});
  EXPECT_EQ(Session::readListFile(), threeEntries);
  EXPECT_EQ(folderContents(configFolder), std::vector<std::string>{"dorvane.xml"});
}

INSTANTIATE_TEST_SUITE_P(Conditions, SaveFailure, ::testing::ValuesIn(failures),
                         [](const auto& info) { return std::string(info.param.name); });

// After a load that did not read the whole file, a save would drop the rest
// of it: nothing is written and the form keeps what was typed.
namespace {
struct Refusal {
  const char* name;
  std::string file;
  std::string loadMessage;
  Key key;
};

const std::string missingCommand = head + line("One", "echo 1", "true") + "\t<shell description=\"Two\"/>\n" +
                                   line("Three", "echo 3", "true") + tail;

const Refusal refusals[] = {
    {"BlueAfterAParseError", head + line("a&b", "x", "true") + tail, "parse error", Key::blue},
    {"BlueAfterAnEntryWithoutCommand", missingCommand, "entry command not found", Key::blue},
    {"RedAfterAnEntryWithoutCommand", missingCommand, "entry command not found", Key::red},
};

void PrintTo(const Refusal& c, std::ostream* out) { *out << c.name; }

using SaveRefused = SessionCase<Refusal>;
}  // namespace

TEST_P(SaveRefused, FileAndFormStay) {
  const Refusal& c = GetParam();
  Session::writeListFile(c.file);
  ino_t before = inodeOf(Session::listFile);
  typeInto(session, Session::commandField, "date");
  session.key(c.key).then([] { EXPECT_EQ(form(), (Form{"date", "", 0})); });
  session.key(Key::exit);
  EXPECT_EQ(session.run(), 0);
  EXPECT_EQ(session.messageTexts(),
            (std::vector<std::string>{c.loadMessage, "list file not completely loaded,\nnot saved"}));
  EXPECT_EQ(Session::readListFile(), c.file);
  EXPECT_EQ(inodeOf(Session::listFile), before);
}

INSTANTIATE_TEST_SUITE_P(IncompleteLoads, SaveRefused, ::testing::ValuesIn(refusals),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {
class Save : public ::testing::Test {
 protected:
  Session session;
};
}  // namespace

// The delete mode ends with the red key's save: a command typed afterwards
// is appended, and the entry at the highlight stays.
TEST_F(Save, BlueAfterRedAppends) {
  Session::writeListFile(threeEntries);
  session.keys({Key::down, Key::red, Key::up});
  typeInto(session, Session::commandField, "date");
  session.key(Key::blue).key(Key::exit);
  EXPECT_EQ(session.run(), 0);
  EXPECT_TRUE(session.messages().empty());
  EXPECT_EQ(Session::readListFile(), head + line("One", "echo 1", "true") + line("Three", "echo 3", "true") +
                                         line("", "date", "false") + tail);
}

TEST_F(Save, GreenAfterDeletingTheLastEntryEditsTheHighlightedOne) {
  Session::writeListFile(threeEntries);
  session.keys({Key::down, Key::down, Key::red, Key::green}).then([] {
    EXPECT_EQ(Session::list()->getCurrentIndex(), 1);
    EXPECT_EQ(form(), (Form{"echo 2", "Two", 0}));
  });
  session.key(Key::exit);
  EXPECT_EQ(session.run(), 0);
  EXPECT_EQ(Session::readListFile(),
            head + line("One", "echo 1", "true") + line("Two", "echo 2", "false") + tail);
}

// A host that reports a highlight beyond the entries: green finds nothing
// to edit and leaves the form and the mode alone.
TEST_F(Save, GreenWithTheHighlightPastTheEndDoesNothing) {
  Session::writeListFile(threeEntries);
  typeInto(session, Session::commandField, "date");
  session.then([] {
    eListBox<eListBoxEntryText> elsewhere(Session::mainWindow());
    auto* row = new eListBoxEntryText(&elsewhere, "beyond", 3);
    static_cast<eListBox<eListBoxEntryText>*>(Session::list())->selchanged.emit(row);
  });
  session.key(Key::green).then([] { EXPECT_EQ(form(), (Form{"date", "", 0})); });
  session.key(Key::blue).key(Key::exit);
  EXPECT_EQ(session.run(), 0);
  EXPECT_TRUE(session.messages().empty());
  EXPECT_EQ(Session::readListFile(), head + line("One", "echo 1", "true") + line("Two", "echo 2", "false") +
                                         line("Three", "echo 3", "true") + line("", "date", "false") + tail);
}

TEST_F(Save, TheFileKeepsItsPermissions) {
  Session::writeListFile(threeEntries);
  fs::permissions(Session::path(Session::listFile), fs::perms(0600));
  session.key(Key::red).key(Key::exit);
  EXPECT_EQ(session.run(), 0);
  EXPECT_EQ(fs::status(Session::path(Session::listFile)).permissions(), fs::perms(0600));
}

TEST_F(Save, ANewFileIsReadableByAll) {
  typeInto(session, Session::commandField, "date");
  session.key(Key::blue).key(Key::exit);
  EXPECT_EQ(session.run(), 0);
  EXPECT_EQ(fs::status(Session::path(Session::listFile)).permissions(), fs::perms(0644));
}

// A list file that is a symbolic link stays one; the file it names is replaced.
namespace {
struct Link {
  const char* name;
  std::vector<std::pair<std::string, std::string>> links;  // link, what it points to
  std::string target;                                      // the file that holds the list
  bool targetExists;
};

const std::string realList = "/var/lists/real.xml";

const Link linkCases[] = {
    {"Relative", {{Session::listFile, "../../lists/real.xml"}}, realList, true},
    {"Absolute", {{Session::listFile, Session::path(realList)}}, realList, true},
    {"LinkToALink",
     {{Session::listFile, "middle.xml"}, {"/var/tuxbox/config/middle.xml", "../../lists/real.xml"}},
     realList,
     true},
    {"DanglingLinkCreatesItsTarget", {{Session::listFile, "../../lists/real.xml"}}, realList, false},
};

void PrintTo(const Link& c, std::ostream* out) { *out << c.name; }

using SaveThroughLink = SessionCase<Link>;
}  // namespace

TEST_P(SaveThroughLink, TheLinkStaysAndItsTargetIsReplaced) {
  const Link& c = GetParam();
  fs::create_directories(Session::path("/var/lists"));
  if (c.targetExists) Session::writeFile(c.target, threeEntries);
  for (const auto& [link, to] : c.links) fs::create_symlink(to, Session::path(link));
  if (c.targetExists) {
    session.keys({Key::down, Key::red});
  } else {
    typeInto(session, Session::commandField, "date");
    session.key(Key::blue);
  }
  session.key(Key::exit);
  EXPECT_EQ(session.run(), 0);
  for (const auto& [link, to] : c.links) {
    ASSERT_TRUE(fs::is_symlink(Session::path(link))) << link;
    EXPECT_EQ(fs::read_symlink(Session::path(link)), to);
  }
  EXPECT_EQ(Session::readFile(c.target),
            c.targetExists ? head + line("One", "echo 1", "true") + line("Three", "echo 3", "true") + tail
                           : head + line("", "date", "false") + tail);
  EXPECT_EQ(folderContents("/var/lists"), std::vector<std::string>{"real.xml"});
}

INSTANTIATE_TEST_SUITE_P(Links, SaveThroughLink, ::testing::ValuesIn(linkCases),
                         [](const auto& info) { return std::string(info.param.name); });
