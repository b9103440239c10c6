#include "host/xmltree.h"

#include <exception>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

// expat's handle type has the same name as the host's parser class.
#define XML_Parser XML_ParserHandle
#include <expat.h>
#undef XML_Parser

namespace {

// Expat reports UTF-8; the host wants the Latin-1 bytes that the document held.
// A character beyond U+00FF has no such byte and becomes one '?'. Plain
// ASCII, by far the most common, passes through uncopied.
const char* toLatin1(const char* utf8, std::string& scratch) {
  auto p = reinterpret_cast<const unsigned char*>(utf8);
  while (*p && *p < 0x80) ++p;
  if (!*p) return utf8;
  scratch.assign(utf8, reinterpret_cast<const char*>(p));
  while (*p) {
    unsigned code = *p++;
    if (code >= 0x80) {
      code = (code & 0xE0) == 0xC0 ? ((code & 0x1F) << 6) | (*p & 0x3F) : 0x100;
      while ((*p & 0xC0) == 0x80) ++p;
    }
    scratch += code <= 0xFF ? char(code) : '?';
  }
  return scratch.c_str();
}

}  // namespace

XMLTreeNode::~XMLTreeNode() {
  // Deleting level by level keeps the stack flat however deep the document nests.
  std::vector<XMLTreeNode*> doomed;
  doomed.swap(children);
  while (!doomed.empty()) {
    XMLTreeNode* node = doomed.back();
    doomed.pop_back();
    doomed.insert(doomed.end(), node->children.begin(), node->children.end());
    node->children.clear();
    delete node;
  }
}

const char* XMLTreeNode::GetAttributeValue(const char* name) const {
  for (const auto& attribute : attributes)
    if (attribute.first == name) return attribute.second.c_str();
  return nullptr;
}

void XMLTreeNode::AddAttribute(const char* name, const eString& value) {
  attributes.emplace_back(name, value);
}

XMLTreeNode* XMLTreeNode::AddChild(const char* type) {
  auto child = std::make_unique<XMLTreeNode>(type);
  child->parent = this;
  children.push_back(child.get());
  XMLTreeNode* added = child.release();
  if (children.size() > 1) children[children.size() - 2]->next = added;
  return added;
}

struct XML_Parser::Impl {
  Impl(XML_Parser* owner, const char* encoding) : owner(owner), expat(XML_ParserCreate(encoding)) {
    if (!expat) throw std::bad_alloc();
    // Expat's default limit on entity amplification stays in force, and
    // without a handler for them external entities are never loaded.
    XML_SetUserData(expat, this);
    XML_SetElementHandler(expat, onStart, onEnd);
  }
  ~Impl() { XML_ParserFree(expat); }

  // A handler's exception must not unwind through expat: park it, stop
  // the parser, and let Parse rethrow it.
  template <typename Handler>
  void guarded(Handler handler) {
    if (pending) return;
    try {
      handler();
    } catch (...) {
      pending = std::current_exception();
      XML_StopParser(expat, XML_FALSE);
    }
  }

  static void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto impl = static_cast<Impl*>(data);
    impl->guarded([&] {
      size_t count = 0;
      while (attributes[count]) ++count;
      // Kept from element to element: no allocation once they are large enough.
      if (impl->texts.size() < count + 1) impl->texts.resize(count + 1);
      impl->pointers.clear();
      for (size_t i = 0; i < count; ++i) impl->pointers.push_back(toLatin1(attributes[i], impl->texts[i]));
      impl->pointers.push_back(nullptr);
      impl->owner->StartElement(toLatin1(name, impl->texts[count]), impl->pointers.data());
    });
  }

  static void XMLCALL onEnd(void* data, const XML_Char*) {
    auto impl = static_cast<Impl*>(data);
    impl->guarded([&] { impl->owner->EndElement(); });
  }

  XML_Parser* owner;
  XML_ParserHandle expat;
  std::exception_ptr pending;
  std::vector<std::string> texts;  // converted names and values of one element
  std::vector<const char*> pointers;
};

XML_Parser::XML_Parser(const char* encoding) : d(new Impl(this, encoding)) {}

XML_Parser::~XML_Parser() { delete d; }

int XML_Parser::Parse(const char* buffer, int length, int isFinal) {
  // Expat keeps failing once it has failed or been stopped.
  bool ok = XML_Parse(d->expat, buffer, length, isFinal) == XML_STATUS_OK;
  if (d->pending) std::rethrow_exception(std::exchange(d->pending, nullptr));
  return ok;
}

XMLTreeParser::~XMLTreeParser() { delete root; }

void XMLTreeParser::StartElement(const char* name, const char** attributes) {
  // Expat refuses a second document element, so no current node means the first.
  XMLTreeNode* node = current ? current->AddChild(name) : (root = new XMLTreeNode(name));
  size_t count = 0;
  while (attributes[2 * count]) ++count;
  node->ReserveAttributes(count);
  for (; *attributes; attributes += 2) node->AddAttribute(attributes[0], attributes[1]);
  current = node;
}

void XMLTreeParser::EndElement() { current = current->GetParent(); }
