#pragma once

#include "ewindow.h"

class eLabel;

// Modal notice with one confirm button; closes itself when confirmed.
class HOST_API eMessageBox : public eWindow {
 public:
  eMessageBox(eString message, eString caption, int flags = 129, int def = 1, int timeout = 0);
  int eventHandler(const eWidgetEvent& event) override;
  const char* kindName() const override { return "eMessageBox"; }
  const eString& getMessage() const { return message; }

 private:
  eString message;
  eLabel* text;
};
