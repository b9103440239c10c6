#include "plugin/shell.h"

#include <libintl.h>

#include <clocale>

#include "host/eaction.h"
#include "host/emessagebox.h"
#include "host/eskin.h"

shell::shell() : eWindow(0) {
  int fontsize = eSkin::getActive()->queryValue("fontsize", 20);
  sel_index = 0;
  run_app = nullptr;
  edit_mode = MODE_NEW;
  addActionMap(&i_shortcutActions->map);

  cmove(ePoint(130, 100));
  cresize(eSize(460, 410));
  setText("Dorvane v1.0.5 by Tavrik");

  int rowHeight = fontsize + 10;
  createForm(rowHeight);
  listfeld->selchanged.connect(SigC::slot(*this, &shell::listeselch));
  listfeld->selected.connect(SigC::slot(*this, &shell::listeselec));
  createLegend(rowHeight);

  run_timer = new eTimer(eApp);
  run_timer->timeout.connect(SigC::slot(*this, &shell::comm_time_out));

  loadlistfeld();
}

shell::~shell() {
  entries.clear();
  if (run_timer->isActive()) run_timer->stop();
  delete run_timer;
  delete run_app;
}

void shell::errormsg(eString message) {
  hide();
  eMessageBox box(message, dcgettext(nullptr, "Error", LC_MESSAGES), 129, 1, 0);
  box.show();
  box.exec();
  box.hide();
  show();
}

eString entrySummary(const ENT1& entry) {
  return "Command: " + entry.command + "\nshow messages: " + entry.message;
}
