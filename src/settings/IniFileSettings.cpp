#include "settings/IniFileSettings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <utility>

#include "store/Files.h"
#include "store/Windows1252.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace stallmark {

namespace {

constexpr const char* kHexPrefix = "hex:";
constexpr const char* kHexDigits = "0123456789ABCDEF";
constexpr const char* kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(const std::string& s) {
    std::size_t first = 0;
    std::size_t last = s.size();
    while (first < last && IsBlank(s[first])) ++first;
    while (last > first && IsBlank(s[last - 1])) --last;
    return s.substr(first, last - first);
}

char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (ToLowerAscii(a[i]) != ToLowerAscii(b[i])) return false;
    return true;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void AppendHexByte(std::string& out, unsigned char b) {
    out.push_back(kHexDigits[b >> 4]);
    out.push_back(kHexDigits[b & 0x0F]);
}

void AppendEscape(std::string& out, unsigned char b) {
    out += "\\x";
    AppendHexByte(out, b);
}

// Text for the file; see the header for the rules.
std::string Encode(const std::string& bytes, bool isName) {
    std::string out;
    out.reserve(bytes.size() + 8);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        const bool atEnd = i == 0 || i + 1 == bytes.size();
        if (b == '\\') {
            out += "\\\\";
        } else if (b == '\n') {
            out += "\\n";
        } else if (b == '\r') {
            out += "\\r";
        } else if (b == '\t') {
            out += "\\t";
        } else if (b < 0x20 || b == 0x7F || (b == ' ' && atEnd)) {
            AppendEscape(out, b);
        } else if (isName && (b == '=' || (i == 0 && (b == '[' || b == ';' || b == '#')))) {
            AppendEscape(out, b);
        } else if (!isName && i == 0 && bytes.compare(0, 4, kHexPrefix) == 0) {
            AppendEscape(out, b);
        } else if (b < 0x80) {
            out.push_back(static_cast<char>(b));
        } else if (!IsDefined1252(b)) {
            AppendEscape(out, b);
        } else {
            AppendUtf8(out, CodePointOf1252(b));
        }
    }
    return out;
}

std::string Decode(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\\' && i + 1 < text.size()) {
            const char e = text[i + 1];
            if (e == '\\' || e == 'n' || e == 'r' || e == 't') {
                out.push_back(e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : '\\');
                i += 2;
                continue;
            }
            if (e == 'x' && i + 3 < text.size() && HexValue(text[i + 2]) >= 0 && HexValue(text[i + 3]) >= 0) {
                out.push_back(static_cast<char>(HexValue(text[i + 2]) * 16 + HexValue(text[i + 3])));
                i += 4;
                continue;
            }
        }
        if (c >= 0x80) {
            char32_t cp = 0;
            if (const std::size_t length = DecodeUtf8(text, i, cp)) {
                const int byte = ByteOf1252(cp);
                out.push_back(byte < 0 ? '?' : static_cast<char>(byte));
                i += length;
                continue;
            }
        }
        out.push_back(static_cast<char>(c));
        ++i;
    }
    return out;
}

// The bytes of "hex:..." text, or false when the text is not that form.
bool DecodeHex(const std::string& text, std::string& bytes) {
    if (text.compare(0, 4, kHexPrefix) != 0 || (text.size() - 4) % 2 != 0) return false;
    bytes.clear();
    for (std::size_t i = 4; i < text.size(); i += 2) {
        const int hi = HexValue(text[i]);
        const int lo = HexValue(text[i + 1]);
        if (hi < 0 || lo < 0) return false;
        bytes.push_back(static_cast<char>(hi * 16 + lo));
    }
    return true;
}

std::string EncodeHex(const std::string& bytes) {
    std::string out = kHexPrefix;
    for (char b : bytes) AppendHexByte(out, static_cast<unsigned char>(b));
    return out;
}

// The section name of a "[name]" line, or false when the line is no section header.
bool SectionName(const std::string& trimmed, std::string& name) {
    if (trimmed.empty() || trimmed.front() != '[') return false;
    const std::size_t close = trimmed.find(']');
    if (close == std::string::npos) return false;
    name = Trim(trimmed.substr(1, close - 1));
    return true;
}

std::string SystemText(int error) { return std::generic_category().message(error); }

[[noreturn]] void Fail(const std::string& what, const std::filesystem::path& path, const std::string& systemText) {
    throw SettingsError(what + " \"" + path.string() + "\": " + systemText);
}

// ---- The file system, through the C runtime's descriptors on both families.

