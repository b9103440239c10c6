// Loading the command list file into the list box and the entries.
#include <gtest/gtest.h>

#include "tests/harness.h"
#include "tests/list_file.h"

namespace {
using list_file::head;
using list_file::tail;

std::string entry(const std::string& attributes) { return "\t<shell " + attributes + " />\n"; }

struct LoadCase {
  const char* name;
  std::string file;
  std::vector<std::string> rows;
  std::vector<std::string> summaries;  // of each entry, read by moving the highlight
  std::vector<std::string> messages;
};

const LoadCase loadCases[] = {
    {"NoShellChildren", head + tail, {}, {}, {}},
    {"RootOfAnyName",
     "<commands><shell description=\"d\" command=\"c\" message=\"true\"/></commands>",
     {"d"},
     {"Command: c\nshow messages: true"},
     {}},
    {"OtherChildrenArePassedOver",
     head + entry("description=\"one\" command=\"1\"") + "\t<shells command=\"x\"/><Shell command=\"y\"/>" +
         "<shel command=\"z\"/>" + entry("description=\"two\" command=\"2\"") + tail,
     {"one", "two"},
     {"Command: 1\nshow messages: false", "Command: 2\nshow messages: false"},
     {}},
    {"EmptyOrMissingDescriptionShowsAnEmptyRow",
     head + entry("description=\"\" command=\"df -h\" message=\"true\"") + entry("command=\"uptime\"") + tail,
     {"", ""},
     {"Command: df -h\nshow messages: true", "Command: uptime\nshow messages: false"},
     {}},
    {"MessageIsTrueOnlyWhenExactlyTrue",
     head + entry("description=\"a\" command=\"a\" message=\"TRUE\"") +
         entry("description=\"b\" command=\"b\" message=\" true\"") +
         entry("description=\"c\" command=\"c\"") +
         entry("description=\"d\" command=\"d\" message=\"true\"") + tail,
     {"a", "b", "c", "d"},
     {"Command: a\nshow messages: false", "Command: b\nshow messages: false",
      "Command: c\nshow messages: false", "Command: d\nshow messages: true"},
     {}},
    {"EntryWithoutCommandStopsTheLoad",
     head + entry("description=\"first\" command=\"1\"") + entry("description=\"second\" command=\"\"") +
         entry("description=\"third\" command=\"3\"") + tail,
     {"first"},
     {"Command: 1\nshow messages: false"},
     {"entry command not found"}},
    {"EntryWithMissingCommandStopsTheLoad",
     head + entry("description=\"second\"") + entry("description=\"third\" command=\"3\"") + tail,
     {},
     {},
     {"entry command not found"}},
    {"ParseError", head + entry("description=\"a&b\" command=\"x\"") + tail, {}, {}, {"parse error"}},
    {"NotXmlAtAll", "uptime\n", {}, {}, {"parse error"}},
    {"EmptyFile", "", {}, {}, {"parse error"}},
    {"Latin1BytesAreKept",
     head + entry("description=\"Gr\xfc\xdf\xe9 \xff\" command=\"echo \xe4\" message=\"true\"") + tail,
     {"Gr\xfc\xdf\xe9 \xff"},
     {"Command: echo \xe4\nshow messages: true"},
     {}},
    {"CharacterReferencesAreDecoded",
     head + entry("description=\"a&amp;b &lt;c&gt; &quot;q&quot;\" command=\"printf '%s&#9;x&#10;'\"") + tail,
     {"a&b <c> \"q\""},
     {"Command: printf '%s\tx\n'\nshow messages: false"},
     {}},
};

void PrintTo(const LoadCase& c, std::ostream* out) { *out << c.name; }

using Load = SessionCase<LoadCase>;
}  // namespace

TEST_P(Load, RowsKeysSummariesAndMessages) {
  const LoadCase& c = GetParam();
  Session::writeListFile(c.file);
  std::vector<std::string> summaries;
  session.then([&] {
    EXPECT_EQ(Session::rows(), c.rows);
    std::vector<int> keys;
    for (int i = 0; i < int(c.rows.size()); ++i) keys.push_back(i);
    EXPECT_EQ(Session::rowKeys(), keys);
    if (c.messages.empty()) {
      EXPECT_EQ(Session::focus(), Session::list());
      EXPECT_EQ(Session::statusText(), c.summaries.empty() ? "" : c.summaries.front());
    }
  });
  for (size_t i = 0; i < c.rows.size(); ++i) {
    session.then([&] {
      Session::mainWindow()->setFocus(Session::list());
      summaries.push_back(Session::statusText());
    });
    session.key(Key::down);
  }
  session.key(Key::exit);
  EXPECT_EQ(session.run(), 0);
  EXPECT_EQ(summaries, c.summaries);
  EXPECT_EQ(session.messageTexts(), c.messages);
  for (const auto& seen : session.messages()) EXPECT_EQ(seen.caption, "Error");
  // Loading never writes the file.
  EXPECT_EQ(Session::readListFile(), c.file);
}

INSTANTIATE_TEST_SUITE_P(Files, Load, ::testing::ValuesIn(loadCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Files around the 2048-byte read size load whole, also one that ends
// exactly at a chunk boundary and needs an empty final chunk.
using LoadChunks = SessionCase<size_t>;

TEST_P(LoadChunks, FileOfExactSize) {
  std::string entries;
  int count = 0;
  while (head.size() + entries.size() + tail.size() + 100 < GetParam()) {
    entries += entry("description=\"entry " + std::to_string(count) + "\" command=\"true\"");
    ++count;
  }
  std::string file = head + entries + tail;
  file.insert(file.size() - tail.size(), GetParam() - file.size(), ' ');
  ASSERT_EQ(file.size(), GetParam());
  Session::writeListFile(file);
  session.then([count] {
    ASSERT_EQ(int(Session::rows().size()), count);
    EXPECT_EQ(Session::rows().back(), "entry " + std::to_string(count - 1));
  });
  session.key(Key::exit);
  EXPECT_EQ(session.run(), 0);
  EXPECT_TRUE(session.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Sizes, LoadChunks, ::testing::Values(2047, 2048, 2049, 4096));
