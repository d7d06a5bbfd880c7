#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vd {

// What the player was asked to do from its command line.
struct CommandLine {
    enum class Action {
        Start,     // open the window (or hand the files to the running player)
        Help,      // print the usage and end
        Version,   // print the version and end
        PlayPause, // the remaining four act on the running player only
        Next,
        Previous,
        Stop,
    };
    Action action = Action::Start;
    // Append the files without playing them.
    bool enqueue = false;
    // Start an independent player even when one runs.
    bool new_instance = false;
    // Sound files and playlists, absolute, in the order given.
    std::vector<std::string> files;
};

// The command line could not be understood; the message names the argument.
struct CommandLineError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reads the arguments after the program's name. Relative paths are taken from `working_dir`.
// Arguments that each name an existing file are each one path; when they do not and all of them
// joined with blanks name an existing path (a name with blanks given without quotes), that one
// path is used; otherwise each stays a path of its own. "--" ends the options. Options of the
// window system (-display NAME, -platform NAME...) pass through to it and are skipped here.
// Throws CommandLineError for an unknown option.
[[nodiscard]] CommandLine ParseCommandLine(std::span<const std::string> arguments,
                                           const std::filesystem::path& working_dir);

// The action named by a desktop action or a remote call ("play-pause"...); nullopt if none.
[[nodiscard]] std::optional<CommandLine::Action> ActionNamed(std::string_view name);
[[nodiscard]] std::string_view ActionName(CommandLine::Action action);

// The --help text.
[[nodiscard]] std::string UsageText();

} // namespace vd
