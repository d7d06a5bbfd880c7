#include "audio/SdlLibrary.h"

#include "audio/LibraryOnDemand.h"

namespace vd {

const SdlLibrary& sdl() {
    static const SdlLibrary functions = [] {
        static const LibraryOnDemand library("libSDL2-2.0.so.0");
        SdlLibrary loaded;
#define VD_RESOLVE(name) loaded.name = library.function<decltype(&::name)>(#name);
        VD_SDL_FUNCTIONS(VD_RESOLVE)
#undef VD_RESOLVE
        return loaded;
    }();
    return functions;
}

} // namespace vd
