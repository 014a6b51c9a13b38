#include "tools/tessra/DeviceWindow.h"

#include <SDL2/SDL.h>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <ostream>
#include <vector>

#include "platform/bus/BusAddress.h"
#include "platform/bus/BusConnection.h"
#include "platform/bus/BusDisplayClient.h"
#include "platform/bus/BusLocation.h"
#include "tools/tessra/SdlLibrary.h"

namespace tessra::cli {

namespace {

// What the bus thread hands the window's thread, as SDL user events.
enum class Arrival { Attached = 1, Frame = 2, Lost = 3 };

struct FrameNote {
  uint32_t sequence = 0;
  std::vector<platform::FrameRect> changed;
};

// How long the device may take to send its first frame.
constexpr Uint32 kFirstFrameWait = 15000;

// Touch phases as the display channel numbers them (UITouchPhase).
constexpr int kBegan = 0, kMoved = 1, kEnded = 3;

struct SdlSession {
  const SdlLibrary& sdl;
  bool ok = false;
  explicit SdlSession(const SdlLibrary& library) : sdl(library) { ok = sdl.Init(SDL_INIT_VIDEO) == 0; }
  ~SdlSession() { sdl.Quit(); }
};

}  // namespace

std::string DeviceWindow::missingDisplay() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if ((x11 && *x11) || (wayland && *wayland)) return "";
  return "no display to open a window on: DISPLAY is not set (run it in a graphical session, or set DISPLAY to an "
         "X server such as Xvfb)";
}

std::optional<platform::DisplayKey> DeviceWindow::keyFor(int32_t keycode, uint16_t modifiers) {
  const bool both = (modifiers & (KMOD_SHIFT | KMOD_CTRL | KMOD_ALT)) != 0;
  switch (keycode) {
    case SDLK_h: return platform::DisplayKey::Home;
    case SDLK_l: return platform::DisplayKey::Lock;
    case SDLK_s: return platform::DisplayKey::Siri;
    case SDLK_f: return platform::DisplayKey::Spotlight;
    case SDLK_UP: return both ? platform::DisplayKey::VolumeBoth : platform::DisplayKey::VolumeUp;
    case SDLK_DOWN: return both ? platform::DisplayKey::VolumeBoth : platform::DisplayKey::VolumeDown;
    case SDLK_SPACE: return platform::DisplayKey::Side;
    default: return std::nullopt;
  }
}

