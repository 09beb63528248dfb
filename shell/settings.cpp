#include "shell/settings.h"

#include <utility>

const char* const SETTINGS_KEY = "Software\\KELVO\\Ondarix\\3.0";

namespace {

std::vector<OptionRecord>& optionRecords() {
    static std::vector<OptionRecord> records;
    return records;
}

void loadEntry(const RegistryKey& key, const SettingEntry& e) {
    if (e.intField && e.clamped)
        key.queryInt(e.name, *e.intField, int32_t(e.low), int32_t(e.high));
    else if (e.intField)
        key.queryInt(e.name, *e.intField);
    else if (e.clamped)
        key.queryDouble(e.name, *e.doubleField, e.low, e.high);
    else
        key.queryDouble(e.name, *e.doubleField);
}

void saveEntry(RegistryKey& key, const SettingEntry& e) {
    if (e.intField)
        key.setInt(e.name, *e.intField);
    else
        key.setDouble(e.name, *e.doubleField);
}

} // namespace

SettingEntry plainInt(const char* name, int32_t& field) {
    return {name, &field, nullptr, false, 0, 0};
}
SettingEntry plainDouble(const char* name, double& field) {
    return {name, nullptr, &field, false, 0, 0};
}
SettingEntry clampedInt(const char* name, int32_t& field, int32_t low, int32_t high) {
    return {name, &field, nullptr, true, double(low), double(high)};
}
SettingEntry clampedDouble(const char* name, double& field, double low, double high) {
    return {name, nullptr, &field, true, low, high};
}

void addOptionRecord(OptionRecord record) {
    for (OptionRecord& known : optionRecords())
        if (known.name == record.name) {
            known = std::move(record);
            return;
        }
    optionRecords().push_back(std::move(record));
}

bool loadSettings(const std::string& root) {
    for (const OptionRecord& record : optionRecords())
        record.reset();
    RegistryKey key(root);
    if (!key.openKey(SETTINGS_KEY)) return false;
    for (const OptionRecord& record : optionRecords())
        for (const SettingEntry& e : record.entries)
            loadEntry(key, e);
    key.closeKey();
    return true;
}

SaveStatus saveSettings(const std::string& root) {
    RegistryKey key(root);
    if (!key.createKey(SETTINGS_KEY)) return saveFailed(key.failure());
    // Setting cannot fail on a created key: the names are valid, the sizes small.
    for (const OptionRecord& record : optionRecords())
        for (const SettingEntry& e : record.entries)
            saveEntry(key, e);
    return key.closeKey();
}

SaveStatus saveWindowPlacement(int32_t state, int32_t left, int32_t top, int32_t right,
                               int32_t bottom, const std::string& root) {
    RegistryKey key(root);
    if (!key.createKey(SETTINGS_KEY)) return saveFailed(key.failure());
    // Differences wrap as 32-bit values would rather than overflow.
    key.setInt("window_xpos", left);
    key.setInt("window_ypos", top);
    key.setInt("window_width", int32_t(uint32_t(right) - uint32_t(left)));
    key.setInt("window_height", int32_t(uint32_t(bottom) - uint32_t(top)));
    key.setInt("window_state", state);
    return key.closeKey();
}

bool loadWindowPlacement(WindowPlacement& placement, const std::string& root) {
    RegistryKey key(root);
    if (!key.openKey(SETTINGS_KEY)) return false;
    bool found = key.queryInt("window_state", placement.state);
    found = key.queryInt("window_xpos", placement.x) || found;
    found = key.queryInt("window_ypos", placement.y) || found;
    found = key.queryInt("window_width", placement.width) || found;
    found = key.queryInt("window_height", placement.height) || found;
    return found;
}
