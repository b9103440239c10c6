#include "host/elabel.h"

// The stand-in draws every label alike: the flags change nothing here.
eLabel::eLabel(eWidget* parent, int, int takefocus, const char* deco)
    : eDecoWidget(parent, takefocus, deco) {}

eStatusBar::eStatusBar(eWidget* parent, const char* deco) : eLabel(parent, 0, 0, deco) { statusChanged(); }

void eStatusBar::update(const eString& status) { setText(status); }
