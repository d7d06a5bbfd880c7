#pragma once

// A fresh folder for one test's (or benchmark's) files, removed with everything in it when it
// goes, even where the test made parts of it read-only. The one scratch folder of every test
// program: unit tests, end-to-end tests and benchmarks.

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace vd::test {

class ScratchDir {
public:
    // A new folder `<root>/<prefix>-XXXXXX` (the root is made when missing). The system's
    // temporary folder by default.
    explicit ScratchDir(const std::filesystem::path& root = std::filesystem::temp_directory_path(),
                        const std::string& prefix = "vodezaru-test") {
        std::filesystem::create_directories(root);
        std::string pattern = (root / (prefix + "-XXXXXX")).string();
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

    [[nodiscard]] const std::string& Path() const { return path_.native(); }
    [[nodiscard]] std::filesystem::path operator/(const std::string& name) const {
        return path_ / name;
    }

private:
    std::filesystem::path path_;
};

} // namespace vd::test
