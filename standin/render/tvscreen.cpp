#include "standin/render/tvscreen.h"

#include "standin/mainloop.h"
#include "standin/render/look.h"
#include "standin/render/png.h"
#include "standin/render/rect.h"
#include "standin/screen.h"

TvScreen& tvScreen() {
  static TvScreen screen;
  return screen;
}

TvScreen::TvScreen() {
  setScreenListener([this](const eRect& area) { changed(area); });
  changed(pixels.bounds());
}

TvScreen::~TvScreen() {
  setScreenListener(nullptr);
  if (pending >= 0) mainloop().cancel(pending);
}

void TvScreen::changed(const eRect& area) {
  eRect grown = intersect(area, pixels.bounds());
  if (isEmpty(grown)) return;
  // Overlapping areas become one, so that no pixel is drawn twice.
  for (auto it = damage.begin(); it != damage.end();) {
    if (overlaps(*it, grown)) {
      grown = unite(grown, *it);
      damage.erase(it);
      it = damage.begin();
    } else {
      ++it;
    }
  }
  damage.push_back(grown);
  if (pending < 0)
    pending = mainloop().post([this] {
      pending = -1;
      update();
    });
}

bool TvScreen::update() {
  if (pending >= 0) mainloop().cancel(pending);
  pending = -1;
  if (damage.empty()) return false;
  std::vector<eRect> areas;
  areas.swap(damage);
  for (const eRect& area : areas) paintScreen(pixels, area);
  if (drawn) drawn(areas);
  return true;
}

bool saveScreenshot(const std::string& path, std::string& error) {
  tvScreen().update();
  return writePng(tvScreen().canvas(), path, error);
}
