#pragma once

// The window front end: shows the TV screen in an SDL window, scaled up by
// a whole factor when the display has room, and turns the keyboard into
// the remote control. It joins the event loop through the descriptor of
// the X connection, so that an idle simulator sleeps in poll.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/egeometry.h"

struct SDL_Window;
struct SDL_Surface;
union SDL_Event;

class TvWindow {
 public:
  // Null when no window can be opened; `why` then says why, or stays
  // empty when there is no display at all.
  static std::unique_ptr<TvWindow> open(std::string& why);
  ~TvWindow();
  TvWindow(const TvWindow&) = delete;
  TvWindow& operator=(const TvWindow&) = delete;

  // Runs once when the user closes the window, before the plug-in's
  // windows are closed as with Exit.
  void onClose(std::function<void()> hook) { closing = std::move(hook); }

 private:
  TvWindow(SDL_Window* window, int scale, int fd);
  void pump();
  void pumpSoon();
  void handle(const SDL_Event& event);
  void present(const std::vector<eRect>& areas);
  void closeNext();

  SDL_Window* window;
  SDL_Surface* source;  // the TV screen's pixels as SDL sees them
  int scale;
  int watch;
  int pumping = -1, closer = -1;  // the loop's ids of posted work
  std::function<void()> closing;
};