#ifdef _WIN32
int OpenForReading(const std::filesystem::path& p) { return _wopen(p.c_str(), _O_RDONLY | _O_BINARY); }
int CreateExclusive(const std::filesystem::path& p) {
    return _wopen(p.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
long ReadSome(int fd, char* buffer, std::size_t size) { return _read(fd, buffer, static_cast<unsigned>(size)); }
long WriteSome(int fd, const char* data, std::size_t size) { return _write(fd, data, static_cast<unsigned>(size)); }
int SyncFile(int fd) { return _commit(fd); }
int CloseFile(int fd) { return _close(fd); }
void RemoveFile(const std::filesystem::path& p) { _wunlink(p.c_str()); }
// Replaces target by source; the system's text on failure, empty on success.
std::string ReplaceFile(const std::filesystem::path& source, const std::filesystem::path& target) {
    if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return {};
    return std::system_category().message(static_cast<int>(GetLastError()));
}
void SyncFolder(const std::filesystem::path&) {}
#else
int OpenForReading(const std::filesystem::path& p) { return ::open(p.c_str(), O_RDONLY | O_CLOEXEC); }
int CreateExclusive(const std::filesystem::path& p) {
    return ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
long ReadSome(int fd, char* buffer, std::size_t size) { return static_cast<long>(::read(fd, buffer, size)); }
long WriteSome(int fd, const char* data, std::size_t size) { return static_cast<long>(::write(fd, data, size)); }
int SyncFile(int fd) { return ::fsync(fd); }
int CloseFile(int fd) { return ::close(fd); }
void RemoveFile(const std::filesystem::path& p) { ::unlink(p.c_str()); }
std::string ReplaceFile(const std::filesystem::path& source, const std::filesystem::path& target) {
    if (::rename(source.c_str(), target.c_str()) == 0) return {};
    return SystemText(errno);
}
// Makes the rename itself lasting; best effort, as not every file system allows it.
void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}
#endif

// The whole file; false when it does not exist.
bool ReadWholeFile(const std::filesystem::path& path, std::string& text) {
    const int fd = OpenForReading(path);
    if (fd < 0) {
        if (errno == ENOENT) return false;
        Fail("Cannot read settings file", path, SystemText(errno));
    }
    text.clear();
    char buffer[16384];
    for (;;) {
        const long got = ReadSome(fd, buffer, sizeof buffer);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            CloseFile(fd);
            Fail("Cannot read settings file", path, SystemText(error));
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    CloseFile(fd);
    return true;
}

void WriteFileAtomically(const std::filesystem::path& given, const std::string& text) {
    const char* what = "Cannot save settings file";
#ifdef _WIN32
    // Windows itself refuses to replace a read-only file.
    const std::filesystem::path& path = given;
#else
    // A link stays a link: the file it points to is replaced. A file that nobody may write
    // was made read-only on purpose and is left alone.
    std::filesystem::path path;
    try {
        path = LinkTarget(given.string());
    } catch (const StoreError& e) {
        Fail(what, given, e.what());
    }
    if (IsReadOnlyFile(path.string())) Fail(what, path, "the file is read-only");
#endif
    const std::filesystem::path folder = path.parent_path();
    if (!folder.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        if (ec) Fail(what, path, ec.message());
    }
    std::filesystem::path temp = path;
    temp += ".tmp";
    int fd = CreateExclusive(temp);
    if (fd < 0 && errno == EEXIST) {
        // Left over from a save that was cut short.
        RemoveFile(temp);
        fd = CreateExclusive(temp);
    }
    if (fd < 0) Fail(what, path, SystemText(errno));

    std::size_t done = 0;
    int error = 0;
    while (done < text.size()) {
        const long put = WriteSome(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            error = put < 0 ? errno : EIO;
            break;
        }
        done += static_cast<std::size_t>(put);
    }
    if (error == 0 && SyncFile(fd) != 0) error = errno;
    if (CloseFile(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        RemoveFile(temp);
        Fail(what, path, SystemText(error));
    }
    const std::string renameError = ReplaceFile(temp, path);
    if (!renameError.empty()) {
        RemoveFile(temp);
        Fail(what, path, renameError);
    }
    SyncFolder(folder);
}

}  // namespace

bool IniFileSettings::NoCaseLess::operator()(const std::string& a, const std::string& b) const {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char x = ToLowerAscii(a[i]);
        const char y = ToLowerAscii(b[i]);
        if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    }
    return a.size() < b.size();
}

IniFileSettings::IniFileSettings(std::filesystem::path path) : path_(std::move(path)) {
    std::string text;
    if (ReadWholeFile(path_, text)) Parse(text);
}

std::filesystem::path IniFileSettings::DefaultPath() {
    const std::filesystem::path tail = std::filesystem::path("Orvanel") / "Stallmark.ini";
#ifdef _WIN32
    if (const char* appData = std::getenv("APPDATA"); appData && *appData) return std::filesystem::path(appData) / tail;
    return tail;
#else
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') return std::filesystem::path(xdg) / tail;
    std::filesystem::path home;
    if (const char* env = std::getenv("HOME"); env && *env) {
        home = env;
    } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
        home = pw->pw_dir;
    }
    return home / ".config" / tail;
#endif
}

void IniFileSettings::Parse(const std::string& input) {
    std::string text = input;
    if (text.compare(0, 3, kUtf8Bom) == 0) {
        text.erase(0, 3);
        bom_ = true;
    }
    // Lines are written back with the file's own line ends.
    const std::size_t firstBreak = text.find('\n');
    if (firstBreak != std::string::npos && firstBreak > 0 && text[firstBreak - 1] == '\r') eol_ = "\r\n";

    enum class Where { Head, Section, Tail } where = Where::Head;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();

        const std::string trimmed = Trim(line);
        std::string sectionName;
        if (SectionName(trimmed, sectionName)) {
            if (EqualsNoCase(sectionName, kSettingsSection)) {
                // A second section of the same name is merged into the first.
                where = Where::Section;
                hasSection_ = true;
                continue;
            }
            where = hasSection_ ? Where::Tail : Where::Head;
        }
        if (where == Where::Head) {
            head_.push_back(line);
            continue;
        }
        if (where == Where::Tail) {
            tail_.push_back(line);
            continue;
        }
        const std::size_t eq = line.find('=');
        if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#' || eq == std::string::npos) {
            section_.push_back({line, -1});
            continue;
        }
        const std::string name = Decode(Trim(line.substr(0, eq)));
        if (index_.count(name)) continue;  // the first of two equal names counts; the other is dropped
        const std::string valueText = Trim(line.substr(eq + 1));
        Value value{name, false, {}};
        if (DecodeHex(valueText, value.bytes)) {
            value.binary = true;
        } else {
            value.bytes = Decode(valueText);
        }
        index_[name] = values_.size();
        section_.push_back({{}, static_cast<std::ptrdiff_t>(values_.size())});
        values_.push_back(std::move(value));
    }
}

