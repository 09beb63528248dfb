#include "shell/key_store.h"

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
    if (startsWith(line, 0, "\xEF\xBB\xBF")) pos = 3;
    skipSpaces(line, pos);
    if (pos == line.size() || line[pos] != '"') return false;
    if (!parseName(line, pos, value.name)) return false;
    skipSpaces(line, pos);
    if (pos == line.size() || line[pos] != '=') return false;
    ++pos;
    skipSpaces(line, pos);
    return parseData(line, pos, value);
}

void appendName(std::string& out, const std::string& name) {
    out.push_back('"');
    for (char c : name) {
        if (c == '"' || c == '\\') out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
}

void appendValue(std::string& out, const StoredValue& value) {
    char buffer[32];
    appendName(out, value.name);
    out.push_back('=');
    if (value.type == REG_VALUE_DWORD && value.data.size() == 4) {
        uint32_t number = 0;
        for (int i = 0; i < 4; ++i)
            number |= uint32_t(value.data[i]) << (8 * i);
        std::snprintf(buffer, sizeof buffer, "dword:%08x\n", unsigned(number));
        out += buffer;
        return;
    }
    if (value.type == REG_VALUE_BINARY)
        out += "hex:";
    else {
        std::snprintf(buffer, sizeof buffer, "hex(%x):", unsigned(value.type));
        out += buffer;
    }
    for (size_t i = 0; i < value.data.size(); ++i) {
        // Long values wrap like a registry export, so lines stay readable.
        if (i > 0) out += (i % 25 == 0) ? ",\\\n  " : ",";
        std::snprintf(buffer, sizeof buffer, "%02x", unsigned(value.data[i]));
        out += buffer;
    }
    out.push_back('\n');
}

bool writeAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

std::string directoryOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes the rename itself durable; a failure here does not undo the save.
void syncDirectory(const std::string& dir) {
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

// Splits the text into logical lines: a line ending in a backslash continues
// on the next one, as in registry exports. Over-long lines are dropped whole.
class StoreParser {
  public:
    explicit StoreParser(KeyStore& store) : store(store) { store.entries.clear(); }

    void feed(const char* data, size_t size) {
        for (size_t i = 0; i < size; ++i)
            put(data[i]);
    }

    void finish() {
        if (!line.empty() || overflow || continuing) endLine(true);
    }

  private:
    void put(char c) {
        if (c == '\n') {
            endLine(false);
            return;
        }
        if (!isSpace(c)) last = c;
        if (indent && continuing && isSpace(c)) return;
        indent = false;
        if (overflow) return;
        if (line.size() >= STORE_MAX_LINE) {
            overflow = true;
            line.clear();
            return;
        }
        line.push_back(c);
    }

    void endLine(bool atEof) {
        bool more = last == '\\' && !atEof;
        if (!overflow) {
            while (!line.empty() && isSpace(line.back()))
                line.pop_back();
            if (last == '\\' && !line.empty()) line.pop_back();
        }
        last = 0;
        indent = true;
        continuing = more;
        if (more) return;
        if (!overflow) take();
        line.clear();
        overflow = false;
    }

    void take() {
        StoredValue value;
        if (!parseValueLine(line, value)) return;
        if (!store.find(value.name) && store.entries.size() >= STORE_MAX_VALUES) return;
        store.set(value.name, value.type, value.data.data(), value.data.size());
    }

    KeyStore& store;
    std::string line;
    char last = 0;
    bool indent = true;
    bool continuing = false;
    bool overflow = false;
};

bool isValidValueName(const std::string& name) {
    if (name.empty() || name.size() > STORE_MAX_LINE / 4) return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7f) return false;
    return true;
}

void KeyStore::parse(const std::string& text) {
    StoreParser parser(*this);
    parser.feed(text.data(), text.size());
    parser.finish();
}

StoreRead KeyStore::readFile(const std::string& path) {
    entries.clear();
    // Non-blocking open, so a FIFO put in place of the store cannot hang start-up.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? StoreRead::Missing : StoreRead::Unreadable;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return StoreRead::Unreadable;
    }
    StoreParser parser(*this);
    char buffer[16 * 1024];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            entries.clear();
            return StoreRead::Unreadable;
        }
        if (n == 0) break;
        parser.feed(buffer, size_t(n));
    }
    parser.finish();
    ::close(fd);
    return StoreRead::Ok;
}

std::string KeyStore::serialise(const std::string& keyPath) const {
    std::string out = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\";
    out += keyPath;
    out += "]\n";
    for (const StoredValue& value : entries)
        appendValue(out, value);
    return out;
}

bool KeyStore::writeFile(const std::string& path, const std::string& keyPath) const {
    std::string text = serialise(keyPath);
    std::string temp = path + ".XXXXXX";
    int fd = ::mkstemp(&temp[0]);
    if (fd < 0) return false;
    bool ok = writeAll(fd, text) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    syncDirectory(directoryOf(path));
    return true;
}

const StoredValue* KeyStore::find(const std::string& name) const {
    for (const StoredValue& value : entries)
        if (sameName(value.name, name)) return &value;
    return nullptr;
}

bool KeyStore::set(const std::string& name, uint32_t type, const uint8_t* data, size_t size) {
    if (!isValidValueName(name) || size > STORE_MAX_VALUE_BYTES) return false;
    StoredValue* target = nullptr;
    for (StoredValue& value : entries)
        if (sameName(value.name, name)) target = &value;
    if (!target) {
        entries.push_back(StoredValue{name, type, {}});
        target = &entries.back();
    }
    target->type = type;
    target->data.assign(data, data + size);
    return true;
}
