// Any bytes must parse and be written back unchanged; a write must read back, survive a round
// trip through bytes, and leave other settings alone.

#include "framework/core/IniFile.h"

#include "fuzz/FuzzCheck.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>

using vd::fuzz::Check;

namespace {

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const std::string section = provider.ConsumeRandomLengthString(12);
    const std::string key = provider.ConsumeRandomLengthString(12);
    const std::string value = provider.ConsumeRandomLengthString(24);
    const int number = provider.ConsumeIntegral<int>();
    const std::string bytes = provider.ConsumeRemainingBytesAsString();

    auto ini = vd::TIniFile::FromBytes(bytes);
    Check(ini.ToBytes() == bytes);

    constexpr std::string_view kMissing = "\x01missing";
    const std::string left_before = ini.ReadString("Config", "Left", kMissing);
    (void)ini.ReadInteger("Config", "Left", 0);
    (void)ini.ReadString(section, key, kMissing);
    (void)ini.ReadInteger(section, key, -1);

    try {
        ini.WriteString(section, key, value);
    } catch (const std::invalid_argument&) {
        Check(ini.ToBytes() == bytes);
        return 0;
    }
    const std::string_view expected = TrimBlanks(value);
    Check(ini.ReadString(section, key, kMissing) == expected);
    const auto reparsed = vd::TIniFile::FromBytes(ini.ToBytes());
    Check(reparsed.ReadString(section, key, kMissing) == expected);
    if (!EqualsIgnoringCase(section, "Config") || !EqualsIgnoringCase(key, "Left")) {
        Check(reparsed.ReadString("Config", "Left", kMissing) == left_before);
    }

    ini.WriteInteger("Config", "Top", number);
    Check(ini.ReadInteger("Config", "Top", number == 0 ? 1 : 0) == number);
    Check(vd::TIniFile::FromBytes(ini.ToBytes()).ReadInteger("Config", "Top", 0) == number);
    if (!EqualsIgnoringCase(section, "Config") || !EqualsIgnoringCase(key, "Top")) {
        Check(ini.ReadString(section, key, kMissing) == expected);
    }
    return 0;
}
