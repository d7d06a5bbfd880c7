#pragma once

#include <string>

namespace vd {

// A shared library opened when it is first needed instead of at start, so that its pages and
// those of the libraries it pulls in are not mapped while nothing uses them. It stays loaded.
class LibraryOnDemand {
public:
    // GUI thread. Opens `soname`; throws AudioError naming it when it cannot be loaded.
    explicit LibraryOnDemand(const char* soname);
    LibraryOnDemand(const LibraryOnDemand&) = delete;
    LibraryOnDemand& operator=(const LibraryOnDemand&) = delete;

    // GUI thread. The function `name`, as type F; throws AudioError when it is missing.
    template <class F>
    [[nodiscard]] F function(const char* name) const {
        return reinterpret_cast<F>(symbol(name));
    }

private:
    [[nodiscard]] void* symbol(const char* name) const;
    std::string soname_;
    void* handle_ = nullptr;
};

} // namespace vd
