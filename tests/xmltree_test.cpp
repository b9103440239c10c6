#include "host/xmltree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

const char* const kEncoding = "ISO-8859-1";

// Feeds the document in chunks of the given size, the last one final, and
// stops at the first refusal.
int feed(XML_Parser& parser, const std::string& document, size_t chunk) {
  size_t done = 0;
  int ok;
  do {
    size_t length = std::min(chunk, document.size() - done);
    ok = parser.Parse(document.data() + done, int(length), done + length == document.size());
    done += length;
  } while (ok && done < document.size());
  return ok;
}

// Element names as "root(child,child(grandchild))"; parent links must agree.
std::string shape(const XMLTreeNode* node) {
  std::string out = node->GetType();
  if (!node->GetChild()) return out;
  out += '(';
  for (const XMLTreeNode* child = node->GetChild(); child; child = child->GetNext()) {
    EXPECT_EQ(node, child->GetParent()) << child->GetType();
    out += shape(child);
    if (child->GetNext()) out += ',';
  }
  return out + ')';
}

// Walks down from the root by child positions, one digit per level.
const XMLTreeNode* nodeAt(const XMLTreeNode* node, const std::string& path) {
  for (char position : path) {
    node = node->GetChild();
    for (int i = position - '0'; node && i > 0; --i) node = node->GetNext();
    if (!node) break;
  }
  return node;
}

std::string billionLaughs() {
  std::string document = "<!DOCTYPE r [<!ENTITY l0 \"lol\">";
  for (int level = 1; level <= 9; ++level) {
    document += "<!ENTITY l" + std::to_string(level) + " \"";
    for (int i = 0; i < 10; ++i) document += "&l" + std::to_string(level - 1) + ";";
    document += "\">";
  }
  return document + "]><r v=\"&l9;\"/>";
}

std::string allHighBytes() {
  std::string bytes;
  for (int byte = 0x80; byte <= 0xFF; ++byte) bytes += char(byte);
  return bytes;
}

struct Attribute {
  const char* path;  // as for nodeAt
  const char* name;
  std::optional<std::string> value;  // none when it must be absent
};

struct Case {
  const char* title;
  std::string document;
  const char* shape;  // null when the document must be refused
  std::vector<Attribute> attributes;
};

const std::vector<Case>& cases() {
  static const std::vector<Case> table = {
      {"children in document order", "<r><a/><b></b><c/></r>", "r(a,b,c)", {}},
      {"nested elements stay below their parent",
       "<r><a><x><y/></x></a><b><z/></b></r>",
       "r(a(x(y)),b(z))",
       {}},
      {"text, comments and prolog add no nodes",
       "<?xml version=\"1.0\"?>\n<!-- c --><r>text<a/>more<![CDATA[<b/>]]></r>\n",
       "r(a)",
       {}},
      {"present, empty and missing attributes",
       "<r p=\"1\" e=\"\"><a q='2'/></r>",
       "r(a)",
       {{"", "p", "1"}, {"", "e", ""}, {"", "q", std::nullopt}, {"0", "q", "2"}, {"0", "p", std::nullopt}}},
      {"Latin-1 bytes round-trip in values and names",
       "<r v=\"\xE4\xF6\xFC\xFF\"><\xC4 \xE9=\"" + allHighBytes() + "\"/></r>",
       "r(\xC4)",
       {{"", "v", "\xE4\xF6\xFC\xFF"}, {"0", "\xE9", allHighBytes()}}},
      {"each character beyond U+00FF becomes one '?'",
       "<r v=\"a&#x263A;b&#xFF;&#x100;c&#x10348;&#228;\"/>",
       "r",
       {{"", "v", "a?b\xFF?c?\xE4"}}},
      {"literal white space is normalised, references are kept",
       "<r lit=\"a\tb\nc\rd\r\ne\" ref=\"a&#9;b&#10;c&#13;d\"/>",
       "r",
       {{"", "lit", "a b c d e"}, {"", "ref", "a\tb\nc\rd"}}},
      {"predefined entities are decoded", "<r v=\"&amp;&lt;&gt;&quot;&apos;\"/>", "r", {{"", "v", "&<>\"'"}}},
      {"the parser's encoding wins over the declared one",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?><r v=\"\xE9\"/>",
       "r",
       {{"", "v", "\xE9"}}},
      {"mismatched end tag", "<r><a></r>", nullptr, {}},
      {"unclosed element", "<r><a/>", nullptr, {}},
      {"two document elements", "<a/><b/>", nullptr, {}},
      {"mismatched quotes", "<r a=\"1'/>", nullptr, {}},
      {"unquoted value", "<r a=1/>", nullptr, {}},
      {"duplicate attribute", "<r a=\"1\" a=\"2\"/>", nullptr, {}},
      {"NUL byte in content", "<r>\0</r>"s, nullptr, {}},
      {"NUL byte in value", "<r a=\"\0\"/>"s, nullptr, {}},
      {"control byte in content", "<r>\x01</r>", nullptr, {}},
      {"control byte in value", "<r a=\"\x01\"/>", nullptr, {}},
      {"reference to NUL", "<r a=\"&#0;\"/>", nullptr, {}},
      {"undefined entity", "<r a=\"&nope;\"/>", nullptr, {}},
      {"empty input", "", nullptr, {}},
      {"text without element", "hello", nullptr, {}},
      {"exponential entity expansion", billionLaughs(), nullptr, {}},
  };
  return table;
}

