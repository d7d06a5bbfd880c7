#include "framework/core/IniFile.h"

#include "framework/core/AtomicFile.h"

#include <cerrno>
#include <charconv>
#include <optional>
#include <stdexcept>
#include <sys/stat.h>
#include <utility>

namespace vd {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

enum class LineKind { Other, Section, Key };

struct LineInfo {
    LineKind kind = LineKind::Other;
    std::string_view name;
    // The value's place in the line, so that a new value replaces exactly the old one.
    std::size_t value_begin = 0;
    std::size_t value_end = 0;
};

LineInfo Classify(std::string_view text) {
    LineInfo info;
    const std::string_view content = TrimBlanks(text);
    if (content.empty() || content.front() == ';' || content.front() == '#') {
        return info;
    }
    if (content.front() == '[') {
        const auto close = content.find(']');
        if (close != std::string_view::npos) {
            info.kind = LineKind::Section;
            info.name = TrimBlanks(content.substr(1, close - 1));
        }
        return info;
    }
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) {
        return info;
    }
    info.kind = LineKind::Key;
    info.name = TrimBlanks(text.substr(0, equals));
    std::size_t begin = equals + 1;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    info.value_begin = begin;
    info.value_end = end;
    return info;
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

bool HasSurroundingBlanks(std::string_view text) {
    return !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
}

void CheckName(std::string_view what, std::string_view name, std::string_view forbidden) {
    if (name.empty() || HasLineBreak(name) || HasSurroundingBlanks(name) ||
        name.find_first_of(forbidden) != std::string_view::npos) {
        throw std::invalid_argument("Invalid INI " + std::string(what) + " name \"" +
                                    std::string(name) + "\"");
    }
}

std::optional<int> ParseDecimal(std::string_view text) {
    text = TrimBlanks(text);
    // from_chars takes "-" but not "+"; accept one sign of either kind, then digits only.
    std::string_view digits = text;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        digits.remove_prefix(1);
    }
    if (digits.empty() || digits.front() < '0' || digits.front() > '9') {
        return std::nullopt;
    }
    if (text.front() == '+') {
        text.remove_prefix(1);
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// The file's bytes, or nothing if it does not exist. Throws EFileError if it exists but cannot
// be read.
std::optional<std::string> ReadIfPresent(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
        return std::nullopt;
    }
    return ReadWholeFile(path);
}

} // namespace

TIniFile::TIniFile(std::string path) : path_(std::move(path)) {
    try {
        if (auto bytes = ReadIfPresent(path_)) {
            Parse(*bytes);
        }
    } catch (const EFileError&) {
        unread_ = true;
    }
}

TIniFile TIniFile::FromBytes(std::string_view bytes) {
    TIniFile ini;
    ini.Parse(bytes);
    return ini;
}

void TIniFile::Parse(std::string_view bytes) {
    byte_order_mark_.clear();
    lines_.clear();
    if (bytes.starts_with(kByteOrderMark)) {
        byte_order_mark_ = kByteOrderMark;
        bytes.remove_prefix(kByteOrderMark.size());
    }
    while (!bytes.empty()) {
        const auto end = bytes.find_first_of("\r\n");
        Line line;
        line.text = bytes.substr(0, end);
        if (end == std::string_view::npos) {
            bytes = {};
        } else if (bytes[end] == '\n') {
            line.line_break = LineBreak::Lf;
            bytes.remove_prefix(end + 1);
        } else if (end + 1 < bytes.size() && bytes[end + 1] == '\n') {
            line.line_break = LineBreak::CrLf;
            bytes.remove_prefix(end + 2);
        } else {
            line.line_break = LineBreak::Cr;
            bytes.remove_prefix(end + 1);
        }
        lines_.push_back(std::move(line));
    }
}

std::string_view TIniFile::LineBreakBytes(LineBreak line_break) {
    switch (line_break) {
    case LineBreak::Lf:
        return "\n";
    case LineBreak::CrLf:
        return "\r\n";
    case LineBreak::Cr:
        return "\r";
    case LineBreak::None:
        break;
    }
    return {};
}

