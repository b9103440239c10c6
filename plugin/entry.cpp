#include "host/plugin.h"
#include "plugin/shell.h"

extern "C" __attribute__((visibility("default"))) int plugin_exec() {
  shell window;
  window.show();
  window.exec();
  window.hide();
  return 0;
}
