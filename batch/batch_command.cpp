#include "batch/batch_command.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

Args::Args(int argc, char** argv, const std::vector<std::string>& valued) {
    auto takesValue = [&](const std::string& name) {
        for (const auto& v : valued)
            if (v == name) return true;
        return false;
    };
    for (int i = 0; i < argc; ++i) {
        std::string word = argv[i];
        if (word.size() > 2 && word.compare(0, 2, "--") == 0) {
            std::string name = word.substr(2);
            std::string value;
            size_t eq = name.find('=');
            if (eq != std::string::npos) {
                value = name.substr(eq + 1);
                name = name.substr(0, eq);
                // "--inverse=0" must not quietly mean --inverse.
                if (!takesValue(name)) fail("option --" + name + " takes no value");
            } else if (takesValue(name)) {
                if (i + 1 >= argc) {
                    fail("option --" + name + " needs a value");
                    continue;
                }
                value = argv[++i];
            }
            options_[name] = value;
            every_[name].push_back(value);
        } else if (word == "-o") {
            if (i + 1 >= argc) {
                fail("option -o needs a file name");
                continue;
            }
            options_["o"] = argv[++i];
        } else {
            positional_.push_back(word);
        }
    }
}

std::string Args::get(const std::string& name, const std::string& fallback) const {
    auto it = options_.find(name);
    return it == options_.end() ? fallback : it->second;
}

std::vector<std::string> Args::all(const std::string& name) const {
    const auto it = every_.find(name);
    return it == every_.end() ? std::vector<std::string>{} : it->second;
}

int Args::getInt(const std::string& name, int fallback) {
    if (!has(name)) return fallback;
    std::string text = get(name);
    int value = 0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size() || text.empty()) {
        fail("--" + name + " takes a whole number, not '" + text + "'");
        return fallback;
    }
    return value;
}

double Args::getDouble(const std::string& name, double fallback) {
    if (!has(name)) return fallback;
    std::string text = get(name);
    char* end = nullptr;
    errno = 0;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno == ERANGE) {
        fail("--" + name + " takes a number, not '" + text + "'");
        return fallback;
    }
    return value;
}

void Args::allowOnly(const std::vector<std::string>& known) {
    for (const auto& [name, value] : options_) {
        bool ok = false;
        for (const auto& k : known)
            ok = ok || k == name;
        if (!ok) fail(name == "o" ? "this command takes no -o" : "unknown option --" + name);
    }
}

std::vector<BatchCommand>& batchCommands() {
    static std::vector<BatchCommand> commands;
    return commands;
}

const BatchCommand* findBatchCommand(const std::string& name) {
    for (const auto& c : batchCommands())
        if (name == c.name) return &c;
    return nullptr;
}

namespace {

// Each worker of a file series keeps its own file's reason.
thread_local ErrorCapture* capture = nullptr;

} // namespace

ErrorCapture::ErrorCapture() : outer_(capture) {
    capture = this;
}

ErrorCapture::~ErrorCapture() {
    capture = outer_;
}

int reportError(int code, const std::string& message) {
    if (capture)
        capture->keep(message);
    else
        std::fprintf(stderr, "ondarix-batch: %s\n", message.c_str());
    return code;
}

int usageError(const BatchCommand& command, const std::string& message) {
    std::fprintf(stderr, "ondarix-batch: %s\nusage: ondarix-batch %s %s\n", message.c_str(),
                 command.name, command.usage);
    return EXIT_USAGE;
}

bool progressWanted() {
    return isatty(STDERR_FILENO) != 0;
}