TEST(XMLTreeParser, ParsesTableInAnyChunking) {
  for (const Case& c : cases()) {
    for (size_t chunk : {c.document.size() + 1, size_t(1), size_t(7)}) {
      SCOPED_TRACE(std::string(c.title) + ", chunks of " + std::to_string(chunk));
      XMLTreeParser parser(kEncoding);
      int ok = feed(parser, c.document, chunk);
      if (!c.shape) {
        EXPECT_EQ(0, ok);
        continue;
      }
      ASSERT_NE(0, ok);
      ASSERT_NE(nullptr, parser.RootNode());
      EXPECT_EQ(c.shape, shape(parser.RootNode()));
      for (const Attribute& a : c.attributes) {
        const XMLTreeNode* node = nodeAt(parser.RootNode(), a.path);
        ASSERT_NE(nullptr, node) << a.path;
        const char* value = node->GetAttributeValue(a.name);
        if (!a.value) {
          EXPECT_EQ(nullptr, value) << a.name;
        } else {
          ASSERT_NE(nullptr, value) << a.name;
          EXPECT_EQ(*a.value, value) << a.name;
        }
      }
    }
  }
}

TEST(XMLTreeParser, NoRootWithoutDocument) {
  XMLTreeParser parser(kEncoding);
  EXPECT_EQ(nullptr, parser.RootNode());
}

TEST(XMLTreeParser, FinalEmptyChunkCompletesDocument) {
  XMLTreeParser parser(kEncoding);
  std::string document = "<r><a/></r>";
  EXPECT_NE(0, parser.Parse(document.data(), int(document.size()), 0));
  EXPECT_NE(0, parser.Parse(nullptr, 0, 1));
  ASSERT_NE(nullptr, parser.RootNode());
  EXPECT_EQ("r(a)", shape(parser.RootNode()));
}

TEST(XMLTreeParser, UnfinishedDocumentFailsAtFinalChunk) {
  XMLTreeParser parser(kEncoding);
  std::string document = "<r><a>";
  EXPECT_NE(0, parser.Parse(document.data(), int(document.size()), 0));
  EXPECT_EQ(0, parser.Parse(nullptr, 0, 1));
}

TEST(XMLTreeParser, StaysFailedAfterError) {
  XMLTreeParser parser(kEncoding);
  std::string bad = "<r><a></b>";
  std::string rest = "</a></r>";
  EXPECT_EQ(0, parser.Parse(bad.data(), int(bad.size()), 0));
  EXPECT_EQ(0, parser.Parse(rest.data(), int(rest.size()), 1));
}

TEST(XMLTreeParser, DeepNestingNeedsNoDeepStack) {
  const int depth = 200000;
  std::string document;
  for (int i = 0; i < depth; ++i) document += "<a>";
  for (int i = 0; i < depth; ++i) document += "</a>";
  XMLTreeParser parser(kEncoding);
  ASSERT_NE(0, feed(parser, document, document.size()));
  int levels = 0;
  for (const XMLTreeNode* node = parser.RootNode(); node; node = node->GetChild()) ++levels;
  EXPECT_EQ(depth, levels);
}

// Throws from the handler of one element and counts what reaches it.
class ThrowingParser : public XML_Parser {
 public:
  ThrowingParser() : XML_Parser(kEncoding) {}
  int starts = 0;
  int ends = 0;

 protected:
  void StartElement(const char* name, const char**) override {
    ++starts;
    if (std::string(name) == "boom") throw std::runtime_error("boom");
  }
  void EndElement() override { ++ends; }
};

TEST(XML_Parser, HandlerExceptionReachesCallerAndStopsParsing) {
  ThrowingParser parser;
  std::string document = "<r><boom/><after/></r>";
  EXPECT_THROW(parser.Parse(document.data(), int(document.size()), 0), std::runtime_error);
  EXPECT_EQ(2, parser.starts);
  EXPECT_EQ(0, parser.ends);
  EXPECT_EQ(0, parser.Parse(nullptr, 0, 1));
  EXPECT_EQ(2, parser.starts);
}

}  // namespace
