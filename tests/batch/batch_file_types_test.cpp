// ondarix-batch names, accepts and converts to the types of the file type
// table: a row is offered where it can be used and refused in its own words.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "measure/file_type_table.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace {

// The "a|b|c" after `option` in a usage line.
std::string choicesAfter(const std::string& usage, const std::string& option) {
    size_t from = usage.find(option + " ");
    if (from == std::string::npos) return "";
    from += option.size() + 1;
    return usage.substr(from, usage.find(']', from) - from);
}

} // namespace

TEST(BatchFileTypes, EveryRowIsNamedAcceptedAndConvertedToWhereWritable) {
    TempDir dir;
    CommandResult help = runBatch({"convert", "--help"});
    std::string in = choicesAfter(help.out + help.err, "--type");
    std::string out = choicesAfter(help.out + help.err, "--out-type");
    ASSERT_FALSE(in.empty()) << help.out << help.err;
    CommandResult general = runBatch({"--help"});
    for (const FileTypeRow& row : fileTypeRows()) {
        std::string name = row.name;
        EXPECT_NE(("|" + in + "|").find("|" + name + "|"), std::string::npos) << in;
        EXPECT_EQ(("|" + out + "|").find("|" + name + "|") != std::string::npos,
                  row.write != nullptr)
            << out;
        EXPECT_NE(general.out.find(name), std::string::npos) << name;
        // A known --type is no usage error, whatever the reader then finds.
        EXPECT_NE(runBatch({"info", SAMPLE_FILE, "--type", name}).exitCode, 2) << name;
        std::string target = dir.file("out." + row.extensions.front());
        CommandResult converted = runBatch({"convert", SAMPLE_FILE, target});
        if (row.write) {
            EXPECT_EQ(converted.exitCode, 0) << name << converted.err;
            EXPECT_EQ(runBatch({"info", target}).exitCode, 0) << name;
        } else {
            EXPECT_EQ(converted.exitCode, 2) << name;
            EXPECT_NE(converted.err.find(cannotWriteText(row)), std::string::npos) << converted.err;
        }
    }
    CommandResult unknown = runBatch({"info", SAMPLE_FILE, "--type", "nope"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.err.find(fileTypeNameList(false)), std::string::npos) << unknown.err;
}

// Every command that reads a measurement names and takes every reading
// option, and the summaries of --help stand in one column.
TEST(BatchFileTypes, EveryReadingCommandTakesEveryReadingOption) {
    const std::vector<std::string> reading = {"info",  "convert",  "block",   "stats",
                                              "waves", "spectrum", "fourier", "calibrate"};
    for (const std::string& name : reading) {
        CommandResult help = runBatch({name, "--help"});
        const std::string usage = help.out + help.err;
        for (const char* option : {"--type", "--partial", "--rate", "--dataset", "--variable"})
            EXPECT_NE(usage.find(option), std::string::npos) << name << " " << option;
        // The option is known: whatever else is wrong, it is not named as unknown.
        CommandResult run = runBatch({name, SAMPLE_FILE, "--variable", "x", "--dataset", "/d"});
        EXPECT_EQ(run.err.find("unknown option"), std::string::npos) << name << run.err;
    }
    CommandResult general = runBatch({"--help"});
    std::set<size_t> columns;
    std::istringstream lines(general.out.substr(general.out.find("commands:\n") + 10));
    for (std::string line; std::getline(lines, line) && !line.empty();)
        columns.insert(line.find_first_not_of(' ', line.find(' ', 2)));
    EXPECT_EQ(columns.size(), 1u) << general.out;
}
