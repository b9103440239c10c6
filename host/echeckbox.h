#pragma once

#include "elabel.h"

class HOST_API eCheckbox : public eLabel {
 public:
  eCheckbox(eWidget* parent, int checked = 0, int takefocus = 1, bool swapTxtPixmap = false,
            const char* deco = "eCheckBox");
  void setCheck(int checked);
  int isChecked() const { return checked; }
  int eventHandler(const eWidgetEvent& event) override;
  const char* kindName() const override { return "eCheckbox"; }

 private:
  int checked;
};
