#include "host/elabel.h"

eLabel::eLabel(eWidget* parent, int flags, int takefocus, const char* deco)
    : eDecoWidget(parent, takefocus, deco), flags(flags) {}

eStatusBar::eStatusBar(eWidget* parent, const char* deco) : eLabel(parent, 0, 0, deco) { statusChanged(); }

void eStatusBar::update(const eString& status) { setText(status); }
