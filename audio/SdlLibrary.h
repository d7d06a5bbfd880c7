#pragma once

#include <SDL.h>

namespace vd {

// SDL2's functions the SDL sink calls, from the library loaded when that sink first opens (only
// without a sound server): SDL2 and its video and audio back ends stay unmapped otherwise.
struct SdlLibrary {
#define VD_SDL_FUNCTIONS(X)                                                                        \
    X(SDL_CloseAudioDevice)                                                                        \
    X(SDL_GetError)                                                                                \
    X(SDL_InitSubSystem)                                                                           \
    X(SDL_OpenAudioDevice)                                                                         \
    X(SDL_PauseAudioDevice)                                                                        \
    X(SDL_QuitSubSystem)                                                                           \
    X(SDL_SetHint)
#define VD_DECLARE(name) decltype(&::name) name = nullptr;
    VD_SDL_FUNCTIONS(VD_DECLARE)
#undef VD_DECLARE
};

// GUI thread (the first call loads the library); then any thread. Throws AudioError when it
// cannot be loaded.
[[nodiscard]] const SdlLibrary& sdl();

} // namespace vd
