#include "shell/key_store.h"

#include "shell/store_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool startsWith(const std::string& s, size_t pos, const char* prefix) {
    return s.compare(pos, std::strlen(prefix), prefix) == 0;
}

void skipSpaces(const std::string& s, size_t& pos) {
    while (pos < s.size() && isSpace(s[pos]))
        ++pos;
}

bool atEnd(const std::string& s, size_t pos) {
    skipSpaces(s, pos);
    return pos == s.size();
}

// Reads 1..8 hex digits as a number; fails on none, more, or other text.
bool parseHexNumber(const std::string& s, size_t& pos, uint32_t& out) {
    size_t digits = 0;
    uint32_t value = 0;
    while (pos < s.size() && hexDigit(s[pos]) >= 0) {
        if (++digits > 8) return false;
        value = value * 16 + uint32_t(hexDigit(s[pos]));
        ++pos;
    }
    out = value;
    return digits > 0;
}

// "9a,99,3f": two hex digits per byte, commas between, nothing after the last.
bool parseHexBytes(const std::string& s, size_t pos, std::vector<uint8_t>& out) {
    out.clear();
    if (atEnd(s, pos)) return true;
    for (;;) {
        skipSpaces(s, pos);
        if (pos + 2 > s.size()) return false;
        int high = hexDigit(s[pos]);
        int low = hexDigit(s[pos + 1]);
        if (high < 0 || low < 0) return false;
        if (out.size() >= STORE_MAX_VALUE_BYTES) return false;
        out.push_back(uint8_t(high * 16 + low));
        pos += 2;
        skipSpaces(s, pos);
        if (pos == s.size()) return true;
        if (s[pos] != ',') return false;
        ++pos;
    }
}

// "name" with \\ and \" escapes; `pos` is at the opening quote.
bool parseName(const std::string& s, size_t& pos, std::string& name) {
    name.clear();
    for (++pos; pos < s.size(); ++pos) {
        char c = s[pos];
        if (c == '"') {
            ++pos;
            return isValidValueName(name);
        }
        if (c == '\\') {
            if (++pos == s.size()) return false;
            c = s[pos];
        }
        name.push_back(c);
    }
    return false;
}

bool parseData(const std::string& s, size_t pos, StoredValue& value) {
    if (startsWith(s, pos, "dword:")) {
        pos += 6;
        uint32_t number = 0;
        if (!parseHexNumber(s, pos, number) || !atEnd(s, pos)) return false;
        value.type = REG_VALUE_DWORD;
        value.data.resize(4);
        for (int i = 0; i < 4; ++i)
            value.data[i] = uint8_t(number >> (8 * i));
        return true;
    }
    if (startsWith(s, pos, "hex:")) {
        value.type = REG_VALUE_BINARY;
        return parseHexBytes(s, pos + 4, value.data);
    }
    if (startsWith(s, pos, "hex(")) {
        pos += 4;
        if (!parseHexNumber(s, pos, value.type) || !startsWith(s, pos, "):")) return false;
        return parseHexBytes(s, pos + 2, value.data);
    }
    return false;
}

// One logical line; anything but a well-formed value line yields false.
bool parseValueLine(const std::string& line, StoredValue& value) {
    size_t pos = 0;
    skipSpaces(line, pos);
    if (pos == line.size() || line[pos] != '"') return false;
    if (!parseName(line, pos, value.name)) return false;
    skipSpaces(line, pos);
    if (pos == line.size() || line[pos] != '=') return false;
    ++pos;
    skipSpaces(line, pos);
    return parseData(line, pos, value);
}

std::string trimmedRight(std::string s) {
    while (!s.empty() && isSpace(s.back()))
        s.pop_back();
    return s;
}

std::string trimmed(const std::string& s) {
    size_t pos = 0;
    skipSpaces(s, pos);
    return trimmedRight(s.substr(pos));
}

// "[HKEY_CURRENT_USER\Software\X]" gives "HKEY_CURRENT_USER\Software\X".
bool parseSection(const std::string& line, std::string& section) {
    std::string t = trimmed(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']') return false;
    section = t.substr(1, t.size() - 2);
    return true;
}

std::string lowerName(const std::string& name) {
    std::string lower = name;
    for (char& c : lower)
        c = lowerAscii(c);
    return lower;
}

