// A small registry-like key over the user's configuration directory. The key
// "Software\KELVO\Ondarix\3.0" lives in <root>/KELVO/Ondarix/3.0.reg, where
// <root> is $XDG_CONFIG_HOME or ~/.config unless the caller names another.
#pragma once

#include "shell/key_store.h"

#include <cstdint>
#include <string>
#include <vector>

// The configuration directory of this user; empty when there is none.
std::string settingsRoot();

// The file that holds the key `path` under `root`; empty when the path has an
// empty, "." or ".." component or a character no file name may hold.
std::string keyFilePath(const std::string& root, const std::string& path);

class RegistryKey {
  public:
    explicit RegistryKey(std::string root = settingsRoot());
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Opens an existing key for querying; fails when it does not exist.
    bool openKey(const std::string& path);
    // Opens or creates the key (and its directories) for setting values. The
    // values reach the file when the key is closed.
    bool createKey(const std::string& path);

    // Copies the value's first bytes (at most 4) over the variable, whatever
    // type the value was stored with. A missing value leaves it unchanged and
    // returns false.
    bool queryInt(const std::string& name, int32_t& variable) const;
    // As above, then clamps; the clamp applies even when the value is missing.
    bool queryInt(const std::string& name, int32_t& variable, int32_t low, int32_t high) const;
    // As queryInt, with at most 8 bytes.
    bool queryDouble(const std::string& name, double& variable) const;
    // As above, then clamps; a NaN compares neither below nor above and stays.
    bool queryDouble(const std::string& name, double& variable, double low, double high) const;

    bool setInt(const std::string& name, int32_t value);   // REG_DWORD
    bool setDouble(const std::string& name, double value); // REG_BINARY, 8 bytes

    // Writes a created key's values into the file as it is now, holding the
    // store's lock meanwhile, so that saves of other programs are not undone.
    // On failure the file keeps its previous content and the status says why.
    SaveStatus closeKey();

    // Why the last createKey failed.
    const std::string& failure() const { return failureText; }

  private:
    bool queryBytes(const std::string& name, uint8_t* bytes, size_t size) const;
    SaveStatus saveChanges() const;
    bool refuse(std::string reason);

    std::string rootDir;
    std::string keyPath;
    std::string filePath;
    KeyStore store;
    std::vector<StoredValue> changes; // set since createKey, applied on close
    bool isOpen = false;
    bool isWritable = false;
    bool fileExisted = false;
    std::string failureText;
};
