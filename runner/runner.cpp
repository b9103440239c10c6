#include <cstdio>

#include "plugin/shell.h"
#include "runner/capture_file.h"
#include "runner/console_shell.h"

void shell::listeselec(eListBoxEntryText* row) {
  if (!row || run_app) return;
  sel_index = row->getKey();
  if (sel_index < 0 || sel_index >= int(entries.size())) return;
  const ENT1& entry = entries[sel_index];
  run_command = entry.command;
  run_app = new eConsoleAppContainer(run_command);
  // How the run ends is the started entry's business, wherever the highlight goes.
  run_shows_output = entry.message == "true";
  if (run_shows_output) {
    write_tmp("command: " + run_command + "\n\n");
    run_app->output.connect(SigC::slot(*this, &shell::getData));
  }
  run_app->exited.connect(SigC::slot(*this, &shell::appClosed));
  run_timer->start(5000, true);
}

void shell::getData(eString chunk) { write_tmp(chunk.removeChars('\b')); }

void shell::write_tmp(eString text) {
  FILE* capture = openCaptureForAppend();
  if (!capture) return;
  std::fprintf(capture, "%s", text.c_str());
  std::fclose(capture);
}

void shell::appClosed(int status) {
  delete run_app;
  run_app = nullptr;
  if (run_timer->isActive()) run_timer->stop();
  if (run_shows_output)
    showOutput();
  else
    listfeld->setHelpText(status == 0 ? eString("OK !")
                                      : "Failed (exit code " + std::to_string(status) + ") !");
  setFocus(listfeld);
}

void shell::comm_time_out() {
  delete run_app;
  run_app = nullptr;
  if (run_shows_output)
    showOutput();
  else
    listfeld->setHelpText("Timeout !!!");
  setFocus(listfeld);
}

void shell::showOutput() {
  hide();
  console_shell output;
  output.show();
  output.exec();
  output.hide();
  show();
}
