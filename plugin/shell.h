#pragma once

#include <vector>

#include "host/echeckbox.h"
#include "host/econsole.h"
#include "host/elistbox.h"
#include "host/emainloop.h"
#include "host/etextinputfield.h"
#include "host/ewindow.h"

// One command entry of the list.
struct ENT1 {
  eString description;
  eString command;
  eString message;  // "true" or "false": whether a run shows its output
};

enum { MODE_NEW = 0, MODE_DELETE = 1, MODE_EDIT = 2 };

// The main window: the form, the list of entries, the colour legend and
// the status bar; runs the chosen entry's command.
class shell : public eWindow {
 public:
  shell();
  ~shell() override;

  void errormsg(eString message);

 protected:
  int eventHandler(const eWidgetEvent& event) override;

 private:
  // What the last load made of an existing list file; a save must not
  // replace a file that was only partly read.
  enum class ListFile { complete, missing, incomplete };

  void createForm(int rowHeight);
  void createLegend(int rowHeight);

  void listeselch(eListBoxEntryText* row);
  int loadlistfeld();
  int save_xml();
  void listeselec(eListBoxEntryText* row);
  void write_tmp(eString text);
  void getData(eString chunk);
  void appClosed(int status);
  void comm_time_out();
  void showOutput();

  eCheckbox* chk_message;
  eListBox<eListBoxEntryText>* listfeld;
  eTextInputField* inp_command;
  eTextInputField* inp_description;
  eTimer* run_timer;
  eConsoleAppContainer* run_app;
  std::vector<ENT1> entries;
  eString run_command;
  int sel_index;
  int edit_mode;
  ListFile list_file = ListFile::missing;
  bool run_shows_output = false;  // taken from the entry when its run starts
};

// "Command: ls\nshow messages: true", as the status bar shows an entry.
eString entrySummary(const ENT1& entry);
