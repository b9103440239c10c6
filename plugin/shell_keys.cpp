#include <algorithm>

#include "host/eaction.h"
#include "plugin/shell.h"
#include "store/xml_escape.h"

int shell::eventHandler(const eWidgetEvent& event) {
  if (event.type != eWidgetEvent::evtAction) return eWindow::eventHandler(event);
  const shortcutActions& colour = *i_shortcutActions;

  if (event.action == &colour.red) {
    if (entries.empty()) return 1;
    edit_mode = MODE_DELETE;
    save_xml();
    // A later blue with a new command must append it, not delete whatever
    // entry now stands at sel_index.
    edit_mode = MODE_NEW;
  } else if (event.action == &colour.green) {
    // sel_index can lie past the end when the host reported no highlight
    // after the last entry went; then there is nothing to edit.
    if (sel_index < 0 || sel_index >= int(entries.size())) return 1;
    const ENT1& entry = entries[sel_index];
    inp_command->setText(entry.command);
    inp_description->setText(entry.description);
    chk_message->setCheck(entry.message == "true" ? 1 : 0);
    setFocus(inp_command);
    edit_mode = MODE_EDIT;
  } else if (event.action == &colour.yellow) {
    inp_command->setText("");
    inp_description->setText("");
    chk_message->setCheck(0);
    setFocus(inp_command);
    edit_mode = MODE_NEW;
  } else if (event.action == &colour.blue) {
    // A command of bytes that the file cannot hold would be written empty
    // and stop the next load.
    const eString& command = inp_command->getText();
    if (std::any_of(command.begin(), command.end(), [](unsigned char c) { return xmlCanHold(c); })) {
      save_xml();
    } else {
      errormsg("command not found");
      setFocus(inp_command);
    }
  } else {
    return eWindow::eventHandler(event);
  }
  return 1;
}

void shell::listeselch(eListBoxEntryText* row) {
  if (!row) return;
  sel_index = row->getKey();
  if (sel_index >= 0 && sel_index < int(entries.size()))
    listfeld->setHelpText(entrySummary(entries[sel_index]));
}
