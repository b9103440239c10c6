#include "standin/skin.h"

#include <fstream>
#include <set>
#include <sstream>

#include "host/eskin.h"

namespace {
const std::set<eString>& decorations() {
  static const std::set<eString> names = {"eLabel", "eNumber", "eCheckBox", "eListBox", "eStatusBar"};
  return names;
}
}  // namespace

eSkin::eSkin()
    : colors{{"std_dred", 0xff8b0000},      {"std_dgreen", 0xff006400},     {"std_dyellow", 0xffb8a000},
             {"std_dblue", 0xff00008b},     {"std_background", 0xff1c2848}, {"std_foreground", 0xffffffff},
             {"std_highlight", 0xff4060a0}, {"std_titlebar", 0xff0a1430},   {"std_input", 0xff2c3c68},
             {"std_lowlight", 0xff34466e},  {"std_editing", 0xff5a4a20},    {"std_cursor", 0xffffd040},
             {"std_frame", 0xff8898b8},     {"std_statusbar", 0xff101c38}} {}

eSkin* eSkin::getActive() {
  static eSkin active;
  return &active;
}

int eSkin::queryValue(const eString& name, int defaultValue) const {
  auto it = values.find(name);
  return it == values.end() ? defaultValue : it->second;
}

unsigned eSkin::queryColor(const eString& name) const {
  auto it = colors.find(name);
  return it == colors.end() ? 0xff000000 : it->second;
}

bool eSkin::hasDecoration(const eString& name) const { return decorations().count(name) != 0; }

bool loadSkinFile(const char* path) {
  std::ifstream file(path);
  if (!file) return false;
  std::string line;
  while (std::getline(file, line)) {
    line = line.substr(0, line.find('#'));
    std::istringstream fields(line);
    std::string name, equals;
    int value;
    if (!(fields >> name)) continue;
    if (!(fields >> equals >> value) || equals != "=") return false;
    eSkin::getActive()->setValue(name, value);
  }
  return true;
}
