#pragma once
// Settings kept in a text file, the store used where there is no registry:
// one section "[Stallmark]" with one "name=value" line per value.
//
// The file is UTF-8 text. Names and values are Windows-1252 bytes; each byte
// is written as its character in UTF-8, except that a backslash, control
// characters, the five bytes 1252 leaves undefined, a blank at either end, an
// "=" in a name and a leading "[", ";" or "#" of a name are written as escapes
// ("\\", "\n", "\r", "\t", "\xHH"), so that every byte string comes back as it
// was. A binary value is written as "hex:" followed by two hex digits a byte;
// a string value that begins with "hex:" has its "h" escaped.
//
// Reading is lenient, for files edited by hand: blanks around names and
// values are dropped, lines without "=" and comment lines (";" or "#") are
// ignored, an unknown escape stands for itself, and a byte that is not part of
// valid UTF-8 is taken as it stands (a file saved in 1252 reads as written).
// Names are matched without regard to ASCII case, as the registry does.
//
// Writes are kept in memory; Flush() replaces the file atomically (sibling
// temporary file, flushed to disk, renamed over the old one), creating the
// folder when missing. A file that is a symbolic link is replaced where the
// link points (the link stays), and a read-only file is not replaced at all:
// Flush() throws SettingsError and the file stays as it is. Sections other than "[Stallmark]", comments and lines
// it does not understand are kept as they stand, with the file's own line
// ends (LF for a new file).

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "settings/SettingsStore.h"

namespace stallmark {

class IniFileSettings final : public SettingsStore {
public:
    // Loads the file. A missing file is an empty store; a file that exists
    // but cannot be read throws SettingsError with the system's text.
    explicit IniFileSettings(std::filesystem::path path);
    IniFileSettings(const IniFileSettings&) = delete;
    IniFileSettings& operator=(const IniFileSettings&) = delete;
    IniFileSettings(IniFileSettings&&) = delete;
    IniFileSettings& operator=(IniFileSettings&&) = delete;

    // $XDG_CONFIG_HOME/Orvanel/Stallmark.ini (default ~/.config/...);
    // on Windows %APPDATA%\Orvanel\Stallmark.ini.
    static std::filesystem::path DefaultPath();

    const std::filesystem::path& Path() const { return path_; }
    // Whether some write has not been saved yet.
    bool HasUnsavedChanges() const { return dirty_; }

    std::optional<std::string> ReadRaw(const std::string& name) override;
    void WriteRaw(const std::string& name, const std::string& value) override;
    std::optional<std::vector<std::uint8_t>> ReadBinary(const std::string& name) override;
    void WriteBinary(const std::string& name, const std::vector<std::uint8_t>& bytes) override;
    // Saves the file when something changed; SettingsError on failure, with
    // the old file left whole and the changes still held for another try.
    void Flush() override;

private:
    struct Value {
        std::string name;
        bool binary = false;
        std::string bytes;
    };
    // A line of the section: a value (index into values_) or text kept as it stands.
    struct SectionLine {
        std::string raw;
        std::ptrdiff_t value = -1;
    };
    struct NoCaseLess {
        bool operator()(const std::string& a, const std::string& b) const;
    };

    void Parse(const std::string& text);
    void Set(const std::string& name, bool binary, std::string bytes);
    const Value* Find(const std::string& name) const;
    std::string Render() const;

    std::filesystem::path path_;
    std::vector<std::string> head_;  // lines before the section
    bool hasSection_ = false;
    std::vector<SectionLine> section_;  // the section's lines after its header
    std::vector<std::string> tail_;     // other sections after it
    std::vector<Value> values_;
    std::map<std::string, std::size_t, NoCaseLess> index_;
    bool bom_ = false;        // the file began with a UTF-8 byte order mark
    std::string eol_ = "\n";  // the file's line end
    bool dirty_ = false;
};

}  // namespace stallmark
