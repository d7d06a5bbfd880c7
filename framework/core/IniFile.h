#pragma once

// Settings in the INI format, edited in place: sections "[Name]", lines "Key=Value", comments
// starting with ";" or "#". Section and key names compare without regard to ASCII letter case.
// Everything the program does not touch (comments, blank lines, unknown sections and keys, their
// order, CR LF or LF line ends, a byte-order mark) is written back byte for byte, so a file that a
// person edited by hand keeps its shape. Any bytes are accepted; nothing is re-encoded.

#include <string>
#include <string_view>
#include <vector>

namespace vd {

// One object belongs to one thread at a time; it holds no shared state.
class TIniFile {
public:
    // Reads the file at `path` if there is one. A missing file gives empty settings. A file that
    // exists but cannot be read also reads as empty, but UpdateFile then tries again and fails
    // rather than replace content it never saw.
    explicit TIniFile(std::string path);

    // Settings parsed from bytes in memory, tied to no file (UpdateFile fails).
    [[nodiscard]] static TIniFile FromBytes(std::string_view bytes);

    [[nodiscard]] const std::string& FileName() const { return path_; }

    // The value of the first `key` in the first sections named `section`: the text after the
    // first "=", without surrounding blanks. `default_value` if there is no such key.
    [[nodiscard]] std::string ReadString(std::string_view section, std::string_view key,
                                         std::string_view default_value) const;

    // The value as a decimal integer with an optional sign; `default_value` if the key is missing
    // or its value is anything else (also an empty value or one out of the range of int).
    [[nodiscard]] int ReadInteger(std::string_view section, std::string_view key,
                                  int default_value) const;

    // Sets a value in memory. An existing key keeps its line and only its value text changes; a
    // new key goes after the last key of the first section of that name; a new section is added
    // at the end. Throws std::invalid_argument for a name or value that could not be read back
    // (line breaks anywhere, "]" in a section, "=" in a key, an empty name, blanks around a name).
    // Blanks around a value are dropped when it is read back.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);

    // Writes the settings to the file atomically. Throws EFileError.
    void UpdateFile();

    // The whole file as it would be written.
    [[nodiscard]] std::string ToBytes() const;

private:
    enum class LineBreak { None, Lf, CrLf, Cr };

    struct Line {
        std::string text;
        LineBreak line_break = LineBreak::None;
    };

    struct Write {
        std::string section;
        std::string key;
        std::string value;
    };

    TIniFile() = default;
    void Parse(std::string_view bytes);
    void Apply(std::string_view section, std::string_view key, std::string_view value);
    [[nodiscard]] static std::string_view LineBreakBytes(LineBreak line_break);
    [[nodiscard]] LineBreak NewLineBreak() const;
    void InsertLine(std::size_t index, std::string text);

    std::string path_;
    std::string byte_order_mark_;
    std::vector<Line> lines_;
    // Set while the file exists but could not be read; the writes made meanwhile are replayed on
    // the real content once it can be read.
    bool unread_ = false;
    std::vector<Write> unread_writes_;
};

} // namespace vd
