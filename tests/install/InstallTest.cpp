// `make install` staged into a temporary folder: exactly the listed files, each one accepted by
// the desktop's own validators, and all of them gone again after the uninstall.
#include "app/AppId.h"
#include "tests/e2e/support/Player.h"
#include "tests/e2e/support/Process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace vd::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kId(kAppId);
constexpr auto kPlaylistType = "audio/x-vodezaru-playlist";

[[nodiscard]] std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A PNG's width and height from its header.
[[nodiscard]] std::pair<int, int> png_size(const fs::path& path) {
    const std::string bytes = read_file(path);
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0)
        return {0, 0};
    auto be32 = [&](std::size_t at) {
        int v = 0;
        for (std::size_t i = 0; i < 4; ++i)
            v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
        return v;
    };
    return {be32(16), be32(20)};
}

class Install : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = build_dir() / "install-test" / std::to_string(::getpid());
        fs::remove_all(root_);
        fs::create_directories(root_);
        // The test's install must not take the place of the manifest of a real one.
        manifest_ = build_dir() / "install_manifest.txt";
        if (fs::exists(manifest_))
            saved_manifest_ = read_file(manifest_);
    }
    void TearDown() override {
        if (saved_manifest_)
            std::ofstream(manifest_, std::ios::binary) << *saved_manifest_;
        else
            fs::remove(manifest_);
        fs::remove_all(build_dir() / "install-test");
    }

    [[nodiscard]] ProgramOutput run(const std::vector<std::string>& argv) {
        return run_capturing(argv, {"DESTDIR=" + root_.string()}, 60s);
    }
    [[nodiscard]] std::set<std::string> files_under(const fs::path& dir) const {
        std::set<std::string> files;
        if (!fs::exists(dir))
            return files;
        for (const fs::directory_entry& e : fs::recursive_directory_iterator(dir))
            if (!e.is_directory())
                files.insert(fs::relative(e.path(), root_).string());
        return files;
    }

    fs::path root_;
    fs::path manifest_;
    std::optional<std::string> saved_manifest_;
};

TEST_F(Install, PutsExactlyTheListedFilesInPlaceAndUninstallTakesThemAway) {
    const char* cmake = std::getenv("VD_CMAKE");
    ASSERT_NE(cmake, nullptr);
    const ProgramOutput installed =
        run({cmake, "--install", build_dir().string(), "--prefix", "/usr"});
    ASSERT_EQ(installed.exit_code, 0) << installed.output;

    std::set<std::string> expected{
        "usr/bin/vodezaru",
        "usr/share/applications/" + kId + ".desktop",
        "usr/share/metainfo/" + kId + ".metainfo.xml",
        "usr/share/mime/packages/" + kId + ".xml",
        "usr/share/man/man1/vodezaru.1",
    };
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        expected.insert("usr/share/icons/hicolor/" + std::to_string(size) + "x" +
                        std::to_string(size) + "/apps/" + kId + ".png");
    EXPECT_EQ(files_under(root_), expected);

    // Each icon is drawn at the size of its folder.
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const fs::path icon = root_ / ("usr/share/icons/hicolor/" + std::to_string(size) + "x" +
                                       std::to_string(size) + "/apps/" + kId + ".png");
        EXPECT_EQ(png_size(icon), std::make_pair(size, size)) << icon;
    }
    // The installed program runs from where it was put.
    const ProgramOutput version = run({(root_ / "usr/bin/vodezaru").string(), "--version"});
    EXPECT_EQ(version.exit_code, 0);
    EXPECT_EQ(version.output, "vodezaru 1.0\n");

    const ProgramOutput uninstalled = run({cmake, "-DMANIFEST=" + manifest_.string(), "-P",
                                           (source_dir() / "cmake/Uninstall.cmake").string()});
    ASSERT_EQ(uninstalled.exit_code, 0) << uninstalled.output;
    EXPECT_TRUE(files_under(root_).empty());
}

