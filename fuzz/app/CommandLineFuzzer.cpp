// Any arguments (the bytes split at NUL) are read or refused with the program's own error; the
// files read are absolute, at most one per argument, and none is read when help or the version is
// asked for.

#include "app/CommandLine.h"

#include "fuzz/FuzzCheck.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

using vd::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> arguments;
    std::size_t start = 0;
    while (start <= bytes.size()) {
        const std::size_t end = std::min(bytes.find('\0', start), bytes.size());
        arguments.emplace_back(bytes.substr(start, end - start));
        start = end + 1;
    }

    vd::CommandLine line;
    try {
        line = vd::ParseCommandLine(arguments, "/nonexistent-fuzz-dir/sub");
    } catch (const vd::CommandLineError& error) {
        Check(std::string_view(error.what()).starts_with("vodezaru: "));
        return 0;
    }
    Check(line.files.size() <= arguments.size());
    for (const std::string& file : line.files)
        Check(!file.empty() && file.front() == '/');
    if (line.action == vd::CommandLine::Action::Help ||
        line.action == vd::CommandLine::Action::Version)
        Check(line.files.empty());
    // The actions for the running player go there by their names.
    if (const auto named = vd::ActionNamed(vd::ActionName(line.action)))
        Check(*named == line.action);
    else
        Check(line.action == vd::CommandLine::Action::Start ||
              line.action == vd::CommandLine::Action::Help ||
              line.action == vd::CommandLine::Action::Version);
    return 0;
}