std::string TIniFile::ToBytes() const {
    std::size_t size = byte_order_mark_.size();
    for (const auto& line : lines_) {
        size += line.text.size() + 2;
    }
    std::string bytes;
    bytes.reserve(size);
    bytes += byte_order_mark_;
    for (const auto& line : lines_) {
        bytes += line.text;
        bytes += LineBreakBytes(line.line_break);
    }
    return bytes;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view default_value) const {
    bool in_section = false;
    for (const auto& line : lines_) {
        const LineInfo info = Classify(line.text);
        if (info.kind == LineKind::Section) {
            in_section = EqualsIgnoringCase(info.name, section);
        } else if (in_section && info.kind == LineKind::Key && EqualsIgnoringCase(info.name, key)) {
            return line.text.substr(info.value_begin, info.value_end - info.value_begin);
        }
    }
    return std::string(default_value);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int default_value) const {
    return ParseDecimal(ReadString(section, key, {})).value_or(default_value);
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    CheckName("section", section, "]");
    CheckName("key", key, "=");
    if (key.front() == '[' || key.front() == ';' || key.front() == '#') {
        throw std::invalid_argument("Invalid INI key name \"" + std::string(key) + "\"");
    }
    if (HasLineBreak(value)) {
        throw std::invalid_argument("Invalid INI value for key \"" + std::string(key) + "\"");
    }
    Apply(section, key, value);
    if (unread_) {
        unread_writes_.push_back({std::string(section), std::string(key), std::string(value)});
    }
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::Apply(std::string_view section, std::string_view key, std::string_view value) {
    constexpr auto npos = std::string::npos;
    std::size_t first_header = npos;
    std::size_t insert_after = npos;
    bool in_section = false;
    bool in_first_section = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const LineInfo info = Classify(lines_[i].text);
        if (info.kind == LineKind::Section) {
            in_section = EqualsIgnoringCase(info.name, section);
            in_first_section = in_section && first_header == npos;
            if (in_first_section) {
                first_header = i;
                insert_after = i;
            }
        } else if (in_section && info.kind == LineKind::Key) {
            if (EqualsIgnoringCase(info.name, key)) {
                lines_[i].text.replace(info.value_begin, info.value_end - info.value_begin, value);
                return;
            }
            if (in_first_section) {
                insert_after = i;
            }
        }
    }

    std::string key_line = std::string(key) + "=" + std::string(value);
    if (first_header != npos) {
        InsertLine(insert_after + 1, std::move(key_line));
        return;
    }
    if (!lines_.empty() && !TrimBlanks(lines_.back().text).empty()) {
        InsertLine(lines_.size(), {});
    }
    InsertLine(lines_.size(), "[" + std::string(section) + "]");
    InsertLine(lines_.size(), std::move(key_line));
}

TIniFile::LineBreak TIniFile::NewLineBreak() const {
    for (const auto& line : lines_) {
        if (line.line_break != LineBreak::None) {
            return line.line_break;
        }
    }
    return LineBreak::Lf;
}

void TIniFile::InsertLine(std::size_t index, std::string text) {
    LineBreak line_break = NewLineBreak();
    if (index > 0) {
        Line& previous = lines_[index - 1];
        // The last line of a file need not end with a break; once a line follows it, it must.
        if (previous.line_break == LineBreak::None) {
            previous.line_break = line_break;
        }
        // Following the neighbour also keeps a lone CR and an empty LF line from reading back as
        // one CR LF.
        line_break = previous.line_break;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index),
                  Line{std::move(text), line_break});
}

void TIniFile::UpdateFile() {
    if (unread_) {
        // Throws again if the file still cannot be read: better no settings saved than a file
        // replaced by the few keys written here.
        Parse(ReadIfPresent(path_).value_or(std::string()));
        unread_ = false;
        for (const auto& write : unread_writes_) {
            Apply(write.section, write.key, write.value);
        }
        unread_writes_.clear();
    }
    WriteFileAtomically(path_, ToBytes());
}

} // namespace vd
