#pragma once

// The rendered TV screen. It follows what the widgets report and draws the
// parts that changed on the next round of the event loop; while nothing
// changes it draws nothing.
#include <functional>
#include <string>
#include <vector>

#include "host/egeometry.h"
#include "standin/render/canvas.h"

class TvScreen {
 public:
  using Drawn = std::function<void(const std::vector<eRect>& areas)>;

  TvScreen(const TvScreen&) = delete;
  TvScreen& operator=(const TvScreen&) = delete;

  // Draws what changed since the last update; false when nothing had.
  bool update();
  const Canvas& canvas() const { return pixels; }
  // A front end hears here which areas each update drew.
  void onDrawn(Drawn listener) { drawn = std::move(listener); }

 private:
  friend TvScreen& tvScreen();
  TvScreen();  // the whole screen needs drawing at first
  ~TvScreen();
  void changed(const eRect& area);

  Canvas pixels;
  std::vector<eRect> damage;
  int pending = -1;  // the loop's id of the scheduled update
  Drawn drawn;
};

// The one screen, made when first asked for.
TvScreen& tvScreen();

// Writes the screen as it is now to a PNG file; false with a message.
bool saveScreenshot(const std::string& path, std::string& error);