void appendName(std::string& out, const std::string& name) {
    out.push_back('"');
    for (char c : name) {
        if (c == '"' || c == '\\') out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
}

// The value as a registry-export line, its line ends (also those of the
// wrapped continuation lines) given by `lineEnd`.
std::string formatValue(const StoredValue& value, const std::string& lineEnd) {
    char buffer[32];
    std::string out;
    appendName(out, value.name);
    out.push_back('=');
    if (value.type == REG_VALUE_DWORD && value.data.size() == 4) {
        uint32_t number = 0;
        for (int i = 0; i < 4; ++i)
            number |= uint32_t(value.data[i]) << (8 * i);
        std::snprintf(buffer, sizeof buffer, "dword:%08x", unsigned(number));
        return out + buffer + lineEnd;
    }
    if (value.type == REG_VALUE_BINARY)
        out += "hex:";
    else {
        std::snprintf(buffer, sizeof buffer, "hex(%x):", unsigned(value.type));
        out += buffer;
    }
    for (size_t i = 0; i < value.data.size(); ++i) {
        // Long values wrap like a registry export, so lines stay readable.
        if (i > 0) out += (i % 25 == 0) ? ",\\" + lineEnd + "  " : ",";
        std::snprintf(buffer, sizeof buffer, "%02x", unsigned(value.data[i]));
        out += buffer;
    }
    return out + lineEnd;
}

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool writeAll(int fd, const std::string& text) {
    errno = 0;
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

// The whole of a regular file of at most STORE_MAX_FILE bytes.
bool readAll(int fd, std::string& bytes) {
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > off_t(STORE_MAX_FILE))
        return false;
    char buffer[16 * 1024];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        if (bytes.size() + size_t(n) > STORE_MAX_FILE) return false; // grew while read
        bytes.append(buffer, size_t(n));
    }
}

// "Cannot write /x/3.0.reg: No space left on device", from errno.
std::string failure(const char* what, const std::string& path) {
    int error = errno;
    return std::string(what) + " " + path + ": " +
           (error ? std::strerror(error) : "the disk took no more data");
}

// The new file gets the permissions the user gave the old one (mkstemp
// makes it private); failing that, it stays private.
void keepMode(int fd, const std::string& target) {
    struct stat info;
    if (::stat(target.c_str(), &info) == 0) ::fchmod(fd, info.st_mode & 07777);
}

} // namespace

// Joins the file's lines into logical lines (a line ending in a backslash
// continues on the next one, as in registry exports), keeps every one of them,
// and takes the values of the store's own key.
class StoreParser {
  public:
    explicit StoreParser(KeyStore& store)
        : store(store), ownSection("HKEY_CURRENT_USER\\" + store.key) {}

    void run(const std::vector<std::string>& physical) {
        for (size_t i = 0; i < physical.size(); ++i) {
            std::string text = decodeLine(physical[i], store.fileEncoding);
            if (i == 0 && startsWith(text, 0, "\xEF\xBB\xBF")) text.erase(0, 3);
            add(physical[i], text, i + 1 == physical.size());
        }
    }

  private:
    void add(const std::string& raw, const std::string& text, bool last) {
        pendingRaw += raw;
        std::string part = trimmedRight(text);
        if (!pendingText.empty() || continuing) {
            size_t pos = 0;
            skipSpaces(part, pos);
            part.erase(0, pos);
        }
        bool more = !last && !part.empty() && part.back() == '\\';
        if (more) part.pop_back();
        if (pendingText.size() + part.size() > STORE_MAX_LINE)
            overflow = true;
        else if (!overflow)
            pendingText += part;
        continuing = more;
        if (more) return;
        take();
        pendingRaw.clear();
        pendingText.clear();
        overflow = false;
    }

    void take() {
        size_t index = store.lines.size();
        store.lines.push_back(KeyStore::Line{pendingRaw, KeyStore::NO_LINE});
        std::string section;
        if (!overflow && parseSection(pendingText, section)) {
            inSection = true;
            inOwnSection = sameName(section, ownSection);
            if (inOwnSection) store.insertAt = index + 1;
            return;
        }
        // Lines before the first section belong to the key, as in the
        // header-less files earlier versions wrote.
        if (inSection && !inOwnSection) return;
        StoredValue value;
        bool isValue = !overflow && parseValueLine(pendingText, value);
        if (isValue) adopt(value, index);
        bool blank = !overflow && trimmed(pendingText).empty();
        if (isValue || (inSection && !blank)) store.insertAt = index + 1;
    }

    // A later line of a name replaces an earlier one, as an import would.
    void adopt(StoredValue& value, size_t index) {
        std::string lower = lowerName(value.name);
        auto known = store.byName.find(lower);
        size_t entry = store.entries.size();
        if (known == store.byName.end()) {
            store.byName.emplace(lower, entry);
            store.entries.push_back(std::move(value));
            store.homes.push_back(KeyStore::Home{index, false});
        } else {
            entry = known->second;
            store.entries[entry].type = value.type;
            store.entries[entry].data = std::move(value.data);
            store.homes[entry].line = index;
        }
        store.lines[index].value = entry;
    }

    KeyStore& store;
    const std::string ownSection;
    std::string pendingRaw;
    std::string pendingText;
    bool continuing = false;
    bool overflow = false;
    bool inSection = false;
    bool inOwnSection = false;
};

