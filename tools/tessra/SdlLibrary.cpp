#include "tools/tessra/SdlLibrary.h"

#include <dlfcn.h>

#include <mutex>
#include <string>
#include <type_traits>

namespace tessra::cli {

namespace {

// The shared object of SDL2's stable ABI, as its package installs it.
constexpr const char* kLibraryName = "libSDL2-2.0.so.0";

}  // namespace

const SdlLibrary* SdlLibrary::load(std::string* error) {
  static std::once_flag once;
  static const SdlLibrary* loaded = nullptr;
  static std::string failure;
  std::call_once(once, [] {
    void* handle = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
      const char* why = dlerror();
      failure = std::string("cannot load ") + kLibraryName + " (" + (why ? why : "unknown error") +
                "); install SDL2 (Debian: libsdl2-2.0-0)";
      return;
    }
    auto* library = new SdlLibrary();  // never unloaded: SDL keeps threads of its own
    std::string missing;
    auto resolve = [&](auto& function, const char* name) {
      function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(handle, name));
      if (!function && missing.empty()) missing = name;
    };
    resolve(library->Init, "SDL_Init");
    resolve(library->Quit, "SDL_Quit");
    resolve(library->GetError, "SDL_GetError");
    resolve(library->SetHint, "SDL_SetHint");
    resolve(library->GetTicks, "SDL_GetTicks");
    resolve(library->RegisterEvents, "SDL_RegisterEvents");
    resolve(library->PushEvent, "SDL_PushEvent");
    resolve(library->WaitEvent, "SDL_WaitEvent");
    resolve(library->WaitEventTimeout, "SDL_WaitEventTimeout");
    resolve(library->CreateWindow, "SDL_CreateWindow");
    resolve(library->DestroyWindow, "SDL_DestroyWindow");
    resolve(library->SetWindowSize, "SDL_SetWindowSize");
    resolve(library->CreateRenderer, "SDL_CreateRenderer");
    resolve(library->DestroyRenderer, "SDL_DestroyRenderer");
    resolve(library->CreateTexture, "SDL_CreateTexture");
    resolve(library->DestroyTexture, "SDL_DestroyTexture");
    resolve(library->SetTextureBlendMode, "SDL_SetTextureBlendMode");
    resolve(library->UpdateTexture, "SDL_UpdateTexture");
    resolve(library->RenderCopy, "SDL_RenderCopy");
    resolve(library->RenderPresent, "SDL_RenderPresent");
    if (!missing.empty()) {
      failure = std::string(kLibraryName) + " lacks " + missing + "; it is older than SDL 2.0.5";
      delete library;
      return;
    }
    loaded = library;
  });
  if (!loaded && error) *error = failure;
  return loaded;
}

}  // namespace tessra::cli
