#include <cstdio>

#include "plugin/paths.h"
#include "plugin/shell.h"
#include "store/file_replace.h"
#include "store/xml_escape.h"

namespace {
void appendEntry(eString& file, const ENT1& entry) {
  file += "\t<shell description=\"";
  appendXmlEscaped(file, entry.description);
  file += "\" command=\"";
  appendXmlEscaped(file, entry.command);
  file += "\" message=\"";
  appendXmlEscaped(file, entry.message);
  file += "\" />\n";
}
}  // namespace

int shell::save_xml() {
  if (list_file == ListFile::incomplete) {
    // Writing now would drop every entry that the load did not reach. The
    // form keeps what the user typed.
    errormsg("list file not completely loaded,\nnot saved");
    return 0;
  }

  ENT1 form{inp_description->getText(), inp_command->getText(), chk_message->isChecked() ? "true" : "false"};
  if (edit_mode == MODE_NEW) entries.push_back(form);
  eString file = "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\n\n<list>\n";
  for (int i = 0; i < int(entries.size()); ++i) {
    if (edit_mode == MODE_DELETE && i == sel_index) continue;
    appendEntry(file, edit_mode == MODE_EDIT && i == sel_index ? form : entries[i]);
  }
  file += "</list>";

  Replaced outcome = replaceFile(paths::onDisk(paths::listFile), [&file](FILE* out) {
    return std::fwrite(file.data(), 1, file.size(), out) == file.size();
  });
  if (outcome == Replaced::notCreated) errormsg(eString("sorry, couldn't create\n") + paths::listFile);
  if (outcome == Replaced::notWritten) errormsg(eString("sorry, couldn't write\n") + paths::listFile);

  inp_command->setText("");
  inp_description->setText("");
  chk_message->setCheck(0);
  return loadlistfeld();
}
