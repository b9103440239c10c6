#pragma once

#include "elabel.h"

class eTextInputFieldHelpWidget;

// One-line text entry: OK starts editing, typed characters go in at the
// cursor, OK ends editing. While it edits it takes every key.
class HOST_API eTextInputField : public eLabel {
 public:
  eTextInputField(eWidget* parent, eLabel* descr = nullptr, eTextInputFieldHelpWidget* hlp = nullptr,
                  const char* deco = "eNumber");
  void setEditHelpText(const eString& help);
  const eString& getEditHelpText() const { return edithelptext; }
  eString getStatusText() const override;
  int eventHandler(const eWidgetEvent& event) override;
  const char* kindName() const override { return "eTextInputField"; }

  bool isEditing() const { return editing; }
  unsigned getCursor() const { return cursor; }
  bool isUpperCase() const { return upper; }
  eLabel* getDescr() const { return descr; }

 private:
  void setEditing(bool on);

  eLabel* descr;
  eString edithelptext;
  unsigned cursor = 0;
  bool editing = false, upper = false;
};