int DeviceWindow::run(std::ostream& err) {
  if (std::string missing = missingDisplay(); !missing.empty()) {
    err << "tessra device show: " << missing << "\n";
    return 1;
  }
  auto address = platform::BusLocation::readAddress(root_);
  if (!address || !platform::BusAddress::isListening(*address)) {
    err << "tessra device show: the device at " << root_.string()
        << " is not running (start it with `tessra device start`)\n";
    return 1;
  }
  const double scale = scale_ > 0 ? scale_ : 1;
  std::string loadError;
  const SdlLibrary* library = SdlLibrary::load(&loadError);
  if (!library) {
    err << "tessra device show: " << loadError << "\n";
    return 1;
  }
  const SdlLibrary& sdl = *library;
  sdl.SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SdlSession session(sdl);
  if (!session.ok) {
    const char* display = std::getenv("DISPLAY");
    err << "tessra device show: cannot open the display (DISPLAY=" << (display ? display : "")
        << "): " << sdl.GetError() << "\n";
    return 1;
  }
  const Uint32 arrivalEvent = sdl.RegisterEvents(1);

  // The bus thread's news: pushed as events, which wake SDL_WaitEvent.
  auto push = [arrivalEvent, &sdl](Arrival kind, void* data) {
    SDL_Event event{};
    event.type = arrivalEvent;
    event.user.code = static_cast<Sint32>(kind);
    event.user.data1 = data;
    if (sdl.PushEvent(&event) != 1) {
      if (kind == Arrival::Frame) delete static_cast<FrameNote*>(data);
      if (kind == Arrival::Lost) delete static_cast<std::string*>(data);
    }
  };
  std::mutex frameMutex;
  std::shared_ptr<const platform::SharedFrame> shared;  // the latest buffer (bus thread writes, window reads)

  platform::BusConnection bus(root_);
  platform::BusDisplayClient client(
      bus, scale,
      {.attached =
           [&](std::shared_ptr<const platform::SharedFrame> frame) {
             {
               std::lock_guard lock(frameMutex);
               shared = std::move(frame);
             }
             push(Arrival::Attached, nullptr);
           },
       .frame =
           [&](uint32_t sequence, std::vector<platform::FrameRect> changed) {
             push(Arrival::Frame, new FrameNote{sequence, std::move(changed)});
           },
       .lost = [&](std::string reason) { push(Arrival::Lost, new std::string(std::move(reason))); }});
  bus.start();

  std::shared_ptr<const platform::SharedFrame> frame;
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  auto destroyWindow = [&] {
    if (texture) sdl.DestroyTexture(texture);
    if (renderer) sdl.DestroyRenderer(renderer);
    if (window) sdl.DestroyWindow(window);
    texture = nullptr;
    renderer = nullptr;
    window = nullptr;
  };
  bool fingerDown = false;
  int status = 0;
  bool running = true;
  const Uint32 started = sdl.GetTicks();

  while (running) {
    SDL_Event event;
    const bool got = window ? sdl.WaitEvent(&event) == 1 : sdl.WaitEventTimeout(&event, 250) == 1;
    if (!got) {
      if (!window && sdl.GetTicks() - started > kFirstFrameWait) {
        err << "tessra device show: the device did not show its screen within 15 s\n";
        status = 1;
        break;
      }
      continue;
    }
    if (event.type == arrivalEvent) {
      switch (static_cast<Arrival>(event.user.code)) {
        case Arrival::Attached: {
          {
            std::lock_guard lock(frameMutex);
            frame = shared;
          }
          if (!frame) break;
          if (!window) {
            std::string title = root_.filename().string() + " - Tessra device";
            window = sdl.CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, frame->width(),
                                      frame->height(), 0);
            renderer = window ? sdl.CreateRenderer(window, -1, 0) : nullptr;
            if (!renderer) {
              err << "tessra device show: cannot open a window: " << sdl.GetError() << "\n";
              status = 1;
              running = false;
              break;
            }
          } else {
            sdl.SetWindowSize(window, frame->width(), frame->height());
          }
          if (texture) sdl.DestroyTexture(texture);
          // The frames are premultiplied over nothing: shown as they are, they read as laid over black.
          texture = sdl.CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, frame->width(),
                                      frame->height());
          sdl.SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
          break;
        }
        case Arrival::Frame: {
          std::unique_ptr<FrameNote> note(static_cast<FrameNote*>(event.user.data1));
          if (!frame || !texture) break;
          for (const platform::FrameRect& r : note->changed) {
            SDL_Rect rect{r.x, r.y, r.width, r.height};
            const uint32_t* first = frame->pixels() + static_cast<size_t>(r.y) * frame->width() + r.x;
            sdl.UpdateTexture(texture, &rect, first, frame->stride());
          }
          client.shown(note->sequence);
          sdl.RenderCopy(renderer, texture, nullptr, nullptr);
          sdl.RenderPresent(renderer);
          break;
        }
        case Arrival::Lost: {
          std::unique_ptr<std::string> reason(static_cast<std::string*>(event.user.data1));
          err << "tessra device show: " << *reason << "\n";
          status = window ? 0 : 1;
          running = false;
          break;
        }
      }
      continue;
    }
    if (!window || !frame) {
      if (event.type == SDL_QUIT) running = false;
      continue;
    }
    // Window pixels are frame pixels: `scale` of them to a point.
    auto touch = [&](int phase, int x, int y) { client.touch(phase, x / scale, y / scale); };
    switch (event.type) {
      case SDL_QUIT: running = false; break;
      case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED && texture) {
          sdl.RenderCopy(renderer, texture, nullptr, nullptr);
          sdl.RenderPresent(renderer);
        }
        break;
      case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_LEFT) {
          fingerDown = true;
          touch(kBegan, event.button.x, event.button.y);
        }
        break;
      case SDL_MOUSEMOTION:
        if (fingerDown) touch(kMoved, event.motion.x, event.motion.y);
        break;
      case SDL_MOUSEBUTTONUP:
        if (event.button.button == SDL_BUTTON_LEFT && fingerDown) {
          fingerDown = false;
          touch(kEnded, event.button.x, event.button.y);
        }
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        if (event.key.repeat) break;
        if (auto key = keyFor(event.key.keysym.sym, event.key.keysym.mod)) client.key(*key, event.type == SDL_KEYDOWN);
        break;
      default: break;
    }
  }
  destroyWindow();
  return status;
}

}  // namespace tessra::cli
