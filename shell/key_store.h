// The values of one settings key, kept in a text file of registry-export lines:
//   "name"=dword:00000005
//   "name"=hex:9a,99,99,99,99,99,a9,3f
// The file may hold more than this store understands: other [sections],
// string values, comments, lines from other tools. All of it is kept exactly
// as read; a save rewrites only the lines of values it changed in its own key
// and adds new values to that key. A UTF-16LE file (as a registry export is)
// is written back as UTF-16LE with its byte order mark, so the tools that
// wrote it keep reading it. Writing replaces the file atomically, so the file
// on disk is always either the old or the new store.
#pragma once

#include "shell/save_status.h"
#include "shell/store_encoding.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// Registry value types as they appear in the file ("hex(N):" for any other N).
constexpr uint32_t REG_VALUE_BINARY = 3;
constexpr uint32_t REG_VALUE_DWORD = 4;

// Bounds on what a read accepts, so a damaged or hostile file cannot exhaust
// memory. A longer line or value is kept as text, not understood; a larger
// file is not read (nor overwritten).
constexpr size_t STORE_MAX_LINE = 64 * 1024;
constexpr size_t STORE_MAX_VALUE_BYTES = 16 * 1024;
constexpr size_t STORE_MAX_FILE = 16 * 1024 * 1024;

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
    // Replaces the content by that of the file; the values of `keyPath` (and
    // any before the first section) are the store's own. Missing: no such
    // file; Unreadable: it exists but cannot be read as a store.
    StoreRead readFile(const std::string& path, const std::string& keyPath);
    // Writes a temporary file beside `path` and renames it over `path`, or
    // over the file a symbolic link `path` leads to, keeping its permissions.
    // On failure the temporary file is removed and `path` is untouched.
    SaveStatus writeFile(const std::string& path) const;

    // Replaces the content by that of the file bytes `bytes`; false when
    // their encoding is one this store cannot write back.
    bool parse(const std::string& bytes, const std::string& keyPath);
    // The file bytes, in the encoding they were read in.
    std::string serialise() const;

    // Names compare without regard to ASCII case, as registry value names do.
    const StoredValue* find(const std::string& name) const;
    // Replaces a value of the same name in place or appends a new one.
    bool set(const std::string& name, uint32_t type, const uint8_t* data, size_t size);
    const std::vector<StoredValue>& values() const { return entries; }
    StoreEncoding encoding() const { return fileEncoding; }

  private:
    friend class StoreParser;
    static constexpr size_t NO_LINE = ~size_t(0);

    // One logical line of the file: its bytes as read, line ends included,
    // and the value it holds when it is one of this key's values.
    struct Line {
        std::string raw;
        size_t value;
    };
    // Where a value lives in the file and whether a save must rewrite it.
    struct Home {
        size_t line;
        bool changed;
    };

    std::string valueText(const StoredValue& value) const;
    void appendNewValues(std::string& out, bool inOwnSection) const;

    std::string key;
    StoreEncoding fileEncoding = StoreEncoding::Bytes;
    std::string mark;           // the byte order mark, if the file had one
    std::string lineEnd = "\n"; // as the file ends its lines
    std::vector<Line> lines;
    size_t insertAt = NO_LINE; // the line before which new values go; none: no own section
    std::vector<StoredValue> entries;
    std::vector<Home> homes;                        // one per entry
    std::unordered_map<std::string, size_t> byName; // lower-case name -> entry
};
