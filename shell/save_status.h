// The outcome of a save: whether it reached the file, and if not, why, in
// words the program can show to the user.
#pragma once

#include <string>
#include <utility>

struct SaveStatus {
    bool ok = true;
    std::string reason;

    explicit operator bool() const { return ok; }
};

inline SaveStatus saveFailed(std::string reason) {
    return SaveStatus{false, std::move(reason)};
}
