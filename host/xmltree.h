#pragma once

#include <vector>

#include "api.h"
#include "estring.h"

// One element of a parsed document; names and attribute values are
// ISO-8859-1 bytes.
class HOST_API XMLTreeNode {
 public:
  explicit XMLTreeNode(const char* type) : type(type) {}
  XMLTreeNode(const XMLTreeNode&) = delete;
  XMLTreeNode& operator=(const XMLTreeNode&) = delete;
  ~XMLTreeNode();

  const char* GetType() const { return type.c_str(); }    // element name
  const char* GetAttributeValue(const char* name) const;  // null when absent
  XMLTreeNode* GetChild() const { return children.empty() ? nullptr : children.front(); }
  XMLTreeNode* GetNext() const { return next; }

  void ReserveAttributes(size_t count) { attributes.reserve(count); }
  void AddAttribute(const char* name, const eString& value);
  XMLTreeNode* AddChild(const char* type);
  XMLTreeNode* GetParent() const { return parent; }

 private:
  eString type;
  std::vector<std::pair<eString, eString>> attributes;
  std::vector<XMLTreeNode*> children;
  XMLTreeNode* parent = nullptr;
  XMLTreeNode* next = nullptr;
};

class HOST_API XML_Parser {
 public:
  explicit XML_Parser(const char* encoding);
  XML_Parser(const XML_Parser&) = delete;
  XML_Parser& operator=(const XML_Parser&) = delete;
  virtual ~XML_Parser();

  // Feeds one chunk; non-zero while the document is acceptable.
  int Parse(const char* buffer, int length, int isFinal);

 protected:
  virtual void StartElement(const char* name, const char** attributes) = 0;
  virtual void EndElement() = 0;

 private:
  struct Impl;
  Impl* d;
};

// Builds the whole element tree; the tree goes with the parser.
class HOST_API XMLTreeParser : public XML_Parser {
 public:
  explicit XMLTreeParser(const char* encoding) : XML_Parser(encoding) {}
  ~XMLTreeParser() override;
  XMLTreeNode* RootNode() const { return root; }

 protected:
  void StartElement(const char* name, const char** attributes) override;
  void EndElement() override;

 private:
  XMLTreeNode* root = nullptr;
  XMLTreeNode* current = nullptr;
};
