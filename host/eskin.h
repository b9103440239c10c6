#pragma once

#include <map>

#include "api.h"
#include "estring.h"

// Values, colours and decorations of the active look.
class HOST_API eSkin {
 public:
  static eSkin* getActive();
  int queryValue(const eString& name, int defaultValue) const;

  // Colour as 0xAARRGGBB, black for a name the skin does not define.
  bool hasColor(const eString& name) const { return colors.count(name) != 0; }
  unsigned queryColor(const eString& name) const;
  bool hasDecoration(const eString& name) const;

  // Values of the skin file; without one every query gives its default.
  void setValue(const eString& name, int value) { values[name] = value; }
  void clearValues() { values.clear(); }

 private:
  eSkin();
  std::map<eString, int> values;
  std::map<eString, unsigned> colors;
};
