#include "audio/FluidSynthLibrary.h"

#include "audio/LibraryOnDemand.h"

namespace vd {

const FluidSynthLibrary& fluidsynth() {
    static const FluidSynthLibrary functions = [] {
        static const LibraryOnDemand library("libfluidsynth.so.3");
        FluidSynthLibrary loaded;
#define VD_RESOLVE(name) loaded.name = library.function<decltype(&::name)>(#name);
        VD_FLUIDSYNTH_FUNCTIONS(VD_RESOLVE)
#undef VD_RESOLVE
        return loaded;
    }();
    return functions;
}

} // namespace vd
