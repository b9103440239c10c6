#include <cerrno>
#include <cstdio>
#include <cstring>

#include "host/xmltree.h"
#include "plugin/paths.h"
#include "plugin/shell.h"

namespace {
eString attribute(const XMLTreeNode* node, const char* name) {
  const char* value = node->GetAttributeValue(name);
  return value ? value : "";
}
}  // namespace

int shell::loadlistfeld() {
  XMLTreeParser parser("ISO-8859-1");
  FILE* in = std::fopen(paths::onDisk(paths::listFile).c_str(), "rt");
  if (!in) {
    list_file = errno == ENOENT ? ListFile::missing : ListFile::incomplete;
    errormsg(eString("unable to open\n") + paths::listFile);
    return 0;
  }

  // The whole tree is parsed before anything of the list is touched.
  char buffer[2048];
  bool final;
  do {
    size_t length = std::fread(buffer, 1, sizeof buffer, in);
    final = length < sizeof buffer;
    if (!parser.Parse(buffer, int(length), final)) {
      list_file = ListFile::incomplete;
      errormsg("parse error");
      std::fclose(in);
      return 0;
    }
  } while (!final);
  bool readFailed = std::ferror(in);
  std::fclose(in);
  list_file = readFailed ? ListFile::incomplete : ListFile::complete;

  XMLTreeNode* root = parser.RootNode();
  if (!root) return 1;

  entries.clear();
  listfeld->beginAtomic();
  listfeld->clearList();
  int key = 0;
  for (XMLTreeNode* node = root->GetChild(); node; node = node->GetNext()) {
    if (std::strcmp(node->GetType(), "shell") != 0) continue;
    eString command = attribute(node, "command");
    eString description = attribute(node, "description");
    eString message = attribute(node, "message");
    if (command.empty()) {
      list_file = ListFile::incomplete;
      listfeld->endAtomic();
      errormsg("entry command not found");
      return 0;
    }
    entries.push_back(
        ENT1{description.empty() ? command : description, command, message == "true" ? "true" : "false"});
    new eListBoxEntryText(listfeld, description, key++);
  }
  listfeld->endAtomic();

  setFocus(listfeld);
  listfeld->setHelpText(entries.empty() ? eString() : entrySummary(entries.front()));
  return 1;
}