TEST_F(Install, TheDesktopEntryAndTheMetainfoPassTheirValidators) {
    const char* cmake = std::getenv("VD_CMAKE");
    ASSERT_NE(cmake, nullptr);
    ASSERT_EQ(run({cmake, "--install", build_dir().string(), "--prefix", "/usr"}).exit_code, 0);
    const fs::path desktop = root_ / ("usr/share/applications/" + kId + ".desktop");
    const fs::path metainfo = root_ / ("usr/share/metainfo/" + kId + ".metainfo.xml");

    const ProgramOutput entry = run({"desktop-file-validate", desktop.string()});
    EXPECT_EQ(entry.exit_code, 0) << entry.output;
    EXPECT_EQ(entry.output, "") << "no warnings either";
    const ProgramOutput meta = run({"appstreamcli", "validate", "--no-net", metainfo.string()});
    EXPECT_EQ(meta.exit_code, 0) << meta.output;

    const std::string text = read_file(desktop);
    for (const std::string& line : std::vector<std::string>{
             "Exec=vodezaru %F", "TryExec=vodezaru", "Icon=" + kId, "GenericName=Music Player",
             "Categories=AudioVideo;Audio;Player;", "StartupWMClass=vodezaru",
             "Actions=play-pause;next;previous;stop;", "Exec=vodezaru --play-pause",
             "Exec=vodezaru --next", "Exec=vodezaru --previous", "Exec=vodezaru --stop"})
        EXPECT_NE(text.find("\n" + line + "\n"), std::string::npos) << line;
    for (const std::string& type : std::vector<std::string>{
             "audio/x-mod", "audio/x-xm", "audio/x-s3m", "audio/x-it", "audio/midi", "audio/x-wav",
             "audio/mpeg", std::string(kPlaylistType)})
        EXPECT_NE(text.find(type + ";"), std::string::npos) << type;

    const std::string meta_text = read_file(metainfo);
    EXPECT_NE(meta_text.find("<id>" + kId + "</id>"), std::string::npos);
    EXPECT_NE(meta_text.find("<launchable type=\"desktop-id\">" + kId + ".desktop</launchable>"),
              std::string::npos);
    EXPECT_NE(meta_text.find("<binary>vodezaru</binary>"), std::string::npos);
    EXPECT_NE(meta_text.find("docs/screenshot.png</image>"), std::string::npos);
}

TEST_F(Install, TheMimePackageMapsPlaylistFilesToThePlaylistType) {
    const char* cmake = std::getenv("VD_CMAKE");
    ASSERT_NE(cmake, nullptr);
    ASSERT_EQ(run({cmake, "--install", build_dir().string(), "--prefix", "/usr"}).exit_code, 0);
    // A database of its own, built from this package alone.
    const fs::path mime = root_ / "mime";
    fs::create_directories(mime / "packages");
    fs::copy_file(root_ / ("usr/share/mime/packages/" + kId + ".xml"),
                  mime / "packages" / (kId + ".xml"));
    const ProgramOutput update = run({"update-mime-database", mime.string()});
    ASSERT_EQ(update.exit_code, 0) << update.output;

    const std::string globs = read_file(mime / "globs2");
    EXPECT_NE(globs.find(std::string(kPlaylistType) + ":*.pvl\n"), std::string::npos) << globs;
    const std::string subclasses = read_file(mime / "subclasses");
    EXPECT_NE(subclasses.find(std::string(kPlaylistType) + " text/plain\n"), std::string::npos)
        << subclasses;
    EXPECT_TRUE(fs::exists(mime / "mime.cache"));
}

TEST_F(Install, TheManPageNamesEveryOption) {
    const char* cmake = std::getenv("VD_CMAKE");
    ASSERT_NE(cmake, nullptr);
    ASSERT_EQ(run({cmake, "--install", build_dir().string(), "--prefix", "/usr"}).exit_code, 0);
    const std::string page = read_file(root_ / "usr/share/man/man1/vodezaru.1");
    EXPECT_EQ(page.rfind(".TH VODEZARU 1", 0), 0u);
    const ProgramOutput help = run({player_program().string(), "--help"});
    ASSERT_EQ(help.exit_code, 0);
    for (const std::string& option :
         std::vector<std::string>{"enqueue", "new\\-instance", "play\\-pause", "next", "previous",
                                  "stop", "help", "version"}) {
        EXPECT_NE(page.find("\\-\\-" + option), std::string::npos) << option;
        std::string plain = option;
        plain.erase(std::remove(plain.begin(), plain.end(), '\\'), plain.end());
        EXPECT_NE(help.output.find("--" + plain), std::string::npos) << plain;
    }
}

TEST(CommandLine, UnknownOptionsEndWithStatusTwoBeforeAnyWindow) {
    // No display is needed to be told.
    const ProgramOutput bad = run_capturing({player_program().string(), "--shuffle"},
                                            {"DISPLAY=", "WAYLAND_DISPLAY="}, 10s);
    EXPECT_EQ(bad.exit_code, 2);
    EXPECT_EQ(
        bad.output,
        "vodezaru: unknown option '--shuffle'\nTry 'vodezaru --help' for more information.\n");
    const ProgramOutput help =
        run_capturing({player_program().string(), "--help"}, {"DISPLAY=", "WAYLAND_DISPLAY="}, 10s);
    EXPECT_EQ(help.exit_code, 0);
    EXPECT_EQ(help.output.rfind("Usage: vodezaru [OPTION]... [FILE]...\n", 0), 0u);
}

} // namespace
} // namespace vd::e2e
