#pragma once

#include "host/elistbox.h"
#include "host/ewindow.h"

// The "information" window: shows the capture file, one row per line (long
// lines in pieces of 255 bytes), and deletes it, so each run shows once.
class console_shell : public eWindow {
 public:
  console_shell();
  ~console_shell() override;

 private:
  eListBox<eListBoxEntryText>* output_list;
};
