#pragma once

#include "ewidget.h"

// Top-level window with title bar and frame; Exit closes it by default.
class HOST_API eWindow : public eWidget {
 public:
  explicit eWindow(int takefocus = 0);
  ~eWindow() override;

  void willShow() override;
  void willHide() override;
  void recalcClientRect() override;
  int eventHandler(const eWidgetEvent& event) override;
  void redrawWidget(gPainter* target, const eRect& area) override;
  void eraseBackground(gPainter* target, const eRect& area) override;
  const char* kindName() const override { return "eWindow"; }

  // Frame around the client area: the title bar above, a border elsewhere.
  static constexpr int titleBarHeight = 30;
  static constexpr int borderWidth = 2;
};