bool isValidValueName(const std::string& name) {
    if (name.empty() || name.size() > STORE_MAX_LINE / 4) return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7f) return false;
    return true;
}

bool KeyStore::parse(const std::string& bytes, const std::string& keyPath) {
    *this = KeyStore();
    key = keyPath;
    size_t markSize = 0;
    fileEncoding = detectEncoding(bytes, markSize);
    // Half a UTF-16 code unit at the end could not be written back in step.
    if (fileEncoding == StoreEncoding::Unsupported ||
        (fileEncoding == StoreEncoding::Utf16le && bytes.size() % 2 != 0)) {
        fileEncoding = StoreEncoding::Bytes;
        return false;
    }
    mark = bytes.substr(0, markSize);
    std::vector<std::string> physical = splitLines(bytes, markSize, fileEncoding);
    if (!physical.empty() && endsWith(physical[0], encodeText("\r\n", fileEncoding)))
        lineEnd = "\r\n";
    StoreParser parser(*this);
    parser.run(physical);
    return true;
}

StoreRead KeyStore::readFile(const std::string& path, const std::string& keyPath) {
    *this = KeyStore();
    key = keyPath;
    // Non-blocking open, so a FIFO put in place of the store cannot hang start-up.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? StoreRead::Missing : StoreRead::Unreadable;
    std::string bytes;
    bool ok = readAll(fd, bytes);
    ::close(fd);
    return ok && parse(bytes, keyPath) ? StoreRead::Ok : StoreRead::Unreadable;
}

void KeyStore::appendNewValues(std::string& out, bool inOwnSection) const {
    std::string text;
    for (size_t i = 0; i < entries.size(); ++i)
        if (homes[i].line == NO_LINE) text += formatValue(entries[i], lineEnd);
    if (text.empty() && !lines.empty()) return;
    if (out.size() > mark.size() && !endsWith(out, encodeText("\n", fileEncoding)))
        out += encodeText(lineEnd, fileEncoding);
    std::string head;
    if (lines.empty())
        head = "Windows Registry Editor Version 5.00" + lineEnd + lineEnd;
    else if (!inOwnSection && !trimmed(decodeLine(lines.back().raw, fileEncoding)).empty())
        head = lineEnd;
    if (!inOwnSection) head += "[HKEY_CURRENT_USER\\" + key + "]" + lineEnd;
    out += encodeText(head + text, fileEncoding);
}

std::string KeyStore::serialise() const {
    std::string out = mark;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i == insertAt) appendNewValues(out, true);
        size_t value = lines[i].value;
        if (value != NO_LINE && homes[value].line == i && homes[value].changed)
            out += encodeText(formatValue(entries[value], lineEnd), fileEncoding);
        else
            out += lines[i].raw;
    }
    if (insertAt == lines.size() || insertAt == NO_LINE) appendNewValues(out, insertAt != NO_LINE);
    return out;
}

SaveStatus KeyStore::writeFile(const std::string& path) const {
    std::string text = serialise();
    // Through a link, the target is replaced and the link stays.
    std::string target = linkTarget(path);
    std::string temp = temporaryPattern(target);
    int fd = ::mkstemp(&temp[0]);
    if (fd < 0) return saveFailed(failure("Cannot create a file beside", target));
    SaveStatus status;
    keepMode(fd, target);
    if (!writeAll(fd, text) || ::fsync(fd) != 0) status = saveFailed(failure("Cannot write", temp));
    if (::close(fd) != 0 && status) status = saveFailed(failure("Cannot write", temp));
    if (status && ::rename(temp.c_str(), target.c_str()) != 0)
        status = saveFailed(failure("Cannot replace", target));
    if (!status) {
        ::unlink(temp.c_str());
        return status;
    }
    syncDirectory(directoryOf(target));
    return status;
}

const StoredValue* KeyStore::find(const std::string& name) const {
    auto known = byName.find(lowerName(name));
    return known == byName.end() ? nullptr : &entries[known->second];
}

bool KeyStore::set(const std::string& name, uint32_t type, const uint8_t* data, size_t size) {
    if (!isValidValueName(name) || size > STORE_MAX_VALUE_BYTES) return false;
    std::string lower = lowerName(name);
    auto known = byName.find(lower);
    if (known == byName.end()) {
        byName.emplace(lower, entries.size());
        entries.push_back(StoredValue{name, type, {data, data + size}});
        homes.push_back(Home{NO_LINE, false});
        return true;
    }
    StoredValue& value = entries[known->second];
    // An unchanged value keeps its line as it was written.
    if (value.type == type && value.data.size() == size &&
        (size == 0 || std::memcmp(value.data.data(), data, size) == 0))
        return true;
    value.type = type;
    value.data.assign(data, data + size);
    homes[known->second].changed = true;
    return true;
}
