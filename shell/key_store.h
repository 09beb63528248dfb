// The values of one settings key, kept in a text file of registry-export lines:
//   "name"=dword:00000005
//   "name"=hex:9a,99,99,99,99,99,a9,3f
// Reading skips whatever it cannot understand; writing replaces the file
// atomically, so the file on disk is always either the old or the new store.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Registry value types as they appear in the file ("hex(N):" for any other N).
constexpr uint32_t REG_VALUE_BINARY = 3;
constexpr uint32_t REG_VALUE_DWORD = 4;

// Bounds on what a read accepts, so a damaged or hostile file cannot exhaust memory.
constexpr size_t STORE_MAX_LINE = 64 * 1024;
constexpr size_t STORE_MAX_VALUE_BYTES = 16 * 1024;
constexpr size_t STORE_MAX_VALUES = 1024;

struct StoredValue {
    std::string name;
    uint32_t type = REG_VALUE_BINARY;
    std::vector<uint8_t> data;
};

enum class StoreRead { Ok, Missing, Unreadable };

// A value name the file can hold: not empty, no control characters.
bool isValidValueName(const std::string& name);

class KeyStore {
  public:
    // Replaces the values by those of the file. Missing: no such file;
    // Unreadable: it exists but cannot be read as a regular file.
    StoreRead readFile(const std::string& path);
    // Writes a temporary file beside `path` and renames it over `path`.
    // On failure the temporary file is removed and `path` is untouched.
    bool writeFile(const std::string& path, const std::string& keyPath) const;

    // Replaces the values by those of `text`.
    void parse(const std::string& text);
    std::string serialise(const std::string& keyPath) const;

    // Names compare without regard to ASCII case, as registry value names do.
    const StoredValue* find(const std::string& name) const;
    // Replaces a value of the same name in place or appends a new one.
    bool set(const std::string& name, uint32_t type, const uint8_t* data, size_t size);
    const std::vector<StoredValue>& values() const { return entries; }

  private:
    friend class StoreParser;
    std::vector<StoredValue> entries;
};
