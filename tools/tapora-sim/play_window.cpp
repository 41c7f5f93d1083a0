// The play window on the desktop, through SDL: the only file that knows the
// display. It shows the session's frames and hands it the mouse, the menu
// key, the closing of the window and the passing of real time (see play.h).
#include <SDL.h>

#include <iostream>
#include <memory>
#include <vector>

#include "tools/tapora-sim/play.h"
#include "tools/tapora-sim/play_session.h"
#include "wince/host/surface.h"

// In the sanitizer build: the desktop's D-Bus library, which SDL starts,
// keeps a buffer past its shutdown; that is not this program's leak.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace sim::play {
namespace {

// How long the loop waits for an event before it lets time pass and repaints:
// while the pen is down the typematic repeat's 100 ms ticks arrive well inside
// it; otherwise nothing changes without an event.
constexpr int kFrameMs = 15;
constexpr int kIdleMs = 100;

class Window {
 public:
  ~Window() {
    if (window_ != nullptr) SDL_DestroyWindow(window_);
  }

  bool Open(int width, int height) {
    window_ = SDL_CreateWindow("tapora-sim", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                               width, height, SDL_WINDOW_SHOWN);
    return window_ != nullptr;
  }

  // Shows a frame, resizing the window to it first when a dialog comes or goes.
  void Show(const Pixels& frame) {
    if (frame.width == shown_.width && frame.height == shown_.height && frame.rgb == shown_.rgb)
      return;
    shown_ = frame;
    int width = 0, height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    if (width != frame.width || height != frame.height)
      SDL_SetWindowSize(window_, frame.width, frame.height);
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    // COLORREF 0x00BBGGRR is SDL's XBGR8888.
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint32_t*>(frame.rgb.data()), frame.width, frame.height, 32,
        frame.width * 4, SDL_PIXELFORMAT_XBGR8888);
    if (target == nullptr || source == nullptr) {
      if (source != nullptr) SDL_FreeSurface(source);
      return;
    }
    SDL_BlitSurface(source, nullptr, target, nullptr);
    SDL_FreeSurface(source);
    SDL_UpdateWindowSurface(window_);
  }

  // The display lost the window's pixels: the next frame is shown whole.
  void Invalidate() { shown_ = Pixels{}; }

  // The window's pixels as last shown, as PNG.
  bool SaveScreenshot(const std::string& file) {
    SDL_Surface* shown = SDL_GetWindowSurface(window_);
    if (shown == nullptr) return false;
    SDL_Surface* copy = SDL_ConvertSurfaceFormat(shown, SDL_PIXELFORMAT_XBGR8888, 0);
    if (copy == nullptr) return false;
    auto pixels = std::make_shared<std::vector<COLORREF>>(static_cast<size_t>(copy->w) * copy->h);
    SDL_LockSurface(copy);
    for (int y = 0; y < copy->h; ++y) {
      const auto* bytes = static_cast<const uint8_t*>(copy->pixels);
      const auto* row =
          reinterpret_cast<const uint32_t*>(bytes + static_cast<size_t>(y) * copy->pitch);
      for (int x = 0; x < copy->w; ++x)
        (*pixels)[static_cast<size_t>(y) * copy->w + x] = row[x] & 0xFFFFFF;
    }
    SDL_UnlockSurface(copy);
    wince::host::SurfaceView view;
    view.width = copy->w;
    view.height = copy->h;
    view.bitsPerPixel = 32;
    view.pixels = std::shared_ptr<const COLORREF>(pixels, pixels->data());
    SDL_FreeSurface(copy);
    return wince::host::SavePng(view, file);
  }

 private:
  SDL_Window* window_ = nullptr;
  Pixels shown_;
};

class Loop {
 public:
  Loop(Session& session, Window& window) : session_(session), window_(window) {}

  void Run() {
    clock_ = SDL_GetTicks();
    while (!quit_) {
      window_.Show(session_.Frame());
      WaitAndHandle();
      CatchUp(SDL_GetTicks());
    }
    // The window as it stands after everything that came before the close.
    window_.Show(session_.Frame());
  }

 private:
  void WaitAndHandle() {
    SDL_Event event;
    if (!SDL_WaitEventTimeout(&event, session_.PenIsDown() ? kFrameMs : kIdleMs)) return;
    Handle(event);
    while (!quit_ && SDL_PollEvent(&event)) Handle(event);
  }

  // The host's clock catches up with the desktop's, so that a held key
  // repeats in real time.
  void CatchUp(Uint32 now) {
    if (now <= clock_) return;
    session_.Elapse(now - clock_);
    clock_ = now;
  }

  void OpenOptions() {
    session_.RunOptions([this] {
      window_.Show(session_.Frame());
      WaitAndHandle();
      if (quit_) session_.LeaveDialog();
    });
    // The clock stood still while the dialog ran.
    clock_ = SDL_GetTicks();
  }

  void Handle(const SDL_Event& event) {
    switch (event.type) {
      case SDL_QUIT: quit_ = true; return;
      case SDL_MOUSEBUTTONDOWN:
        CatchUp(event.button.timestamp);
        if (event.button.button == SDL_BUTTON_LEFT) {
          session_.PointerDown(event.button.x, event.button.y);
        } else if (event.button.button == SDL_BUTTON_RIGHT && !session_.InDialog()) {
          OpenOptions();
        }
        return;
      case SDL_MOUSEMOTION:
        CatchUp(event.motion.timestamp);
        if (event.motion.state & SDL_BUTTON_LMASK)
          session_.PointerMove(event.motion.x, event.motion.y);
        return;
      case SDL_MOUSEBUTTONUP:
        CatchUp(event.button.timestamp);
        if (event.button.button == SDL_BUTTON_LEFT)
          session_.PointerUp(event.button.x, event.button.y);
        return;
      case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED) window_.Invalidate();
        return;
      case SDL_KEYDOWN:
        if ((event.key.keysym.sym == SDLK_MENU || event.key.keysym.sym == SDLK_APPLICATION) &&
            !session_.InDialog())
          OpenOptions();
        return;
      default: return;
    }
  }

  Session& session_;
  Window& window_;
  Uint32 clock_ = 0;  // the desktop's time the host's clock has reached
  bool quit_ = false;
};

}  // namespace

int Play(StandIn& standIn, const Options& options) {
  // A pen has no focus click: the first tap on the window is a tap.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  // The frames are a few hundred pixels of software drawing: the display's
  // own framebuffer suffices, and no GL context makes SDL recreate the window.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::cerr << "tapora-sim: cannot open a window: " << SDL_GetError() << "\n";
    return 2;
  }
  int exitCode = 0;
  {
    Session session(standIn, options.scale);
    Window window;
    const Pixels first = session.Frame();
    if (!window.Open(first.width, first.height)) {
      std::cerr << "tapora-sim: cannot open a window: " << SDL_GetError() << "\n";
      exitCode = 2;
    } else {
      Loop(session, window).Run();
      if (!options.screenshot.empty() && !window.SaveScreenshot(options.screenshot)) {
        std::cerr << "tapora-sim: cannot write the screenshot " << options.screenshot << "\n";
        exitCode = 2;
      }
    }
  }
  SDL_Quit();
  return exitCode;
}

}  // namespace sim::play
