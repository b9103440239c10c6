#include "standin/sim/tvwindow.h"

#include <SDL.h>
#include <poll.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>

#include "standin/input.h"
#include "standin/mainloop.h"
#include "standin/render/tvscreen.h"
#include "standin/screen.h"

// Last: Xlib's macros would clash with names above.
#include <SDL_syswm.h>

namespace {
// The letters stand for the colour keys only while nothing is being typed.
std::optional<Key> remoteKey(SDL_Keycode code, bool typing) {
  switch (code) {
    case SDLK_UP:
      return Key::up;
    case SDLK_DOWN:
      return Key::down;
    case SDLK_LEFT:
      return Key::left;
    case SDLK_RIGHT:
      return Key::right;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return Key::ok;
    case SDLK_ESCAPE:
      return Key::exit;
    case SDLK_F1:
      return Key::red;
    case SDLK_F2:
      return Key::green;
    case SDLK_F3:
      return Key::yellow;
    case SDLK_F4:
      return Key::blue;
    case SDLK_r:
      return typing ? std::nullopt : std::optional<Key>(Key::red);
    case SDLK_g:
      return typing ? std::nullopt : std::optional<Key>(Key::green);
    case SDLK_y:
      return typing ? std::nullopt : std::optional<Key>(Key::yellow);
    case SDLK_b:
      return typing ? std::nullopt : std::optional<Key>(Key::blue);
    default:
      return std::nullopt;
  }
}

// SDL types UTF-8; the widgets take ISO-8859-1, so other characters drop out.
void typeUtf8(const char* text) {
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p;) {
    if (*p < 0x80) {
      typeChar(char(*p++));
    } else if ((*p == 0xc2 || *p == 0xc3) && (p[1] & 0xc0) == 0x80) {
      typeChar(char(((p[0] & 0x03) << 6) | (p[1] & 0x3f)));
      p += 2;
    } else {
      for (++p; (*p & 0xc0) == 0x80; ++p) {
      }
    }
  }
}

int scaleFor(int display) {
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(display, &usable) != 0) return 1;
  return std::max(1, std::min(usable.w / screenWidth, usable.h / screenHeight));
}
}  // namespace

std::unique_ptr<TvWindow> TvWindow::open(std::string& why) {
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) return nullptr;
  // X11 unless SDL_VIDEODRIVER says otherwise: the loop watches its connection.
  SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11", SDL_HINT_DEFAULT);
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  // Ctrl-C ends the simulator as before; SDL would only queue it as an event.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    why = SDL_GetError();
    return nullptr;
  }
  int scale = scaleFor(0);
  SDL_Window* window = SDL_CreateWindow("dorvane-sim", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                        screenWidth * scale, screenHeight * scale, SDL_WINDOW_SHOWN);
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
    why = window ? "the window system is not X11" : SDL_GetError();
    if (window) SDL_DestroyWindow(window);
    SDL_Quit();
    return nullptr;
  }
  return std::unique_ptr<TvWindow>(new TvWindow(window, scale, ConnectionNumber(info.info.x11.display)));
}

TvWindow::TvWindow(SDL_Window* window, int scale, int fd) : window(window), scale(scale) {
  const Canvas& canvas = tvScreen().canvas();
  // SDL only reads from it: the screen's pixels are the source of each blit.
  source =
      SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(canvas.data().data()), canvas.width(),
                                         canvas.height(), 32, canvas.width() * 4, SDL_PIXELFORMAT_ARGB8888);
  SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
  tvScreen().onDrawn([this](const std::vector<eRect>& areas) { present(areas); });
  watch = mainloop().watchFd(fd, POLLIN, [this](short revents) {
    if (revents & (POLLHUP | POLLERR)) {
      mainloop().unwatch(watch);  // the display went away: the window with it
      watch = -1;
      SDL_Event quit{};
      quit.type = SDL_QUIT;
      handle(quit);
      return;
    }
    pump();
  });
  present({canvas.bounds()});
}

TvWindow::~TvWindow() {
  if (watch >= 0) mainloop().unwatch(watch);
  if (pumping >= 0) mainloop().cancel(pumping);
  if (closer >= 0) mainloop().cancel(closer);
  tvScreen().onDrawn(nullptr);
  SDL_FreeSurface(source);
  SDL_DestroyWindow(window);
  SDL_Quit();
}

void TvWindow::pump() {
  SDL_Event event;
  if (!SDL_PollEvent(&event)) return;
  // One event a round, the rest on the next: a key may open a nested modal
  // loop, which has to see them too.
  pumpSoon();
  handle(event);
}

void TvWindow::pumpSoon() {
  if (pumping >= 0) return;
  pumping = mainloop().post([this] {
    pumping = -1;
    pump();
  });
}

void TvWindow::handle(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN: {
      bool typing = fieldEditing();
      if (auto key = remoteKey(event.key.keysym.sym, typing))
        pressKey(*key);
      else if (typing && event.key.keysym.sym == SDLK_BACKSPACE)
        typeChar('\b');
      break;
    }
    case SDL_TEXTINPUT:
      if (fieldEditing()) typeUtf8(event.text.text);
      break;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_EXPOSED) present({tvScreen().canvas().bounds()});
      break;
    case SDL_QUIT:
      if (closing) std::exchange(closing, nullptr)();
      if (closer < 0) closeNext();
      break;
    default:
      break;
  }
}

void TvWindow::present(const std::vector<eRect>& areas) {
  SDL_Surface* target = SDL_GetWindowSurface(window);
  if (!target) return;
  std::vector<SDL_Rect> shown;
  for (const eRect& area : areas) {
    SDL_Rect from{area.left(), area.top(), area.width(), area.height()};
    SDL_Rect to{from.x * scale, from.y * scale, from.w * scale, from.h * scale};
    SDL_BlitScaled(source, &from, target, &to);
    shown.push_back(to);
  }
  SDL_UpdateWindowSurfaceRects(window, shown.data(), int(shown.size()));
  // Talking to the X server may have queued events where poll cannot see them.
  pumpSoon();
}

// One step a round until the plug-in's windows are all closed.
void TvWindow::closeNext() {
  closer = -1;
  if (!mainloop().innermostModal()) return;
  pressClose();
  closer = mainloop().post([this] { closeNext(); });
}
