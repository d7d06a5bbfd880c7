#include "app/CommandLine.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vd {

namespace {

using Action = CommandLine::Action;

constexpr std::array<std::pair<std::string_view, Action>, 4> kRemoteActions{{
    {"play-pause", Action::PlayPause},
    {"next", Action::Next},
    {"previous", Action::Previous},
    {"stop", Action::Stop},
}};

// Options the window system reads for itself; the first group takes a value.
constexpr std::array<std::string_view, 14> kToolkitOptionsWithValue{
    "-platform",        "-platformpluginpath",
    "-platformtheme",   "-plugin",
    "-qwindowgeometry", "-qwindowicon",
    "-qwindowtitle",    "-display",
    "-geometry",        "-name",
    "-title",           "-style",
    "-stylesheet",      "-session"};
constexpr std::array<std::string_view, 1> kToolkitFlags{"-reverse"};

[[nodiscard]] bool Contains(std::span<const std::string_view> list, std::string_view word) {
    return std::find(list.begin(), list.end(), word) != list.end();
}

[[nodiscard]] std::filesystem::path Absolute(const std::string& path,
                                             const std::filesystem::path& working_dir) {
    const std::filesystem::path p(path);
    return (p.is_absolute() ? p : working_dir / p).lexically_normal();
}

[[nodiscard]] bool Exists(const std::filesystem::path& path) {
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

void SetAction(CommandLine& line, Action action, std::string_view option) {
    if (line.action != Action::Start && line.action != action)
        throw CommandLineError("vodezaru: " + std::string(option) + " cannot be combined with --" +
                               std::string(ActionName(line.action)));
    line.action = action;
}

} // namespace

std::optional<CommandLine::Action> ActionNamed(std::string_view name) {
    for (const auto& [word, action] : kRemoteActions)
        if (word == name)
            return action;
    return std::nullopt;
}

std::string_view ActionName(CommandLine::Action action) {
    for (const auto& [word, a] : kRemoteActions)
        if (a == action)
            return word;
    switch (action) {
    case Action::Help:
        return "help";
    case Action::Version:
        return "version";
    default:
        return "start";
    }
}

CommandLine ParseCommandLine(std::span<const std::string> arguments,
                             const std::filesystem::path& working_dir) {
    CommandLine line;
    std::vector<std::string> given;
    bool options_ended = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (options_ended || arg.size() < 2 || arg[0] != '-') {
            given.push_back(arg);
            continue;
        }
        if (arg == "--") {
            options_ended = true;
        } else if (arg == "--help" || arg == "-h") {
            line.action = Action::Help;
            return line;
        } else if (arg == "--version") {
            line.action = Action::Version;
            return line;
        } else if (arg == "--enqueue" || arg == "-e") {
            line.enqueue = true;
        } else if (arg == "--new-instance") {
            line.new_instance = true;
        } else if (arg.starts_with("--") && ActionNamed(std::string_view(arg).substr(2))) {
            SetAction(line, *ActionNamed(std::string_view(arg).substr(2)), arg);
        } else if (Contains(kToolkitOptionsWithValue, arg)) {
            ++i; // its value belongs to the window system too
        } else if (Contains(kToolkitFlags, arg) ||
                   Contains(kToolkitOptionsWithValue, arg.substr(0, arg.find('=')))) {
        } else {
            throw CommandLineError("vodezaru: unknown option '" + arg +
                                   "'\nTry 'vodezaru --help' for more information.");
        }
    }
    if (given.empty())
        return line;

    std::vector<std::filesystem::path> each;
    each.reserve(given.size());
    for (const std::string& arg : given)
        each.push_back(Absolute(arg, working_dir));
    const bool all_exist = std::all_of(each.begin(), each.end(), Exists);
    if (!all_exist && given.size() > 1) {
        std::string joined = given.front();
        for (std::size_t i = 1; i < given.size(); ++i)
            joined += " " + given[i];
        const std::filesystem::path whole = Absolute(joined, working_dir);
        if (Exists(whole)) {
            line.files.push_back(whole.string());
            return line;
        }
    }
    for (const std::filesystem::path& p : each)
        line.files.push_back(p.string());
    return line;
}

std::string UsageText() {
    return "Usage: vodezaru [OPTION]... [FILE]...\n"
           "Play tracker modules, MIDI, wave and MPEG audio files and VO Dezaru playlists (.pvl).\n"
           "\n"
           "With a player already running, the FILEs go to that player: they are added to its\n"
           "playlist and the first of them plays. Without FILEs its window is shown.\n"
           "\n"
           "  -e, --enqueue       add the FILEs to the running player's playlist, play nothing\n"
           "      --new-instance  start a player of its own even when one is running\n"
           "      --play-pause    play or pause the running player\n"
           "      --next          go to the next entry in the running player\n"
           "      --previous      go to the previous entry in the running player\n"
           "      --stop          stop the running player\n"
           "  -h, --help          show this help and exit\n"
           "      --version       show the version and exit\n"
           "\n"
           "Exit status: 0 on success, 1 when no player runs for a control option,\n"
           "2 for a command line that cannot be understood.\n";
}

} // namespace vd
