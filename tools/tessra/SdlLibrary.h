#pragma once

#include <SDL2/SDL.h>

#include <string>

namespace tessra::cli {

// SDL2, loaded when a window is first needed rather than when `tessra`
// starts: linked in, SDL2 and the thirty libraries it pulls (sound, X11,
// Wayland) cost every command tens of milliseconds of start-up, and only
// `tessra device show` draws a window. Holds the functions the window uses,
// named as in SDL without the prefix. Loaded once per process and never
// unloaded; safe to call from any thread.
class SdlLibrary {
 public:
  // The loaded library, or null with `error` set when it cannot be loaded.
  static const SdlLibrary* load(std::string* error);

  decltype(&::SDL_Init) Init = nullptr;
  decltype(&::SDL_Quit) Quit = nullptr;
  decltype(&::SDL_GetError) GetError = nullptr;
  decltype(&::SDL_SetHint) SetHint = nullptr;
  decltype(&::SDL_GetTicks) GetTicks = nullptr;
  decltype(&::SDL_RegisterEvents) RegisterEvents = nullptr;
  decltype(&::SDL_PushEvent) PushEvent = nullptr;
  decltype(&::SDL_WaitEvent) WaitEvent = nullptr;
  decltype(&::SDL_WaitEventTimeout) WaitEventTimeout = nullptr;
  decltype(&::SDL_CreateWindow) CreateWindow = nullptr;
  decltype(&::SDL_DestroyWindow) DestroyWindow = nullptr;
  decltype(&::SDL_SetWindowSize) SetWindowSize = nullptr;
  decltype(&::SDL_CreateRenderer) CreateRenderer = nullptr;
  decltype(&::SDL_DestroyRenderer) DestroyRenderer = nullptr;
  decltype(&::SDL_CreateTexture) CreateTexture = nullptr;
  decltype(&::SDL_DestroyTexture) DestroyTexture = nullptr;
  decltype(&::SDL_SetTextureBlendMode) SetTextureBlendMode = nullptr;
  decltype(&::SDL_UpdateTexture) UpdateTexture = nullptr;
  decltype(&::SDL_RenderCopy) RenderCopy = nullptr;
  decltype(&::SDL_RenderPresent) RenderPresent = nullptr;

 private:
  SdlLibrary() = default;
};

}  // namespace tessra::cli
