#pragma once

#include "ewidget.h"

class HOST_API eLabel : public eDecoWidget {
 public:
  explicit eLabel(eWidget* parent, int flags = 0, int takefocus = 0, const char* deco = "eLabel");
  const char* kindName() const override { return "eLabel"; }
};

class HOST_API eStatusBar : public eLabel {
 public:
  explicit eStatusBar(eWidget* parent, const char* deco = "eStatusBar");
  // Shows what the window's focused widget has to say.
  void update(const eString& status);
  const char* kindName() const override { return "eStatusBar"; }
};
