#include "audio/LibraryOnDemand.h"

#include "audio/AudioError.h"

#include <dlfcn.h>

namespace vd {

LibraryOnDemand::LibraryOnDemand(const char* soname) : soname_(soname) {
    handle_ = ::dlopen(soname, RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* why = ::dlerror();
        throw AudioError("The library " + soname_ + " cannot be loaded" +
                         (why != nullptr ? std::string(": ") + why : std::string()));
    }
}

void* LibraryOnDemand::symbol(const char* name) const {
    void* found = ::dlsym(handle_, name);
    if (found == nullptr) {
        throw AudioError("The library " + soname_ + " has no " + name);
    }
    return found;
}

} // namespace vd
