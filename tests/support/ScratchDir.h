#pragma once

// A fresh folder for one test's files, under the test's build folder, removed with everything in
// it when the test ends.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#ifndef VD_TEST_SCRATCH_ROOT
#error "VD_TEST_SCRATCH_ROOT must name the folder for test files"
#endif

namespace vd::test {

class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = std::string(VD_TEST_SCRATCH_ROOT) + "/scratch-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
        }
        path_ = pattern;
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        // Tests may have made folders read-only; open them again so they can be removed.
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        }
        std::filesystem::remove_all(path_, ignored);
    }

    [[nodiscard]] const std::string& Path() const { return path_; }
    [[nodiscard]] std::string operator/(const std::string& name) const {
        return path_ + "/" + name;
    }

private:
    std::string path_;
};

} // namespace vd::test
