// The process-wide option records and their persistence in the settings key.
// Each record belongs to its analysis, which registers it here; the store
// only knows names, fields and limits.
#pragma once

#include "shell/registry_key.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The key under the user's branch that holds every persisted value.
extern const char* const SETTINGS_KEY;

// One persisted field: exactly one of the two pointers is set. Load and save
// walk the same entries, so their order and their set of values cannot drift.
struct SettingEntry {
    const char* name;
    int32_t* intField;
    double* doubleField;
    bool clamped;
    double low;
    double high;
};

SettingEntry plainInt(const char* name, int32_t& field);
SettingEntry plainDouble(const char* name, double& field);
// Read back limited to [low, high]; written as they are.
SettingEntry clampedInt(const char* name, int32_t& field, int32_t low, int32_t high);
SettingEntry clampedDouble(const char* name, double& field, double low, double high);

// A record as its owner registers it: how it goes back to its defaults, and
// its values in the order a new store lists them.
struct OptionRecord {
    std::string name;
    std::function<void()> reset;
    std::vector<SettingEntry> entries;
};

// Adds `record` after those added before; one of the same name is replaced in
// its place, so registering twice changes nothing.
void addOptionRecord(OptionRecord record);

// Resets the registered records to their defaults, then reads the stored
// values over them, clamping where the entry says so. False when there is no
// store (the defaults stay).
bool loadSettings(const std::string& root = settingsRoot());

// Writes every value of the registered records, unclamped. Fails, saying why,
// when the store could not be created, locked or written; the previous store
// is then unchanged.
SaveStatus saveSettings(const std::string& root = settingsRoot());

// Show states of the frame as stored in "window_state".
constexpr int32_t SHOW_NORMAL = 1;
constexpr int32_t SHOW_MINIMIZED = 2;
constexpr int32_t SHOW_MAXIMIZED = 3;

struct WindowPlacement {
    int32_t state = SHOW_NORMAL;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// Stores the frame's show state and normal (restored) rectangle; fails as
// saveSettings does.
SaveStatus saveWindowPlacement(int32_t state, int32_t left, int32_t top, int32_t right,
                               int32_t bottom, const std::string& root = settingsRoot());

// Reads the stored placement over `placement`, unclamped; fields whose value
// is missing keep what the caller put there. True when the store holds at
// least one placement value.
bool loadWindowPlacement(WindowPlacement& placement, const std::string& root = settingsRoot());
