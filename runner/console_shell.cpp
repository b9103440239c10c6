#include "runner/console_shell.h"

#include <libintl.h>

#include <clocale>

#include "runner/capture_file.h"

console_shell::console_shell() : eWindow(0) {
  cmove(ePoint(70, 80));
  cresize(eSize(580, 450));
  setText(dcgettext(nullptr, "information", LC_MESSAGES));

  output_list =
      new eListBox<eListBoxEntryText>(this, nullptr, 1, eListBoxEntryText::getEntryHeight(), "eListBox");
  output_list->move(ePoint(10, 10));
  output_list->resize(eSize(getClientSize().width() - 20, getClientSize().height() - 20));

  FILE* capture = openCaptureForReading();
  if (!capture) return;
  char piece[256];
  while (std::fgets(piece, sizeof piece, capture)) new eListBoxEntryText(output_list, piece, 0);
  std::fclose(capture);
  removeCapture();
}

console_shell::~console_shell() = default;
