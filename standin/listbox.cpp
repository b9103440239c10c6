#include <algorithm>

#include "host/eaction.h"
#include "host/elistbox.h"
#include "standin/screen.h"

eListBoxEntry::eListBoxEntry(const eString& helptext) : helptext(helptext) {}

eListBoxEntry::~eListBoxEntry() = default;

eListBoxEntryText::eListBoxEntryText(eListBoxBase* listbox, const eString& text, int key, int,
                                     const eString& helptext)
    : eListBoxEntry(helptext), text(text), key(key) {
  listbox->append(this);
}

int eListBoxEntryText::getEntryHeight() { return 26; }

eListBoxBase::eListBoxBase(eWidget* parent, eWidget*, int takefocus, int itemheight, const char* deco)
    : eDecoWidget(parent, takefocus, deco), itemheight(itemheight) {}

eListBoxBase::~eListBoxBase() {
  for (eListBoxEntry* row : rows) delete row;
}

eListBoxEntry* eListBoxBase::getCurrent() const { return current < 0 ? nullptr : rows[current]; }

void eListBoxBase::beginAtomic() { ++atomic; }

void eListBoxBase::endAtomic() {
  if (atomic > 0 && --atomic == 0) {
    // The highlight keeps its position, on the last row at most.
    current = std::min<int>(std::max(current, 0), getCount() - 1);
    widgetChanged(this);
    reportIfChanged();
  }
}

void eListBoxBase::clearList() {
  for (eListBoxEntry* row : rows) delete row;
  rows.clear();
  stale = true;  // a new row may take the address of a dropped one
  widgetChanged(this);
  if (!atomic) {
    current = -1;
    reportIfChanged();
  }
}

void eListBoxBase::append(eListBoxEntry* entry) {
  rows.push_back(entry);
  widgetChanged(this);
  if (!atomic && current < 0) {
    current = 0;
    reportIfChanged();
  }
}

void eListBoxBase::moveHighlight(int index) {
  current = index;
  widgetChanged(this);
  reportIfChanged();
}

void eListBoxBase::reportIfChanged() {
  eListBoxEntry* row = getCurrent();
  if (row == reported && !stale) return;
  reported = row;
  stale = false;
  emitSelChanged(row);
}

int eListBoxBase::eventHandler(const eWidgetEvent& event) {
  if (event.type != eWidgetEvent::evtAction) return 0;
  if (event.action == &i_cursorActions->up) {
    if (current <= 0) return 0;  // at the edge the window moves the focus on
    moveHighlight(current - 1);
    return 1;
  }
  if (event.action == &i_cursorActions->down) {
    if (current < 0 || current + 1 >= getCount()) return 0;
    moveHighlight(current + 1);
    return 1;
  }
  if (event.action == &i_cursorActions->ok) {
    emitSelected(getCurrent());
    return 1;
  }
  return 0;
}
