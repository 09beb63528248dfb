// A clipboard for the tests: keeps the last text and counts the calls.
#pragma once

#include <string>

#include "measure/measure.h"

// Keeps what would go to the clipboard.
struct RecordingClipboard : Clipboard {
    bool setText(const std::string& t) override {
        text = t;
        ++calls;
        return true;
    }
    std::string text;
    int calls = 0;
};
