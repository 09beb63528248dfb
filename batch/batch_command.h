// Subcommands of ondarix-batch register themselves here, one file each.
#pragma once

#include <map>
#include <string>
#include <vector>

// Exit codes of every subcommand.
constexpr int EXIT_OK = 0;
constexpr int EXIT_FAILED = 1; // bad input file, range or parameters
constexpr int EXIT_USAGE = 2;  // bad arguments

// The arguments after the subcommand name: positional words and --options.
// `valued` options take the next word ("--channel 2" or "--channel=2"); any
// other --word is a flag.
class Args {
  public:
    Args(int argc, char** argv, const std::vector<std::string>& valued);

    const std::vector<std::string>& positional() const { return positional_; }
    bool has(const std::string& name) const { return options_.count(name) != 0; }
    std::string get(const std::string& name, const std::string& fallback = "") const;
    // Every value an option was given, in order (get() is the last).
    std::vector<std::string> all(const std::string& name) const;

    // Numbers of an option; a malformed number is a usage error (see error()).
    int getInt(const std::string& name, int fallback);
    double getDouble(const std::string& name, double fallback);

    // Names every option not in `known` as a usage error.
    void allowOnly(const std::vector<std::string>& known);

    // The first usage error met so far, or empty.
    const std::string& error() const { return error_; }
    void fail(const std::string& message) {
        if (error_.empty()) error_ = message;
    }
    // Gives an option a value, as if it had been typed: one channel of a list.
    void set(const std::string& name, const std::string& value) { options_[name] = value; }

  private:
    std::vector<std::string> positional_;
    std::map<std::string, std::string> options_;
    std::map<std::string, std::vector<std::string>> every_;
    std::string error_;
};

struct BatchCommand {
    const char* name;
    const char* usage;               // the arguments after the name, for the usage line
    const char* summary;             // one line for --help
    std::vector<std::string> valued; // options that take a value
    int (*run)(Args& args);
};

std::vector<BatchCommand>& batchCommands();

struct BatchCommandRegistration {
    explicit BatchCommandRegistration(BatchCommand command) {
        batchCommands().push_back(std::move(command));
    }
};

// Prints "ondarix-batch: <message>" on stderr and returns `code`; while an
// ErrorCapture is alive on the calling thread, keeps the first message in it
// instead, so that a file of several becomes a row with its reason.
int reportError(int code, const std::string& message);

class ErrorCapture {
  public:
    ErrorCapture();
    ~ErrorCapture();
    ErrorCapture(const ErrorCapture&) = delete;
    ErrorCapture& operator=(const ErrorCapture&) = delete;
    const std::string& message() const { return message_; }
    void keep(const std::string& message) {
        if (message_.empty()) message_ = message;
    }

  private:
    ErrorCapture* outer_;
    std::string message_;
};
// Prints the usage line of `command` after the message; returns EXIT_USAGE.
int usageError(const BatchCommand& command, const std::string& message);
const BatchCommand* findBatchCommand(const std::string& name);

// True when stderr is a terminal, so progress lines are worth printing.
bool progressWanted();