const IniFileSettings::Value* IniFileSettings::Find(const std::string& name) const {
    auto it = index_.find(name);
    return it == index_.end() ? nullptr : &values_[it->second];
}

void IniFileSettings::Set(const std::string& name, bool binary, std::string bytes) {
    auto it = index_.find(name);
    if (it != index_.end()) {
        Value& value = values_[it->second];
        if (value.binary == binary && value.bytes == bytes) return;
        value.binary = binary;
        value.bytes = std::move(bytes);
        dirty_ = true;
        return;
    }
    // A new value goes after the last non-blank line of the section.
    std::size_t at = section_.size();
    while (at > 0 && section_[at - 1].value < 0 && Trim(section_[at - 1].raw).empty()) --at;
    index_[name] = values_.size();
    section_.insert(section_.begin() + static_cast<std::ptrdiff_t>(at),
                    SectionLine{{}, static_cast<std::ptrdiff_t>(values_.size())});
    values_.push_back({name, binary, std::move(bytes)});
    dirty_ = true;
}

std::optional<std::string> IniFileSettings::ReadRaw(const std::string& name) {
    const Value* value = Find(name);
    if (!value || value->binary) return std::nullopt;
    return value->bytes;
}

void IniFileSettings::WriteRaw(const std::string& name, const std::string& value) { Set(name, false, value); }

std::optional<std::vector<std::uint8_t>> IniFileSettings::ReadBinary(const std::string& name) {
    const Value* value = Find(name);
    if (!value || !value->binary) return std::nullopt;
    return std::vector<std::uint8_t>(value->bytes.begin(), value->bytes.end());
}

void IniFileSettings::WriteBinary(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    Set(name, true, std::string(bytes.begin(), bytes.end()));
}

std::string IniFileSettings::Render() const {
    std::string out = bom_ ? kUtf8Bom : "";
    for (const std::string& line : head_) out += line + eol_;
    if (hasSection_ || !values_.empty()) {
        if (!hasSection_ && !head_.empty() && !Trim(head_.back()).empty()) out += eol_;
        out += "[" + std::string(kSettingsSection) + "]" + eol_;
        for (const SectionLine& line : section_) {
            if (line.value < 0) {
                out += line.raw + eol_;
                continue;
            }
            const Value& value = values_[static_cast<std::size_t>(line.value)];
            const std::string text = value.binary ? EncodeHex(value.bytes) : Encode(value.bytes, false);
            out += Encode(value.name, true) + "=" + text + eol_;
        }
    }
    for (const std::string& line : tail_) out += line + eol_;
    return out;
}

void IniFileSettings::Flush() {
    if (!dirty_) return;
    WriteFileAtomically(path_, Render());
    hasSection_ = true;
    dirty_ = false;
}

}  // namespace stallmark
