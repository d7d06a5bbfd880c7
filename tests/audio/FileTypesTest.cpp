// One table of file types serves the playback controller's choice of engine, the media layer's
// choice of device and the sound dialogs' filters; extensions count whatever the case of their
// letters.
#include "audio/FileTypes.h"
#include "audio/MciDeviceType.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

namespace vd::test {
namespace {

// `extension` ("*.mid" style without the star) written in capitals, and with its first letter
// alone in capitals.
std::string Upper(std::string_view extension) {
    std::string s(extension);
    std::ranges::transform(s, s.begin(), [](char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}
std::string Capitalised(std::string_view extension) {
    std::string s(extension);
    s[1] = static_cast<char>(std::toupper(s[1]));
    return s;
}

TEST(FileTypeTable, EachTypeHasALowerCaseExtensionAndAnEngineAndMediaTheirDevice) {
    std::set<std::string_view> seen;
    for (const FileType& type : kFileTypes) {
        ASSERT_GE(type.extension.size(), 2u);
        EXPECT_EQ(type.extension.front(), '.');
        EXPECT_TRUE(std::ranges::none_of(type.extension, [](char c) { return std::isupper(c); }))
            << type.extension;
        EXPECT_TRUE(seen.insert(type.extension).second) << type.extension << " twice";
        EXPECT_NE(type.kind, FileKind::None) << type.extension;
        EXPECT_EQ(type.device.has_value(), type.kind == FileKind::Media) << type.extension;
    }
    EXPECT_EQ(seen.size(), 13u);
}

TEST(FileTypeTable, NamesInAnyCaseFindTheirEngineAndDevice) {
    for (const FileType& type : kFileTypes) {
        for (const std::string& name :
             {"/m/song" + std::string(type.extension), "/m/SONG" + Upper(type.extension),
              "/m/Song" + Capitalised(type.extension)}) {
            EXPECT_EQ(KindOfPath(name), type.kind) << name;
            EXPECT_EQ(mci_device_type_for_path(name), type.device) << name;
            EXPECT_EQ(MediaDeviceOfPath(name), type.device) << name;
        }
    }
    EXPECT_EQ(mci_device_type_for_path("SONG.MP3"), MciDeviceType::MpegVideo);
    EXPECT_EQ(mci_device_type_for_path("Song.Mid"), MciDeviceType::Sequencer);
    EXPECT_EQ(mci_device_type_for_path("Tune.XM"), std::nullopt); // a module: no media device
    for (const char* name : {"a.mp4", "a.mod.bak", "a.pvl", "mod", "x.mod/y", "C:\\a.wav\\b", ""}) {
        EXPECT_EQ(KindOfPath(name), FileKind::None) << name;
        EXPECT_EQ(mci_device_type_for_path(name), std::nullopt) << name;
    }
    // Only the ASCII letters fold: a byte of another encoding is no letter of the table.
    EXPECT_EQ(KindOfPath("a.m\xD6\x44"), FileKind::None);
    EXPECT_TRUE(HasExtension("LIST.PVL", ".pvl"));
    EXPECT_TRUE(HasExtension("List.Pvl", ".pvl"));
    EXPECT_FALSE(HasExtension("list.pvl.mod", ".pvl"));
    EXPECT_FALSE(HasExtension("pvl", ".pvl"));
}

} // namespace
} // namespace vd::test
