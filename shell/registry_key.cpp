#include "shell/registry_key.h"

#include "shell/store_file.h"
#include "shell/store_lock.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <sys/stat.h>
#include <utility>

static_assert(std::numeric_limits<double>::is_iec559, "doubles are stored as IEEE 754 bytes");

namespace {

bool isAbsolute(const char* dir) {
    return dir && dir[0] == '/';
}

bool validComponent(const std::string& part) {
    if (part.empty() || part == "." || part == "..") return false;
    for (unsigned char c : part)
        if (c < 0x20 || c == 0x7f || c == '/') return false;
    return true;
}

// "Software\A\B" -> "A/B": the configuration directory stands for the
// user's "Software" branch.
bool keyToRelative(const std::string& path, std::string& relative) {
    std::string rest = path;
    const std::string software = "software\\";
    if (rest.size() > software.size()) {
        std::string head = rest.substr(0, software.size());
        for (char& c : head)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        if (head == software) rest.erase(0, software.size());
    }
    relative.clear();
    size_t start = 0;
    for (;;) {
        size_t end = rest.find('\\', start);
        std::string part = rest.substr(start, end == std::string::npos ? end : end - start);
        if (!validComponent(part)) return false;
        if (!relative.empty()) relative.push_back('/');
        relative += part;
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

bool isDirectory(const std::string& dir) {
    struct stat info;
    return ::stat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Creates every missing directory of `dir`, private to the user as the XDG
// layout asks for configuration directories.
bool makeDirectories(const std::string& dir) {
    for (size_t slash = dir.find('/', 1);; slash = dir.find('/', slash + 1)) {
        std::string prefix = dir.substr(0, slash);
        if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
    }
    return isDirectory(dir);
}

void toBytes(uint64_t bits, uint8_t* bytes, size_t size) {
    for (size_t i = 0; i < size; ++i)
        bytes[i] = uint8_t(bits >> (8 * i));
}

uint64_t fromBytes(const uint8_t* bytes, size_t size) {
    uint64_t bits = 0;
    for (size_t i = 0; i < size; ++i)
        bits |= uint64_t(bytes[i]) << (8 * i);
    return bits;
}

uint64_t doubleBits(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

double bitsDouble(uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace

std::string settingsRoot() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (isAbsolute(xdg)) return xdg;
    const char* home = std::getenv("HOME");
    if (isAbsolute(home)) return std::string(home) + "/.config";
    return std::string();
}

std::string keyFilePath(const std::string& root, const std::string& path) {
    std::string relative;
    if (root.empty() || !keyToRelative(path, relative)) return std::string();
    std::string file = root;
    while (file.size() > 1 && file.back() == '/')
        file.pop_back();
    if (file != "/") file.push_back('/');
    return file + relative + ".reg";
}

RegistryKey::RegistryKey(std::string root) : rootDir(std::move(root)) {}

RegistryKey::~RegistryKey() {
    closeKey();
}

bool RegistryKey::openKey(const std::string& path) {
    closeKey();
    filePath = keyFilePath(rootDir, path);
    if (filePath.empty() || store.readFile(filePath, path) != StoreRead::Ok) return false;
    keyPath = path;
    isOpen = true;
    return true;
}

bool RegistryKey::refuse(std::string reason) {
    failureText = std::move(reason);
    return false;
}

bool RegistryKey::createKey(const std::string& path) {
    closeKey();
    failureText.clear();
    filePath = keyFilePath(rootDir, path);
    if (filePath.empty()) return refuse("No settings directory for the key " + path);
    std::string dir = filePath.substr(0, filePath.rfind('/'));
    if (!makeDirectories(dir))
        return refuse("Cannot create the directory " + dir + ": " + std::strerror(errno));
    // A store that exists but cannot be read is not overwritten: its values would be lost.
    StoreRead read = store.readFile(filePath, path);
    if (read == StoreRead::Unreadable)
        return refuse("Cannot read " + filePath + " as a settings file");
    fileExisted = read == StoreRead::Ok;
    keyPath = path;
    isOpen = true;
    isWritable = true;
    return true;
}

bool RegistryKey::queryBytes(const std::string& name, uint8_t* bytes, size_t size) const {
    if (!isOpen) return false;
    const StoredValue* value = store.find(name);
    if (!value) return false;
    size_t n = value->data.size() < size ? value->data.size() : size;
    if (n > 0) std::memcpy(bytes, value->data.data(), n);
    return true;
}

bool RegistryKey::queryInt(const std::string& name, int32_t& variable) const {
    uint8_t bytes[4];
    toBytes(uint32_t(variable), bytes, sizeof bytes);
    if (!queryBytes(name, bytes, sizeof bytes)) return false;
    variable = int32_t(uint32_t(fromBytes(bytes, sizeof bytes)));
    return true;
}

bool RegistryKey::queryInt(const std::string& name, int32_t& variable, int32_t low,
                           int32_t high) const {
    bool found = queryInt(name, variable);
    if (variable < low)
        variable = low;
    else if (variable > high)
        variable = high;
    return found;
}

bool RegistryKey::queryDouble(const std::string& name, double& variable) const {
    uint8_t bytes[8];
    toBytes(doubleBits(variable), bytes, sizeof bytes);
    if (!queryBytes(name, bytes, sizeof bytes)) return false;
    variable = bitsDouble(fromBytes(bytes, sizeof bytes));
    return true;
}

bool RegistryKey::queryDouble(const std::string& name, double& variable, double low,
                              double high) const {
    bool found = queryDouble(name, variable);
    if (variable < low)
        variable = low;
    else if (variable > high)
        variable = high;
    return found;
}

bool RegistryKey::setInt(const std::string& name, int32_t value) {
    uint8_t bytes[4];
    toBytes(uint32_t(value), bytes, sizeof bytes);
    if (!isWritable || !store.set(name, REG_VALUE_DWORD, bytes, sizeof bytes)) return false;
    changes.push_back(StoredValue{name, REG_VALUE_DWORD, {bytes, bytes + sizeof bytes}});
    return true;
}

bool RegistryKey::setDouble(const std::string& name, double value) {
    uint8_t bytes[8];
    toBytes(doubleBits(value), bytes, sizeof bytes);
    if (!isWritable || !store.set(name, REG_VALUE_BINARY, bytes, sizeof bytes)) return false;
    changes.push_back(StoredValue{name, REG_VALUE_BINARY, {bytes, bytes + sizeof bytes}});
    return true;
}

SaveStatus RegistryKey::saveChanges() const {
    // The lock sits beside the file that is replaced, whatever link led to it.
    std::string target = linkTarget(filePath);
    StoreLock lock;
    std::string reason;
    if (!lock.acquire(target, reason)) return saveFailed(reason);
    // Holding the lock, no save of ours is under way: any temporary file
    // beside the store was left by one that was killed.
    removeStaleTemporaries(target);
    // Apply our changes to the file as it is now, so values another
    // instance wrote since createKey survive, as they would in a registry.
    KeyStore current;
    if (current.readFile(filePath, keyPath) == StoreRead::Unreadable)
        return saveFailed("Cannot read " + filePath + " as a settings file");
    for (const StoredValue& change : changes)
        if (!current.set(change.name, change.type, change.data.data(), change.data.size()))
            return saveFailed("Cannot store the value \"" + change.name + "\"");
    return current.writeFile(filePath);
}

SaveStatus RegistryKey::closeKey() {
    SaveStatus status;
    if (isOpen && isWritable && (!changes.empty() || !fileExisted)) status = saveChanges();
    store = KeyStore();
    changes.clear();
    isOpen = isWritable = fileExisted = false;
    return status;
}
