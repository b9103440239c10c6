#pragma once

#include <vector>

#include "ewidget.h"

class eListBoxBase;

class HOST_API eListBoxEntry {
 public:
  explicit eListBoxEntry(const eString& helptext = "");
  virtual ~eListBoxEntry();
  const eString& getHelpText() const { return helptext; }

 private:
  eString helptext;
};

// A text row with an integer key; building it appends it to its list box.
class HOST_API eListBoxEntryText : public eListBoxEntry {
 public:
  eListBoxEntryText(eListBoxBase* listbox, const eString& text, int key = 0, int align = 0,
                    const eString& helptext = "");
  const eString& getText() const { return text; }
  int getKey() const { return key; }
  static int getEntryHeight();

 private:
  eString text;
  int key;
};

// Rows with one highlight. Up/down move it, OK chooses it. Inside a bulk
// change the highlight keeps its position and is reported once at the end.
class HOST_API eListBoxBase : public eDecoWidget {
 public:
  eListBoxBase(eWidget* parent, eWidget* descr, int takefocus, int itemheight, const char* deco);
  ~eListBoxBase() override;

  void beginAtomic();
  void endAtomic();
  void clearList();
  int getCount() const { return static_cast<int>(rows.size()); }
  eListBoxEntry* getEntry(int index) const { return rows.at(index); }
  eListBoxEntry* getCurrent() const;
  int getCurrentIndex() const { return current; }
  int getItemHeight() const { return itemheight; }
  int eventHandler(const eWidgetEvent& event) override;
  const char* kindName() const override { return "eListBox"; }

 protected:
  virtual void emitSelected(eListBoxEntry* entry) = 0;
  virtual void emitSelChanged(eListBoxEntry* entry) = 0;

 private:
  friend class eListBoxEntryText;
  void append(eListBoxEntry* entry);
  void moveHighlight(int index);
  void reportIfChanged();

  std::vector<eListBoxEntry*> rows;
  int itemheight;
  int current = -1;  // highlighted row, -1 when the list is empty
  int atomic = 0;
  eListBoxEntry* reported = nullptr;  // the row last reported as highlighted
  bool stale = false;                 // rows were dropped since: report anew
};

template <class T>
class eListBox : public eListBoxBase {
 public:
  explicit eListBox(eWidget* parent, eWidget* descr = nullptr, int takefocus = 1,
                    int itemheight = T::getEntryHeight(), const char* deco = "eListBox")
      : eListBoxBase(parent, descr, takefocus, itemheight, deco) {}

  SigC::Signal1<void, T*> selected;    // OK on a row
  SigC::Signal1<void, T*> selchanged;  // the highlight moved

 protected:
  void emitSelected(eListBoxEntry* entry) override { selected.emit(static_cast<T*>(entry)); }
  void emitSelChanged(eListBoxEntry* entry) override { selchanged.emit(static_cast<T*>(entry)); }
};
