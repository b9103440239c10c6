#include "host/eaction.h"
#include "plugin/shell.h"

int shell::eventHandler(const eWidgetEvent& event) { return eWindow::eventHandler(event); }

void shell::listeselch(eListBoxEntryText* row) {
  if (!row) return;
  sel_index = row->getKey();
  if (sel_index >= 0 && sel_index < int(entries.size()))
    listfeld->setHelpText(entrySummary(entries[sel_index]));
}
